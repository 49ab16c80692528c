#pragma once
// The "Geometry" page of a torus: sides and rings (at least 3 each) and the
// two radii (tube, then centre line) at the current keyframe.

#include "properties/CFieldPage.h"

class CNumberField;

class CTorusPage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr int kMinimumSides = 3;
    static constexpr int kMinimumRings = 3;

    explicit CTorusPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* Sides() const { return m_pSides; }
    CNumberField* Rings() const { return m_pRings; }
    CNumberField* Radius1() const { return m_pRadius[0]; }
    CNumberField* Radius2() const { return m_pRadius[1]; }

private:
    void ApplyRadius(int which, double value);

    CNumberField* m_pSides;
    CNumberField* m_pRings;
    CNumberField* m_pRadius[2];
};
