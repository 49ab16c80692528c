#include "platform/d3dxtex/CPixelImage.h"

CPixelImage::CPixelImage(UINT width, UINT height, DWORD fill)
    : m_width(width), m_height(height), m_texels(static_cast<std::size_t>(width) * height, fill) {}
