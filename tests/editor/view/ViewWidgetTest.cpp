// The 3D view as a widget, without an X server: the back buffer for each
// "view size", the render window centred in the grey surround (at negative
// offsets when the surround is smaller), the mouse on the render window
// steering the camera, the middle click's dump and the engine refusing to
// start where Qt has no X11 window to give it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QSignalSpy>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "EngineCamera.h"
#include "common/QtTestApplication.h"
#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "view/C3DView.h"

namespace {

// Sets an environment variable for the test's lifetime.
class CScopedVariable {
public:
    CScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* previous = std::getenv(name)) {
            m_previous = previous;
        }
        setenv(name, value.c_str(), 1);
    }
    ~CScopedVariable() {
        if (m_previous) {
            setenv(m_name, m_previous->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

class View : public testing::Test {
protected:
    void SetUp() override { CScreen::Instance().SetCamera(0.0f, 1.0f, -10.0f, 0.0f, 0.0f, 1.0f); }

    static D3DXVECTOR3 Eye() { return viewtest::Eye(); }
    static D3DXVECTOR3 Direction() { return viewtest::Direction(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = m_view->RenderWidget();
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, modifiers, &m_mouse);
        QApplication::sendEvent(target, &event);
    }
    // Press, one move by (dx, dy), release.
    void Drag(Qt::MouseButton button, int dx, int dy, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint start(100, 100);
        Mouse(QEvent::MouseButtonPress, start, button, button, modifiers);
        Mouse(QEvent::MouseMove, start + QPoint(dx, dy), Qt::NoButton, button, modifiers);
        Mouse(QEvent::MouseButtonRelease, start + QPoint(dx, dy), button, Qt::NoButton, modifiers);
    }

    QApplication& m_application = lvxtest::TestApplication();
    // The test's own mouse: Qt's primary pointing device would be made on
    // first use and then destroyed with the application after Qt's device
    // list at the end of the process.
    QPointingDevice m_mouse{"test mouse",
                            1,
                            QInputDevice::DeviceType::Mouse,
                            QPointingDevice::PointerType::Generic,
                            QInputDevice::Capability::Position,
                            1,
                            3};
    CScreenStateGuard m_screenState;
    CEditorDocument m_document;
    std::unique_ptr<C3DView> m_view = std::make_unique<C3DView>(m_document, QSize(640, 480));
};

// --- back buffer and placement --------------------------------------------------------

TEST(ViewSize, EachSettingGivesItsBackBufferAndAnythingElse640x480) {
    EXPECT_EQ(C3DView::BackBufferSizeFor(400), QSize(400, 300));
    EXPECT_EQ(C3DView::BackBufferSizeFor(800), QSize(800, 600));
    EXPECT_EQ(C3DView::BackBufferSizeFor(1024), QSize(1024, 768));
    EXPECT_EQ(C3DView::BackBufferSizeFor(1280), QSize(1280, 1024));
    EXPECT_EQ(C3DView::BackBufferSizeFor(640), QSize(640, 480));
    EXPECT_EQ(C3DView::BackBufferSizeFor(1600), QSize(640, 480));
    EXPECT_EQ(C3DView::BackBufferSizeFor(0), QSize(640, 480));
    EXPECT_EQ(C3DView::BackBufferSizeFor(-800), QSize(640, 480));
}

TEST_F(View, TheRenderWindowHasTheBackBufferSizeCentredInTheSurround) {
    m_view->show();
    m_view->resize(1000, 800);
    EXPECT_EQ(m_view->RenderWidget()->geometry(), QRect(180, 160, 640, 480));
    EXPECT_EQ(m_view->sizeHint(), QSize(640, 480));
}

TEST_F(View, ASmallerSurroundPlacesTheRenderWindowAtANegativeOffsetWithoutShrinkingIt) {
    m_view->show();
    m_view->resize(400, 300);
    EXPECT_EQ(m_view->RenderWidget()->geometry(), QRect(-120, -90, 640, 480));
    // Odd differences are cut towards zero, as integer division does.
    m_view->resize(637, 481);
    EXPECT_EQ(m_view->RenderWidget()->pos(), QPoint(-1, 0));
    m_view->resize(643, 479);
    EXPECT_EQ(m_view->RenderWidget()->pos(), QPoint(1, 0));
}

TEST_F(View, TheSurroundIsGreyAndQtPaintsNothingIntoTheRenderWindow) {
    EXPECT_EQ(m_view->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_TRUE(m_view->autoFillBackground());
    EXPECT_TRUE(m_view->RenderWidget()->testAttribute(Qt::WA_NativeWindow));
    EXPECT_TRUE(m_view->RenderWidget()->testAttribute(Qt::WA_PaintOnScreen));
    EXPECT_EQ(m_view->RenderWidget()->paintEngine(), nullptr);
}

// --- the mouse on the render window -----------------------------------------------------

TEST_F(View, ALeftDragTurnsTheCameraAndReportsEachStep) {
    QSignalSpy moved(m_view.get(), &C3DView::CameraMoved);
    Drag(Qt::LeftButton, 150, 0);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_NEAR(Direction().x, -std::sin(0.5f), 1e-4f);
    EXPECT_NEAR(Eye().z, -10.0f, 1e-4f);
}

TEST_F(View, ARightDragWithShiftMovesFiveTimesAsFarAsWithout) {
    Drag(Qt::RightButton, 0, 50);
    EXPECT_NEAR(Eye().z, -9.0f, 1e-4f);
    Drag(Qt::RightButton, 0, 50, Qt::ShiftModifier);
    EXPECT_NEAR(Eye().z, -4.0f, 1e-4f);
    Drag(Qt::RightButton, 0, 50, Qt::ControlModifier);
    EXPECT_NEAR(Eye().y, 2.0f, 1e-4f);
}

TEST_F(View, InvertedAxisComesThroughToTheRenderWindow) {
    m_view->SetInvertAxis(true);
    Drag(Qt::LeftButton, 0, -30);
    EXPECT_LT(Direction().y, 0.0f);
}

TEST_F(View, WhileTheSceneCameraIsShownNoDragMovesTheCamera) {
    m_view->SetNavigationEnabled(false);
    EXPECT_EQ(m_view->RenderWidget()->cursor().shape(), Qt::ForbiddenCursor);
    QSignalSpy moved(m_view.get(), &C3DView::CameraMoved);
    Drag(Qt::LeftButton, 150, 40);
    Drag(Qt::RightButton, 60, 60);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_NEAR(Eye().z, -10.0f, 1e-6f);
    EXPECT_NEAR(Direction().z, 1.0f, 1e-6f);
    EXPECT_EQ(m_view->RenderWidget()->cursor().shape(), Qt::ForbiddenCursor);

    m_view->SetNavigationEnabled(true);
    EXPECT_NE(m_view->RenderWidget()->cursor().shape(), Qt::ForbiddenCursor);
}

TEST_F(View, TheRightDragShowsItsOwnPointerUntilTheButtonIsReleased) {
    const Qt::CursorShape ready = m_view->RenderWidget()->cursor().shape();
    Mouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    const Qt::CursorShape moving = m_view->RenderWidget()->cursor().shape();
    Mouse(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton, Qt::NoButton);
    EXPECT_NE(moving, ready);
    EXPECT_NE(moving, Qt::ForbiddenCursor);
    EXPECT_EQ(m_view->RenderWidget()->cursor().shape(), ready);
}

// --- the middle click ---------------------------------------------------------------------

TEST_F(View, AMiddleClickWritesTheDumpIntoTheHomeFolderAndNamesTheFile) {
    CTempFolder home;
    CScopedVariable variable("HOME", home.Root().string());
    QSignalSpy status(m_view.get(), &C3DView::StatusMessage);
    Mouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::MiddleButton, Qt::MiddleButton);

    const std::string path = home.Path("brennox_trajectories.txt");
    ASSERT_TRUE(std::filesystem::exists(path));
    const std::vector<BYTE> bytes = CTempFolder::Read(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Dump of the trajectories\n");
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().contains(QString::fromStdString(path)));
    // The camera stays where it was.
    EXPECT_NEAR(Eye().z, -10.0f, 1e-6f);
}

TEST_F(View, ADumpThatCannotBeWrittenSaysWhyInTheStatusLine) {
    CTempFolder home;
    CScopedVariable variable("HOME", home.Path("gone"));
    QSignalSpy status(m_view.get(), &C3DView::StatusMessage);
    EXPECT_FALSE(m_view->DumpTrajectories());
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().contains("gone")) << status.at(0).at(0).toString().toStdString();
    EXPECT_TRUE(home.Entries().empty());
}

// --- the engine ------------------------------------------------------------------------------

TEST_F(View, WithoutAnX11WindowTheEngineDoesNotStartAndTheReasonIsGiven) {
    QString error;
    EXPECT_FALSE(m_view->StartEngine(&error));
    EXPECT_TRUE(error.contains("X11")) << error.toStdString();
    EXPECT_FALSE(m_view->IsEngineStarted());
    EXPECT_EQ(CScreen::Instance().GetWindow(), nullptr);
    m_view->StopEngine();  // nothing to stop
    m_view.reset();
}

}  // namespace
