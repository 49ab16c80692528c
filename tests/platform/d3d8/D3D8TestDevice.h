#pragma once
// A Direct3D 8 device on a 64 x 64 headless surface, and the pixel probes the
// rendering tests use: colours are compared per channel with a tolerance,
// shapes by counting and bounding the pixels that differ from a background.

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "platform/headless/CHeadlessWindow.h"

struct SPixelBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

class CD3D8TestDevice {
public:
    static constexpr int kSize = 64;

    CD3D8TestDevice();
    ~CD3D8TestDevice();

    IDirect3DDevice8* operator->() const { return m_device; }
    IDirect3DDevice8* Get() const { return m_device; }
    IDirect3D8* D3D() const { return m_d3d; }
    bool Valid() const { return m_device != nullptr; }

    // The back buffer, top row first, as 0xAARRGGBB.
    std::vector<std::uint32_t> Pixels() const { return m_window.ReadPixelsARGB(); }
    std::uint32_t Pixel(int x, int y) const { return Pixels()[static_cast<size_t>(y) * kSize + x]; }

    // States most tests start from: no lighting, no culling, no depth test,
    // identity transforms, colour from the vertices.
    void PlainState();

    // Draws a pre-transformed rectangle of one colour (pixel edges, D3D style).
    void FillRect(float left, float top, float right, float bottom, std::uint32_t color, float z = 0.5f);

private:
    CHeadlessWindow m_window{kSize, kSize};
    IDirect3D8* m_d3d = nullptr;
    IDirect3DDevice8* m_device = nullptr;
};

// --- pixel probes ------------------------------------------------------------------
bool ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance = 3);
std::string ColorText(std::uint32_t argb);
int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t color, int tolerance = 3);
// Bounding box of the pixels that are not `background`.
SPixelBox Silhouette(const std::vector<std::uint32_t>& pixels, std::uint32_t background, int size = 64);

// A float render state value.
inline DWORD FloatState(float value) {
    return std::bit_cast<DWORD>(value);
}

// Row-vector matrices for the tests.
D3DMATRIX IdentityMatrix();
D3DMATRIX PerspectiveFovLH(float fovY, float aspect, float zn, float zf);
D3DMATRIX TranslationMatrix(float x, float y, float z);

#define EXPECT_COLOR_NEAR(actual, expected, tolerance) \
    EXPECT_TRUE(ColorNear((actual), (expected), (tolerance))) << ColorText(actual) << " vs " << ColorText(expected)
