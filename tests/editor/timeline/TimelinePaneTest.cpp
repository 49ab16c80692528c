// The timeline pane over a document: which objects show keys, key frames
// added, dragged and deleted as undoable steps, the keys following undo and
// redo, the playback buttons and the clock (followed tick by tick), and a
// picture of the pane with keys and the music's waveform.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QToolButton>
#include <atomic>

#include "TimelineInput.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "app/CModalResponder.h"
#include "core/CScreen.h"
#include "document/CHeadlessEngine.h"
#include "objects/CBoxObject.h"
#include "panes/CMusicWaveform.h"
#include "panes/CTimelineHeader.h"
#include "panes/CTimelinePane.h"
#include "panes/CTimelineRuler.h"
#include "panes/EditorSceneFixture.h"
#include "support/CTempFolder.h"
#include "waveform/CBurstMusic.h"

using testing::ElementsAre;
using timelinetest::CMenuAnswer;

namespace {

class TimelinePane : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_pane = std::make_unique<CTimelinePane>(m_document);
        m_pane->resize(400, 100);
        m_pane->show();
        // What the frame does with a chosen key.
        QObject::connect(m_pane.get(), &CTimelinePane::KeyFrameSelected, [this](int id) {
            if (auto* base = dynamic_cast<CBaseObject*>(m_pane->TimelineObject())) {
                base->SetCurrentKeyFrame(id);
            }
        });
    }
    void TearDown() override { m_pane.reset(); }

    // "Box1" with keys 0 at 0 s, 1 at 5 s and 2 at 12 s, shown.
    CBoxObject& ShowBox() {
        CBoxObject& box = Add<CBoxObject>("Box1");
        box.AddKeyFrame(5.0f);
        box.AddKeyFrame(12.0f);
        box.SetCurrentKeyFrame(0);
        m_pane->SetTimelineObject(&box);
        return box;
    }
    CTimelineRuler& Ruler() { return m_pane->Ruler(); }
    CTimelineHeader& Header() { return m_pane->Header(); }
    QPoint OnMarker(float time) { return {Ruler().Scale().XOfTime(time) + 10, 7}; }
    QPoint OnBand(float time) { return {Ruler().Scale().XOfTime(time), 20}; }
    std::vector<int> Ids() {
        std::vector<int> ids;
        for (const CTimelineRuler::SKey& key : Ruler().Keys()) {
            ids.push_back(key.id);
        }
        return ids;
    }
    static float TimeOf(const CBaseObject& object, int id) {
        for (int i = 0; i < object.GetKeyFrameNumber(); ++i) {
            if (object.GetKeyFrameID(i) == id) {
                return object.GetKeyFrameTime(i);
            }
        }
        return -1.0f;
    }
    QUndoStack& Undo() { return m_document.UndoStack(); }
    // Deletes the selected key through its menu, answering the question.
    void DeleteThroughMenu(float keyTime, QMessageBox::StandardButton answer, CModalResponder& user) {
        user.Answer(CModalResponder::Click(answer));
        CMenuAnswer menu("Delete this KeyFrame");
        timelinetest::Press(Ruler(), OnMarker(keyTime), Qt::RightButton);
    }

    std::unique_ptr<CTimelinePane> m_pane;
};

}  // namespace

// ---------------------------------------------------------------- the shown object

TEST_F(TimelinePane, ShowsTheKeysOfBaseObjectsAndCamerasAndNothingForOtherObjects) {
    CBoxObject& box = ShowBox();
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));
    EXPECT_EQ(Ruler().Keys()[2].time, 12.0f);
    EXPECT_EQ(Ruler().SelectedKey(), 0);
    EXPECT_TRUE(Ruler().HasObject());
    EXPECT_EQ(m_pane->TimelineObject(), &box);

    auto& camera = Add<CCameraTrajectoryObject>("Camera1");
    const int id = camera.AddKeyFrame(3.0f);
    camera.SetCurrentKeyFrame(id);
    m_pane->SetTimelineObject(&camera);
    EXPECT_THAT(Ids(), ElementsAre(0, id));
    EXPECT_EQ(Ruler().SelectedKey(), id);

    m_pane->SetTimelineObject(&Add<CTrajectoryObject>("Path1"));
    EXPECT_TRUE(Ruler().Keys().empty());
    EXPECT_FALSE(Ruler().HasObject());
    EXPECT_EQ(m_pane->TimelineObject(), nullptr);
    m_pane->SetTimelineObject(&box);
    m_pane->SetTimelineObject(nullptr);
    EXPECT_TRUE(Ruler().Keys().empty());
}

