#include "properties/CSoundPage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/QtConvert.h"

namespace {

constexpr const char* kMusicFilter = "MP3 Files (*.mp3)";

}  // namespace

CSoundPage::CSoundPage(QWidget* parent)
    : QWidget(parent),
      m_pFile(new QLineEdit(this)),
      m_pBrowse(new QPushButton("Browse...", this)),
      m_pClear(new QPushButton("Clear", this)),
      m_pLoop(new QCheckBox("Loop", this)) {
    setWindowTitle("Sound");
    m_pFile->setReadOnly(true);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(m_pBrowse);
    buttons->addWidget(m_pClear);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    grid->addWidget(new QLabel("Filename:", this), 0, 0);
    grid->addWidget(m_pFile, 0, 1);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_pLoop, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(m_pBrowse, &QPushButton::clicked, this, &CSoundPage::ChooseFile);
    connect(m_pClear, &QPushButton::clicked, this, &CSoundPage::ClearFile);
    connect(m_pLoop, &QCheckBox::toggled, this, &CSoundPage::Changed);
}

void CSoundPage::Show(const SSceneSettings& settings) {
    m_Path = ToQString(settings.musicPath);
    m_Enabled = settings.musicEnabled;
    m_pFile->setText(m_Path);
    const QSignalBlocker quiet(m_pLoop);
    m_pLoop->setChecked(settings.musicLoop);
}

void CSoundPage::Take(SSceneSettings& settings) const {
    settings.musicPath = ToCString(m_Path);
    settings.musicEnabled = m_Enabled;
    settings.musicLoop = m_pLoop->isChecked();
}

void CSoundPage::ChooseFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, "Open", QString(), kMusicFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) {
        return;  // cancelled
    }
    m_Path = path;
    m_Enabled = true;
    m_pFile->setText(m_Path);
    emit Changed();
}

void CSoundPage::ClearFile() {
    m_Path.clear();
    m_Enabled = false;
    m_pFile->clear();
    emit Changed();
}
