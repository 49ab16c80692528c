#include "dialogs/CFontPreview.h"

#include <QPainter>

CFontPreview::CFontPreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSide, kSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFontPreview::SetPixels(const std::vector<std::uint8_t>& rgba, int size) {
    const auto bytes = static_cast<std::size_t>(size > 0 ? size : 0) * static_cast<std::size_t>(size) * 4;
    if (size <= 0 || rgba.size() != bytes) {
        m_Image = QImage();
    } else {
        // copy(): the image must not refer to the importer's buffer, which
        // the next build replaces.
        m_Image = QImage(rgba.data(), size, size, size * 4, QImage::Format_RGBA8888).copy();
    }
    update();
}

void CFontPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A one-pixel frame sets a white preview off from the dialog.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect area = ImageArea();
    if (m_Image.isNull()) {
        painter.fillRect(area, palette().color(QPalette::Mid));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, m_Image);
}
