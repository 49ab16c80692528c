#pragma once
// The texels of a texture, cube texture or stand-alone surface: one image per
// face and mip level in Direct3D's memory layout (rows from the top), plus
// the GL texture that the GL thread builds and refreshes from them at first
// use. Row 0 of every image is stored at GL's t = 0, so a Direct3D v samples
// the right row as it is; rendering into the texture flips y to match.
//
// Render targets are the other way round: the GL texture holds the truth and
// locking one reads it back (GL thread only).

#include <vector>

#include "platform/d3d8/CFormatInfo.h"
#include "platform/d3d8/d3d8types.h"

class CDirect3DDevice8;
class CGLState;

class CTextureStorage {
public:
    CTextureStorage(CDirect3DDevice8& device, bool cube, UINT width, UINT height, UINT levels, DWORD usage,
                    const SFormatInfo& format, D3DPOOL pool);
    ~CTextureStorage();
    CTextureStorage(const CTextureStorage&) = delete;
    CTextureStorage& operator=(const CTextureStorage&) = delete;

    // Bytes all levels and faces take.
    static UINT64 TotalBytes(bool cube, UINT width, UINT height, UINT levels, const SFormatInfo& format);

    bool IsCube() const { return m_cube; }
    bool IsRenderTarget() const { return (m_usage & D3DUSAGE_RENDERTARGET) != 0; }
    UINT Levels() const { return m_levels; }
    UINT Width(UINT level) const;
    UINT Height(UINT level) const;
    D3DFORMAT Format() const { return m_format.format; }
    const SFormatInfo& FormatInfo() const { return m_format; }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const;

    HRESULT Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT Unlock(UINT face, UINT level);

    // GL thread: the texture object, created and brought up to date.
    bool NeedsUpload() const { return m_name == 0 || m_dirtyCount > 0; }
    unsigned Prepare(CGLState& gl);
    unsigned GLName() const { return m_name; }
    unsigned GLTarget() const;
    unsigned GLImageTarget(UINT face) const;
    // Called when the GL thread rendered into a level: its CPU copy is stale.
    void MarkRendered(UINT face, UINT level);

private:
    struct SImage {
        std::vector<BYTE> texels;
        bool dirty = false;  // CPU copy newer than the GL texture
        bool stale = false;  // GL texture newer than the CPU copy
        int lockCount = 0;
        bool lockWrites = false;
    };

    SImage* Image(UINT face, UINT level);
    bool ReadBack(UINT face, UINT level, SImage& image);
    void Allocate(CGLState& gl);
    void Upload(UINT face, UINT level, SImage& image);

    CDirect3DDevice8& m_device;
    bool m_cube;
    UINT m_width, m_height, m_levels;
    DWORD m_usage;
    const SFormatInfo& m_format;
    D3DPOOL m_pool;
    std::vector<SImage> m_images;  // face * levels + level
    int m_dirtyCount = 0;
    unsigned m_name = 0;
};
