// Edits made on the user-interface thread while the render thread draws
// and the clock plays: every edit, undo and redo holds the scene lock, so
// the render thread never sees an object half changed. Run under
// ThreadSanitizer in CI (a build of its own), which reports any access of
// ours that is not ordered by the lock.

#include <gtest/gtest.h>

#include "animation/CCameraTrajectoryObject.h"
#include "common/QtTestApplication.h"
#include "common/SceneObjects.h"
#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "document/CHeadlessEngine.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"
#include "support/CScreenStateGuard.h"

namespace {

class EditWhilePlayingTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    template <class TObject>
    TObject& Add(const char* name) {
        return lvxtest::AddToScene<TObject>(m_document, name);
    }

    CScreenStateGuard m_screenState;  // first: the scene's death still changes the screen's fog
    CEditorDocument m_document;
};

TEST_F(EditWhilePlayingTest, EditsUndoAndRedoWhileTheSceneIsDrawnAndPlayed) {
    CHeadlessEngine engine(m_document.Scene());
    ASSERT_TRUE(engine.Start());
    CBoxObject& box = Add<CBoxObject>("Box");
    CSphereObject& sphere = Add<CSphereObject>("Sphere");
    CCameraTrajectoryObject& camera = Add<CCameraTrajectoryObject>("Camera");
    CScreen::Instance().Play(4.0f);

    for (int i = 0; i < 60; ++i) {
        const float t = static_cast<float>(i % 20);
        m_document.EditKeyFrames(box, "Add key", m_document.NewEditRun(), [t](CObjects& o) {
            auto& base = static_cast<CBaseObject&>(o);
            base.SetCurrentKeyFrame(base.AddKeyFrame(t));
        });
        m_document.EditProperty(
            box, "Position", m_document.NewEditRun(), [](CBaseObject& o) { return o.GetPosition(); },
            [](CBaseObject& o, const D3DXVECTOR3& p) { o.SetPosition(p); }, D3DXVECTOR3(t, 1.0f, -t));
        m_document.EditProperty(
            sphere, "Slices", m_document.NewEditRun(), [](CSphereObject& o) { return o.GetSliceNumber(); },
            [](CSphereObject& o, int n) { o.SetSliceNumber(n); }, 3 + i % 17);
        m_document.EditProperty(
            camera, "Zoom", m_document.NewEditRun(), [](CCameraTrajectoryObject& c) { return c.GetZoom(); },
            [](CCameraTrajectoryObject& c, float z) { c.SetZoom(z); }, 1.0f + static_cast<float>(i % 7));
        if (i % 3 == 0) {
            m_document.UndoStack().undo();
            m_document.UndoStack().undo();
            m_document.UndoStack().redo();
        }
        if (i % 10 == 0) {
            engine.WaitFrames(1);
        }
    }
    engine.WaitFrames(2);
    CScreen::Instance().Stop();
    while (m_document.UndoStack().canUndo()) {
        m_document.UndoStack().undo();
    }
    engine.WaitFrames(2);
    EXPECT_EQ(box.GetKeyFrameNumber(), 1);
    EXPECT_GT(engine.Frames(), 3);
}

}  // namespace
