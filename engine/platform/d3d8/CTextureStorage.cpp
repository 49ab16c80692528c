#include "platform/d3d8/CTextureStorage.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CGLState.h"

CTextureStorage::CTextureStorage(CDirect3DDevice8& device, bool cube, UINT width, UINT height, UINT levels, DWORD usage,
                                 const SFormatInfo& format, D3DPOOL pool)
    : m_device(device),
      m_cube(cube),
      m_width(width),
      m_height(height),
      m_levels(levels),
      m_usage(usage),
      m_format(format),
      m_pool(pool) {
    const UINT faces = cube ? 6 : 1;
    m_images.resize(static_cast<size_t>(faces) * levels);
    for (UINT face = 0; face < faces; ++face) {
        for (UINT level = 0; level < levels; ++level) {
            SImage& image = *Image(face, level);
            // Render targets live in GL; their CPU copy appears when locked.
            if (IsRenderTarget())
                continue;
            image.texels.assign(CFormatInfo::LevelSize(format, Width(level), Height(level)), 0);
        }
    }
}

CTextureStorage::~CTextureStorage() {
    if (m_name)
        m_device.DeleteGLTexture(m_name);
}

UINT64 CTextureStorage::TotalBytes(bool cube, UINT width, UINT height, UINT levels, const SFormatInfo& format) {
    UINT64 bytes = 0;
    for (UINT level = 0; level < levels; ++level)
        bytes += CFormatInfo::LevelSize(format, std::max(1u, width >> level), std::max(1u, height >> level));
    return bytes * (cube ? 6 : 1);
}

UINT CTextureStorage::Width(UINT level) const {
    return std::max(1u, m_width >> level);
}
UINT CTextureStorage::Height(UINT level) const {
    return std::max(1u, m_height >> level);
}

CTextureStorage::SImage* CTextureStorage::Image(UINT face, UINT level) {
    if (level >= m_levels || face >= (m_cube ? 6u : 1u))
        return nullptr;
    return &m_images[static_cast<size_t>(face) * m_levels + level];
}

HRESULT CTextureStorage::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) const {
    if (!desc || level >= m_levels)
        return D3DERR_INVALIDCALL;
    desc->Format = m_format.format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = m_usage;
    desc->Pool = m_pool;
    desc->Size = CFormatInfo::LevelSize(m_format, Width(level), Height(level));
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->Width = Width(level);
    desc->Height = Height(level);
    return D3D_OK;
}

HRESULT CTextureStorage::Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    SImage* image = Image(face, level);
    if (!locked || !image || image->lockCount > 0)
        return D3DERR_INVALIDCALL;
    const UINT width = Width(level), height = Height(level);
    RECT area{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > area.right || rect->bottom > area.bottom ||
            rect->left >= rect->right || rect->top >= rect->bottom)
            return D3DERR_INVALIDCALL;
        area = *rect;
    }
    if (image->texels.empty() || image->stale) {
        if (!ReadBack(face, level, *image))
            return D3DERR_INVALIDCALL;
    }
    const UINT pitch = CFormatInfo::RowPitch(m_format, width);
    size_t offset = 0;
    if (m_format.bytesPerBlock != 0)
        offset =
            static_cast<size_t>(area.top / 4) * pitch + static_cast<size_t>(area.left / 4) * m_format.bytesPerBlock;
    else
        offset = static_cast<size_t>(area.top) * pitch + static_cast<size_t>(area.left) * m_format.bytesPerPixel;
    locked->Pitch = static_cast<INT>(pitch);
    locked->pBits = image->texels.data() + offset;
    image->lockCount = 1;
    image->lockWrites = (flags & D3DLOCK_READONLY) == 0;
    return D3D_OK;
}

HRESULT CTextureStorage::Unlock(UINT face, UINT level) {
    SImage* image = Image(face, level);
    if (!image || image->lockCount == 0)
        return D3DERR_INVALIDCALL;
    image->lockCount = 0;
    if (image->lockWrites && !image->dirty) {
        image->dirty = true;
        ++m_dirtyCount;
    }
    return D3D_OK;
}

