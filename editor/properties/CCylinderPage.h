#pragma once
// The "Geometry" page of a cylinder: slices (at least 1) and stacks (at
// least 3), the radii at its two ends and its length, at the current
// keyframe.

#include "properties/CFieldPage.h"

class CNumberField;

class CCylinderPage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr int kMinimumSlices = 1;
    static constexpr int kMinimumStacks = 3;

    explicit CCylinderPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* Slices() const { return m_pSlices; }
    CNumberField* Stacks() const { return m_pStacks; }
    CNumberField* Radius1() const { return m_pRadius[0]; }
    CNumberField* Radius2() const { return m_pRadius[1]; }
    CNumberField* Length() const { return m_pLength; }

private:
    void ApplyRadius(int which, double value);

    CNumberField* m_pSlices;
    CNumberField* m_pStacks;
    CNumberField* m_pRadius[2];
    CNumberField* m_pLength;
};
