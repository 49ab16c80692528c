#include "properties/CCylinderPage.h"

#include <QFormLayout>
#include <array>

#include "controls/CNumberField.h"
#include "objects/CCylinderObject.h"

namespace {

using TRadii = std::array<float, 2>;

TRadii ReadRadii(CCylinderObject& cylinder) {
    TRadii radii{};
    cylinder.GetRadius(radii[0], radii[1]);
    return radii;
}

void WriteRadii(CCylinderObject& cylinder, const TRadii& radii) {
    cylinder.SetRadius(radii[0], radii[1]);
}

}  // namespace

CCylinderPage::CCylinderPage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    m_pSlices = AddRow(*form, "Slices:", true);
    m_pStacks = AddRow(*form, "Stacks:", true);
    m_pRadius[0] = AddRow(*form, "Radius 1:", false);
    m_pRadius[1] = AddRow(*form, "Radius 2:", false);
    m_pLength = AddRow(*form, "Length:", false);

    connect(m_pSlices, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CCylinderObject>(
            "Slices", [](CCylinderObject& o) { return o.GetSliceNumber(); },
            [](CCylinderObject& o, int slices) { o.SetSliceNumber(slices); }, ToCount(value, kMinimumSlices));
    });
    connect(m_pStacks, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CCylinderObject>(
            "Stacks", [](CCylinderObject& o) { return o.GetStackNumber(); },
            [](CCylinderObject& o, int stacks) { o.SetStackNumber(stacks); }, ToCount(value, kMinimumStacks));
    });
    for (int which = 0; which < 2; ++which) {
        connect(m_pRadius[which], &CNumberField::ValueCommitted, this,
                [this, which](double value) { ApplyRadius(which, value); });
    }
    connect(m_pLength, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CCylinderObject>(
            "Length", [](CCylinderObject& o) { return o.GetLength(); },
            [](CCylinderObject& o, float length) { o.SetLength(length); }, static_cast<float>(value));
    });
}

void CCylinderPage::Refresh() {
    CCylinderObject* cylinder = ObjectAs<CCylinderObject>();
    if (cylinder == nullptr) {
        return;
    }
    int slices = 0;
    int stacks = 0;
    TRadii radii{};
    float length = 0.0f;
    {
        CSceneLock lock(Document().Scene());
        slices = cylinder->GetSliceNumber();
        stacks = cylinder->GetStackNumber();
        radii = ReadRadii(*cylinder);
        length = cylinder->GetLength();
    }
    m_pSlices->SetValue(slices);
    m_pStacks->SetValue(stacks);
    m_pRadius[0]->SetValue(radii[0]);
    m_pRadius[1]->SetValue(radii[1]);
    m_pLength->SetValue(length);
}

void CCylinderPage::ApplyRadius(int which, double value) {
    EditPart<CCylinderObject>("Radius", ReadRadii, WriteRadii, [which, value](TRadii& radii) {
        radii[static_cast<size_t>(which)] = static_cast<float>(value);
    });
}
