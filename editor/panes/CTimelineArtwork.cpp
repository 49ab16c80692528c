#include "panes/CTimelineArtwork.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kBandTop(74, 78, 86);
const QColor kBandBottom(52, 55, 61);
const QColor kMark(200, 200, 200);
const QColor kFineMark(150, 152, 158);
const QColor kShape(24, 24, 24);
const QColor kPlayShape(20, 110, 40);

constexpr int kPixelsPerSecond = 80;

// A triangle pointing left or right, filling the image's height.
void DrawTriangle(QPainter& painter, int left, int width, bool pointsRight) {
    const int bottom = CTimelineArtwork::kButtonImageSize.height() - 1;
    const int middle = bottom / 2;
    QPolygon triangle;
    if (pointsRight) {
        triangle << QPoint(left, 0) << QPoint(left + width, middle) << QPoint(left, bottom);
    } else {
        triangle << QPoint(left + width, 0) << QPoint(left, middle) << QPoint(left + width, bottom);
    }
    painter.drawPolygon(triangle);
}

}  // namespace

QPixmap CTimelineArtwork::RulerTile() {
    QPixmap tile(kTileWidth, kTileHeight);
    QPainter painter(&tile);
    QLinearGradient ground(0, 0, 0, kTileHeight);
    ground.setColorAt(0.0, kBandTop);
    ground.setColorAt(1.0, kBandBottom);
    painter.fillRect(tile.rect(), ground);
    for (int x = 0; x < kTileWidth; x += kPixelsPerSecond / 10) {
        int height = 2;
        QColor colour = kFineMark;
        if (x == 0) {
            height = kTileHeight;
            colour = kMark;
        } else if (x % kPixelsPerSecond == 0) {
            height = 6;
            colour = kMark;
        } else if (x % (kPixelsPerSecond / 2) == 0) {
            height = 4;
        }
        painter.fillRect(x, 0, 1, height, colour);
    }
    painter.fillRect(0, kTileHeight - 1, kTileWidth, 1, kBandBottom.darker(130));
    return tile;
}

QIcon CTimelineArtwork::ButtonImage(EButtonImage image) {
    QPixmap picture(kButtonImageSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(image == kPlayImage ? kPlayShape : kShape);
    const int width = kButtonImageSize.width();
    const int height = kButtonImageSize.height();
    switch (image) {
    case kFastReverseImage:
        DrawTriangle(painter, 0, width / 2, false);
        DrawTriangle(painter, width / 2, width / 2, false);
        break;
    case kReverseImage:
        DrawTriangle(painter, 3, width - 7, false);
        break;
    case kStopImage:
        painter.drawRect(QRect(3, 0, height, height));
        break;
    case kPauseImage:
        painter.drawRect(QRect(3, 0, 4, height));
        painter.drawRect(QRect(width - 7, 0, 4, height));
        break;
    case kPlayImage:
        DrawTriangle(painter, 4, width - 7, true);
        break;
    case kFastForwardImage:
        DrawTriangle(painter, 0, width / 2, true);
        DrawTriangle(painter, width / 2, width / 2, true);
        break;
    }
    return QIcon(picture);
}
