#pragma once
// The timeline's time scale: where a time lies on the ruler and which time
// lies under a pixel, the limits of the current time and of the zoom, and
// the "hh:mm:ss:cc" text of a time. The current time always sits at the
// ruler's horizontal centre; the scale scrolls under it.
//
//   CTimelineScale scale;              // zoom 10 px/s, 60 s, time 0
//   scale.SetWidth(400);
//   scale.XOfTime(5.0f);               // 250
//   CTimelineScale::TimeText(3725.5f); // "01:02:05:50"
//
// No widgets: plain values in, values out.

#include <QString>

class CTimelineScale {
public:
    static constexpr float kInitialZoom = 10.0f;
    static constexpr float kMinZoom = 0.625f;
    static constexpr float kMaxZoom = 160.0f;
    static constexpr float kInitialTotalTime = 60.0f;

    // The parts of a time as the header shows them.
    struct SFields {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        int hundredths = 0;
    };

    float CurrentTime() const { return m_CurrentTime; }
    // Clamped to [0, total time].
    void SetCurrentTime(float time) { m_CurrentTime = Clamp(time); }
    float TotalTime() const { return m_TotalTime; }
    // A negative total counts as 0; the current time is clamped again.
    void SetTotalTime(float total);
    float Zoom() const { return m_Zoom; }
    int Width() const { return m_Width; }
    void SetWidth(int width) { m_Width = width; }

    // The zoom doubles up to kMaxZoom and halves down to kMinZoom: from the
    // initial 10 px/s four steps each way.
    bool CanZoomIn() const { return m_Zoom < kMaxZoom; }
    bool CanZoomOut() const { return m_Zoom > kMinZoom; }
    void ZoomIn();
    void ZoomOut();

    // Pixel column of a time (integer part of the exact position).
    int XOfTime(float time) const;
    float TimeAtX(int x) const;
    int Centre() const { return m_Width / 2; }
    float Clamp(float time) const;

    // Seconds between two labelled ticks of the ruler at the present zoom.
    int LabelStep() const;

    static SFields Fields(float time);
    // "hh:mm:ss:cc"
    static QString TimeText(float time);

private:
    float m_CurrentTime = 0.0f;
    float m_TotalTime = kInitialTotalTime;
    float m_Zoom = kInitialZoom;
    int m_Width = 0;
};
