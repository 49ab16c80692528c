#include "controls/CObjectIcons.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace {

// Every drawing works in a 32 x 32 space; `pixel` is the width of one pixel
// of the target there, so that outlines stay one pixel thin at every size.
struct SCanvas {
    QPainter& painter;
    qreal pixel;

    QPen Outline(const QColor& color, qreal pixels = 1.0) const {
        QPen pen(color, pixel * pixels);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    void Shape(const QPolygonF& shape, const QBrush& fill, const QColor& edge) const {
        painter.setPen(Outline(edge));
        painter.setBrush(fill);
        painter.drawPolygon(shape);
    }
};

QLinearGradient Across(qreal x1, qreal x2, const QColor& from, const QColor& to) {
    QLinearGradient gradient(x1, 0, x2, 0);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

void DrawBox(const SCanvas& c) {
    const QColor edge(110, 45, 10);
    c.Shape(QPolygonF({{16, 3}, {28, 9}, {16, 15}, {4, 9}}), QColor(255, 196, 120), edge);
    c.Shape(QPolygonF({{4, 9}, {16, 15}, {16, 29}, {4, 23}}), QColor(235, 120, 40), edge);
    c.Shape(QPolygonF({{16, 15}, {28, 9}, {28, 23}, {16, 29}}), QColor(170, 75, 20), edge);
}

void DrawSphere(const SCanvas& c) {
    QRadialGradient shade(QPointF(16, 16), 14, QPointF(11, 10));
    shade.setColorAt(0, QColor(235, 245, 255));
    shade.setColorAt(0.35, QColor(80, 150, 240));
    shade.setColorAt(1, QColor(20, 50, 130));
    c.painter.setPen(c.Outline(QColor(15, 35, 90)));
    c.painter.setBrush(shade);
    c.painter.drawEllipse(QPointF(16, 16), 13, 13);
}

void DrawCylinder(const SCanvas& c) {
    const QColor edge(20, 80, 30);
    QPainterPath body;
    body.moveTo(6, 8);
    body.lineTo(6, 24);
    body.arcTo(QRectF(6, 20, 20, 8), 180, 180);
    body.lineTo(26, 8);
    body.closeSubpath();
    c.painter.setPen(c.Outline(edge));
    c.painter.setBrush(Across(6, 26, QColor(120, 210, 110), QColor(30, 110, 40)));
    c.painter.drawPath(body);
    c.painter.setBrush(QColor(180, 240, 170));
    c.painter.drawEllipse(QRectF(6, 4, 20, 8));
}

void DrawTorus(const SCanvas& c) {
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QRectF(2, 7, 28, 19));
    ring.addEllipse(QRectF(10, 13, 12, 6));
    QLinearGradient shade(0, 7, 0, 26);
    shade.setColorAt(0, QColor(225, 170, 245));
    shade.setColorAt(1, QColor(100, 30, 140));
    c.painter.setPen(c.Outline(QColor(70, 15, 100)));
    c.painter.setBrush(shade);
    c.painter.drawPath(ring);
}

void DrawPlane(const SCanvas& c) {
    const QRectF frame(3, 5, 26, 22);
    c.painter.setPen(c.Outline(QColor(60, 60, 60)));
    c.painter.setBrush(QColor(250, 250, 245));
    c.painter.drawRect(frame);
    const QRectF picture = frame.adjusted(2.5, 2.5, -2.5, -2.5);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QColor(120, 190, 245));
    c.painter.drawRect(picture);
    c.painter.setBrush(QColor(255, 220, 60));
    c.painter.drawEllipse(QPointF(21, 11.5), 2.5, 2.5);
    c.painter.setBrush(QColor(60, 150, 60));
    c.painter.drawPolygon(QPolygonF({{picture.left(), picture.bottom()},
                                     {picture.left(), 19},
                                     {11, 13},
                                     {17, 19},
                                     {21, 16},
                                     {picture.right(), 20},
                                     {picture.right(), picture.bottom()}}));
}

