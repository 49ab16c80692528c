// The ruler on its own: what it draws where, what the mouse, the wheel and
// the keyboard do to the current time and the keys, and its context menus
// (driven as the user drives them).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>

#include "TimelineInput.h"
#include "common/QtTestApplication.h"
#include "dialogs/CModalAnswers.h"
#include "panes/CTimelineRuler.h"

using testing::ElementsAre;
using timelinetest::CMenuAnswer;

namespace {

const QRgb kGround = qRgb(100, 100, 100);
const QRgb kKey = qRgb(128, 0, 0);
const QRgb kSelectedKey = qRgb(230, 0, 0);

class TimelineRuler : public testing::Test {
protected:
    void SetUp() override {
        m_ruler.resize(400, 70);
        m_ruler.show();
    }

    // Keys 0 at 0 s, 1 at 5 s, 2 at 12 s; key 1 highlighted.
    void ThreeKeys() { m_ruler.SetKeys({{0.0f, 0}, {5.0f, 1}, {12.0f, 2}}, 1); }
    QPoint OnMarker(float time) const { return {m_ruler.Scale().XOfTime(time) + 10, 7}; }
    QPoint OnBand(float time) const { return {m_ruler.Scale().XOfTime(time), 20}; }
    QImage Picture() {
        QImage image(m_ruler.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        m_ruler.Paint(painter);
        return image;
    }
    float Last(const QSignalSpy& spy) const { return spy.last().at(0).toFloat(); }

    // The application comes first: a widget needs one.
    QApplication& m_application = lvxtest::TestApplication();
    CTimelineRuler m_ruler;
};

}  // namespace

// ---------------------------------------------------------------- painting

TEST_F(TimelineRuler, DrawsKeysAtTheirTimesTheSelectedOneBrightAndTheCursorAtTheCentre) {
    m_ruler.SetTotalTime(60.0f);
    ThreeKeys();
    const QImage image = Picture();
    EXPECT_EQ(m_ruler.Scale().XOfTime(5.0f), 250);
    EXPECT_EQ(image.pixel(250 + 15, 10), kSelectedKey);
    EXPECT_EQ(image.pixel(320 + 15, 10), kKey);
    EXPECT_EQ(image.pixel(200 + 15, 10), kKey);
    EXPECT_EQ(image.pixel(320, 30), qRgb(0, 0, 0)) << "the key's line down to 35 px above the bottom";
    EXPECT_EQ(image.pixel(320, 36), kGround);
    EXPECT_EQ(image.pixel(250 + 19, 30), kSelectedKey) << "the selected key's outline reaches down";
    EXPECT_EQ(image.pixel(200, 36), qRgb(255, 255, 255)) << "the cursor";
    EXPECT_EQ(image.pixel(200, 60), kGround);
    // The band begins at time 0 (the centre) and ends at the total.
    EXPECT_EQ(image.pixel(150, 22), kGround);
    EXPECT_NE(image.pixel(230, 22), kGround);
}

TEST_F(TimelineRuler, ADraggedKeyShowsItsTimeInABoxUntilTheButtonGoesUp) {
    ThreeKeys();
    const QPoint grab = OnMarker(12.0f);
    timelinetest::Press(m_ruler, grab);
    // The key came to the centre; the box begins right of its line, left of
    // the text.
    const QPoint box(m_ruler.Scale().XOfTime(12.0f) + 3, 22);
    EXPECT_EQ(Picture().pixel(box), qRgb(255, 253, 214));
    timelinetest::Release(m_ruler, grab);
    EXPECT_NE(Picture().pixel(box), qRgb(255, 253, 214));
}

// ---------------------------------------------------------------- mouse

TEST_F(TimelineRuler, PressingBesideTheBandAndTheKeysGoesBackToTheStart) {
    m_ruler.SetCurrentTime(20.0f);
    QSignalSpy time(&m_ruler, &CTimelineRuler::TimeChanged);
    timelinetest::Press(m_ruler, QPoint(200, 50));
    EXPECT_EQ(m_ruler.DragMode(), CTimelineRuler::kOutside);
    EXPECT_EQ(m_ruler.CurrentTime(), 0.0f);
    ASSERT_EQ(time.count(), 1);
    EXPECT_EQ(Last(time), 0.0f);
}

TEST_F(TimelineRuler, DraggingTheBandScrollsTheScaleUnderTheMouse) {
    m_ruler.SetCurrentTime(10.0f);
    QSignalSpy time(&m_ruler, &CTimelineRuler::TimeChanged);
    timelinetest::Press(m_ruler, QPoint(200, 20));
    EXPECT_EQ(m_ruler.DragMode(), CTimelineRuler::kScrolling);
    timelinetest::DragTo(m_ruler, QPoint(250, 20));  // right: back in time
    EXPECT_FLOAT_EQ(m_ruler.CurrentTime(), 5.0f);
    timelinetest::DragTo(m_ruler, QPoint(100, 20));
    EXPECT_FLOAT_EQ(m_ruler.CurrentTime(), 20.0f);
    timelinetest::DragTo(m_ruler, QPoint(390, 20));
    EXPECT_EQ(m_ruler.CurrentTime(), 0.0f) << "clamped";
    EXPECT_EQ(Last(time), 0.0f);
    timelinetest::Release(m_ruler, QPoint(390, 20));
    EXPECT_EQ(m_ruler.DragMode(), CTimelineRuler::kNoDrag);
    timelinetest::DragTo(m_ruler, QPoint(100, 20));
    EXPECT_EQ(m_ruler.CurrentTime(), 0.0f) << "no drag after the release";
}

TEST_F(TimelineRuler, APressedKeyIsChosenThenFollowsTheMouseAndStopsAtTheEndsOfTheScene) {
    m_ruler.SetTotalTime(30.0f);
    ThreeKeys();
    QSignalSpy moved(&m_ruler, &CTimelineRuler::KeyMoved);
    QSignalSpy selected(&m_ruler, &CTimelineRuler::KeySelected);
    QSignalSpy time(&m_ruler, &CTimelineRuler::TimeChanged);
    const QPoint grab = OnMarker(5.0f);
    timelinetest::Press(m_ruler, grab);
    // Pressed: the key is chosen and its time comes to the centre.
    EXPECT_EQ(m_ruler.DragMode(), CTimelineRuler::kDraggingKey);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].toInt(), 1);
    EXPECT_EQ(Last(time), 5.0f);
    timelinetest::DragTo(m_ruler, grab + QPoint(30, 0));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 1);
    EXPECT_FLOAT_EQ(moved[0][1].toFloat(), 8.0f);
    EXPECT_EQ(m_ruler.CurrentTime(), 5.0f) << "the scale stays where it was";
    timelinetest::DragTo(m_ruler, grab - QPoint(300, 0));
    timelinetest::DragTo(m_ruler, grab - QPoint(310, 0));  // still pinned: nothing more to move
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved[1][1].toFloat(), 0.0f);
    timelinetest::DragTo(m_ruler, grab + QPoint(1000, 0));
    EXPECT_EQ(moved.last()[1].toFloat(), 30.0f);
    EXPECT_EQ(m_ruler.Keys()[1].time, 30.0f) << "shown before the pane hands the keys back";
}

