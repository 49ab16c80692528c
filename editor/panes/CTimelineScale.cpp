#include "panes/CTimelineScale.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any screen: keeps the conversion to int defined for times far
// off the visible part of a long scene.
constexpr float kFarOff = 1.0e8f;

}  // namespace

void CTimelineScale::SetTotalTime(float total) {
    m_TotalTime = std::max(0.0f, total);
    m_CurrentTime = Clamp(m_CurrentTime);
}

void CTimelineScale::ZoomIn() {
    if (CanZoomIn()) {
        m_Zoom *= 2.0f;
    }
}

void CTimelineScale::ZoomOut() {
    if (CanZoomOut()) {
        m_Zoom *= 0.5f;
    }
}

int CTimelineScale::XOfTime(float time) const {
    const float x = (time - m_CurrentTime) * m_Zoom + static_cast<float>(Centre());
    return static_cast<int>(std::clamp(x, -kFarOff, kFarOff));
}

float CTimelineScale::TimeAtX(int x) const {
    return static_cast<float>(x - Centre()) / m_Zoom + m_CurrentTime;
}

float CTimelineScale::Clamp(float time) const {
    if (std::isnan(time)) {
        return 0.0f;
    }
    return std::clamp(time, 0.0f, m_TotalTime);
}

int CTimelineScale::LabelStep() const {
    if (m_Zoom <= 2.5f) {
        return 20;
    }
    return m_Zoom >= 40.0f ? 1 : 5;
}

CTimelineScale::SFields CTimelineScale::Fields(float time) {
    // Single precision throughout, as the clock keeps its time.
    SFields fields;
    if (std::isnan(time)) {
        return fields;
    }
    time = std::clamp(time, 0.0f, kFarOff);
    const int whole = static_cast<int>(time);
    fields.hours = whole / 3600;
    const float inHour = time - static_cast<float>(fields.hours * 3600);
    fields.minutes = static_cast<int>(inHour * 0.016666668f);
    fields.seconds = static_cast<int>(inHour - static_cast<float>(fields.minutes * 60));
    fields.hundredths = static_cast<int>((time - static_cast<float>(whole)) * 100.0f);
    return fields;
}

QString CTimelineScale::TimeText(float time) {
    const SFields f = Fields(time);
    return QString::asprintf("%02d:%02d:%02d:%02d", f.hours, f.minutes, f.seconds, f.hundredths);
}
