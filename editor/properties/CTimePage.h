#pragma once
// The "Time" page of "Scene Properties": the scene's total time in seconds
// and whether playback loops. A total time outside 0 .. 10000000 is
// refused with the number field's message and then held to that range.

#include <QWidget>

#include "document/SSceneSettings.h"

class CNumberField;
class QCheckBox;

class CTimePage : public QWidget {
    Q_OBJECT

public:
    static constexpr double kLongestTime = 10000000.0;

    explicit CTimePage(QWidget* parent = nullptr);

    // Shows the time values of settings.
    void Show(const SSceneSettings& settings);
    // Writes the page's values into settings.
    void Take(SSceneSettings& settings) const;

    CNumberField* TotalTimeField() const { return m_pTotalTime; }
    QCheckBox* LoopCheck() const { return m_pLoop; }

signals:
    // The user changed a value.
    void Changed();

private:
    void CommitTotalTime(double value);

    float m_TotalTime = 0.0f;
    CNumberField* m_pTotalTime;
    QCheckBox* m_pLoop;
};
