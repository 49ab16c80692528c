// The 3D view on a private X server: the engine started in the view draws
// the edited scene (a red box on a blue background) over the ground grid
// into the render window, centred in the grey surround or clipped at a
// negative offset; the pictures are read back from the X server. A run ends
// and starts again, ends by itself, and ends with the view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QThread>

#include <chrono>
#include <filesystem>
#include <functional>

#include "common/QtTestApplication.h"
#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "objects/CBoxObject.h"
#include "support/CScreenStateGuard.h"
#include "view/C3DView.h"

// Last: Xlib's macros clash with names of the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr std::uint32_t kBlue = 0x0000FFu;
constexpr std::uint32_t kGrey = 0x808080u;

int Channel(std::uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFFu);
}

// The box: red, darker or lighter with the light.
bool IsReddish(std::uint32_t rgb) {
    return Channel(rgb, 16) >= 80 && Channel(rgb, 8) < 40 && Channel(rgb, 0) < 40;
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 8) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) {
            return false;
        }
    }
    return true;
}

class ViewOnX : public testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "xcb");
        lvxtest::TestApplication();
    }

    void SetUp() override {
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "no X server (run through run-in-xvfb.sh)";
        CScreen& screen = CScreen::Instance();
        screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
        screen.EnableFog(false);
    }
    void TearDown() override {
        if (m_view != nullptr) {
            m_view->StopEngine();
            m_view.reset();
        }
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }

    // A view of `surround` pixels with a 400 x 300 back buffer, shown as a
    // window of its own.
    void ShowView(QSize surround) {
        m_view = std::make_unique<C3DView>(m_document, C3DView::BackBufferSizeFor(400));
        m_view->resize(surround);
        m_view->show();
        ASSERT_TRUE(WaitFor([this] { return m_view->isVisible() && Viewable(m_view->winId()); }));
    }
    bool StartAndWaitForFrames() {
        QString error;
        if (!m_view->StartEngine(&error)) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        return WaitFor([] { return CScreen::Instance().IsInitialized(); }) && WaitForFrames(3);
    }
    // Waits until the frame loop has drawn `count` more frames.
    bool WaitForFrames(long count) {
        const long start = m_view->FramesDrawn();
        return WaitFor([&] { return m_view->FramesDrawn() >= start + count; });
    }
    // A red box of size 2 at (0, 1, 0), straight ahead of the view's first
    // camera. Made as the editor makes objects: once the engine has its
    // device.
    void AddRedBox() {
        CScene& scene = m_document.Scene();
        CSceneLock lock(scene);
        auto* box = new CBoxObject();
        box->SetObjName("Red box");
        box->SetScene(scene);
        box->Init();
        box->SetCurrentKeyFrame(box->GetKeyFrameID(0));
        box->SetSize(2.0f, 2.0f, 2.0f);
        box->SetPosition(0.0f, 1.0f, 0.0f);
        box->SetColor(D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 1.0f}, 0);
        scene.AddObject(*box);
    }

    static bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return true;
    }

    bool Viewable(WId window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(m_display, static_cast<Window>(window), &attributes) != 0 &&
               attributes.map_state == IsViewable;
    }
    // Where the render window's top left corner lies in the surround, as the
    // X server has it.
    QPoint RenderWindowOffset() {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(m_display, static_cast<Window>(m_view->RenderWidget()->winId()),
                              static_cast<Window>(m_view->winId()), 0, 0, &x, &y, &child);
        return QPoint(x, y);
    }
    // The window's pixels as 0xRRGGBB, top row first (empty when unreadable).
    QImage Picture(WId window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(m_display, static_cast<Window>(window), &attributes);
        XImage* image = XGetImage(m_display, static_cast<Window>(window), 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return QImage();
        }
        QImage picture(attributes.width, attributes.height, QImage::Format_RGB32);
        for (int y = 0; y < attributes.height; ++y) {
            for (int x = 0; x < attributes.width; ++x) {
                picture.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y) & 0xFFFFFFu));
            }
        }
        XDestroyImage(image);
        return picture;
    }
    static std::uint32_t At(const QImage& picture, int x, int y) { return picture.pixel(x, y) & 0xFFFFFFu; }
    // Pixels of the rows [top, bottom) that are neither blue nor red.
    static int OtherPixels(const QImage& picture, int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const std::uint32_t pixel = At(picture, x, y);
                count += !Near(pixel, kBlue) && !IsReddish(pixel) ? 1 : 0;
            }
        }
        return count;
    }
    static void KeepScreenshot(const QImage& picture, const char* name) {
        std::filesystem::create_directories(LVX_SCREENSHOT_DIR);
        picture.save(QString(LVX_SCREENSHOT_DIR) + "/" + name);
    }

    CScreenStateGuard m_screenState;
    Display* m_display = nullptr;
    CEditorDocument m_document;
    std::unique_ptr<C3DView> m_view;
};

// --- the picture --------------------------------------------------------------------------

