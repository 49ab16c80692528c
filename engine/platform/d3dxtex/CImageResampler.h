#pragma once
// Scales an image to another size with one of D3DX's image filters.
//   NONE      no scaling: the image is copied into the top-left corner,
//             cropped or padded with transparent black;
//   POINT     nearest texel;
//   LINEAR, TRIANGLE  tent filter;  BOX  area average (stb_image_resize).
// Colour and alpha are filtered independently, as D3DX does (no
// premultiplication, so the colour of transparent texels survives). The
// MIRROR and DITHER modifiers are accepted; filters clamp at the edges, and
// dithering has nothing to do between 8-bit channels.

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CPixelImage.h"

class CImageResampler {
public:
    // True for D3DX_DEFAULT or one filter in the low 16 bits with only the
    // MIRROR and DITHER bits above.
    static bool IsValidFilter(DWORD filter);

    // `filter` must be valid; D3DX_DEFAULT means TRIANGLE.
    static CPixelImage Resize(const CPixelImage& source, UINT width, UINT height, DWORD filter);

private:
    static CPixelImage CopyUnscaled(const CPixelImage& source, UINT width, UINT height);
    static CPixelImage PickNearest(const CPixelImage& source, UINT width, UINT height);
    static CPixelImage Filter(const CPixelImage& source, UINT width, UINT height, bool box);
};
