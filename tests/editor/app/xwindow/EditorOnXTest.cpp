// The editor from end to end on a private X server: its main window starts
// the engine in the 3D view, a box made with the toolbar's button shows in
// the view's pixels (read from the X window), the scene is saved with the
// toolbar's Save, and the next start of the editor on that file lists the
// box again.

#include <gmock/gmock.h>

#include <QDir>
#include <QImage>
#include <QTest>
#include <QThread>

#include "app/CEditorTestHome.h"
#include "app/CMainFrame.h"
#include "app/CModalResponder.h"
#include "app/Screenshots.h"
#include "common/QtTestApplication.h"
#include "core/CScreen.h"
#include "panes/CObjectListPane.h"
#include "scene/CObjects.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
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

}  // namespace