TEST_F(TimelineRuler, TheHandShowsOverKeyMarkersOnly) {
    ThreeKeys();
    timelinetest::DragTo(m_ruler, OnMarker(12.0f));
    EXPECT_EQ(m_ruler.cursor().shape(), Qt::PointingHandCursor);
    timelinetest::DragTo(m_ruler, QPoint(10, 50));
    EXPECT_EQ(m_ruler.cursor().shape(), Qt::ArrowCursor);
}

// ---------------------------------------------------------------- wheel and keyboard

TEST_F(TimelineRuler, TheWheelMovesASecondANotchAndFourWithControlOrTheMiddleButton) {
    m_ruler.SetCurrentTime(20.0f);
    QSignalSpy time(&m_ruler, &CTimelineRuler::TimeChanged);
    timelinetest::Wheel(m_ruler, 120);
    EXPECT_EQ(m_ruler.CurrentTime(), 21.0f);
    timelinetest::Wheel(m_ruler, -240);
    EXPECT_EQ(m_ruler.CurrentTime(), 19.0f);
    timelinetest::Wheel(m_ruler, 120, Qt::ControlModifier);
    EXPECT_EQ(m_ruler.CurrentTime(), 23.0f);
    timelinetest::Wheel(m_ruler, -120, Qt::NoModifier, Qt::MiddleButton);
    EXPECT_EQ(m_ruler.CurrentTime(), 19.0f);
    timelinetest::Wheel(m_ruler, 60);  // half a notch: whole seconds only
    EXPECT_EQ(m_ruler.CurrentTime(), 19.0f);
    timelinetest::Wheel(m_ruler, -120 * 30);
    EXPECT_EQ(m_ruler.CurrentTime(), 0.0f);
    EXPECT_EQ(time.count(), 6);
}

TEST_F(TimelineRuler, KeysStepThroughTheSceneWithinItsEnds) {
    m_ruler.SetTotalTime(25.0f);
    m_ruler.SetCurrentTime(12.0f);
    const auto after = [this](Qt::Key key) {
        QTest::keyClick(&m_ruler, key);
        return m_ruler.CurrentTime();
    };
    EXPECT_EQ(after(Qt::Key_PageUp), 2.0f);
    EXPECT_EQ(after(Qt::Key_PageUp), 0.0f);
    EXPECT_EQ(after(Qt::Key_PageDown), 10.0f);
    EXPECT_EQ(after(Qt::Key_Right), 11.0f);
    EXPECT_EQ(after(Qt::Key_Down), 12.0f);
    EXPECT_EQ(after(Qt::Key_Left), 11.0f);
    EXPECT_EQ(after(Qt::Key_Up), 10.0f);
    EXPECT_EQ(after(Qt::Key_End), 25.0f);
    EXPECT_EQ(after(Qt::Key_PageDown), 25.0f);
    EXPECT_EQ(after(Qt::Key_Home), 0.0f);
}

