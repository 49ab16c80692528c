#pragma once
// The 3D view's render window: a native child widget of the back buffer's
// size that the engine draws into (Qt paints nothing there). Its mouse
// events steer the user camera (CCameraNavigation); a middle click asks for
// the trajectory dump. The pointer shows the navigation state.

#include <QWidget>

#include "view/CCameraNavigation.h"

class CRenderWidget : public QWidget {
    Q_OBJECT

public:
    CRenderWidget(QSize backBufferSize, QWidget* parent);

    CCameraNavigation& Navigation() { return m_Navigation; }
    const CCameraNavigation& Navigation() const { return m_Navigation; }
    void SetNavigationEnabled(bool enabled);
    void SetInvertAxis(bool invert) { m_Navigation.SetInvertAxis(invert); }

    // The pointer of each navigation state.
    static Qt::CursorShape CursorShapeFor(TNavigationCursor cursor);

    // The engine draws the whole window: Qt must not.
    QPaintEngine* paintEngine() const override { return nullptr; }

signals:
    // A drag step moved the camera.
    void CameraMoved();
    void DumpRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void UpdateCursor();

    CCameraNavigation m_Navigation;
};
