#pragma once
// The editor's 3D view: a grey surround with the engine's render window
// inside, of the back buffer's fixed size and centred (at a negative offset,
// clipped, when the surround is smaller). The view starts the engine on the
// render window with its own frame loop (the scene on a ground grid) and
// handles the messages the engine posts: start-up errors, music, the end of
// the run. Mouse drags on the render window steer the user camera; a middle
// click writes the trajectory dump into the home folder.
//
// User-interface thread only. The view stops the engine before it goes.

#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>

#include "view/CViewFrameLoop.h"

class CEditorDocument;
class CEditorOutputWindow;
class CEngineMessageEvent;
class CRenderWidget;

class C3DView : public QWidget {
    Q_OBJECT

public:
    C3DView(CEditorDocument& document, QSize backBufferSize, QWidget* parent = nullptr);
    ~C3DView() override;

    // The back buffer for the "view size" setting: 400, 800, 1024 and 1280
    // wide in 4:3 (1280 x 1024 for the last), anything else 640 x 480.
    static QSize BackBufferSizeFor(int viewSizeSetting);

    // Starts the engine's run on the render window (returns at once; the
    // engine is ready once CScreen::IsInitialized). False, with the reason
    // in error, when no output window can be made for the render window.
    bool StartEngine(QString* error = nullptr);
    // Ends the run and waits until the render thread has let go of the
    // window. Does nothing when no run is going on.
    void StopEngine();
    bool IsEngineStarted() const { return m_OutputWindow != nullptr; }

    void SetGridVisible(bool visible);
    bool IsGridVisible() const;
    void SetInvertAxis(bool invert);
    void SetNavigationEnabled(bool enabled);
    bool IsNavigationEnabled() const;

    QWidget* RenderWidget() const;
    QSize BackBufferSize() const { return m_BackBufferSize; }
    // Frames the frame loop has drawn in the current or last run.
    long FramesDrawn() const { return m_FrameLoop.FrameCount(); }

    // What the middle click does: the trajectory dump into path (the home
    // folder's file when empty), with the result in the status line.
    bool DumpTrajectories(const QString& path = QString());

    QSize sizeHint() const override { return m_BackBufferSize; }
    QSize minimumSizeHint() const override { return QSize(0, 0); }

signals:
    // After each drag step that moved the camera.
    void CameraMoved();
    // The engine reported start-up errors and has no device.
    void EngineFailed();
    void StatusMessage(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void CentreRenderWidget();
    void HandleEngineMessage(const CEngineMessageEvent& event);
    void ReleaseOutputWindow();

    CEditorDocument& m_Document;
    QSize m_BackBufferSize;
    CRenderWidget* m_RenderWidget;
    CViewFrameLoop m_FrameLoop;
    std::unique_ptr<CEditorOutputWindow> m_OutputWindow;
    bool m_StopRequested = false;
    unsigned m_Run = 0;  // numbers the runs for their messages
};
