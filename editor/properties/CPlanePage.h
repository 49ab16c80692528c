#pragma once
// The "Geometry" page of a plane: its full width and height at the current
// keyframe; negative sizes become 0.

#include "properties/CFieldPage.h"

class CNumberField;

class CPlanePage : public CFieldPage {
    Q_OBJECT

public:
    explicit CPlanePage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* XSize() const { return m_pXSize; }
    CNumberField* YSize() const { return m_pYSize; }

private:
    void ApplySize(int axis, double value);

    CNumberField* m_pXSize;
    CNumberField* m_pYSize;
};
