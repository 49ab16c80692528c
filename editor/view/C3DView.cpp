#include "view/C3DView.h"

#include <QPalette>
#include <QResizeEvent>

#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "scene/CMP3Player.h"
#include "view/CEditorOutputWindow.h"
#include "view/CEngineMessageEvent.h"
#include "view/CRenderWidget.h"
#include "view/CTrajectoryDump.h"

namespace {

const QColor kSurroundGrey(128, 128, 128);

}  // namespace

C3DView::C3DView(CEditorDocument& document, QSize backBufferSize, QWidget* parent)
    : QWidget(parent),
      m_Document(document),
      m_BackBufferSize(backBufferSize),
      m_RenderWidget(new CRenderWidget(backBufferSize, this)),
      m_FrameLoop(document.Scene()) {
    QPalette surround = palette();
    surround.setColor(QPalette::Window, kSurroundGrey);
    setPalette(surround);
    setAutoFillBackground(true);
    CentreRenderWidget();
    connect(m_RenderWidget, &CRenderWidget::CameraMoved, this, &C3DView::CameraMoved);
    connect(m_RenderWidget, &CRenderWidget::DumpRequested, this, [this] { DumpTrajectories(); });
}

C3DView::~C3DView() {
    StopEngine();
}

QSize C3DView::BackBufferSizeFor(int viewSizeSetting) {
    switch (viewSizeSetting) {
    case 400:
        return QSize(400, 300);
    case 800:
        return QSize(800, 600);
    case 1024:
        return QSize(1024, 768);
    case 1280:
        return QSize(1280, 1024);
    default:
        return QSize(640, 480);
    }
}

bool C3DView::StartEngine(QString* error) {
    if (m_OutputWindow != nullptr) {
        return true;
    }
    std::string reason;
    m_OutputWindow = CEditorOutputWindow::Create(*m_RenderWidget, *this, ++m_Run, &reason);
    if (m_OutputWindow == nullptr) {
        if (error != nullptr) {
            *error = QString::fromStdString("The 3D view cannot show the engine's pictures: " + reason + ".");
        }
        return false;
    }
    m_OutputWindow->SetClientSize(m_RenderWidget->size());
    m_StopRequested = false;
    m_FrameLoop.Prepare();

    CScreen& screen = CScreen::Instance();
    screen.SetListener(m_FrameLoop);
    screen.SetFullscreen(false);
    screen.ViewInfo(false);
    screen.SetWindow(m_OutputWindow.get());
    screen.Display(true);
    return true;
}

void C3DView::StopEngine() {
    if (m_OutputWindow == nullptr) {
        return;
    }
    m_StopRequested = true;
    m_FrameLoop.Stop();
    CScreen::Instance().WaitForRenderThread();
    ReleaseOutputWindow();
}

void C3DView::ReleaseOutputWindow() {
    CScreen& screen = CScreen::Instance();
    if (screen.GetWindow() == m_OutputWindow.get()) {
        screen.SetWindow(nullptr);
    }
    m_OutputWindow.reset();
}

void C3DView::SetGridVisible(bool visible) {
    m_FrameLoop.SetGridVisible(visible);
}

bool C3DView::IsGridVisible() const {
    return m_FrameLoop.IsGridVisible();
}

void C3DView::SetInvertAxis(bool invert) {
    m_RenderWidget->SetInvertAxis(invert);
}

void C3DView::SetNavigationEnabled(bool enabled) {
    m_RenderWidget->SetNavigationEnabled(enabled);
}

bool C3DView::IsNavigationEnabled() const {
    return m_RenderWidget->Navigation().IsEnabled();
}

QWidget* C3DView::RenderWidget() const {
    return m_RenderWidget;
}

bool C3DView::DumpTrajectories(const QString& path) {
    const std::string target = path.isEmpty() ? CTrajectoryDump::DefaultPath() : path.toStdString();
    std::string error;
    if (!CTrajectoryDump::Write(m_Document.Scene(), target, &error)) {
        emit StatusMessage(QString::fromStdString(error));
        return false;
    }
    emit StatusMessage(tr("Trajectories written to %1").arg(QString::fromStdString(target)));
    return true;
}

void C3DView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    CentreRenderWidget();
}

void C3DView::CentreRenderWidget() {
    // Integer division towards zero: a surround smaller than the back
    // buffer gives negative offsets, and the render window is clipped.
    const int x = (width() - m_BackBufferSize.width()) / 2;
    const int y = (height() - m_BackBufferSize.height()) / 2;
    m_RenderWidget->move(x, y);
    if (m_OutputWindow != nullptr) {
        // Moving the window makes the X server report it; those reports
        // are read here so that they do not pile up.
        m_OutputWindow->PumpWindowEvents();
    }
}

void C3DView::customEvent(QEvent* event) {
    if (event->type() == CEngineMessageEvent::EventType()) {
        HandleEngineMessage(static_cast<const CEngineMessageEvent&>(*event));
        return;
    }
    QWidget::customEvent(event);
}

void C3DView::HandleEngineMessage(const CEngineMessageEvent& event) {
    // What an earlier run posted after it was stopped concerns nobody now.
    if (m_OutputWindow == nullptr || event.Run() != m_Run) {
        return;
    }
    CScreen& screen = CScreen::Instance();
    switch (event.Message()) {
    case WM_LUMIVEXIS_ERRORS:
        screen.DisplayErrors();
        if (!m_StopRequested && screen.GetD3DDevice() == nullptr) {
            emit EngineFailed();
        }
        break;
    case WM_LUMIVEXIS_PLAY_MUSIC:
        screen.GetSound().Play();
        break;
    case WM_LUMIVEXIS_STOP_MUSIC:
        screen.GetSound().Stop();
        break;
    case WM_DESTROY:
        // The render window went away under the engine.
        screen.StopRun();
        break;
    case WM_CLOSE:
        // The run is over (the render thread posts this last). A run that
        // ended by itself lets go of the window now; StopEngine has done
        // so already otherwise.
        if (!m_StopRequested) {
            screen.WaitForRenderThread();
            ReleaseOutputWindow();
        }
        break;
    default:
        break;
    }
}
