#include "platform/d3dxtex/CDdsFile.h"

#include <bit>
#include <cstring>

#include "platform/d3dxtex/CMipChain.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

namespace {

// Header fields, as offsets from the start of the file (after the magic the
// header is 124 bytes; the pixel format sits at 76 of the file).
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kFlags = 8;
constexpr std::size_t kHeight = 12;
constexpr std::size_t kWidth = 16;
constexpr std::size_t kMipMapCount = 28;
constexpr std::size_t kPixelFormat = 76;
constexpr std::size_t kCaps2 = 112;

// Offsets inside the 32-byte pixel format.
constexpr std::size_t kFormatSize = 0;
constexpr std::size_t kFormatFlags = 4;
constexpr std::size_t kFormatFourCc = 8;
constexpr std::size_t kFormatBitCount = 12;
constexpr std::size_t kFormatRedMask = 16;
constexpr std::size_t kFormatGreenMask = 20;
constexpr std::size_t kFormatBlueMask = 24;
constexpr std::size_t kFormatAlphaMask = 28;

constexpr DWORD DDSD_MIPMAPCOUNT = 0x20000;
constexpr DWORD DDPF_ALPHAPIXELS = 0x1;
constexpr DWORD DDPF_ALPHA = 0x2;
constexpr DWORD DDPF_FOURCC = 0x4;
constexpr DWORD DDPF_RGB = 0x40;
constexpr DWORD DDPF_LUMINANCE = 0x20000;
constexpr DWORD DDSCAPS2_CUBEMAP = 0x200;
constexpr DWORD DDSCAPS2_ALLFACES = 0xFC00;
constexpr DWORD DDSCAPS2_VOLUME = 0x200000;

DWORD ReadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

struct KnownMaskFormat {
    DWORD bits, red, green, blue, alpha;
    D3DFORMAT format;
};

// Mask layouts that have a D3DFORMAT name of their own.
constexpr KnownMaskFormat kKnownMaskFormats[] = {
    {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, D3DFMT_A8R8G8B8},
    {32, 0xFF0000, 0xFF00, 0xFF, 0, D3DFMT_X8R8G8B8},
    {24, 0xFF0000, 0xFF00, 0xFF, 0, D3DFMT_R8G8B8},
    {16, 0xF800, 0x7E0, 0x1F, 0, D3DFMT_R5G6B5},
    {16, 0x7C00, 0x3E0, 0x1F, 0x8000, D3DFMT_A1R5G5B5},
    {16, 0x7C00, 0x3E0, 0x1F, 0, D3DFMT_X1R5G5B5},
    {16, 0xF00, 0xF0, 0xF, 0xF000, D3DFMT_A4R4G4B4},
    {16, 0xF00, 0xF0, 0xF, 0, D3DFMT_X4R4G4B4},
};

}  // namespace

bool CDdsFile::HasSignature(const BYTE* data, std::size_t size) {
    return data != nullptr && size >= 4 && std::memcmp(data, "DDS ", 4) == 0;
}

HRESULT CDdsFile::Parse(const BYTE* data, std::size_t size, UINT maxEdge) {
    if (!HasSignature(data, size) || size < kHeaderBytes || ReadDword(data + kHeaderSize) != 124) {
        return D3DXERR_INVALIDDATA;
    }
    m_data = data;
    m_width = ReadDword(data + kWidth);
    m_height = ReadDword(data + kHeight);
    if (m_width == 0 || m_height == 0) {
        return D3DXERR_INVALIDDATA;
    }
    if (m_width > maxEdge || m_height > maxEdge) {
        return E_OUTOFMEMORY;
    }

    const DWORD caps2 = ReadDword(data + kCaps2);
    if (caps2 & DDSCAPS2_VOLUME) {
        return D3DXERR_INVALIDDATA;  // volume textures are not read
    }
    m_cubeMap = (caps2 & DDSCAPS2_CUBEMAP) != 0;
    if (m_cubeMap && ((caps2 & DDSCAPS2_ALLFACES) != DDSCAPS2_ALLFACES || m_width != m_height)) {
        return D3DXERR_INVALIDDATA;  // a cube map needs six square faces
    }

    const DWORD mipMapCount = ReadDword(data + kMipMapCount);
    m_levelCount = (ReadDword(data + kFlags) & DDSD_MIPMAPCOUNT) && mipMapCount > 0 ? mipMapCount : 1;
    if (m_levelCount > CMipChain::FullLevelCount(m_width, m_height)) {
        return D3DXERR_INVALIDDATA;
    }

    const HRESULT format = ReadPixelFormat(data + kPixelFormat);
    if (FAILED(format)) {
        return format;
    }

    // Every surface must lie inside the buffer. Sizes stay far below 2^64:
    // edges are at most maxEdge (<= 16384 in practice) and levels at most 32.
    m_offsets.clear();
    std::size_t offset = kHeaderBytes;
    for (UINT face = 0; face < FaceCount(); ++face) {
        for (UINT level = 0; level < m_levelCount; ++level) {
            const std::size_t bytes = SurfaceBytes(level);
            if (bytes > size - offset) {
                return D3DXERR_INVALIDDATA;
            }
            m_offsets.push_back(offset);
            offset += bytes;
        }
    }
    return S_OK;
}

