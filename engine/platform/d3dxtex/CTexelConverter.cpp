#include "platform/d3dxtex/CTexelConverter.h"

#include "platform/d3dxtex/CPixelImage.h"

namespace {

// An 8-bit channel reduced to `bits` bits, rounded to the nearest level.
DWORD Narrow(DWORD value, UINT bits) {
    const DWORD maximum = (1u << bits) - 1;
    return (value * maximum + 127) / 255;
}

// A `bits`-bit channel widened to 8 bits (full intensity stays 255).
DWORD Widen(DWORD value, UINT bits) {
    const DWORD maximum = (1u << bits) - 1;
    return (value * 255 + maximum / 2) / maximum;
}

// Rec. 709 luminance, the weights D3DX uses for L8.
DWORD Luminance(DWORD argb) {
    return (2125 * RedOf(argb) + 7154 * GreenOf(argb) + 721 * BlueOf(argb) + 5000) / 10000;
}

}  // namespace

bool CTexelConverter::IsSupported(D3DFORMAT format) {
    return BytesPerTexel(format) != 0;
}

UINT CTexelConverter::BytesPerTexel(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8L8:
        return 2;
    case D3DFMT_A8:
    case D3DFMT_L8:
        return 1;
    default:
        return 0;
    }
}

bool CTexelConverter::HasAlpha(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4 || format == D3DFMT_A8 ||
           format == D3DFMT_A8L8;
}

DWORD CTexelConverter::Pack(DWORD argb, D3DFORMAT format) {
    const DWORD a = AlphaOf(argb), r = RedOf(argb), g = GreenOf(argb), b = BlueOf(argb);
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return argb;
    case D3DFMT_X8R8G8B8:
        return argb | 0xFF000000u;
    case D3DFMT_R8G8B8:
        return argb & 0x00FFFFFFu;
    case D3DFMT_R5G6B5:
        return (Narrow(r, 5) << 11) | (Narrow(g, 6) << 5) | Narrow(b, 5);
    case D3DFMT_X1R5G5B5:
        return 0x8000u | (Narrow(r, 5) << 10) | (Narrow(g, 5) << 5) | Narrow(b, 5);
    case D3DFMT_A1R5G5B5:
        return ((a >= 128 ? 1u : 0u) << 15) | (Narrow(r, 5) << 10) | (Narrow(g, 5) << 5) | Narrow(b, 5);
    case D3DFMT_A4R4G4B4:
        return (Narrow(a, 4) << 12) | (Narrow(r, 4) << 8) | (Narrow(g, 4) << 4) | Narrow(b, 4);
    case D3DFMT_X4R4G4B4:
        return 0xF000u | (Narrow(r, 4) << 8) | (Narrow(g, 4) << 4) | Narrow(b, 4);
    case D3DFMT_A8:
        return a;
    case D3DFMT_L8:
        return Luminance(argb);
    case D3DFMT_A8L8:
        return (a << 8) | Luminance(argb);
    default:
        return 0;
    }
}

DWORD CTexelConverter::Unpack(DWORD p, D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return p;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R8G8B8:
        return p | 0xFF000000u;
    case D3DFMT_R5G6B5:
        return MakeArgb(255, Widen(p >> 11, 5), Widen((p >> 5) & 0x3F, 6), Widen(p & 0x1F, 5));
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: {
        const DWORD alpha = format == D3DFMT_X1R5G5B5 || (p & 0x8000u) ? 255u : 0u;
        return MakeArgb(alpha, Widen((p >> 10) & 0x1F, 5), Widen((p >> 5) & 0x1F, 5), Widen(p & 0x1F, 5));
    }
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: {
        const DWORD alpha = format == D3DFMT_X4R4G4B4 ? 255u : Widen(p >> 12, 4);
        return MakeArgb(alpha, Widen((p >> 8) & 0xF, 4), Widen((p >> 4) & 0xF, 4), Widen(p & 0xF, 4));
    }
    case D3DFMT_A8:
        return MakeArgb(p & 0xFF, 0, 0, 0);
    case D3DFMT_L8:
        return MakeArgb(255, p & 0xFF, p & 0xFF, p & 0xFF);
    case D3DFMT_A8L8:
        return MakeArgb(p >> 8, p & 0xFF, p & 0xFF, p & 0xFF);
    default:
        return 0;
    }
}

void CTexelConverter::WriteRow(const DWORD* argb, UINT count, D3DFORMAT format, BYTE* destination) {
    const UINT bytes = BytesPerTexel(format);
    for (UINT i = 0; i < count; ++i) {
        const DWORD packed = Pack(argb[i], format);
        for (UINT b = 0; b < bytes; ++b) {
            *destination++ = static_cast<BYTE>(packed >> (8 * b));  // little-endian, as in D3D
        }
    }
}

void CTexelConverter::ReadRow(const BYTE* source, UINT count, D3DFORMAT format, DWORD* argb) {
    const UINT bytes = BytesPerTexel(format);
    for (UINT i = 0; i < count; ++i) {
        DWORD packed = 0;
        for (UINT b = 0; b < bytes; ++b) {
            packed |= static_cast<DWORD>(*source++) << (8 * b);
        }
        argb[i] = Unpack(packed, format);
    }
}
