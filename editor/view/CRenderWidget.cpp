#include "view/CRenderWidget.h"

#include <QMouseEvent>

#include "core/CScreen.h"

namespace {

bool ToNavigationButton(Qt::MouseButton button, TMouseButton& result) {
    if (button == Qt::LeftButton) {
        result = TMouseButton::Left;
        return true;
    }
    if (button == Qt::RightButton) {
        result = TMouseButton::Right;
        return true;
    }
    return false;
}

}  // namespace

CRenderWidget::CRenderWidget(QSize backBufferSize, QWidget* parent)
    : QWidget(parent), m_Navigation(CScreen::Instance()) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(backBufferSize);
    UpdateCursor();
}

void CRenderWidget::SetNavigationEnabled(bool enabled) {
    m_Navigation.SetEnabled(enabled);
    UpdateCursor();
}

Qt::CursorShape CRenderWidget::CursorShapeFor(TNavigationCursor cursor) {
    switch (cursor) {
    case TNavigationCursor::Moving:
        return Qt::SizeAllCursor;
    case TNavigationCursor::Disabled:
        return Qt::ForbiddenCursor;
    case TNavigationCursor::Ready:
        break;
    }
    return Qt::CrossCursor;
}

void CRenderWidget::paintEvent(QPaintEvent* /*event*/) {}

void CRenderWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        emit DumpRequested();
        return;
    }
    TMouseButton button;
    if (!ToNavigationButton(event->button(), button)) {
        return;
    }
    // Qt keeps the pointer with this widget while a button is held.
    const QPoint position = event->position().toPoint();
    m_Navigation.Press(button, position.x(), position.y());
    UpdateCursor();
}

void CRenderWidget::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!ToNavigationButton(event->button(), button)) {
        return;
    }
    m_Navigation.Release(button);
    UpdateCursor();
}

void CRenderWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (m_Navigation.MoveTo(position.x(), position.y(), modifiers.testFlag(Qt::ShiftModifier),
                            modifiers.testFlag(Qt::ControlModifier))) {
        emit CameraMoved();
    }
}

void CRenderWidget::UpdateCursor() {
    setCursor(CursorShapeFor(m_Navigation.Cursor()));
}
