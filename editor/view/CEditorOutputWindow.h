#pragma once
// The engine's output window in the editor: the 3D view's native render
// widget. Drawing goes through the platform's X11 foreign-window code (the
// render thread makes its own GL context for the widget's X window and
// presents there); messages the engine posts arrive at a Qt object as
// CEngineMessageEvents, on the user-interface thread; the client size is
// the widget's fixed back-buffer size.
//
// Threads: made, pumped and destroyed on the user-interface thread; the GL
// operations run on the render thread; PostMessage from any thread.

#include <QSize>
#include <atomic>
#include <memory>
#include <string>

#include "platform/window/COutputWindow.h"

class CX11ForeignWindow;
class QObject;
class QWidget;

class CEditorOutputWindow final : public COutputWindow {
public:
    // For the render widget's X window (its native window is made here if
    // it has none yet). Engine messages go to receiver as events of the
    // given run. Null, with the reason in error, when Qt does not run on X11
    // (the xcb platform) or no GL context can draw into the window.
    static std::unique_ptr<CEditorOutputWindow> Create(QWidget& renderWidget, QObject& receiver, unsigned run,
                                                       std::string* error = nullptr);
    ~CEditorOutputWindow() override;
    CEditorOutputWindow(const CEditorOutputWindow&) = delete;
    CEditorOutputWindow& operator=(const CEditorOutputWindow&) = delete;

    bool CreateContext() override;
    bool MakeCurrent() override;
    void DestroyContext() override;
    void Present() override;
    void SetSwapInterval(int interval) override;

    SIZE GetClientSize() const override;
    // The widget's size, from the user-interface thread.
    void SetClientSize(QSize size);

    void PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override;
    // Reads what the X server reported about the window (structure events,
    // its destruction) and forwards the resulting messages (user-interface
    // thread).
    void PumpWindowEvents();

private:
    CEditorOutputWindow(std::unique_ptr<CX11ForeignWindow> window, QObject& receiver, unsigned run, QSize size);

    std::unique_ptr<CX11ForeignWindow> m_Window;
    QObject* m_Receiver;
    unsigned m_Run;
    std::atomic<LONG> m_Width;
    std::atomic<LONG> m_Height;
    std::atomic<bool> m_bReportFirstFrame;
};
