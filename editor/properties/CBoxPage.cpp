#include "properties/CBoxPage.h"

#include <QFormLayout>
#include <array>

#include "controls/CNumberField.h"
#include "objects/CBoxObject.h"

namespace {

using TSize = std::array<float, 3>;

TSize ReadSize(CBoxObject& box) {
    TSize size{};
    box.GetSize(size[0], size[1], size[2]);
    return size;
}

void WriteSize(CBoxObject& box, const TSize& size) {
    box.SetSize(size[0], size[1], size[2]);
}

}  // namespace

CBoxPage::CBoxPage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    const char* labels[3] = {"X Size:", "Y Size:", "Z Size:"};
    for (int axis = 0; axis < 3; ++axis) {
        // The field refuses a value out of range with a message and then
        // passes it on as it stands, so the value is not clamped here.
        m_pSize[axis] = AddRow(*form, labels[axis], false);
        m_pSize[axis]->SetRange(kMinimumSize, kMaximumSize);
        connect(m_pSize[axis], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { ApplySize(axis, value); });
    }
}

void CBoxPage::Refresh() {
    CBoxObject* box = ObjectAs<CBoxObject>();
    if (box == nullptr) {
        return;
    }
    TSize size{};
    {
        CSceneLock lock(Document().Scene());
        size = ReadSize(*box);
    }
    for (int axis = 0; axis < 3; ++axis) {
        m_pSize[axis]->SetValue(size[static_cast<size_t>(axis)]);
    }
}

void CBoxPage::ApplySize(int axis, double value) {
    EditPart<CBoxObject>("Size", ReadSize, WriteSize,
                         [axis, value](TSize& size) { size[static_cast<size_t>(axis)] = static_cast<float>(value); });
}
