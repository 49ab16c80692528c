// The object types a scene file can hold, by the type name stored in each
// object record. The factory's list lives in a file of its own, at the top of
// the engine's layers: it is the one place that knows every object class, so
// that the factory and the scene file, low in the layers, need not.
//
// One line per type:
//     {"CBoxObject", &Create<CBoxObject>},

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "scene/CObjectFactory.h"

namespace {

template <class TObject>
CObjects* Create() {
    return new TObject();
}

}  // namespace

const std::map<CString, CObjectFactory::StorableCreator>& CObjectFactory::StorableTypes() {
    static const std::map<CString, StorableCreator> types = {
        {"CPlaneObject", &Create<CPlaneObject>},
        {"CSphereObject", &Create<CSphereObject>},
        {"CBoxObject", &Create<CBoxObject>},
        {"CTorusObject", &Create<CTorusObject>},
        {"CCylinderObject", &Create<CCylinderObject>},
        {"CHeightMapObject", &Create<CHeightMapObject>},
        {"CBmpFonts", &Create<CBmpFonts>},
        {"CFileMeshObject", &Create<CFileMeshObject>},
        {"CAnimFileMeshObject", &Create<CAnimFileMeshObject>},
        {"CTrajectoryObject", &Create<CTrajectoryObject>},
        {"CCameraTrajectoryObject", &Create<CCameraTrajectoryObject>},
    };
    return types;
}
