#include "document/SScenePlace.h"

#include "animation/CCameraTrajectoryObject.h"
#include "scene/CScene.h"

SScenePlace SScenePlace::Of(CScene& scene, const CObjects& object) {
    SScenePlace place;
    for (int i = 0; i < scene.GetObjectNumber(); ++i) {
        if (scene.GetObjectA(i) == &object) {
            place.listIndex = i;
            break;
        }
    }
    for (int i = 0; i < scene.GetCameraNumber(); ++i) {
        if (static_cast<const CObjects*>(scene.GetCamera(i)) == &object) {
            place.cameraIndex = i;
            break;
        }
    }
    return place;
}
