#pragma once
// A message the engine posted to the 3D view's output window (start-up
// errors 1025, music 5024 / 5025, WM_CLOSE at the end of a run), carried
// into the Qt event loop so that it is handled on the user-interface thread.
// Each event names the run that posted it, so that a late message of an
// earlier run is not taken for one of the current run.

#include <QEvent>

#include "platform/base/WinTypes.h"

class CEngineMessageEvent : public QEvent {
public:
    CEngineMessageEvent(unsigned run, UINT message, WPARAM wParam, LPARAM lParam);

    // The event type, registered with Qt once per process.
    static QEvent::Type EventType();

    unsigned Run() const { return m_Run; }
    UINT Message() const { return m_Message; }
    WPARAM WParam() const { return m_WParam; }
    LPARAM LParam() const { return m_LParam; }

private:
    unsigned m_Run;
    UINT m_Message;
    WPARAM m_WParam;
    LPARAM m_LParam;
};
