#include "properties/CTimePage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "controls/CNumberField.h"

CTimePage::CTimePage(QWidget* parent)
    : QWidget(parent), m_pTotalTime(new CNumberField(this)), m_pLoop(new QCheckBox("Loop", this)) {
    setWindowTitle("Time");
    m_pTotalTime->SetStep(1.0);
    m_pTotalTime->SetDecimals(2);
    m_pTotalTime->SetRange(0.0, kLongestTime);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    grid->addWidget(new QLabel("Total Time:", this), 0, 0);
    grid->addWidget(m_pTotalTime, 0, 1);
    grid->addWidget(new QLabel("[s]", this), 0, 2);
    grid->addWidget(m_pLoop, 1, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);

    connect(m_pTotalTime, &CNumberField::ValueCommitted, this, &CTimePage::CommitTotalTime);
    connect(m_pLoop, &QCheckBox::toggled, this, &CTimePage::Changed);
}

void CTimePage::Show(const SSceneSettings& settings) {
    m_TotalTime = settings.totalTime;
    m_pTotalTime->SetValue(m_TotalTime);
    const QSignalBlocker quiet(m_pLoop);
    m_pLoop->setChecked(settings.loop);
}

void CTimePage::Take(SSceneSettings& settings) const {
    settings.totalTime = m_TotalTime;
    settings.loop = m_pLoop->isChecked();
}

void CTimePage::CommitTotalTime(double value) {
    // The field has told the user about a value outside the range; what it
    // commits is held to the range (a spin below 0 gives 0).
    m_TotalTime = static_cast<float>(std::clamp(value, 0.0, kLongestTime));
    m_pTotalTime->SetValue(m_TotalTime);
    emit Changed();
}
