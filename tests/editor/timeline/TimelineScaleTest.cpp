// The timeline's time scale: pixels and times both ways around the centre,
// the clamps, the zoom's limits, the spacing of the labels and the fields
// of the time text.

#include <gtest/gtest.h>

#include <limits>

#include "panes/CTimelineScale.h"

namespace {

CTimelineScale Scale(int width, float current = 0.0f, float total = 60.0f) {
    CTimelineScale scale;
    scale.SetWidth(width);
    scale.SetTotalTime(total);
    scale.SetCurrentTime(current);
    return scale;
}

}  // namespace

TEST(TimelineScale, TheCurrentTimeSitsAtTheCentreAndKeysLieZoomPixelsPerSecondAway) {
    CTimelineScale scale = Scale(400, 7.0f);
    EXPECT_EQ(scale.XOfTime(7.0f), 200);
    EXPECT_EQ(scale.XOfTime(12.0f), 250);  // 5 s ahead at 10 px/s
    EXPECT_EQ(scale.XOfTime(2.0f), 150);
    EXPECT_FLOAT_EQ(scale.TimeAtX(250), 12.0f);
    EXPECT_FLOAT_EQ(scale.TimeAtX(0), -13.0f);  // left of the scale: not clamped
    // An odd width keeps the centre at its integer half; parts of a pixel
    // are cut, not rounded.
    CTimelineScale odd = Scale(401, 0.0f);
    EXPECT_EQ(odd.Centre(), 200);
    EXPECT_EQ(odd.XOfTime(0.19f), 201);
}

TEST(TimelineScale, TimesStayWithinTheScene) {
    CTimelineScale scale = Scale(400, 30.0f, 60.0f);
    scale.SetCurrentTime(-3.0f);
    EXPECT_EQ(scale.CurrentTime(), 0.0f);
    scale.SetCurrentTime(75.0f);
    EXPECT_EQ(scale.CurrentTime(), 60.0f);
    // A shorter scene pulls the time back in.
    scale.SetTotalTime(20.0f);
    EXPECT_EQ(scale.CurrentTime(), 20.0f);
    EXPECT_EQ(scale.Clamp(21.0f), 20.0f);
    EXPECT_EQ(scale.Clamp(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

TEST(TimelineScale, FourStepsEachWayReachTheZoomLimits) {
    CTimelineScale scale;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(scale.CanZoomIn()) << i;
        scale.ZoomIn();
    }
    EXPECT_EQ(scale.Zoom(), CTimelineScale::kMaxZoom);
    EXPECT_FALSE(scale.CanZoomIn());
    scale.ZoomIn();
    EXPECT_EQ(scale.Zoom(), 160.0f);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(scale.CanZoomOut()) << i;
        scale.ZoomOut();
    }
    EXPECT_EQ(scale.Zoom(), CTimelineScale::kMinZoom);
    EXPECT_FALSE(scale.CanZoomOut());
    EXPECT_TRUE(scale.CanZoomIn());
}

TEST(TimelineScale, LabelsThinOutAsTheScaleShrinks) {
    CTimelineScale scale;
    EXPECT_EQ(scale.LabelStep(), 5);  // 10 px/s
    scale.ZoomIn();
    scale.ZoomIn();
    EXPECT_EQ(scale.LabelStep(), 1);  // 40 px/s
    scale.ZoomOut();
    EXPECT_EQ(scale.LabelStep(), 5);  // 20 px/s
    scale.ZoomOut();
    scale.ZoomOut();
    EXPECT_EQ(scale.LabelStep(), 5);  // 5 px/s
    scale.ZoomOut();
    EXPECT_EQ(scale.LabelStep(), 20);  // 2.5 px/s
}

TEST(TimelineScale, TheTimeTextSplitsHoursMinutesSecondsAndHundredths) {
    EXPECT_EQ(CTimelineScale::TimeText(3725.5f), "01:02:05:50");
    EXPECT_EQ(CTimelineScale::TimeText(0.0f), "00:00:00:00");
    EXPECT_EQ(CTimelineScale::TimeText(59.75f), "00:00:59:75");
    EXPECT_EQ(CTimelineScale::TimeText(3600.0f), "01:00:00:00");
    const CTimelineScale::SFields fields = CTimelineScale::Fields(7322.25f);
    EXPECT_EQ(fields.hours, 2);
    EXPECT_EQ(fields.minutes, 2);
    EXPECT_EQ(fields.seconds, 2);
    EXPECT_EQ(fields.hundredths, 25);
}
