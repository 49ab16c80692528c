#include "export/CExportSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/CEditorDocument.h"
#include "export/CDisplayFormatCommand.h"
#include "export/CExportLog.h"
#include "export/CExportRun.h"

namespace {

const char* const kResolutions[] = {
    "Desktop Standard Resolution", "640 x 480", "800 x 600", "1024 x 768", "1280 x 1024", "1600 x 1200"};

}  // namespace

void CExportSettingsDialog::Run(CEditorDocument& document, QWidget* parent) {
    CExportSettingsDialog dialog(document, parent);
    dialog.exec();
}

CExportSettingsDialog::CExportSettingsDialog(CEditorDocument& document, QWidget* parent)
    : QDialog(parent), m_Document(document) {
    setWindowTitle("Export Settings");
    BuildControls();
    UpdateTypeControls();
    UpdateTitleControls();
    UpdateInstallerControls();
    connect(m_Type, &QComboBox::currentIndexChanged, this, &CExportSettingsDialog::UpdateTypeControls);
    connect(m_Fullscreen, &QCheckBox::toggled, this, &CExportSettingsDialog::UpdateTitleControls);
    connect(m_Installer, &QCheckBox::toggled, this, &CExportSettingsDialog::UpdateInstallerControls);
}

void CExportSettingsDialog::BuildControls() {
    m_Type = new QComboBox(this);
    // The combo box lists its kinds sorted; the index is the kind.
    m_Type->addItem("Screen Saver", static_cast<int>(TExportType::ScreenSaver));
    m_Type->addItem("Standard Executable", static_cast<int>(TExportType::StandardExecutable));
    m_Resolution = new QComboBox(this);
    for (const char* resolution : kResolutions) {
        m_Resolution->addItem(resolution);
    }
    m_Fullscreen = new QCheckBox("Fullscreen", this);
    m_Fullscreen->setChecked(true);
    m_TitleLabel = new QLabel("Window Title:", this);
    m_Title = new QLineEdit(QStringLiteral("Brennox Skyloom"), this);
    m_Title->setMaxLength(SExportSettings::kMaxTitleLength);
    m_TitleLabel->setBuddy(m_Title);
    m_Installer = new QCheckBox("Generate an Installer Wizard", this);
    m_InstallerNameLabel = new QLabel("Name used in the Installer:", this);
    m_InstallerName = new QLineEdit(QStringLiteral("My ScreenSaver"), this);
    m_InstallerNameLabel->setBuddy(m_InstallerName);

    // A preview image for the installer was planned; the row stays hidden.
    m_Preview = new QWidget(this);
    auto* previewLayout = new QHBoxLayout(m_Preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(new QLabel("Preview Image:", m_Preview));
    previewLayout->addWidget(new QLineEdit(m_Preview), 1);
    previewLayout->addWidget(new QPushButton("...", m_Preview));
    m_Preview->hide();

    auto* buttons = new QDialogButtonBox(this);
    m_Export = buttons->addButton("Export...", QDialogButtonBox::AcceptRole);
    m_Export->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportSettingsDialog::reject);

    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel("Type of generated file:", this), 0, 0);
    grid->addWidget(m_Type, 0, 1);
    grid->addWidget(new QLabel("Output Resolution:", this), 1, 0);
    grid->addWidget(m_Resolution, 1, 1);
    grid->addWidget(m_Fullscreen, 2, 0, 1, 2);
    grid->addWidget(m_TitleLabel, 3, 0);
    grid->addWidget(m_Title, 3, 1);
    grid->addWidget(m_Installer, 4, 0, 1, 2);
    grid->addWidget(m_InstallerNameLabel, 5, 0);
    grid->addWidget(m_InstallerName, 5, 1);
    grid->addWidget(m_Preview, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 220);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);
    // The dialog follows the rows that show.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CExportSettingsDialog::UpdateTypeControls() {
    const bool executable = Settings().type == TExportType::StandardExecutable;
    m_Fullscreen->setVisible(executable);
    m_Installer->setVisible(!executable);
    m_InstallerNameLabel->setVisible(!executable);
    m_InstallerName->setVisible(!executable);
    m_Preview->hide();
}

void CExportSettingsDialog::UpdateTitleControls() {
    const bool windowed = !m_Fullscreen->isChecked();
    m_TitleLabel->setVisible(windowed);
    m_Title->setVisible(windowed);
}

void CExportSettingsDialog::UpdateInstallerControls() {
    const bool installer = m_Installer->isChecked();
    m_InstallerNameLabel->setEnabled(installer);
    m_InstallerName->setEnabled(installer);
}

SExportSettings CExportSettingsDialog::Settings() const {
    SExportSettings settings;
    settings.type = static_cast<TExportType>(m_Type->currentData().toInt());
    settings.resolution = m_Resolution->currentIndex();
    settings.fullscreen = m_Fullscreen->isChecked();
    settings.windowTitle = m_Title->text();
    settings.installer = m_Installer->isChecked();
    settings.installerName = m_InstallerName->text();
    return settings;
}

QString CExportSettingsDialog::ChooseOutputFile(const SExportSettings& settings) {
    QFileDialog dialog(this, "Save As", QString(), settings.FileFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(settings.DefaultSuffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void CExportSettingsDialog::accept() {
    const SExportSettings settings = Settings();
    CDisplayFormat format;
    {
        CSceneLock lock(m_Document.Scene());
        format = settings.DisplayFormat(*m_Document.Scene().GetDisplayFormat());
    }
    CDisplayFormatCommand::Store(m_Document, format);

    const QString path = ChooseOutputFile(settings);
    if (!path.isEmpty()) {
        SExportRequest request;
        request.chosenPath = path;
        request.installer = settings.BuildsInstaller();
        request.installerName = settings.installerName;
        CExportLog::Show(m_Document.Scene(), request, this);
    }
    QDialog::accept();
}
