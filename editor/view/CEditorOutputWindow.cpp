#include "view/CEditorOutputWindow.h"

#include <QtGui/qguiapplication_platform.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <unistd.h>

#include "platform/x11/CX11ForeignWindow.h"
#include "view/CEngineMessageEvent.h"

// Last: Xlib's macros (None, Status, ...) clash with names above.
#include <X11/Xlib.h>

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

// Qt's X connection, or null under another platform.
Display* QtDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// With PELAVOR_REPORT_FIRST_FRAME set, the editor writes one line to its
// standard output when the view's first frame is presented: the start-up
// benchmark times the editor's start to that line.
bool FirstFrameReportWanted() {
    return qEnvironmentVariableIsSet("PELAVOR_REPORT_FIRST_FRAME");
}

void ReportFirstFrame() {
    static const char kLine[] = "first frame presented\n";
    // write(2) is safe on the render thread; a closed pipe just fails.
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, kLine, sizeof(kLine) - 1);
}

}  // namespace

std::unique_ptr<CEditorOutputWindow> CEditorOutputWindow::Create(QWidget& renderWidget, QObject& receiver, unsigned run,
                                                                 std::string* error) {
    Display* display = QtDisplay();
    if (display == nullptr) {
        SetError(error, "the 3D view needs an X11 display (Qt's xcb platform, also through XWayland)");
        return nullptr;
    }
    const WId id = renderWidget.winId();
    // The window must exist on the server before the engine's own
    // connections look it up: a round trip on Qt's connection makes sure.
    XSync(display, False);
    std::unique_ptr<CX11ForeignWindow> window = CX11ForeignWindow::Create(static_cast<unsigned long>(id), error);
    if (window == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<CEditorOutputWindow>(
        new CEditorOutputWindow(std::move(window), receiver, run, renderWidget.size()));
}

CEditorOutputWindow::CEditorOutputWindow(std::unique_ptr<CX11ForeignWindow> window, QObject& receiver, unsigned run,
                                         QSize size)
    : m_Window(std::move(window)),
      m_Receiver(&receiver),
      m_Run(run),
      m_Width(size.width()),
      m_Height(size.height()),
      m_bReportFirstFrame(FirstFrameReportWanted()) {}

CEditorOutputWindow::~CEditorOutputWindow() = default;

bool CEditorOutputWindow::CreateContext() {
    return m_Window->CreateContext();
}

bool CEditorOutputWindow::MakeCurrent() {
    return m_Window->MakeCurrent();
}

void CEditorOutputWindow::DestroyContext() {
    m_Window->DestroyContext();
}

void CEditorOutputWindow::Present() {
    m_Window->Present();
    if (m_bReportFirstFrame.exchange(false)) {
        ReportFirstFrame();
    }
}

void CEditorOutputWindow::SetSwapInterval(int interval) {
    m_Window->SetSwapInterval(interval);
}

SIZE CEditorOutputWindow::GetClientSize() const {
    return SIZE{m_Width.load(), m_Height.load()};
}

void CEditorOutputWindow::SetClientSize(QSize size) {
    m_Width = size.width();
    m_Height = size.height();
}

void CEditorOutputWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // postEvent is safe from any thread; the receiver lives on the
    // user-interface thread and outlives every run that posts to it.
    QCoreApplication::postEvent(m_Receiver, new CEngineMessageEvent(m_Run, message, wParam, lParam));
}

void CEditorOutputWindow::PumpWindowEvents() {
    MSG msg;
    while (m_Window->PeekMessage(msg, true)) {
        PostMessage(msg.message, msg.wParam, msg.lParam);
    }
}
