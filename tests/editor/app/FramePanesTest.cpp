// The frame keeps its panes together: the object list's selection is what
// the Properties pane and the Timeline show, a key chosen on the timeline
// is the key the pages edit, the IDE options apply at once and Scene
// Properties reach the timeline.

#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "animation/CCameraTrajectoryObject.h"
#include "app/FrameFixture.h"
#include "common/SceneObjects.h"
#include "controls/CNumberField.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "panes/CObjectListPane.h"
#include "panes/CTimelinePane.h"
#include "panes/CTimelineRuler.h"
#include "properties/CBasicPage.h"
#include "properties/CIdeOptionsSheet.h"
#include "properties/CPropertiesPane.h"
#include "properties/CScenePropertiesSheet.h"
#include "properties/CTimePage.h"

namespace {

class FramePanesTest : public FrameFixture {
protected:
    // A frame showing a box rotated a quarter turn about Y, with a second
    // key at 5 s whose alpha is 0.25.
    CBoxObject& ShowBox(CMainFrame& frame) {
        CBoxObject& box = lvxtest::AddToScene<CBoxObject>(frame.Document(), "Box1");
        box.SetRotation(0.0f, static_cast<float>(M_PI / 2.0), 0.0f);
        const int first = box.GetCurrentKeyFrame();
        box.SetCurrentKeyFrame(box.AddKeyFrame(5.0f));
        box.SetAlpha(0.25f);
        box.SetCurrentKeyFrame(first);
        frame.ObjectList()->Rebuild(true, false);
        frame.ObjectList()->SelectByName("Box1");
        return box;
    }
};

TEST_F(FramePanesTest, TheSelectedObjectIsWhatThePagesAndTheTimelineShow) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    CBoxObject& box = ShowBox(frame);
    EXPECT_EQ(frame.Properties()->Object(), &box);
    EXPECT_EQ(frame.Timeline()->TimelineObject(), &box);
    EXPECT_EQ(frame.Timeline()->Ruler().Keys().size(), 2u);

    lvxtest::AddToScene<CCameraTrajectoryObject>(frame.Document(), "Camera1");
    frame.ObjectList()->Rebuild(true, false);
    frame.ObjectList()->SelectByName("Camera1");
    EXPECT_EQ(frame.Properties()->StateName(), "trajectory");
    EXPECT_EQ(frame.Timeline()->TimelineObject(), frame.ObjectList()->GetSelectedObject());
}

TEST_F(FramePanesTest, AKeyChosenOnTheTimelineIsTheKeyThePagesShow) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    CBoxObject& box = ShowBox(frame);
    const int second = box.GetKeyFrameID(1);
    emit frame.Timeline()->KeyFrameSelected(second);
    EXPECT_EQ(box.GetCurrentKeyFrame(), second);
    EXPECT_EQ(frame.Properties()->BasicPage()->AlphaField()->Text(), "0.25");
    EXPECT_EQ(frame.Timeline()->Ruler().SelectedKey(), second);
    EXPECT_EQ(frame.Document().UndoStack().count(), 0) << "choosing a key is no edit";
}

TEST_F(FramePanesTest, RadianChosenInTheOptionsShowsOnTheBasicPageAtOnce) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    ShowBox(frame);
    EXPECT_EQ(frame.Properties()->BasicPage()->AngleField(1)->Text(), "90.00");

    m_User.Answer([](QWidget* modal) {
        auto* sheet = qobject_cast<CIdeOptionsSheet*>(modal);
        ASSERT_NE(sheet, nullptr);
        sheet->AnglesBox()->setCurrentIndex(sheet->AnglesBox()->findText("Radian"));
        sheet->accept();
    });
    frame.FindAction("Options...")->trigger();
    EXPECT_EQ(frame.Settings().Angles(), 2);
    EXPECT_EQ(frame.Properties()->BasicPage()->AngleField(1)->Text(), "1.571");
}

TEST_F(FramePanesTest, ScenePropertiesFromTheTimelineReachItsTotalTimeAndUndo) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    const float before = CScreen::Instance().GetTotalTime();
    m_User.Answer([](QWidget* modal) {
        auto* sheet = qobject_cast<CScenePropertiesSheet*>(modal);
        ASSERT_NE(sheet, nullptr);
        CNumberField* total = sheet->TimePage()->TotalTimeField();
        total->Edit()->selectAll();
        QTest::keyClicks(total->Edit(), "30");
        QTest::keyClick(total->Edit(), Qt::Key_Return);
        sheet->OkButton()->click();
    });
    emit frame.Timeline()->PropertiesRequested();
    ASSERT_EQ(m_User.Titles().value(0), "Scene Properties");
    EXPECT_EQ(CScreen::Instance().GetTotalTime(), 30.0f);
    EXPECT_EQ(frame.Timeline()->Ruler().Scale().TotalTime(), 30.0f);

    frame.Document().UndoStack().undo();
    EXPECT_EQ(CScreen::Instance().GetTotalTime(), before);
    EXPECT_EQ(frame.Timeline()->Ruler().Scale().TotalTime(), before);
}

}  // namespace

namespace {

TEST_F(FramePanesTest, TheMenusOpenTheFontImporterAndTheExport) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    m_User.Answer(CModalResponder::Cancel());
    frame.FindAction("Font Importer...")->trigger();
    m_User.Answer(CModalResponder::Cancel());
    frame.FindAction("Export...")->trigger();
    EXPECT_THAT(m_User.Titles(), testing::ElementsAre("Fonts Importer", "Export Settings"));
    EXPECT_EQ(frame.Document().UndoStack().count(), 0) << "a cancelled export stores nothing";
}

}  // namespace
