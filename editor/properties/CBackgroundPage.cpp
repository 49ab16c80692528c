#include "properties/CBackgroundPage.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "controls/CColorSwatch.h"
#include "controls/QtConvert.h"
#include "properties/CBasicPageRules.h"

namespace {

using EBackground = SSceneSettings::EBackground;

constexpr const char* kImageFilter = "Bitmap Images (*.bmp *.png *.jpg *.tga)";
constexpr int kBrowseWidth = 28;  // wide enough for "..." only
constexpr int kLabelWidth = 50;   // "Bottom:" and "Image:" line up with "Type:"

QString FileNameOf(const QString& path) {
    QString folder;
    QString file;
    CBasicPageRules::SplitPath(path, folder, file);
    return file;
}

QGridLayout* PanelGrid(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, kLabelWidth);
    return grid;
}

}  // namespace

CBackgroundPage::CBackgroundPage(QWidget* parent)
    : QWidget(parent),
      m_pType(new QComboBox(this)),
      m_pPanels(new QStackedWidget(this)),
      m_pClear(new QPushButton("Clear", this)) {
    setWindowTitle("Background");
    // Listed sorted, which is also the order of EBackground.
    m_pType->addItems({"Bitmap Background", "Plain Color Background", "Sky Box"});
    m_pPanels->addWidget(MakeImagePanel());
    m_pPanels->addWidget(MakeColorPanel());
    m_pPanels->addWidget(MakeSkyBoxPanel());

    auto* typeRow = new QHBoxLayout();
    auto* typeLabel = new QLabel("Type:", this);
    typeLabel->setMinimumWidth(kLabelWidth);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(m_pType, 1);
    auto* clearRow = new QHBoxLayout();
    clearRow->addStretch(1);
    clearRow->addWidget(m_pClear);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addLayout(typeRow);
    page->addWidget(m_pPanels);
    page->addStretch(1);
    page->addLayout(clearRow);

    connect(m_pType, &QComboBox::currentIndexChanged, this, &CBackgroundPage::OnTypeChosen);
    connect(m_pClear, &QPushButton::clicked, this, &CBackgroundPage::ClearFiles);
}

QWidget* CBackgroundPage::MakeColorPanel() {
    auto* panel = new QWidget(this);
    QGridLayout* grid = PanelGrid(panel);
    m_pSwatch = new CColorSwatch(panel);
    m_pSwatch->setMinimumSize(60, 22);
    m_pChangeColor = new QPushButton("Change...", panel);
    grid->addWidget(new QLabel("Color:", panel), 0, 0);
    grid->addWidget(m_pSwatch, 0, 1);
    grid->addWidget(m_pChangeColor, 0, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(1, 1);
    connect(m_pSwatch, &CColorSwatch::Clicked, this, &CBackgroundPage::ChooseColor);
    connect(m_pChangeColor, &QPushButton::clicked, this, &CBackgroundPage::ChooseColor);
    return panel;
}

QWidget* CBackgroundPage::MakeImagePanel() {
    auto* panel = new QWidget(this);
    QGridLayout* grid = PanelGrid(panel);
    AddFileRow(*grid, 0, "Image:", kImageFile);
    grid->setRowStretch(1, 1);
    return panel;
}

QWidget* CBackgroundPage::MakeSkyBoxPanel() {
    auto* panel = new QWidget(this);
    QGridLayout* grid = PanelGrid(panel);
    AddFileRow(*grid, 0, "Top:", SSceneSettings::kTop);
    AddFileRow(*grid, 1, "Bottom:", SSceneSettings::kBottom);
    AddFileRow(*grid, 2, "Left:", SSceneSettings::kLeft);
    AddFileRow(*grid, 3, "Right:", SSceneSettings::kRight);
    AddFileRow(*grid, 4, "Back:", SSceneSettings::kBack);
    AddFileRow(*grid, 5, "Front:", SSceneSettings::kFront);
    grid->setRowStretch(6, 1);
    return panel;
}

void CBackgroundPage::AddFileRow(QGridLayout& grid, int row, const char* label, int file) {
    QWidget* panel = grid.parentWidget();
    auto* name = new QLineEdit(panel);
    name->setReadOnly(true);
    auto* browse = new QPushButton("...", panel);
    browse->setFixedWidth(kBrowseWidth);
    grid.addWidget(new QLabel(label, panel), row, 0);
    grid.addWidget(name, row, 1);
    grid.addWidget(browse, row, 2);
    m_pFileName[file] = name;
    m_pBrowse[file] = browse;
    connect(browse, &QPushButton::clicked, this, [this, file] { ChooseFile(file); });
}

QWidget* CBackgroundPage::CurrentPanel() const {
    return m_pPanels->currentWidget();
}

void CBackgroundPage::Show(const SSceneSettings& settings) {
    m_Type = settings.background;
    m_Color = settings.backgroundColor;
    for (int face = 0; face < SSceneSettings::kSkyFaces; ++face) {
        m_Paths[face] = ToQString(settings.skyBox[face]);
    }
    m_Paths[kImageFile] = ToQString(settings.backgroundImage);
    {
        const QSignalBlocker quiet(m_pType);
        m_pType->setCurrentIndex(static_cast<int>(m_Type));
    }
    m_pPanels->setCurrentIndex(static_cast<int>(m_Type));
    ShowColor();
    ShowFiles();
}

void CBackgroundPage::Take(SSceneSettings& settings) const {
    settings.background = m_Type;
    settings.backgroundColor = m_Color;
    for (int face = 0; face < SSceneSettings::kSkyFaces; ++face) {
        settings.skyBox[face] = ToCString(m_Paths[face]);
    }
    settings.backgroundImage = ToCString(m_Paths[kImageFile]);
}

void CBackgroundPage::ShowFiles() {
    for (int file = 0; file < kFiles; ++file) {
        m_pFileName[file]->setText(FileNameOf(m_Paths[file]));
    }
}

void CBackgroundPage::ShowColor() {
    m_pSwatch->SetColor(CBasicPageRules::ToQColor(m_Color));
}

void CBackgroundPage::OnTypeChosen(int index) {
    if (index < 0) {
        return;
    }
    m_Type = static_cast<EBackground>(index);
    m_pPanels->setCurrentIndex(index);
    emit Changed();
}

void CBackgroundPage::ChooseColor() {
    QColorDialog dialog(CBasicPageRules::ToQColor(m_Color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_Color = CBasicPageRules::FromQColor(dialog.selectedColor(), m_Color.a);
    ShowColor();
    emit Changed();
}

void CBackgroundPage::ChooseFile(int file) {
    const QString path = QFileDialog::getOpenFileName(this, "Open", m_Paths[file], kImageFilter, nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) {
        return;  // cancelled
    }
    m_Paths[file] = path;
    ShowFiles();
    emit Changed();
}

void CBackgroundPage::ClearFiles() {
    for (QString& path : m_Paths) {
        path.clear();
    }
    ShowFiles();
    emit Changed();
}