// A faceted gem: the outline of an imported mesh with its triangles.
void DrawMeshAt(const SCanvas& c, QPointF origin, qreal scale, int alpha) {
    const auto at = [&](qreal x, qreal y) { return origin + QPointF(x, y) * scale; };
    const QPolygonF outline({at(0, -12), at(11, -5), at(11, 6), at(0, 13), at(-11, 6), at(-11, -5)});
    const QColor fill(70, 170, 175, alpha);
    const QColor edge(15, 70, 80, alpha);
    c.Shape(outline, fill, edge);
    c.painter.setBrush(QColor(150, 220, 220, alpha));
    c.painter.drawPolygon(QPolygonF({at(0, -12), at(11, -5), at(0, 1), at(-11, -5)}));
    c.painter.setPen(c.Outline(edge));
    for (const QPointF& corner : {at(11, 6), at(0, 13), at(-11, 6)}) {
        c.painter.drawLine(at(0, 1), corner);
    }
}

void DrawFileMesh(const SCanvas& c) {
    DrawMeshAt(c, QPointF(16, 16), 1.15, 255);
}

void DrawAnimatedMesh(const SCanvas& c) {
    // Fainter copies behind the mesh: it moves.
    DrawMeshAt(c, QPointF(9, 16), 0.85, 70);
    DrawMeshAt(c, QPointF(14, 16), 0.85, 140);
    DrawMeshAt(c, QPointF(20, 16), 0.85, 255);
}

void DrawFonts(const SCanvas& c) {
    c.painter.setPen(c.Outline(QColor(20, 30, 70)));
    c.painter.setBrush(Across(3, 29, QColor(70, 90, 180), QColor(35, 45, 120)));
    c.painter.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    // The letter as strokes, so that it needs no installed font.
    QPen letter(Qt::white, 3.4);
    letter.setJoinStyle(Qt::MiterJoin);
    letter.setCapStyle(Qt::FlatCap);
    c.painter.setPen(letter);
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawPolyline(QPolygonF({{9, 25}, {16, 7}, {23, 25}}));
    c.painter.drawLine(QPointF(11.5, 19), QPointF(20.5, 19));
}

void DrawHeightMap(const SCanvas& c) {
    const QPolygonF land({{2, 27}, {9, 15}, {13, 19}, {20, 7}, {30, 27}});
    QLinearGradient shade(0, 7, 0, 27);
    shade.setColorAt(0, QColor(150, 110, 60));
    shade.setColorAt(1, QColor(60, 130, 50));
    c.Shape(land, shade, QColor(50, 60, 25));
    c.painter.setPen(c.Outline(QColor(50, 60, 25)));
    c.painter.setBrush(Qt::white);
    c.painter.drawPolygon(QPolygonF({{20, 7}, {23.3, 13.6}, {21, 12.5}, {19, 14}, {17.4, 11.6}}));
    // Contour lines across the slopes: a terrain, not a rock.
    c.painter.setPen(c.Outline(QColor(40, 90, 35, 170)));
    c.painter.drawLine(QPointF(6, 22), QPointF(26.5, 22));
    c.painter.drawLine(QPointF(14.5, 17), QPointF(24, 17));
}

void DrawCamera(const SCanvas& c) {
    const QColor edge(25, 60, 20);
    c.painter.setPen(c.Outline(edge));
    c.painter.setBrush(QColor(110, 110, 115));
    c.painter.drawEllipse(QRectF(3, 2, 9, 9));
    c.painter.drawEllipse(QRectF(11, 2, 9, 9));
    c.painter.setBrush(Across(2, 21, QColor(110, 200, 90), QColor(40, 120, 40)));
    c.painter.drawRoundedRect(QRectF(2, 11, 19, 14), 2, 2);
    c.Shape(QPolygonF({{21, 15}, {30, 10}, {30, 26}, {21, 21}}), QColor(250, 215, 40), QColor(120, 90, 0));
}