// ---------------------------------------------------------------- menus

TEST_F(TimelineRuler, TheBandsMenuZoomsFourStepsEachWayAndAddsOnlyForAnObject) {
    CMenuAnswer user("Zoom In");
    for (int i = 0; i < 5; ++i) {
        timelinetest::Press(m_ruler, OnBand(0.0f), Qt::RightButton);
    }
    ASSERT_EQ(user.Shown().size(), 5);
    EXPECT_EQ(user.Shown()[0].title, "Contextual timeline");
    EXPECT_THAT(user.Shown()[0].actions, ElementsAre("&Add a KeyFrame", "Zoom In", "Zoom Out", "Properties..."));
    EXPECT_THAT(user.Shown()[0].enabled, ElementsAre("Zoom In", "Zoom Out", "Properties..."));
    EXPECT_THAT(user.Shown()[4].enabled, ElementsAre("Zoom Out", "Properties..."));
    EXPECT_EQ(m_ruler.Scale().Zoom(), 160.0f);

    user.Choose("Zoom Out");
    for (int i = 0; i < 9; ++i) {
        timelinetest::Press(m_ruler, OnBand(0.0f), Qt::RightButton);
    }
    EXPECT_EQ(m_ruler.Scale().Zoom(), 0.625f);
    EXPECT_THAT(user.Shown().last().enabled, ElementsAre("Zoom In", "Properties..."));

    m_ruler.SetHasObject(true);
    user.Choose("");
    timelinetest::Press(m_ruler, OnBand(0.0f), Qt::RightButton);
    EXPECT_TRUE(user.Shown().last().enabled.contains("&Add a KeyFrame"));
}

TEST_F(TimelineRuler, AddingAKeyAsksAtTheTimeClickedThenGoesThere) {
    m_ruler.SetHasObject(true);
    QSignalSpy add(&m_ruler, &CTimelineRuler::AddKeyRequested);
    QSignalSpy selected(&m_ruler, &CTimelineRuler::KeySelected);
    QSignalSpy time(&m_ruler, &CTimelineRuler::TimeChanged);
    CMenuAnswer user("&Add a KeyFrame");
    timelinetest::Press(m_ruler, OnBand(7.5f), Qt::RightButton);
    ASSERT_EQ(add.count(), 1);
    EXPECT_FLOAT_EQ(add[0][0].toFloat(), 7.5f);
    EXPECT_EQ(selected.count(), 1);
    EXPECT_FLOAT_EQ(m_ruler.CurrentTime(), 7.5f);
    ASSERT_EQ(time.count(), 1);
    EXPECT_FLOAT_EQ(Last(time), 7.5f);
}

TEST_F(TimelineRuler, TheRightButtonSelectsAKeyAndOpensItsMenuExceptForTheFirstKey) {
    ThreeKeys();
    QSignalSpy selected(&m_ruler, &CTimelineRuler::KeySelected);
    QSignalSpy properties(&m_ruler, &CTimelineRuler::PropertiesRequested);
    CMenuAnswer user("Properties...");
    timelinetest::Press(m_ruler, OnMarker(0.0f), Qt::RightButton);
    EXPECT_EQ(m_ruler.SelectedKey(), 0);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].toInt(), 0);
    EXPECT_TRUE(user.Shown().isEmpty());

    timelinetest::Press(m_ruler, OnMarker(12.0f), Qt::RightButton);
    EXPECT_EQ(m_ruler.SelectedKey(), 2);
    ASSERT_EQ(user.Shown().size(), 1);
    EXPECT_EQ(user.Shown()[0].title, "Contextual keyframe");
    EXPECT_THAT(user.Shown()[0].actions, ElementsAre("Delete this KeyFrame", "Properties..."));
    EXPECT_EQ(properties.count(), 1);
    EXPECT_EQ(m_ruler.CurrentTime(), 0.0f) << "the right button leaves the time";
}

TEST_F(TimelineRuler, DeletingAsksFirstAndNeverTakesTheFirstKey) {
    ThreeKeys();
    QSignalSpy deleted(&m_ruler, &CTimelineRuler::DeleteKeyRequested);
    CModalAnswers user;  // the default button: Cancel
    timelinetest::Press(m_ruler, OnMarker(0.0f));
    QTest::keyClick(&m_ruler, Qt::Key_Delete);
    EXPECT_TRUE(user.Messages().isEmpty()) << "no question for the first key";

    timelinetest::Press(m_ruler, OnMarker(12.0f));
    QTest::keyClick(&m_ruler, Qt::Key_Delete);
    EXPECT_THAT(user.Messages(), ElementsAre("Are you sure you want to delete the selected keyframe?"));
    EXPECT_EQ(deleted.count(), 0);
}