bool CTextureStorage::ReadBack(UINT face, UINT level, SImage& image) {
    const size_t size = CFormatInfo::LevelSize(m_format, Width(level), Height(level));
    if (m_name == 0 || !image.stale) {
        // Nothing rendered yet: the level holds zeros, as a fresh target would.
        image.texels.assign(size, 0);
        return true;
    }
    if (!m_device.OnGLThread() || m_format.depth || m_format.bytesPerBlock != 0)
        return false;
    image.texels.resize(size);
    m_device.GLState().BindTexture(CGLState::kScratchUnit, GLTarget(), m_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GLImageTarget(face), static_cast<GLint>(level), m_format.uploadFormat, m_format.uploadType,
                  image.texels.data());
    image.stale = false;
    return true;
}

unsigned CTextureStorage::GLTarget() const {
    return m_cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
}

unsigned CTextureStorage::GLImageTarget(UINT face) const {
    return m_cube ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D;
}

void CTextureStorage::Allocate(CGLState& gl) {
    glGenTextures(1, &m_name);
    const GLenum target = GLTarget();
    gl.BindTexture(CGLState::kScratchUnit, target, m_name);
    glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(m_levels - 1));
    glTexParameteriv(target, GL_TEXTURE_SWIZZLE_RGBA, m_format.swizzle);
    for (UINT face = 0; face < (m_cube ? 6u : 1u); ++face) {
        for (UINT level = 0; level < m_levels; ++level) {
            const auto w = static_cast<GLsizei>(Width(level)), h = static_cast<GLsizei>(Height(level));
            if (m_format.bytesPerBlock != 0) {
                SImage& image = *Image(face, level);
                glCompressedTexImage2D(GLImageTarget(face), static_cast<GLint>(level), m_format.internalFormat, w, h, 0,
                                       static_cast<GLsizei>(image.texels.size()), image.texels.data());
                if (image.dirty) {
                    image.dirty = false;
                    --m_dirtyCount;
                }
            } else {
                glTexImage2D(GLImageTarget(face), static_cast<GLint>(level),
                             static_cast<GLint>(m_format.internalFormat), w, h, 0, m_format.uploadFormat,
                             m_format.uploadType, nullptr);
                // Levels nobody wrote still need their (zero) contents once.
                SImage& image = *Image(face, level);
                if (!image.texels.empty() && !image.dirty) {
                    image.dirty = true;
                    ++m_dirtyCount;
                }
            }
        }
    }
}

void CTextureStorage::Upload(UINT face, UINT level, SImage& image) {
    const auto w = static_cast<GLsizei>(Width(level)), h = static_cast<GLsizei>(Height(level));
    if (m_format.bytesPerBlock != 0) {
        glCompressedTexSubImage2D(GLImageTarget(face), static_cast<GLint>(level), 0, 0, w, h, m_format.internalFormat,
                                  static_cast<GLsizei>(image.texels.size()), image.texels.data());
    } else {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexSubImage2D(GLImageTarget(face), static_cast<GLint>(level), 0, 0, w, h, m_format.uploadFormat,
                        m_format.uploadType, image.texels.data());
    }
    image.stale = false;
}

unsigned CTextureStorage::Prepare(CGLState& gl) {
    if (!NeedsUpload())
        return m_name;
    if (m_name == 0)
        Allocate(gl);
    if (m_dirtyCount > 0) {
        gl.BindTexture(CGLState::kScratchUnit, GLTarget(), m_name);
        for (UINT face = 0; face < (m_cube ? 6u : 1u); ++face) {
            for (UINT level = 0; level < m_levels; ++level) {
                SImage& image = *Image(face, level);
                if (!image.dirty || image.lockCount > 0)
                    continue;
                Upload(face, level, image);
                image.dirty = false;
                --m_dirtyCount;
            }
        }
    }
    return m_name;
}

void CTextureStorage::MarkRendered(UINT face, UINT level) {
    SImage* image = Image(face, level);
    if (image)
        image->stale = true;
}