void DrawTrajectory(const SCanvas& c) {
    QPainterPath path(QPointF(5, 26));
    path.cubicTo(QPointF(5, 8), QPointF(26, 24), QPointF(27, 6));
    QPen dashes(QColor(200, 40, 40), 2.0 * c.pixel);
    dashes.setDashPattern({2, 1.5});
    c.painter.setPen(dashes);
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawPath(path);
    c.painter.setPen(c.Outline(QColor(90, 10, 10)));
    c.painter.setBrush(QColor(255, 120, 120));
    for (const QPointF& key : {path.pointAtPercent(0), path.pointAtPercent(0.5), path.pointAtPercent(1)}) {
        c.painter.drawRect(QRectF(key - QPointF(2.5, 2.5), QSizeF(5, 5)));
    }
}

void DrawCategory(const SCanvas& c) {
    const QColor edge(120, 85, 10);
    c.Shape(QPolygonF({{2, 7}, {11, 7}, {14, 10}, {30, 10}, {30, 27}, {2, 27}}), QColor(225, 175, 60), edge);
    QLinearGradient front(0, 13, 0, 27);
    front.setColorAt(0, QColor(255, 225, 120));
    front.setColorAt(1, QColor(240, 190, 70));
    c.Shape(QPolygonF({{2, 27}, {5, 13}, {31, 13}, {30, 27}}), front, edge);
}

void DrawUnknown(const SCanvas& c) {
    const QColor edge(70, 70, 70);
    c.Shape(QPolygonF({{16, 3}, {28, 9}, {16, 15}, {4, 9}}), QColor(215, 215, 215), edge);
    c.Shape(QPolygonF({{4, 9}, {16, 15}, {16, 29}, {4, 23}}), QColor(170, 170, 170), edge);
    c.Shape(QPolygonF({{16, 15}, {28, 9}, {28, 23}, {16, 29}}), QColor(130, 130, 130), edge);
}

using DrawingFunction = void (*)(const SCanvas&);

DrawingFunction DrawingFor(const QString& drawing) {
    static const QHash<QString, DrawingFunction> drawings = {
        {"CBoxObject", DrawBox},
        {"CSphereObject", DrawSphere},
        {"CCylinderObject", DrawCylinder},
        {"CTorusObject", DrawTorus},
        {"CPlaneObject", DrawPlane},
        {"CFileMeshObject", DrawFileMesh},
        {"CAnimFileMeshObject", DrawAnimatedMesh},
        {"CBmpFonts", DrawFonts},
        {"CHeightMapObject", DrawHeightMap},
        {"CCameraTrajectoryObject", DrawCamera},
        {"CTrajectoryObject", DrawTrajectory},
        {"category", DrawCategory},
    };
    return drawings.value(drawing, DrawUnknown);
}

}  // namespace

QIcon CObjectIcons::ForType(const QString& type) {
    // A class called like the folder's drawing still gets an object's picture.
    return Cached(type == kCategoryDrawing ? QString() : type);
}

QIcon CObjectIcons::Category() {
    return Cached(kCategoryDrawing);
}

QPixmap CObjectIcons::Draw(const QString& type, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    Paint(painter, type);
    return pixmap;
}

QIcon CObjectIcons::Cached(const QString& drawing) {
    // Drawn once per process: the tree asks for an icon per item.
    static QHash<QString, QIcon> icons;
    auto found = icons.find(drawing);
    if (found == icons.end()) {
        QIcon icon;
        for (int size : kSizes) {
            icon.addPixmap(Draw(drawing, size));
        }
        found = icons.insert(drawing, icon);
    }
    return *found;
}

void CObjectIcons::Paint(QPainter& painter, const QString& drawing) {
    const qreal pixel = 1.0 / painter.transform().m11();
    DrawingFor(drawing)(SCanvas{painter, pixel});
}
