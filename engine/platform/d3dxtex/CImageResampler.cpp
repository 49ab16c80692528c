#include "platform/d3dxtex/CImageResampler.h"

#include <algorithm>
#include <new>

#include <stb_image_resize.h>

#include "platform/d3dxtex/d3dx8texdefs.h"

bool CImageResampler::IsValidFilter(DWORD filter) {
    if (filter == D3DX_DEFAULT) {
        return true;
    }
    const DWORD kind = filter & 0xFFFF;
    const DWORD modifiers = filter & ~0xFFFFu;
    return kind >= D3DX_FILTER_NONE && kind <= D3DX_FILTER_BOX &&
           (modifiers & ~(D3DX_FILTER_MIRROR | D3DX_FILTER_DITHER)) == 0;
}

CPixelImage CImageResampler::Resize(const CPixelImage& source, UINT width, UINT height, DWORD filter) {
    if (source.Width() == width && source.Height() == height) {
        return source;
    }
    const DWORD kind = filter == D3DX_DEFAULT ? D3DX_FILTER_TRIANGLE : (filter & 0xFFFF);
    switch (kind) {
    case D3DX_FILTER_NONE:
        return CopyUnscaled(source, width, height);
    case D3DX_FILTER_POINT:
        return PickNearest(source, width, height);
    case D3DX_FILTER_BOX:
        return Filter(source, width, height, true);
    default:
        return Filter(source, width, height, false);
    }
}

CPixelImage CImageResampler::CopyUnscaled(const CPixelImage& source, UINT width, UINT height) {
    CPixelImage result(width, height);
    const UINT copyWidth = std::min(width, source.Width());
    const UINT copyHeight = std::min(height, source.Height());
    for (UINT y = 0; y < copyHeight; ++y) {
        std::copy_n(source.Row(y), copyWidth, result.Row(y));
    }
    return result;
}

CPixelImage CImageResampler::PickNearest(const CPixelImage& source, UINT width, UINT height) {
    CPixelImage result(width, height);
    for (UINT y = 0; y < height; ++y) {
        // Texel centres: destination centre (y + 0.5) maps to source row
        // (y + 0.5) * sourceHeight / height.
        const UINT sy =
            static_cast<UINT>((2 * static_cast<UINT64>(y) + 1) * source.Height() / (2 * static_cast<UINT64>(height)));
        for (UINT x = 0; x < width; ++x) {
            const UINT sx =
                static_cast<UINT>((2 * static_cast<UINT64>(x) + 1) * source.Width() / (2 * static_cast<UINT64>(width)));
            result.Set(x, y, source.At(sx, sy));
        }
    }
    return result;
}

CPixelImage CImageResampler::Filter(const CPixelImage& source, UINT width, UINT height, bool box) {
    CPixelImage result(width, height);
    const stbir_filter filter = box ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
    const int sourceStride = static_cast<int>(source.Width() * sizeof(DWORD));
    const int resultStride = static_cast<int>(width * sizeof(DWORD));
    const int ok = stbir_resize_uint8_generic(
        reinterpret_cast<const unsigned char*>(source.Row(0)), static_cast<int>(source.Width()),
        static_cast<int>(source.Height()), sourceStride, reinterpret_cast<unsigned char*>(result.Row(0)),
        static_cast<int>(width), static_cast<int>(height), resultStride, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
        STBIR_EDGE_CLAMP, filter, STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) {
        throw std::bad_alloc();  // its only failure is a failed allocation
    }
    return result;
}