TEST_F(ViewOnX, TheEngineDrawsTheSceneIntoTheRenderWindow) {
    ShowView(QSize(600, 400));
    ASSERT_TRUE(StartAndWaitForFrames());
    AddRedBox();
    ASSERT_TRUE(WaitForFrames(3));

    const QImage picture = Picture(m_view->RenderWidget()->winId());
    ASSERT_EQ(picture.size(), QSize(400, 300));
    EXPECT_TRUE(IsReddish(At(picture, 200, 150))) << std::hex << At(picture, 200, 150);
    EXPECT_TRUE(Near(At(picture, 5, 5), kBlue)) << std::hex << At(picture, 5, 5);
    KeepScreenshot(Picture(m_view->winId()), "editor-3d-view.png");
}

TEST_F(ViewOnX, TheGridLiesBelowTheHorizonAndGoesWhenSwitchedOff) {
    ShowView(QSize(400, 300));
    ASSERT_TRUE(StartAndWaitForFrames());
    // The camera is one unit above the grid: lines below the middle only.
    const QImage withGrid = Picture(m_view->RenderWidget()->winId());
    EXPECT_GT(OtherPixels(withGrid, 160, 300), 1000);
    EXPECT_EQ(OtherPixels(withGrid, 0, 140), 0);

    m_view->SetGridVisible(false);
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_EQ(OtherPixels(Picture(m_view->RenderWidget()->winId()), 0, 300), 0);
}

// --- placement on the X server --------------------------------------------------------------

TEST_F(ViewOnX, TheRenderWindowIsCentredInTheGreySurround) {
    ShowView(QSize(600, 500));
    ASSERT_TRUE(StartAndWaitForFrames());
    AddRedBox();
    ASSERT_TRUE(WaitForFrames(3));
    const QPoint offset = RenderWindowOffset();
    const int x = offset.x(), y = offset.y();
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 100);

    const QImage picture = Picture(m_view->winId());
    EXPECT_TRUE(Near(At(picture, 50, 50), kGrey)) << std::hex << At(picture, 50, 50);
    EXPECT_TRUE(Near(At(picture, 550, 450), kGrey)) << std::hex << At(picture, 550, 450);
    EXPECT_TRUE(Near(At(picture, 105, 105), kBlue)) << std::hex << At(picture, 105, 105);
    EXPECT_TRUE(IsReddish(At(picture, 300, 250))) << std::hex << At(picture, 300, 250);
}

TEST_F(ViewOnX, ASmallerSurroundShowsTheMiddleOfTheRenderWindowClipped) {
    ShowView(QSize(300, 200));
    ASSERT_TRUE(StartAndWaitForFrames());
    AddRedBox();
    ASSERT_TRUE(WaitForFrames(3));
    const QPoint offset = RenderWindowOffset();
    const int x = offset.x(), y = offset.y();
    EXPECT_EQ(x, -50);
    EXPECT_EQ(y, -50);
    // The back buffer keeps its size; the box stays in the middle.
    EXPECT_EQ(m_view->RenderWidget()->size(), QSize(400, 300));
    const QImage picture = Picture(m_view->winId());
    ASSERT_EQ(picture.size(), QSize(300, 200));
    EXPECT_TRUE(IsReddish(At(picture, 150, 100))) << std::hex << At(picture, 150, 100);
    EXPECT_TRUE(Near(At(picture, 2, 2), kBlue)) << std::hex << At(picture, 2, 2);
}

// --- the run ----------------------------------------------------------------------------------

TEST_F(ViewOnX, StoppingWaitsForTheRunAndTheEngineStartsAgain) {
    ShowView(QSize(400, 300));
    ASSERT_TRUE(StartAndWaitForFrames());
    AddRedBox();
    m_view->StopEngine();
    EXPECT_FALSE(m_view->IsEngineStarted());
    EXPECT_EQ(CScreen::Instance().GetWindow(), nullptr);
    const long frames = m_view->FramesDrawn();
    QApplication::processEvents();  // late messages of the stopped run change nothing
    EXPECT_EQ(m_view->FramesDrawn(), frames);
    m_view->StopEngine();  // twice is harmless

    // The box made during the first run shows in the second one.
    ASSERT_TRUE(StartAndWaitForFrames());
    EXPECT_TRUE(m_view->IsEngineStarted());
    const QImage picture = Picture(m_view->RenderWidget()->winId());
    EXPECT_TRUE(IsReddish(At(picture, 200, 150))) << std::hex << At(picture, 200, 150);
}

TEST_F(ViewOnX, ARunThatEndsByItselfLetsGoOfTheWindow) {
    ShowView(QSize(400, 300));
    ASSERT_TRUE(StartAndWaitForFrames());
    CScreen::Instance().StopRun();
    EXPECT_TRUE(WaitFor([this] { return !m_view->IsEngineStarted(); }));
    EXPECT_EQ(CScreen::Instance().GetWindow(), nullptr);
    ASSERT_TRUE(StartAndWaitForFrames());
}

TEST_F(ViewOnX, AViewThatGoesWhileTheEngineRunsEndsTheRunFirst) {
    ShowView(QSize(400, 300));
    ASSERT_TRUE(StartAndWaitForFrames());
    m_view.reset();
    EXPECT_EQ(CScreen::Instance().GetWindow(), nullptr);
    EXPECT_FALSE(CScreen::Instance().GetD3DDevice() != nullptr);
}

}  // namespace
