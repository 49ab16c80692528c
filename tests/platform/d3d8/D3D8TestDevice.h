#pragma once
// The Direct3D 8 layer's tests draw on a 64 x 64 headless device and look at
// the pixels with the shared probes; here are the states, shapes and
// matrices they draw with.

#include <bit>
#include <cstdint>

#include "platform/d3d8/d3d8.h"
#include "support/CHeadlessDevice.h"
#include "support/PixelProbe.h"

// The headless device with the states and shapes the pipeline tests draw with.
class CD3D8TestDevice : public CHeadlessDevice {
public:
    static constexpr int kSize = 64;

    CD3D8TestDevice() : CHeadlessDevice(kSize, kSize) {}

    // States most tests start from: no lighting, no culling, no depth test,
    // identity transforms, colour from the vertices.
    void PlainState();

    // Draws a pre-transformed rectangle of one colour (pixel edges, D3D style).
    void FillRect(float left, float top, float right, float bottom, std::uint32_t color, float z = 0.5f);
};

// A float render state value.
inline DWORD FloatState(float value) {
    return std::bit_cast<DWORD>(value);
}

// Row-vector matrices for the tests.
D3DMATRIX IdentityMatrix();
D3DMATRIX PerspectiveFovLH(float fovY, float aspect, float zn, float zf);
D3DMATRIX TranslationMatrix(float x, float y, float z);
