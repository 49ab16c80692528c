#include "properties/CFogPage.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <initializer_list>

#include "controls/CColorSwatch.h"
#include "controls/CNumberField.h"
#include "properties/CBasicPageRules.h"

namespace {

// The order of the "Type:" box (sorted).
constexpr int kFogIndex = 0;
constexpr int kNoFogIndex = 1;

}  // namespace

CFogPage::CFogPage(QWidget* parent)
    : QWidget(parent),
      m_pType(new QComboBox(this)),
      m_pColorLabel(new QLabel("Color:", this)),
      m_pSwatch(new CColorSwatch(this)),
      m_pChangeColor(new QPushButton("Change...", this)),
      m_pStartLabel(new QLabel("Start Distance:", this)),
      m_pStart(AddDistanceField()),
      m_pEndLabel(new QLabel("End Distance:", this)),
      m_pEnd(AddDistanceField()) {
    setWindowTitle("Fog");
    m_pType->addItems({"Fog", "No Fog"});
    m_pSwatch->setMinimumSize(60, 22);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    grid->addWidget(new QLabel("Type:", this), 0, 0);
    grid->addWidget(m_pType, 0, 1, 1, 2);
    grid->addWidget(m_pColorLabel, 1, 0);
    grid->addWidget(m_pSwatch, 1, 1);
    grid->addWidget(m_pChangeColor, 1, 2, Qt::AlignLeft);
    grid->addWidget(m_pStartLabel, 2, 0);
    grid->addWidget(m_pStart, 2, 1);
    grid->addWidget(m_pEndLabel, 3, 0);
    grid->addWidget(m_pEnd, 3, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);

    connect(m_pType, &QComboBox::currentIndexChanged, this, &CFogPage::OnTypeChosen);
    connect(m_pSwatch, &CColorSwatch::Clicked, this, &CFogPage::ChooseColor);
    connect(m_pChangeColor, &QPushButton::clicked, this, &CFogPage::ChooseColor);
    connect(m_pStart, &CNumberField::ValueCommitted, this,
            [this](double value) { CommitDistance(m_pStart, m_Start, value); });
    connect(m_pEnd, &CNumberField::ValueCommitted, this,
            [this](double value) { CommitDistance(m_pEnd, m_End, value); });
    ShowFogControls();
}

CNumberField* CFogPage::AddDistanceField() {
    auto* field = new CNumberField(this);
    field->SetStep(0.1);
    field->SetDecimals(2);
    return field;
}

void CFogPage::Show(const SSceneSettings& settings) {
    m_Fog = settings.fog;
    m_Color = settings.fogColor;
    m_Start = settings.fogStart;
    m_End = settings.fogEnd;
    {
        const QSignalBlocker quiet(m_pType);
        m_pType->setCurrentIndex(m_Fog ? kFogIndex : kNoFogIndex);
    }
    m_pSwatch->SetColor(CBasicPageRules::ToQColor(m_Color));
    m_pStart->SetValue(m_Start);
    m_pEnd->SetValue(m_End);
    ShowFogControls();
}

void CFogPage::Take(SSceneSettings& settings) const {
    settings.fog = m_Fog;
    settings.fogColor = m_Color;
    settings.fogStart = m_Start;
    settings.fogEnd = m_End;
}

void CFogPage::ShowFogControls() {
    const std::initializer_list<QWidget*> fogControls = {m_pColorLabel, m_pSwatch,   m_pChangeColor, m_pStartLabel,
                                                         m_pStart,      m_pEndLabel, m_pEnd};
    for (QWidget* control : fogControls) {
        control->setVisible(m_Fog);
    }
}

void CFogPage::OnTypeChosen(int index) {
    if (index < 0) {
        return;
    }
    m_Fog = index == kFogIndex;
    ShowFogControls();
    emit Changed();
}

void CFogPage::ChooseColor() {
    QColorDialog dialog(CBasicPageRules::ToQColor(m_Color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_Color = CBasicPageRules::FromQColor(dialog.selectedColor(), m_Color.a);
    m_pSwatch->SetColor(CBasicPageRules::ToQColor(m_Color));
    emit Changed();
}

void CFogPage::CommitDistance(CNumberField* field, float& distance, double value) {
    distance = value < 0.0 ? 0.0f : static_cast<float>(value);
    field->SetValue(distance);
    emit Changed();
}
