#include "properties/CSpherePage.h"

#include <QFormLayout>

#include "controls/CNumberField.h"
#include "objects/CSphereObject.h"

CSpherePage::CSpherePage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    m_pSlices = AddRow(*form, "Slices:", true);
    m_pStacks = AddRow(*form, "Stacks:", true);
    m_pRadius = AddRow(*form, "Radius:", false);
    form->setRowVisible(m_pRadius, false);

    connect(m_pSlices, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CSphereObject>(
            "Slices", [](CSphereObject& o) { return o.GetSliceNumber(); },
            [](CSphereObject& o, int slices) { o.SetSliceNumber(slices); }, ToCount(value, kMinimumSlices));
    });
    connect(m_pStacks, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CSphereObject>(
            "Stacks", [](CSphereObject& o) { return o.GetStackNumber(); },
            [](CSphereObject& o, int stacks) { o.SetStackNumber(stacks); }, ToCount(value, kMinimumStacks));
    });
    connect(m_pRadius, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CSphereObject>(
            "Radius", [](CSphereObject& o) { return o.GetRadius(); },
            [](CSphereObject& o, float radius) { o.SetRadius(radius); }, static_cast<float>(value));
    });
}

void CSpherePage::Refresh() {
    CSphereObject* sphere = ObjectAs<CSphereObject>();
    if (sphere == nullptr) {
        return;
    }
    int slices = 0;
    int stacks = 0;
    float radius = 0.0f;
    {
        CSceneLock lock(Document().Scene());
        slices = sphere->GetSliceNumber();
        stacks = sphere->GetStackNumber();
        radius = sphere->GetRadius();
    }
    m_pSlices->SetValue(slices);
    m_pStacks->SetValue(stacks);
    m_pRadius->SetValue(radius);
}
