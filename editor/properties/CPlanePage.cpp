#include "properties/CPlanePage.h"

#include <QFormLayout>
#include <array>

#include "controls/CNumberField.h"
#include "objects/CPlaneObject.h"

namespace {

using TSize = std::array<float, 2>;

TSize ReadSize(CPlaneObject& plane) {
    TSize size{};
    plane.GetSize(size[0], size[1]);
    return size;
}

void WriteSize(CPlaneObject& plane, const TSize& size) {
    plane.SetSize(size[0], size[1]);
}

}  // namespace

CPlanePage::CPlanePage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    m_pXSize = AddRow(*form, "X Size:", false);
    m_pYSize = AddRow(*form, "Y Size:", false);
    connect(m_pXSize, &CNumberField::ValueCommitted, this, [this](double value) { ApplySize(0, value); });
    connect(m_pYSize, &CNumberField::ValueCommitted, this, [this](double value) { ApplySize(1, value); });
}

void CPlanePage::Refresh() {
    CPlaneObject* plane = ObjectAs<CPlaneObject>();
    if (plane == nullptr) {
        return;
    }
    TSize size{};
    {
        CSceneLock lock(Document().Scene());
        size = ReadSize(*plane);
    }
    m_pXSize->SetValue(size[0]);
    m_pYSize->SetValue(size[1]);
}

void CPlanePage::ApplySize(int axis, double value) {
    EditPart<CPlaneObject>("Size", ReadSize, WriteSize,
                           [axis, value](TSize& size) { size[static_cast<size_t>(axis)] = AtLeastZero(value); });
}
