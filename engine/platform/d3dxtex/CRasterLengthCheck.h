#pragma once
// stb_image reads past the end of a truncated BMP or TGA as zeros and
// reports success; a cut-off file would then load as a partly black
// picture. For the uncompressed variants the length the texels need follows
// from the header, so such files can be refused up front. (Run-length and
// other compressed data are checked by their decoders.)

#include <cstddef>

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

class CRasterLengthCheck {
public:
    // False when the file is an uncompressed BMP or TGA shorter than its
    // header says; true otherwise (other formats, compressed data).
    static bool IsComplete(D3DXIMAGE_FILEFORMAT format, const BYTE* data, std::size_t size);

private:
    static bool IsCompleteBmp(const BYTE* data, std::size_t size);
    static bool IsCompleteTga(const BYTE* data, std::size_t size);
};
