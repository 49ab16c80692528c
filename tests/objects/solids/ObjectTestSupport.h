#pragma once
// Support for the object tests that need a Direct3D device (CHeadlessDevice)
// but no running screen: a way to build an object's mesh on that device,
// copies of the object's buffers, and small image files.

#include <vector>

#include "objects/CBaseObject.h"
#include "platform/d3d8/d3d8.h"
#include "support/ObjectBuffers.h"

// A solid whose mesh can be built on a given device, the way Init builds it
// from the shape curves, without the screen that Init takes its device from.
template <class TSolid>
class CTestable : public TSolid {
public:
    void UseDevice(IDirect3DDevice8* device) { this->m_pd3dDevice = device; }
    void BuildOn(IDirect3DDevice8* device) {
        UseDevice(device);
        this->UpdateBuiltValues();
        this->CreatePrimitive();
    }
    // What Render does before drawing: rebuild when the curves changed.
    bool RebuildIfChanged() {
        if (!this->UpdateBuiltValues())
            return false;
        this->CreatePrimitive();
        return true;
    }
};

// A 24-bit BMP file of w x h texels of one colour (0xRRGGBB).
std::vector<unsigned char> MakeBmp(int width, int height, unsigned int rgb);
