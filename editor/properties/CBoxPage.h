#pragma once
// The "Geometry" page of a box: its full edge lengths at the current
// keyframe, each between 1e-8 and 1e8.

#include "properties/CFieldPage.h"

class CNumberField;

class CBoxPage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr double kMinimumSize = 1e-8;
    static constexpr double kMaximumSize = 1e8;

    explicit CBoxPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* XSize() const { return m_pSize[0]; }
    CNumberField* YSize() const { return m_pSize[1]; }
    CNumberField* ZSize() const { return m_pSize[2]; }

private:
    void ApplySize(int axis, double value);

    CNumberField* m_pSize[3];
};
