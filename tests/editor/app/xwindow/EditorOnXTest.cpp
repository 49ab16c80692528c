// The editor from end to end on a private X server: its main window starts
// the engine in the 3D view, a box made with the toolbar's button shows in
// the view's pixels (read from the X window), the scene is saved with the
// toolbar's Save, and the next start of the editor on that file lists the
// box again. And an animator's first steps: a key added on the timeline, a
// move typed on the Basic page, and the box seen at its new place when the
// scene plays there.

#include <gmock/gmock.h>

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QThread>

#include "app/CEditorTestHome.h"
#include "app/CMainFrame.h"
#include "app/CModalResponder.h"
#include "app/Screenshots.h"
#include "common/QtTestApplication.h"
#include "controls/CNumberField.h"
#include "core/CScreen.h"
#include "panes/CObjectListPane.h"
#include "panes/CTimelineHeader.h"
#include "panes/CTimelinePane.h"
#include "panes/CTimelineRuler.h"
#include "properties/CBasicPage.h"
#include "properties/CPropertiesPane.h"
#include "scene/CObjects.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "timeline/TimelineInput.h"
#include "view/C3DView.h"

// Last: Xlib's macros clash with names of the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

int Channel(QRgb rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFFu);
}

// The default box: grey, lighter or darker with the light; the background
// here is pure blue and the grid white.
bool IsGrey(QRgb rgb) {
    const int r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
    return r > 30 && r < 225 && std::abs(r - g) < 20 && std::abs(g - b) < 20;
}

// The demo's cube, orange-red at 5 s, lit from above.
bool IsCubeRed(QRgb rgb) {
    const int r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
    return r > 110 && r > g + 70 && r > b + 90;
}

// The mean column of the cube's pixels; -1 when none shows.
double CubeColumn(const QImage& picture, int* count = nullptr) {
    double sum = 0.0;
    int pixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (IsCubeRed(picture.pixel(x, y))) {
                sum += x;
                ++pixels;
            }
    if (count != nullptr) {
        *count = pixels;
    }
    return pixels > 0 ? sum / pixels : -1.0;
}

class EditorOnX : public testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "xcb");
        lvxtest::TestApplication();
    }
    void SetUp() override {
        lvxtest::CEditorTestHome::Reset();
        m_Display = XOpenDisplay(nullptr);
        ASSERT_NE(m_Display, nullptr) << "no X server (run through run-in-xvfb.sh)";
        CEditorSettings().SetViewSize(400);
        CScreen::Instance().SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
        CScreen::Instance().EnableFog(false);
    }
    void TearDown() override {
        if (m_Frame != nullptr) {
            m_Frame->SetConfirmExit(false);
            m_Frame->close();
            m_Frame.reset();
        }
        if (m_Display != nullptr) {
            XCloseDisplay(m_Display);
        }
    }

    CMainFrame& StartEditor(const QString& sceneFile = QString()) {
        SFrameOptions options;
        options.recoveryFolder = lvxtest::CEditorTestHome::RecoveryFolder();
        m_Frame = std::make_unique<CMainFrame>(options);
        m_Frame->Start(sceneFile);
        return *m_Frame;
    }
    bool WaitForFrames(long frames) {
        const long target = m_Frame->View()->FramesDrawn() + frames;
        return QTest::qWaitFor([&] { return m_Frame->View()->FramesDrawn() >= target; }, 20000);
    }
    // The render window's pixels, as the X server has them.
    QImage ViewPixels() {
        const Window window = static_cast<Window>(m_Frame->View()->RenderWidget()->winId());
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(m_Display, window, &attributes) == 0) {
            return QImage();
        }
        XImage* image = XGetImage(m_Display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return QImage();
        }
        QImage picture(attributes.width, attributes.height, QImage::Format_RGB32);
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x)
                picture.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y) & 0xFFFFFFu));
        XDestroyImage(image);
        return picture;
    }
    static int GreyPixels(const QImage& picture) {
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += IsGrey(picture.pixel(x, y)) ? 1 : 0;
        return count;
    }

    CScreenStateGuard m_ScreenState;
    CTempFolder m_Folder;
    CModalResponder m_User;
    Display* m_Display = nullptr;
    std::unique_ptr<CMainFrame> m_Frame;
};