TEST_F(TimelinePane, KeysFollowEditsUndoAndANewScene) {
    CBoxObject& box = ShowBox();
    m_document.EditKeyFrames(box, "Add key at 20.00 s to Box1", m_document.NewEditRun(),
                             [](CObjects& o) { static_cast<CBoxObject&>(o).AddKeyFrame(20.0f); });
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2, 3));
    Undo().undo();
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));

    // An edit of another object leaves the keys alone.
    auto& other = Add<CBoxObject>("Box2");
    m_document.EditKeyFrames(other, "Add key at 1.00 s to Box2", m_document.NewEditRun(),
                             [](CObjects& o) { static_cast<CBoxObject&>(o).AddKeyFrame(1.0f); });
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));

    CScreen::Instance().SetTotalTime(90.0f);
    m_document.NewScene();
    EXPECT_EQ(m_pane->TimelineObject(), nullptr);
    EXPECT_TRUE(Ruler().Keys().empty());
    EXPECT_EQ(Ruler().Scale().TotalTime(), 90.0f);
}

TEST_F(TimelinePane, AnObjectOfANewSceneShownBeforeThePaneHearsOfTheSceneStays) {
    // The frame answers the object list, which may hear of the new scene
    // before the pane does: its connection is the older one.
    m_pane.reset();
    QObject frame;
    CBoxObject* fresh = nullptr;
    QObject::connect(&m_document, &CEditorDocument::SceneReplaced, &frame, [&] {
        fresh = &Add<CBoxObject>("Fresh");
        fresh->AddKeyFrame(4.0f);
        m_pane->SetTimelineObject(fresh);
    });
    m_pane = std::make_unique<CTimelinePane>(m_document);
    ShowBox();
    m_document.NewScene();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(m_pane->TimelineObject(), fresh);
    EXPECT_THAT(Ids(), ElementsAre(0, 1));
}

// ---------------------------------------------------------------- key edits

TEST_F(TimelinePane, AKeyAddedFromTheMenuIsSelectedAndOneUndoStep) {
    CBoxObject& box = ShowBox();
    QSignalSpy chosen(m_pane.get(), &CTimelinePane::KeyFrameSelected);
    CMenuAnswer menu("&Add a KeyFrame");
    timelinetest::Press(Ruler(), OnBand(7.5f), Qt::RightButton);

    ASSERT_EQ(Undo().count(), 1);
    EXPECT_EQ(Undo().text(0), "Add key at 7.50 s to Box1");
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 3, 2));
    EXPECT_EQ(box.GetCurrentKeyFrame(), 3);
    EXPECT_EQ(Ruler().SelectedKey(), 3);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 3);
    EXPECT_FLOAT_EQ(Ruler().CurrentTime(), 7.5f);
    EXPECT_FLOAT_EQ(Header().Time(), 7.5f);

    Undo().undo();
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));
    Undo().redo();
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 3, 2));
}

TEST_F(TimelinePane, AWholeKeyDragIsOneUndoStepAndAKeyDraggedBeforeTheStartStaysAtZero) {
    CBoxObject& box = ShowBox();
    const QPoint grab = OnMarker(5.0f);
    timelinetest::Press(Ruler(), grab);
    for (int dx = -10; dx >= -200; dx -= 10) {
        timelinetest::DragTo(Ruler(), grab + QPoint(dx, 0));
    }
    timelinetest::Release(Ruler(), grab + QPoint(-200, 0));

    EXPECT_EQ(TimeOf(box, 1), 0.0f);
    ASSERT_EQ(Undo().count(), 1);
    EXPECT_EQ(Undo().text(0), "Move key 1 of Box1");
    Undo().undo();
    EXPECT_EQ(TimeOf(box, 1), 5.0f);
    EXPECT_EQ(Ruler().Keys()[1].time, 5.0f);

    // The next drag is a step of its own.
    timelinetest::Press(Ruler(), OnMarker(5.0f));
    timelinetest::DragTo(Ruler(), OnMarker(5.0f) + QPoint(20, 0));
    timelinetest::Release(Ruler(), OnMarker(5.0f) + QPoint(20, 0));
    EXPECT_EQ(TimeOf(box, 1), 7.0f);
    EXPECT_EQ(Undo().count(), 1) << "the undone drag went from the stack";
    EXPECT_EQ(Undo().index(), 1);
}

TEST_F(TimelinePane, DeletingAKeyAsksThenUndoBringsItBackWithItsIdentifier) {
    CBoxObject& box = ShowBox();
    CModalResponder user;
    DeleteThroughMenu(12.0f, QMessageBox::Cancel, user);
    EXPECT_THAT(user.Messages(), ElementsAre("Are you sure you want to delete the selected keyframe?"));
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));
    EXPECT_EQ(Undo().count(), 0);

    DeleteThroughMenu(12.0f, QMessageBox::Ok, user);
    EXPECT_THAT(Ids(), ElementsAre(0, 1));
    ASSERT_EQ(Undo().count(), 1);
    EXPECT_EQ(Undo().text(0), "Delete key 2 of Box1");
    EXPECT_EQ(box.GetCurrentKeyFrame(), 0) << "the deleted key was the current one";

    Undo().undo();
    EXPECT_THAT(Ids(), ElementsAre(0, 1, 2));
    EXPECT_EQ(TimeOf(box, 2), 12.0f);
    EXPECT_EQ(box.GetCurrentKeyFrame(), 2);
}

// ---------------------------------------------------------------- clock and buttons

