#pragma once
// The "Geometry" page of a sphere: slices and stacks (at least 3 each) at
// the current keyframe. The radius has a row too, kept hidden (the page
// never shows it, but the row still reads and writes it).

#include "properties/CFieldPage.h"

class CNumberField;

class CSpherePage : public CFieldPage {
    Q_OBJECT

public:
    static constexpr int kMinimumSlices = 3;
    static constexpr int kMinimumStacks = 3;

    explicit CSpherePage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* Slices() const { return m_pSlices; }
    CNumberField* Stacks() const { return m_pStacks; }
    CNumberField* Radius() const { return m_pRadius; }

private:
    CNumberField* m_pSlices;
    CNumberField* m_pStacks;
    CNumberField* m_pRadius;
};
