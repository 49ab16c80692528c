#include "properties/CTorusPage.h"

#include <QFormLayout>
#include <array>

#include "controls/CNumberField.h"
#include "objects/CTorusObject.h"

namespace {

using TRadii = std::array<float, 2>;

TRadii ReadRadii(CTorusObject& torus) {
    TRadii radii{};
    torus.GetRadius(radii[0], radii[1]);
    return radii;
}

void WriteRadii(CTorusObject& torus, const TRadii& radii) {
    torus.SetRadius(radii[0], radii[1]);
}

}  // namespace

CTorusPage::CTorusPage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    m_pSides = AddRow(*form, "Sides:", true);
    m_pRings = AddRow(*form, "Rings:", true);
    m_pRadius[0] = AddRow(*form, "Radius 1:", false);
    m_pRadius[1] = AddRow(*form, "Radius 2:", false);

    connect(m_pSides, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CTorusObject>(
            "Sides", [](CTorusObject& o) { return o.GetSideNumber(); },
            [](CTorusObject& o, int sides) { o.SetSideNumber(sides); }, ToCount(value, kMinimumSides));
    });
    connect(m_pRings, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CTorusObject>(
            "Rings", [](CTorusObject& o) { return o.GetRingNumber(); },
            [](CTorusObject& o, int rings) { o.SetRingNumber(rings); }, ToCount(value, kMinimumRings));
    });
    for (int which = 0; which < 2; ++which) {
        connect(m_pRadius[which], &CNumberField::ValueCommitted, this,
                [this, which](double value) { ApplyRadius(which, value); });
    }
}

void CTorusPage::Refresh() {
    CTorusObject* torus = ObjectAs<CTorusObject>();
    if (torus == nullptr) {
        return;
    }
    int sides = 0;
    int rings = 0;
    TRadii radii{};
    {
        CSceneLock lock(Document().Scene());
        sides = torus->GetSideNumber();
        rings = torus->GetRingNumber();
        radii = ReadRadii(*torus);
    }
    m_pSides->SetValue(sides);
    m_pRings->SetValue(rings);
    m_pRadius[0]->SetValue(radii[0]);
    m_pRadius[1]->SetValue(radii[1]);
}

void CTorusPage::ApplyRadius(int which, double value) {
    EditPart<CTorusObject>("Radius", ReadRadii, WriteRadii, [which, value](TRadii& radii) {
        radii[static_cast<size_t>(which)] = static_cast<float>(value);
    });
}
