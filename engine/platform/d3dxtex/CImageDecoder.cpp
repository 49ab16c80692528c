#include "platform/d3dxtex/CImageDecoder.h"

#include <climits>
#include <cstring>
#include <memory>

#include <stb_image.h>

#include "platform/d3dxtex/CDdsFile.h"
#include "platform/d3dxtex/CJpegMarkerCheck.h"
#include "platform/d3dxtex/CRasterLengthCheck.h"

namespace {

bool StartsWith(const BYTE* data, std::size_t size, const char* magic, std::size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// What a picture's texels are, by its number of channels.
D3DFORMAT StoredFormatFor(int components) {
    switch (components) {
    case 1:
        return D3DFMT_L8;
    case 2:
        return D3DFMT_A8L8;
    case 3:
        return D3DFMT_R8G8B8;
    default:
        return D3DFMT_A8R8G8B8;
    }
}

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

CImageDecoder::CImageDecoder(UINT maxEdge) : m_maxEdge(maxEdge < kMaxEdge ? maxEdge : kMaxEdge) {}

bool CImageDecoder::DetectFormat(const BYTE* data, std::size_t size, D3DXIMAGE_FILEFORMAT& format) {
    if (CDdsFile::HasSignature(data, size)) {
        format = D3DXIFF_DDS;
    } else if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) {
        format = D3DXIFF_PNG;
    } else if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) {
        format = D3DXIFF_JPG;
    } else if (StartsWith(data, size, "BM", 2)) {
        format = D3DXIFF_BMP;
    } else if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) {
        format = D3DXIFF_GIF;
    } else if (LooksLikeTga(data, size)) {
        format = D3DXIFF_TGA;
    } else {
        return false;
    }
    return true;
}

// A TGA file has no signature; its 18-byte header has to make sense instead.
// This also keeps stb_image from guessing at other headerless formats.
bool CImageDecoder::LooksLikeTga(const BYTE* data, std::size_t size) {
    if (size < 18) {
        return false;
    }
    const BYTE colourMapType = data[1];
    const BYTE imageType = data[2];
    const BYTE bitsPerPixel = data[16];
    const bool mapped = imageType == 1 || imageType == 9;
    const bool direct = imageType == 2 || imageType == 3 || imageType == 10 || imageType == 11;
    if (colourMapType > 1 || (!mapped && !direct) || (mapped && colourMapType != 1)) {
        return false;
    }
    const int width = data[12] | (data[13] << 8);
    const int height = data[14] | (data[15] << 8);
    return width > 0 && height > 0 &&
           (bitsPerPixel == 8 || bitsPerPixel == 15 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32);
}

HRESULT CImageDecoder::ReadInfo(const void* data, std::size_t size, CDecodedImage& info) const {
    info = CDecodedImage{};
    const auto* bytes = static_cast<const BYTE*>(data);
    if (bytes == nullptr || size == 0 || !DetectFormat(bytes, size, info.fileFormat)) {
        return D3DXERR_INVALIDDATA;
    }
    if (info.fileFormat == D3DXIFF_DDS) {
        return DecodeDds(bytes, size, false, info);
    }
    // Checks stb_image would need but does not make, before it reads a byte.
    if (info.fileFormat == D3DXIFF_JPG && !CJpegMarkerCheck::HuffmanTablesAreSound(bytes, size)) {
        return D3DXERR_INVALIDDATA;
    }
    StbInfo stb;
    const HRESULT result = ReadStbInfo(bytes, size, stb);
    if (FAILED(result)) {
        return result;
    }
    if (!CRasterLengthCheck::IsComplete(info.fileFormat, bytes, size)) {
        return D3DXERR_INVALIDDATA;
    }
    info.width = static_cast<UINT>(stb.width);
    info.height = static_cast<UINT>(stb.height);
    info.levelCount = 1;
    info.hasAlpha = stb.components == 2 || stb.components == 4;
    info.storedFormat = StoredFormatFor(stb.components);
    return S_OK;
}

