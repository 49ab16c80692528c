#include "view/CEngineMessageEvent.h"

CEngineMessageEvent::CEngineMessageEvent(unsigned run, UINT message, WPARAM wParam, LPARAM lParam)
    : QEvent(EventType()), m_Run(run), m_Message(message), m_WParam(wParam), m_LParam(lParam) {}

QEvent::Type CEngineMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
