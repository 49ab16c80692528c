#pragma once
// How trajectories store a pointer to another scene object: a bool saying
// whether there is one, then its name (or "<none>"). Reading resolves the
// name against the scene at once.

#include "objects/CBaseObject.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

inline void WriteObjectReference(CSceneFile& file, const CObjects* object) {
    file.WriteBool(object != nullptr);
    file.WriteString(object != nullptr ? object->GetObjName() : CString("<none>"));
}

// The base object of that name in scene, or null when the flag was clear,
// there is no scene, no such object, or it is not a base object.
inline CBaseObject* ReadObjectReference(CSceneFile& file, CScene* scene) {
    const bool present = file.ReadBool();
    const CString name = file.ReadString();
    if (!present || scene == nullptr) {
        return nullptr;
    }
    return dynamic_cast<CBaseObject*>(scene->GetObjectA(name));
}
