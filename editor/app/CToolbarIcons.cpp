#include "app/CToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr qreal kSpace = 24.0;  // the drawings' own coordinate space

const QColor kOutline(60, 60, 70);
const QColor kPaper(250, 250, 245);
const QColor kFolder(232, 184, 72);
const QColor kFolderFront(246, 208, 110);
const QColor kDisk(58, 96, 170);
const QColor kLabel(235, 235, 235);
const QColor kCameraBody(70, 150, 80);
const QColor kLens(240, 200, 40);
const QColor kSkin(232, 180, 140);

QPen Outline() {
    QPen pen(kOutline, 1.0);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

QIcon CToolbarIcons::Icon(EPicture picture) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        icon.addPixmap(Draw(picture, size));
    }
    return icon;
}

QPixmap CToolbarIcons::Draw(EPicture picture, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kSpace, size / kSpace);
    painter.setPen(Outline());
    switch (picture) {
    case EPicture::NewScene:
        PaintNewScene(painter);
        break;
    case EPicture::OpenScene:
        PaintOpenScene(painter);
        break;
    case EPicture::SaveScene:
        PaintSaveScene(painter);
        break;
    case EPicture::SceneCamera:
        PaintSceneCamera(painter);
        break;
    case EPicture::UserCamera:
        PaintUserCamera(painter);
        break;
    }
    return pixmap;
}

void CToolbarIcons::PaintNewScene(QPainter& painter) {
    // A sheet with a folded corner and a spark.
    QPolygonF sheet({{5, 2.5}, {15, 2.5}, {19.5, 7}, {19.5, 21.5}, {5, 21.5}});
    painter.setBrush(kPaper);
    painter.drawPolygon(sheet);
    painter.setBrush(QColor(220, 220, 210));
    painter.drawPolygon(QPolygonF({{15, 2.5}, {15, 7}, {19.5, 7}}));
    painter.setPen(QPen(QColor(230, 160, 20), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(10.5, 14);
    painter.drawLine(centre + QPointF(-3.5, 0), centre + QPointF(3.5, 0));
    painter.drawLine(centre + QPointF(0, -3.5), centre + QPointF(0, 3.5));
    painter.drawLine(centre + QPointF(-2.2, -2.2), centre + QPointF(2.2, 2.2));
    painter.drawLine(centre + QPointF(-2.2, 2.2), centre + QPointF(2.2, -2.2));
}

void CToolbarIcons::PaintOpenScene(QPainter& painter) {
    // A folder whose front flap leans open.
    painter.setBrush(kFolder);
    painter.drawPolygon(QPolygonF({{2.5, 5}, {9, 5}, {11, 7.5}, {20, 7.5}, {20, 19.5}, {2.5, 19.5}}));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(5, 9, 13, 7));
    painter.setBrush(kFolderFront);
    painter.drawPolygon(QPolygonF({{2.5, 19.5}, {6, 11}, {22.5, 11}, {19.5, 19.5}}));
}

void CToolbarIcons::PaintSaveScene(QPainter& painter) {
    // A floppy disk: body, label, shutter.
    painter.setBrush(kDisk);
    painter.drawPolygon(QPolygonF({{3, 3}, {18.5, 3}, {21, 5.5}, {21, 21}, {3, 21}}));
    painter.setBrush(kLabel);
    painter.drawRect(QRectF(6.5, 3, 10, 6.5));
    painter.setBrush(QColor(90, 90, 100));
    painter.drawRect(QRectF(13, 4.2, 2.2, 4));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(6, 13, 12, 8));
    painter.setPen(QPen(QColor(170, 170, 170), 0.8));
    painter.drawLine(QPointF(8, 16), QPointF(16, 16));
    painter.drawLine(QPointF(8, 18.5), QPointF(16, 18.5));
}

void CToolbarIcons::PaintSceneCamera(QPainter& painter) {
    // A film camera on its path: the scene's own camera.
    painter.setBrush(kCameraBody);
    painter.drawRoundedRect(QRectF(3, 8, 13, 9), 1.5, 1.5);
    painter.drawEllipse(QRectF(4, 3, 5, 5));
    painter.drawEllipse(QRectF(9.5, 3, 5, 5));
    painter.setBrush(kLens);
    painter.drawPolygon(QPolygonF({{16, 10.5}, {21.5, 8}, {21.5, 17}, {16, 14.5}}));
    painter.setPen(QPen(QColor(120, 120, 200), 1.2, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(2, 22));
    path.cubicTo(QPointF(8, 18.5), QPointF(15, 23), QPointF(22, 20));
    painter.drawPath(path);
}

void CToolbarIcons::PaintUserCamera(QPainter& painter) {
    // A hand holding an eye: the camera the user steers.
    painter.setBrush(kPaper);
    QPainterPath eye(QPointF(2.5, 9));
    eye.quadTo(QPointF(11, 1), QPointF(19.5, 9));
    eye.quadTo(QPointF(11, 17), QPointF(2.5, 9));
    painter.drawPath(eye);
    painter.setBrush(QColor(60, 120, 200));
    painter.drawEllipse(QPointF(11, 9), 3.2, 3.2);
    painter.setBrush(kOutline);
    painter.drawEllipse(QPointF(11, 9), 1.3, 1.3);
    painter.setBrush(kSkin);
    painter.drawRoundedRect(QRectF(6, 15, 12, 7), 3, 3);
    painter.drawRoundedRect(QRectF(15, 12.5, 3.5, 6), 1.5, 1.5);
}