HRESULT CImageDecoder::Decode(const void* data, std::size_t size, CDecodedImage& image) const {
    HRESULT result = ReadInfo(data, size, image);
    if (SUCCEEDED(result)) {
        const auto* bytes = static_cast<const BYTE*>(data);
        result = image.fileFormat == D3DXIFF_DDS ? DecodeDds(bytes, size, true, image) : DecodeStb(bytes, size, image);
    }
    if (FAILED(result)) {
        image.surfaces.clear();
    }
    return result;
}

HRESULT CImageDecoder::ReadStbInfo(const BYTE* data, std::size_t size, StbInfo& info) const {
    // stb_image counts bytes in an int.
    if (size > static_cast<std::size_t>(INT_MAX)) {
        return E_OUTOFMEMORY;
    }
    if (!stbi_info_from_memory(data, static_cast<int>(size), &info.width, &info.height, &info.components)) {
        return D3DXERR_INVALIDDATA;
    }
    // stb_image passes on the negative height of a top-down BMP here (its
    // decoder handles the flip).
    if (info.height < 0 && info.height != INT_MIN) {
        info.height = -info.height;
    }
    if (info.width <= 0 || info.height <= 0 || info.components < 1 || info.components > 4) {
        return D3DXERR_INVALIDDATA;
    }
    if (static_cast<UINT>(info.width) > m_maxEdge || static_cast<UINT>(info.height) > m_maxEdge) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CImageDecoder::DecodeStb(const BYTE* data, std::size_t size, CDecodedImage& image) const {
    int width = 0;
    int height = 0;
    int components = 0;
    // Rows top first whatever another part of the program set stb_image's
    // global flip switch to.
    stbi_set_flip_vertically_on_load_thread(0);
    const std::unique_ptr<stbi_uc, StbFree> rgba(
        stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &components, 4));
    if (!rgba) {
        return D3DXERR_INVALIDDATA;
    }
    // The texels must be the size the header promised (and was checked for).
    if (static_cast<UINT>(width) != image.width || static_cast<UINT>(height) != image.height) {
        return D3DXERR_INVALIDDATA;
    }

    // stb_image gives red, green, blue, alpha bytes, alpha 255 where the
    // file has none. A transparency chunk (PNG tRNS) can add alpha that the
    // header did not announce, so the texels have the last word.
    CPixelImage surface(image.width, image.height);
    const stbi_uc* source = rgba.get();
    for (UINT y = 0; y < image.height; ++y) {
        DWORD* row = surface.Row(y);
        for (UINT x = 0; x < image.width; ++x, source += 4) {
            row[x] = MakeArgb(source[3], source[0], source[1], source[2]);
            image.hasAlpha = image.hasAlpha || source[3] != 255;
        }
    }
    image.surfaces.assign(1, {});
    image.surfaces[0].push_back(std::move(surface));
    return S_OK;
}

HRESULT CImageDecoder::DecodeDds(const BYTE* data, std::size_t size, bool texels, CDecodedImage& image) const {
    CDdsFile dds;
    const HRESULT result = dds.Parse(data, size, m_maxEdge);
    if (FAILED(result)) {
        return result;
    }
    image.width = dds.Width();
    image.height = dds.Height();
    image.levelCount = dds.LevelCount();
    image.isCubeMap = dds.IsCubeMap();
    image.hasAlpha = dds.HasAlpha();
    image.storedFormat = dds.StoredFormat();
    if (texels) {
        image.surfaces.assign(dds.FaceCount(), {});
        for (UINT face = 0; face < dds.FaceCount(); ++face) {
            for (UINT level = 0; level < dds.LevelCount(); ++level) {
                image.surfaces[face].push_back(dds.DecodeSurface(face, level));
            }
        }
    }
    return S_OK;
}