TEST_F(EditorOnX, ABoxFromTheToolbarIsDrawnSavedAndListedAgainAfterARestart) {
    CMainFrame& editor = StartEditor();
    ASSERT_TRUE(editor.View()->IsEngineStarted());
    ASSERT_NE(CScreen::Instance().GetD3DDevice(), nullptr);
    ASSERT_TRUE(WaitForFrames(3));
    const QImage before = ViewPixels();
    ASSERT_EQ(before.size(), QSize(400, 300));
    EXPECT_LT(GreyPixels(before), 20) << "nothing grey before the box";

    editor.FindAction("Box")->trigger();
    ASSERT_TRUE(WaitForFrames(3));
    const QImage after = ViewPixels();
    lvxtest::SaveScreenshot(editor, "editor-with-box");  // the view's own pixels are not in a grab
    after.save(QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots/editor-view-with-box.png"));
    EXPECT_GT(GreyPixels(after), 500) << "the box is drawn";

    const QString file = QString::fromStdString(m_Folder.Path("box-scene.bgs"));
    m_User.Answer(CModalResponder::ChooseFile(file));
    editor.ToolbarSaveAction()->trigger();
    ASSERT_EQ(editor.Document().Path(), file);
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));
    editor.close();
    ASSERT_FALSE(editor.isVisible());
    m_Frame.reset();

    CMainFrame& again = StartEditor(file);
    ASSERT_EQ(again.Document().Path(), file);
    again.ObjectList()->SelectByName("untitled_0");
    CObjects* box = again.ObjectList()->GetSelectedObject();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetObjType(), "CBoxObject");
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_GT(GreyPixels(ViewPixels()), 500);
}

TEST_F(EditorOnX, AKeyAddedOnTheTimelineAndAMoveOnTheBasicPageShowWhenTheScenePlaysThere) {
    CMainFrame& editor = StartEditor(LVX_DEMO_SCENE);
    ASSERT_TRUE(WaitForFrames(3));
    // Above and in front of the cube, which sits at (0, 2, 0).
    CScreen::Instance().SetCamera(D3DXVECTOR3(0.0f, 7.0f, -9.0f), D3DXVECTOR3(0.0f, -0.45f, 0.9f));
    const auto showTime = [&](float seconds) {
        CScreen::Instance().SetTime(seconds);
        editor.Timeline()->Header().Press(CTimelineHeader::kPause);
        return WaitForFrames(3);
    };

    editor.ObjectList()->SelectByName("Red cube");
    ASSERT_EQ(editor.Properties()->Object(), editor.ObjectList()->GetSelectedObject());
    ASSERT_TRUE(showTime(5.0f));
    int seen = 0;
    const double before = CubeColumn(ViewPixels(), &seen);
    ASSERT_GT(seen, 200) << "the cube shows at 5 s";

    // A key at 5 s, from the scale band's menu.
    CTimelineRuler& ruler = editor.Timeline()->Ruler();
    const int keysBefore = static_cast<int>(ruler.Keys().size());
    {
        timelinetest::CMenuAnswer menu("&Add a KeyFrame");
        const QPoint onBand(ruler.Scale().XOfTime(5.0f), ruler.BandRect().center().y());
        timelinetest::Press(ruler, onBand, Qt::RightButton);
        timelinetest::Release(ruler, onBand, Qt::RightButton);
    }
    ASSERT_EQ(static_cast<int>(ruler.Keys().size()), keysBefore + 1);

    // Three units to the right, typed into the Basic page.
    CNumberField* positionX = editor.Properties()->BasicPage()->PositionField(0);
    positionX->Edit()->setFocus();
    positionX->Edit()->selectAll();
    QTest::keyClicks(positionX->Edit(), "3");
    QTest::keyClick(positionX->Edit(), Qt::Key_Return);
    EXPECT_EQ(positionX->Text(), "3.00");

    // Played from the start, then looked at at 5 s.
    editor.Timeline()->Header().Press(CTimelineHeader::kPlay);
    ASSERT_TRUE(WaitForFrames(3));
    ASSERT_TRUE(showTime(5.0f));
    const QImage moved = ViewPixels();
    moved.save(QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots/editor-view-cube-moved.png"));
    lvxtest::SaveScreenshot(editor, "editor-animating-the-cube");
    const double after = CubeColumn(moved, &seen);
    ASSERT_GT(seen, 200);
    EXPECT_GT(after - before, 40.0) << "the cube moved to the right in the view";

    // One undo puts the cube back at 5 s.
    editor.Document().UndoStack().undo();
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_NEAR(CubeColumn(ViewPixels()), before, 3.0);
}

}  // namespace
