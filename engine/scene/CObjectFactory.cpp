#include "scene/CObjectFactory.h"

#include <map>
#include <mutex>

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
#include "scene/CObjects.h"

namespace {

template <class TObject>
CObjects* Create() {
    return new TObject();
}

// Every object type a scene file can hold, one line per type:
//     {"CBoxObject", &Create<CBoxObject>},
const std::map<CString, CObjects* (*)()>& StorableTypes() {
    static const std::map<CString, CObjects* (*)()> types = {
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

struct SRegisteredTypes {
    std::mutex mutex;
    std::map<CString, CObjectFactory::Creator> creators;
};

SRegisteredTypes& RegisteredTypes() {
    static SRegisteredTypes registered;
    return registered;
}

}  // namespace

CObjects* CObjectFactory::Get(const CString& type) {
    const auto& storable = StorableTypes();
    if (const auto found = storable.find(type); found != storable.end()) {
        return found->second();
    }
    SRegisteredTypes& registered = RegisteredTypes();
    Creator creator;
    {
        std::lock_guard<std::mutex> guard(registered.mutex);
        const auto found = registered.creators.find(type);
        if (found == registered.creators.end()) {
            return nullptr;
        }
        creator = found->second;
    }
    return creator();
}

bool CObjectFactory::Register(const CString& type, Creator creator) {
    if (!creator || StorableTypes().count(type) != 0) {
        return false;
    }
    SRegisteredTypes& registered = RegisteredTypes();
    std::lock_guard<std::mutex> guard(registered.mutex);
    return registered.creators.emplace(type, std::move(creator)).second;
}

void CObjectFactory::Unregister(const CString& type) {
    SRegisteredTypes& registered = RegisteredTypes();
    std::lock_guard<std::mutex> guard(registered.mutex);
    registered.creators.erase(type);
}
