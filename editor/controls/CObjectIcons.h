#pragma once
// The pictures of the object types, drawn by code: the object list's tree,
// the creation dialog and the frame's creation buttons show the same ones.
// Each icon holds 16, 24 and 32 pixel pixmaps, drawn for their size rather
// than scaled from one bitmap.
//
//   button->setIcon(CObjectIcons::ForType("CBoxObject"));
//
// User-interface thread only (pixmaps need the application).

#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;

class CObjectIcons {
public:
    // The picture of an object class ("CBoxObject", ..., "CTrajectoryObject");
    // a plain grey object for a class without one of its own.
    static QIcon ForType(const QString& type);
    // The folder of the object list's categories.
    static QIcon Category();

    // One pixmap of that size (any size; the icons use 16, 24 and 32).
    static QPixmap Draw(const QString& type, int size);

    // The sizes each icon holds.
    static constexpr int kSizes[] = {16, 24, 32};

private:
    // The category folder's own name among the drawings; no object class is
    // called that.
    static constexpr const char* kCategoryDrawing = "category";

    static QIcon Cached(const QString& drawing);
    // Draws in a 32 x 32 space that the painter has scaled to the pixmap.
    static void Paint(QPainter& painter, const QString& drawing);
};
