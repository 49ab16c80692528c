#pragma once
// Where an object of each class appears in the object list: under one of the
// six categories, at the root of the tree (trajectories), or not at all.

#include <QString>
#include <QStringList>

class CObjectPlacement {
public:
    // The categories, in the order the tree shows them.
    static const QStringList& CategoryNames();
    static constexpr int kCameras = 5;  // the index of "Cameras"

    // An object class's place: a category index, kRoot or kHidden.
    static constexpr int kRoot = -1;
    static constexpr int kHidden = -2;
    static int PlaceOf(const QString& type);
};
