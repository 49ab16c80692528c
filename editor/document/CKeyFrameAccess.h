#pragma once
// The keyframes of whichever of the two kinds of keyed objects an object
// is: a base object (solids, planes, meshes, text, terrain) or a camera
// trajectory. Other objects have no keyframes; for them the access is empty
// and every operation does nothing.
//
//   const CKeyFrameAccess keys(object);
//   if (keys) keys.SetCurrentKey(keys.Add(5.0f));

#include "animation/CKeyFrameCurves.h"

class CBaseObject;
class CCameraTrajectoryObject;
class CObjects;

class CKeyFrameAccess {
public:
    explicit CKeyFrameAccess(CObjects* object);
    explicit CKeyFrameAccess(CObjects& object) : CKeyFrameAccess(&object) {}

    explicit operator bool() const { return m_pBase != nullptr || m_pCamera != nullptr; }

    int Count() const;
    // By index in time order.
    float Time(int index) const;
    int Id(int index) const;
    int CurrentKey() const;
    void SetCurrentKey(int id) const;

    // Returns the new key's identifier (-1 without keyframes).
    int Add(float time) const;
    void Move(int id, float time) const;
    void Delete(int id) const;

    CKeyFrameSnapshot Capture() const;
    void Restore(const CKeyFrameSnapshot& snapshot) const;

private:
    CBaseObject* m_pBase;
    CCameraTrajectoryObject* m_pCamera;
};