HRESULT CDdsFile::ReadPixelFormat(const BYTE* format) {
    if (ReadDword(format + kFormatSize) != 32) {
        return D3DXERR_INVALIDDATA;
    }
    const DWORD flags = ReadDword(format + kFormatFlags);
    if (!(flags & DDPF_FOURCC)) {
        return ReadMaskedFormat(flags, format);
    }
    m_compressed = true;
    m_hasAlpha = true;  // DXT1 may hold transparent texels, DXT3/5 always alpha
    const DWORD fourCc = ReadDword(format + kFormatFourCc);
    if (fourCc == D3DFMT_DXT1) {
        m_dxtKind = CDxtDecoder::Kind::Dxt1;
    } else if (fourCc == D3DFMT_DXT3) {
        m_dxtKind = CDxtDecoder::Kind::Dxt3;
    } else if (fourCc == D3DFMT_DXT5) {
        m_dxtKind = CDxtDecoder::Kind::Dxt5;
    } else {
        return D3DXERR_INVALIDDATA;  // DXT2/4 (premultiplied), DX10 headers, float formats, ...
    }
    m_storedFormat = static_cast<D3DFORMAT>(fourCc);
    return S_OK;
}

HRESULT CDdsFile::ReadMaskedFormat(DWORD flags, const BYTE* format) {
    const DWORD bitCount = ReadDword(format + kFormatBitCount);
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return D3DXERR_INVALIDDATA;
    }
    if (!(flags & (DDPF_RGB | DDPF_LUMINANCE | DDPF_ALPHA))) {
        return D3DXERR_INVALIDDATA;  // palettes, YUV, bump maps
    }
    m_compressed = false;
    m_bytesPerTexel = bitCount / 8;
    m_luminance = (flags & DDPF_LUMINANCE) != 0;
    const bool colour = (flags & (DDPF_RGB | DDPF_LUMINANCE)) != 0;
    const DWORD usable = bitCount == 32 ? 0xFFFFFFFFu : ((1u << bitCount) - 1);
    const DWORD red = colour ? ReadDword(format + kFormatRedMask) : 0;
    const DWORD green = (flags & DDPF_RGB) ? ReadDword(format + kFormatGreenMask) : 0;
    const DWORD blue = (flags & DDPF_RGB) ? ReadDword(format + kFormatBlueMask) : 0;
    const DWORD alpha = (flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) ? ReadDword(format + kFormatAlphaMask) : 0;
    if (((red | green | blue | alpha) & ~usable) != 0 || (red | green | blue | alpha) == 0) {
        return D3DXERR_INVALIDDATA;
    }
    m_red = DescribeMask(red);
    m_green = DescribeMask(green);
    m_blue = DescribeMask(blue);
    m_alpha = DescribeMask(alpha);
    m_hasAlpha = alpha != 0;

    m_storedFormat = m_hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    if (m_luminance) {
        m_storedFormat = m_hasAlpha ? D3DFMT_A8L8 : D3DFMT_L8;
    } else if (!colour) {
        m_storedFormat = D3DFMT_A8;
    }
    for (const KnownMaskFormat& known : kKnownMaskFormats) {
        if (!m_luminance && colour && known.bits == bitCount && known.red == red && known.green == green &&
            known.blue == blue && known.alpha == alpha) {
            m_storedFormat = known.format;
        }
    }
    return S_OK;
}

std::size_t CDdsFile::SurfaceBytes(UINT level) const {
    const UINT width = CMipChain::LevelEdge(m_width, level);
    const UINT height = CMipChain::LevelEdge(m_height, level);
    if (m_compressed) {
        return CDxtDecoder::SurfaceBytes(m_dxtKind, width, height);
    }
    return static_cast<std::size_t>(width) * height * m_bytesPerTexel;
}

CPixelImage CDdsFile::DecodeSurface(UINT face, UINT level) const {
    const BYTE* texels = m_data + m_offsets[static_cast<std::size_t>(face) * m_levelCount + level];
    const UINT width = CMipChain::LevelEdge(m_width, level);
    const UINT height = CMipChain::LevelEdge(m_height, level);
    if (m_compressed) {
        return CDxtDecoder::DecodeSurface(m_dxtKind, texels, width, height);
    }
    return DecodeMasked(texels, width, height);
}

CPixelImage CDdsFile::DecodeMasked(const BYTE* texels, UINT width, UINT height) const {
    CPixelImage image(width, height);
    for (UINT y = 0; y < height; ++y) {
        DWORD* row = image.Row(y);
        for (UINT x = 0; x < width; ++x, texels += m_bytesPerTexel) {
            DWORD value = 0;
            for (UINT i = 0; i < m_bytesPerTexel; ++i) {
                value |= static_cast<DWORD>(texels[i]) << (8 * i);
            }
            const DWORD red = Extract(value, m_red, 0);
            const DWORD green = m_luminance ? red : Extract(value, m_green, 0);
            const DWORD blue = m_luminance ? red : Extract(value, m_blue, 0);
            row[x] = MakeArgb(Extract(value, m_alpha, 255), red, green, blue);
        }
    }
    return image;
}

CDdsFile::ChannelMask CDdsFile::DescribeMask(DWORD mask) {
    if (mask == 0) {
        return {};
    }
    const UINT shift = static_cast<UINT>(std::countr_zero(mask));
    // Only the contiguous run from the lowest set bit counts.
    const UINT bits = static_cast<UINT>(std::countr_one(mask >> shift));
    return {mask, shift, bits};
}

DWORD CDdsFile::Extract(DWORD value, const ChannelMask& channel, DWORD absent) {
    if (channel.bits == 0) {
        return absent;
    }
    const UINT64 maximum = (UINT64{1} << channel.bits) - 1;
    const UINT64 raw = (static_cast<UINT64>(value) >> channel.shift) & maximum;
    if (channel.bits >= 8) {
        return static_cast<DWORD>(raw >> (channel.bits - 8));
    }
    return static_cast<DWORD>((raw * 255 + maximum / 2) / maximum);
}
