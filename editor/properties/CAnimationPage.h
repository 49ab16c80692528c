#pragma once
// The "Animation" page of an animated mesh: the frame position shown at the
// current keyframe ("Displayed Step:"). The "Frame Order" group is there
// but hidden, and its buttons do nothing yet.

#include "properties/CFieldPage.h"

class CNumberField;
class QGroupBox;

class CAnimationPage : public CFieldPage {
    Q_OBJECT

public:
    explicit CAnimationPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* DisplayedStep() const { return m_pStep; }
    QGroupBox* FrameOrder() const { return m_pFrameOrder; }

private:
    CNumberField* m_pStep;
    QGroupBox* m_pFrameOrder;
};
