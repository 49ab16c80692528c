#include "panes/CObjectPlacement.h"

#include <QHash>

const QStringList& CObjectPlacement::CategoryNames() {
    static const QStringList names = {"Primitives", "Meshes", "Bitmaps", "Fonts", "Terrains", "Cameras"};
    return names;
}

int CObjectPlacement::PlaceOf(const QString& type) {
    // Only the classes the editor creates, plus the trajectories that scene
    // files bring along; objects of other classes stay out of the list.
    static const QHash<QString, int> places = {
        {"CBoxObject", 0},
        {"CSphereObject", 0},
        {"CCylinderObject", 0},
        {"CTorusObject", 0},
        {"CFileMeshObject", 1},
        {"CAnimFileMeshObject", 1},
        {"CPlaneObject", 2},
        {"CBmpFonts", 3},
        {"CHeightMapObject", 4},
        {"CTrajectoryObject", kRoot},
        {"CCameraTrajectoryObject", kCameras},
    };
    return places.value(type, kHidden);
}
