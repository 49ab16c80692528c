#include "controls/CColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
}

void CColorSwatch::SetColor(const QColor& color) {
    if (color != m_Color) {
        m_Color = color;
        update();
    }
}

void CColorSwatch::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_Color);
}

void CColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    // A press that ends outside the swatch is no click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Clicked();
    }
    QFrame::mouseReleaseEvent(event);
}
