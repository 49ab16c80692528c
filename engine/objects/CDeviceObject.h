#pragma once
// A scene object that builds device resources of its own when it is
// initialised. A copy shares none of them: it starts out needing
// initialisation and builds its own at its first render. An object that is
// assigned to releases its own resources first (CleanUp, which also
// unregisters it from the screen until that Init).
//
// Derived classes hold their device objects in CDeviceHandle members (which
// copy as empty), so that their own copy can be the compiler's.

#include "scene/CObjects.h"

class CDeviceObject : public CObjects {
public:
    CDeviceObject() = default;
    CDeviceObject(const CDeviceObject& other) : CObjects(other) { m_bNeedsInit = true; }
    CDeviceObject& operator=(const CDeviceObject& other) {
        if (this != &other) {
            CleanUp();
            CObjects::operator=(other);
            m_bNeedsInit = true;
        }
        return *this;
    }
};
