#pragma once
// Decodes image files held in memory: BMP, PNG, JPEG, TGA and GIF (first
// frame) through stb_image, DDS through CDdsFile. Every
// input is treated as hostile: the type is recognised from the leading bytes
// (TGA, which has none, from a plausible header), so stb_image never guesses
// at other formats; the dimensions are read and checked before any texel is
// decoded; nothing larger than the caller's edge limit is allocated; and the
// faults of stb_image 2.27 that crafted files reach are headed off
// (CJpegMarkerCheck, CRasterLengthCheck). Its PNM reader (PPM/PGM) overflows
// on crafted headers and its PSD reader converts out-of-range floats, so
// those formats are not read.

#include <cstddef>

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CDecodedImage.h"

class CImageDecoder {
public:
    // Largest edge accepted whatever the device allows.
    static constexpr UINT kMaxEdge = 16384;

    explicit CImageDecoder(UINT maxEdge = kMaxEdge);

    // Tells the file's type and size without decoding texels: S_OK,
    // D3DXERR_INVALIDDATA (damaged, unknown type) or E_OUTOFMEMORY (an edge
    // above the limit). For DDS files the whole layout is validated.
    HRESULT ReadInfo(const void* data, std::size_t size, CDecodedImage& info) const;

    // Decodes every surface. Same results as ReadInfo; on failure `image`
    // holds no surfaces.
    HRESULT Decode(const void* data, std::size_t size, CDecodedImage& image) const;

private:
    struct StbInfo {
        int width = 0;
        int height = 0;
        int components = 0;
    };

    static bool DetectFormat(const BYTE* data, std::size_t size, D3DXIMAGE_FILEFORMAT& format);
    static bool LooksLikeTga(const BYTE* data, std::size_t size);
    HRESULT ReadStbInfo(const BYTE* data, std::size_t size, StbInfo& info) const;
    HRESULT DecodeStb(const BYTE* data, std::size_t size, CDecodedImage& image) const;
    HRESULT DecodeDds(const BYTE* data, std::size_t size, bool texels, CDecodedImage& image) const;

    UINT m_maxEdge;
};
