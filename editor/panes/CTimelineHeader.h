#pragma once
// The strip above the timeline's ruler: six playback buttons that behave as
// a radio group (the last one pressed stays down) and, right of the centre
// line, the current time as "Time: hh:mm:ss:cc".
//
// The strip only shows and reports; what a button does to the clock is the
// pane's business (ButtonClicked).

#include <QWidget>
#include <array>

class QButtonGroup;
class QToolButton;

class CTimelineHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 30;

    // Left to right.
    enum EButton {
        kFastReverse,
        kReverse,
        kStop,
        kPause,
        kPlay,
        kFastForward,
        kButtonCount,
    };

    explicit CTimelineHeader(QWidget* parent = nullptr);

    float Time() const { return m_Time; }
    // Shows another time; repaints only the text's half of the strip, and
    // only when the time changed.
    void SetTime(float time);

    // Shows that button down and the others up, without reporting a click.
    void Press(EButton button);
    bool IsDown(EButton button) const;
    QToolButton* Button(EButton button) const { return m_Buttons[button]; }

signals:
    // The user pressed a button (EButton).
    void ButtonClicked(int button);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup* m_pGroup;
    std::array<QToolButton*, kButtonCount> m_Buttons{};
    float m_Time = 0.0f;
};
