#pragma once
// Shared by the plane, sky box, terrain and bitmap-font tests: the screen set
// up for small headless runs, copies of an object's buffers, and small image
// files to texture with (written into the process's private working folder,
// see CTempFolder).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CScreen.h"
#include "objects/CBaseObject.h"
#include "support/BmpFile.h"
#include "support/CTempFolder.h"

namespace planetest {

// A windowed run on the host window, black background, stopped clock at 0,
// camera at the origin looking along +z.
inline void PrepareScreen() {
    CTempFolder::EnterPrivateWorkingFolder();
    CScreen& screen = CScreen::Instance();
    // The screen still names the window of an earlier test's run, which is
    // gone; objects initialised outside a run must not ask it for its size.
    screen.SetWindow(nullptr);
    screen.SetFullscreen(false);
    screen.SetUseDesktopScreen(false);
    screen.SetResolution(RES_640_480);
    screen.ViewInfo(false);
    screen.SetShowFPS(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
    screen.EnableFog(false);
    screen.Stop();
    screen.SetCamera(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
}

// Copies of the object's vertices and indices; empty when they cannot be locked.
inline std::vector<S3DVERTEX> Vertices(CBaseObject& object) {
    DWORD count = 0;
    S3DVERTEX* locked = object.LockVB(count);
    std::vector<S3DVERTEX> copy;
    if (locked == nullptr)
        return copy;
    for (DWORD i = 0; i < count; ++i)
        copy.push_back(*object.OffsetVertex(locked, static_cast<int>(i)));
    object.UnlockVB(false, false);
    return copy;
}

inline std::vector<WORD> Indices(CBaseObject& object) {
    DWORD faces = 0;
    WORD* locked = object.LockIB(faces);
    std::vector<WORD> copy;
    if (locked == nullptr)
        return copy;
    copy.assign(locked, locked + 3 * faces);
    object.UnlockIB();
    return copy;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit BMP of `width` x `height` texels split into vertical bands of
// equal width, one colour (0xRRGGBB) each, written to `path`.
inline void WriteBandedBmp(const std::filesystem::path& path, int width, int height,
                           const std::vector<std::uint32_t>& bands) {
    const auto bandAt = [&bands, width](int x, int) {
        return bands[static_cast<size_t>(x) * bands.size() / static_cast<size_t>(width)];
    };
    WriteBytes(path, EncodeBmp24(width, height, bandAt));
}

}  // namespace planetest
