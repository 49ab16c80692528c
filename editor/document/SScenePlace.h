#pragma once
// Where an object sits in its scene: its position in the object list and,
// for a camera trajectory, among the cameras (-1 otherwise). The edit
// commands put a removed object back there.

class CObjects;
class CScene;

struct SScenePlace {
    int listIndex = 0;
    int cameraIndex = -1;

    // The object's place; call it with the scene locked. An object that is
    // not in the scene gets the place of a new one (front of the list).
    static SScenePlace Of(CScene& scene, const CObjects& object);
};
