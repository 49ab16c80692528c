#include "properties/CIdeOptionsSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/CEditorSettings.h"
#include "core/CScreen.h"

CIdeOptionsSheet::CIdeOptionsSheet(CEditorSettings& settings, QWidget* parent)
    : QDialog(parent),
      m_Settings(settings),
      m_pTabs(new QTabWidget(this)),
      m_pOk(new QPushButton("OK", this)),
      m_pCancel(new QPushButton("Cancel", this)) {
    setWindowTitle("IDE Properties");
    m_pTabs->addTab(MakeGeneralPage(), "General");
    m_pTabs->addTab(Make3DViewPage(), "3D View");

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_pTabs, 1);
    layout->addLayout(buttons);

    setMinimumWidth(320);
    m_pOk->setDefault(true);
    connect(m_pOk, &QPushButton::clicked, this, &CIdeOptionsSheet::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CIdeOptionsSheet::reject);
    ShowSettings();
}

QWidget* CIdeOptionsSheet::MakeGeneralPage() {
    auto* page = new QWidget(this);
    auto* units = new QGroupBox("Units", page);
    m_pAngles = new QComboBox(units);
    // Sorted, which is also the order of the stored values 0, 1, 2.
    m_pAngles->addItems({"Degree", "Grad", "Radian"});
    auto* row = new QHBoxLayout(units);
    row->addWidget(new QLabel("Angles:", units));
    row->addWidget(m_pAngles, 1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(units);
    layout->addStretch(1);
    return page;
}

QWidget* CIdeOptionsSheet::Make3DViewPage() {
    auto* page = new QWidget(this);
    m_pGrid = new QCheckBox("Display Grid", page);
    m_pInvertAxis = new QCheckBox("Invert Vertical Rotation Axis", page);
    m_pFpsCounter = new QCheckBox("Frame Per Seconds (FPS) Counter", page);
    auto* sizes = new QGroupBox("View Size", page);
    auto* sizeColumn = new QVBoxLayout(sizes);
    const char* const names[] = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"};
    for (size_t button = 0; button < kViewSizes.size(); ++button) {
        m_pViewSize[button] = new QRadioButton(names[button], sizes);
        sizeColumn->addWidget(m_pViewSize[button]);
    }
    auto* note = new QLabel("View size changes needs a restart of the application to be active.", page);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_pGrid);
    layout->addWidget(m_pInvertAxis);
    layout->addWidget(m_pFpsCounter);
    layout->addWidget(sizes);
    layout->addWidget(note);
    layout->addStretch(1);
    return page;
}

int CIdeOptionsSheet::ViewSizeButton(int viewSize) {
    for (size_t button = 0; button < kViewSizes.size(); ++button) {
        if (kViewSizes[button] == viewSize) {
            return static_cast<int>(button);
        }
    }
    return 0;
}

bool CIdeOptionsSheet::FpsCounter() const {
    return m_pFpsCounter->isChecked();
}

void CIdeOptionsSheet::ShowSettings() {
    const int angles = m_Settings.Angles();
    // A stored unit the box does not know leaves it without a choice.
    m_pAngles->setCurrentIndex(angles >= 0 && angles < m_pAngles->count() ? angles : -1);
    m_pGrid->setChecked(m_Settings.Grid());
    m_pInvertAxis->setChecked(m_Settings.InvertAxis());
    m_pFpsCounter->setChecked(m_Settings.FpsCounter());
    m_pViewSize[ViewSizeButton(m_Settings.ViewSize())]->setChecked(true);
}

void CIdeOptionsSheet::WriteSettings() {
    // Without a choice the stored unit stays what it was.
    if (m_pAngles->currentIndex() >= 0) {
        m_Settings.SetAngles(m_pAngles->currentIndex());
    }
    m_Settings.SetGrid(m_pGrid->isChecked());
    m_Settings.SetInvertAxis(m_pInvertAxis->isChecked());
    m_Settings.SetFpsCounter(m_pFpsCounter->isChecked());
    for (size_t button = 0; button < kViewSizes.size(); ++button) {
        if (m_pViewSize[button]->isChecked()) {
            m_Settings.SetViewSize(kViewSizes[button]);
        }
    }
    m_Settings.Sync();
}

void CIdeOptionsSheet::accept() {
    WriteSettings();
    QDialog::accept();
}