TEST_F(TimelinePane, ThePlaybackButtonsDriveTheClockAsARadioGroup) {
    CScreen& screen = CScreen::Instance();
    const struct {
        CTimelineHeader::EButton button;
        float speed;
    } plays[] = {{CTimelineHeader::kFastReverse, -4.0f},
                 {CTimelineHeader::kReverse, -1.0f},
                 {CTimelineHeader::kPlay, 1.0f},
                 {CTimelineHeader::kFastForward, 4.0f}};
    for (const auto& play : plays) {
        Header().Button(play.button)->click();
        EXPECT_FALSE(screen.IsStopped()) << play.button;
        EXPECT_EQ(screen.GetPlaySpeed(), play.speed);
        for (int other = 0; other < CTimelineHeader::kButtonCount; ++other) {
            EXPECT_EQ(Header().IsDown(static_cast<CTimelineHeader::EButton>(other)), other == play.button);
        }
    }
    Header().Button(CTimelineHeader::kPause)->click();
    EXPECT_EQ(screen.GetPlaySpeed(), 0.0f);
    EXPECT_FALSE(screen.IsStopped());
    Header().Button(CTimelineHeader::kStop)->click();
    EXPECT_TRUE(screen.IsStopped());

    Header().Button(CTimelineHeader::kPlay)->click();
    m_pane->Reset();
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_TRUE(Header().IsDown(CTimelineHeader::kStop));
}

TEST_F(TimelinePane, TheRulerAndTheHeaderFollowTheClockAndStopShowsWhenItStopsByItself) {
    CScreen& screen = CScreen::Instance();
    CHeadlessEngine engine(Scene());
    ASSERT_TRUE(engine.Start());
    std::atomic<double> clock{100.0};
    screen.SetClockSource([&clock] { return clock.load(); });
    screen.SetLoop(false);
    screen.SetTotalTime(10.0f);
    m_pane->RefreshTotalTime();

    // The user moves the time: the clock goes there.
    timelinetest::Press(Ruler(), OnBand(0.0f));  // grabs the band at the centre
    timelinetest::DragTo(Ruler(), OnBand(0.0f) - QPoint(25, 0));
    timelinetest::Release(Ruler(), OnBand(0.0f));
    engine.WaitFrames(2);
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 2.5f);

    Header().Button(CTimelineHeader::kPlay)->click();
    clock = clock + 4.0;
    engine.WaitFrames(2);
    m_pane->FollowClock();
    EXPECT_FLOAT_EQ(Ruler().CurrentTime(), 6.5f);
    EXPECT_FLOAT_EQ(Header().Time(), 6.5f);
    EXPECT_TRUE(Header().IsDown(CTimelineHeader::kPlay));

    clock = clock + 10.0;  // past the end of a scene that does not loop
    engine.WaitFrames(2);
    ASSERT_TRUE(screen.IsStopped());
    EXPECT_TRUE(Header().IsDown(CTimelineHeader::kPlay)) << "until the next tick";
    m_pane->FollowClock();
    EXPECT_TRUE(Header().IsDown(CTimelineHeader::kStop));
    EXPECT_EQ(Ruler().CurrentTime(), 0.0f);
    engine.Stop();
}

// ---------------------------------------------------------------- picture

TEST_F(TimelinePane, Picture) {
    CTempFolder folder;
    CBurstMusic music;
    for (int beat = 0; beat < 12; ++beat) {
        music.Tone(beat * 1.5 + 0.2, beat * 1.5 + 0.7, 0.3 + 0.05 * beat);
    }
    const std::string path = folder.Path("beats.mp3");
    ASSERT_TRUE(music.WriteMp3(path, 18.0));

    m_pane->resize(640, 100);
    CBoxObject& box = ShowBox();
    box.AddKeyFrame(16.0f);
    box.SetCurrentKeyFrame(1);
    m_pane->ReloadKeys();
    QSignalSpy ready(&m_pane->Waveform(), &CMusicWaveform::Ready);
    m_pane->SetMusicFile(QString::fromStdString(path));
    ASSERT_TRUE(ready.wait(20000));
    Ruler().SetCurrentTime(9.0f);
    Header().SetTime(9.0f);
    Header().Press(CTimelineHeader::kPlay);

    QDir().mkpath(LVX_SCREENSHOT_DIR);
    const QPixmap picture = m_pane->grab();
    EXPECT_TRUE(picture.save(QDir(LVX_SCREENSHOT_DIR).filePath("timeline.png")));
    // A beat (10.7 to 11.2 s) shows as a bar in the strip under the band;
    // the silence before it (at 10.4 s) does not.
    const QImage image = picture.toImage();
    const auto barAt = [&](float time) {
        const int x = Ruler().Scale().XOfTime(time);
        bool bar = false;
        for (int y = 30 + 40; y < 30 + 60; ++y) {
            bar = bar || image.pixel(x, y) != qRgb(100, 100, 100);
        }
        return bar;
    };
    EXPECT_TRUE(barAt(10.9f));
    EXPECT_FALSE(barAt(10.4f));
}
