#include "core/CD3DFont.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/CEngineLog.h"
#include "platform/text/CGlyphRasterizer.h"

namespace {

// Pre-transformed, coloured, textured vertex of screen text (28 bytes).
struct SFont2DVertex {
    float x, y, z, rhw;
    DWORD color;
    float tu, tv;
};
static_assert(sizeof(SFont2DVertex) == 28);
constexpr DWORD kFont2DFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// World-space vertex of 3D text (32 bytes).
struct SFont3DVertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};
static_assert(sizeof(SFont3DVertex) == 32);
constexpr DWORD kFont3DFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// The vertex buffer serves both kinds of text, so it is sized for the larger.
constexpr UINT kVertexBufferBytes = CD3DFont::kMaxVertices * sizeof(SFont3DVertex);

// Points at the screen's 96 dpi, rounded like MulDiv.
int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// A 4-bit alpha texel of white: the alpha is the top four bits of the glyph's
// coverage, and fully transparent texels stay 0.
WORD AtlasTexel(BYTE coverage) {
    const WORD alpha = static_cast<WORD>(coverage >> 4);
    return alpha > 0 ? static_cast<WORD>((alpha << 12) | 0x0FFF) : WORD{0};
}

void Put2DQuad(SFont2DVertex*& v, float left, float top, float width, float height, DWORD color,
               const std::array<float, 4>& tex, float z = 0.9f, float rhw = 1.0f) {
    // D3D samples pixel centres at integer coordinates: shifting by half a
    // pixel maps each atlas texel onto exactly one screen pixel.
    const float x0 = left - 0.5f, y0 = top - 0.5f;
    const float x1 = left + width - 0.5f, y1 = top + height - 0.5f;
    const float tx1 = tex[0], ty1 = tex[1], tx2 = tex[2], ty2 = tex[3];
    *v++ = {x0, y1, z, rhw, color, tx1, ty2};
    *v++ = {x0, y0, z, rhw, color, tx1, ty1};
    *v++ = {x1, y1, z, rhw, color, tx2, ty2};
    *v++ = {x1, y0, z, rhw, color, tx2, ty1};
    *v++ = {x1, y1, z, rhw, color, tx2, ty2};
    *v++ = {x0, y0, z, rhw, color, tx1, ty1};
}

}  // namespace

CD3DFont::CD3DFont(const char* fontName, DWORD height, DWORD flags) : m_dwFontHeight(height), m_dwFontFlags(flags) {
    if (fontName != nullptr) {
        std::strncpy(m_strFontName, fontName, sizeof(m_strFontName) - 1);
    }
}

CD3DFont::~CD3DFont() {
    InvalidateDeviceObjects();
    DeleteDeviceObjects();
}

bool CD3DFont::Init() {
    PreInit();
    InitDeviceObjects(m_pd3dDevice);
    RestoreDeviceObjects();
    CObjects::Init();
    return true;
}

void CD3DFont::CleanUp() {
    InvalidateDeviceObjects();
    m_pTexture.Reset();
    CObjects::CleanUp();
}

const std::array<float, 4>& CD3DFont::GetTexCoords(char c) const {
    const auto index = static_cast<unsigned char>(c);
    return m_fTexCoords[IsPrintable(index) ? index - kFirstChar : 0];
}

float CD3DFont::LineHeight() const {
    const auto& space = m_fTexCoords[0];
    return (space[3] - space[1]) * static_cast<float>(m_dwTexHeight);
}

// ------------------------------------------------------------ device objects

HRESULT CD3DFont::InitDeviceObjects(IDirect3DDevice8* device) {
    m_pTexture.Reset();
    m_pd3dDevice = device;
    if (device == nullptr) {
        return E_FAIL;
    }

    m_fTextScale = 1.0f;
    m_dwTexWidth = m_dwTexHeight = m_dwFontHeight > 40 ? 1024 : m_dwFontHeight > 20 ? 512 : 256;
    D3DCAPS8 caps{};
    device->GetDeviceCaps(&caps);
    if (m_dwTexWidth > caps.MaxTextureWidth && caps.MaxTextureWidth > 0) {
        // A small card: draw the glyphs smaller into the largest atlas it
        // takes and scale them back up when drawing.
        m_fTextScale = static_cast<float>(caps.MaxTextureWidth) / static_cast<float>(m_dwTexWidth);
        m_dwTexWidth = m_dwTexHeight = caps.MaxTextureWidth;
    }

    const HRESULT created = device->CreateTexture(m_dwTexWidth, m_dwTexHeight, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED,
                                                  m_pTexture.ReleaseAndGetAddressOf());
    if (FAILED(created)) {
        return created;  // the handle stays empty
    }
    return RasteriseAtlas();
}

HRESULT CD3DFont::RasteriseAtlas() {
    CGlyphRasterizer font;
    SFontRequest request;
    request.faceName = m_strFontName;
    request.height =
        -MulDiv(static_cast<int>(m_dwFontHeight), static_cast<int>(CGlyphRasterizer::kScreenDpi * m_fTextScale), 72);
    request.weight = (m_dwFontFlags & D3DFONT_BOLD) != 0 ? 700 : 400;
    request.italic = (m_dwFontFlags & D3DFONT_ITALIC) != 0;
    if (!font.Create(request)) {
        CEngineLog::Instance().Write("CD3DFont::InitDeviceObjects => unable to create the font %s: %s\n", m_strFontName,
                                     font.GetError().c_str());
        return E_FAIL;
    }

    // White text on black in a 32-bit top-down bitmap, as GDI would leave it.
    const int width = static_cast<int>(m_dwTexWidth);
    const int height = static_cast<int>(m_dwTexHeight);
    std::vector<DWORD> bitmap(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const SGlyphTarget target{bitmap.data(), width, height, width * 4, 4};

    int x = 0;
    int y = 0;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        const SIZE cell = font.GetCharExtent(static_cast<unsigned char>(c));
        if (x + cell.cx + 1 > width) {
            x = 0;
            y += cell.cy + 1;
        }
        font.DrawChar(static_cast<unsigned char>(c), x, y, target);
        m_fTexCoords[static_cast<size_t>(c - kFirstChar)] = {
            static_cast<float>(x) / static_cast<float>(width), static_cast<float>(y) / static_cast<float>(height),
            static_cast<float>(x + cell.cx) / static_cast<float>(width),
            static_cast<float>(y + cell.cy) / static_cast<float>(height)};
        x += cell.cx + 1;
    }

    D3DLOCKED_RECT locked{};
    if (FAILED(m_pTexture->LockRect(0, &locked, nullptr, 0))) {
        return E_FAIL;
    }
    auto* rows = static_cast<BYTE*>(locked.pBits);
    for (int row = 0; row < height; ++row) {
        auto* texels = reinterpret_cast<WORD*>(rows + static_cast<ptrdiff_t>(row) * locked.Pitch);
        const DWORD* pixels = bitmap.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
        for (int column = 0; column < width; ++column) {
            texels[column] = AtlasTexel(static_cast<BYTE>(pixels[column] & 0xFF));
        }
    }
    m_pTexture->UnlockRect(0);
    return S_OK;
}

HRESULT CD3DFont::RestoreDeviceObjects() {
    if (m_pd3dDevice == nullptr) {
        return E_FAIL;
    }
    InvalidateDeviceObjects();
    const HRESULT created = m_pd3dDevice->CreateVertexBuffer(kVertexBufferBytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC,
                                                             0, D3DPOOL_DEFAULT, m_pVB.ReleaseAndGetAddressOf());
    if (FAILED(created)) {
        return created;  // the handle stays empty
    }
    // The same recording twice: the first block is captured over with the
    // caller's state before drawing, the second sets the drawing state.
    RecordStateBlock(m_dwSavedStateBlock);
    RecordStateBlock(m_dwDrawTextStateBlock);
    return S_OK;
}

void CD3DFont::RecordStateBlock(DWORD& token) {
    IDirect3DDevice8* d = m_pd3dDevice;
    d->BeginStateBlock();
    d->SetTexture(0, m_pTexture.Get());
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAREF, 0x08);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRS_ZENABLE, FALSE);
    d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    d->SetRenderState(D3DRS_CLIPPING, TRUE);
    d->SetRenderState(D3DRS_EDGEANTIALIAS, FALSE);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, FALSE);
    d->SetRenderState(D3DRS_VERTEXBLEND, FALSE);
    d->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    d->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    // Text goes through the stage cascade even after an object drew with a
    // pixel shader; the saved block gives the caller's shader back.
    d->SetPixelShader(0);
    d->EndStateBlock(&token);
}

HRESULT CD3DFont::InvalidateDeviceObjects() {
    m_pVB.Reset();
    if (m_pd3dDevice != nullptr) {
        if (m_dwSavedStateBlock != 0) {
            m_pd3dDevice->DeleteStateBlock(m_dwSavedStateBlock);
        }
        if (m_dwDrawTextStateBlock != 0) {
            m_pd3dDevice->DeleteStateBlock(m_dwDrawTextStateBlock);
        }
    }
    m_dwSavedStateBlock = 0;
    m_dwDrawTextStateBlock = 0;
    return S_OK;
}

HRESULT CD3DFont::DeleteDeviceObjects() {
    m_pTexture.Reset();
    m_pd3dDevice = nullptr;
    return S_OK;
}

// ---------------------------------------------------------------- measuring

HRESULT CD3DFont::GetTextExtent(const char* text, SIZE* size) {
    if (text == nullptr || size == nullptr) {
        return E_FAIL;
    }
    const float rowHeight = LineHeight();
    float rowWidth = 0.0f;
    float width = 0.0f;
    float height = rowHeight;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            rowWidth = 0.0f;
            height += rowHeight;
        }
        if (!IsPrintable(c)) {
            continue;
        }
        const auto& tex = m_fTexCoords[c - kFirstChar];
        rowWidth += (tex[2] - tex[0]) * static_cast<float>(m_dwTexWidth);
        width = std::max(width, rowWidth);
    }
    size->cx = static_cast<LONG>(width);
    size->cy = static_cast<LONG>(height);
    return S_OK;
}

// ----------------------------------------------------------------- drawing

bool CD3DFont::FlushBatch(UINT& triangles, BYTE*& data) {
    m_pVB->Unlock();
    m_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
    triangles = 0;
    return SUCCEEDED(m_pVB->Lock(0, 0, &data, D3DLOCK_DISCARD));
}

// Captures the caller's states, then sets the text states, the vertex format
// and the stream; EndTextDraw gives the caller's states back.
void CD3DFont::BeginTextDraw(DWORD fvf, UINT stride, DWORD flags) {
    m_pd3dDevice->CaptureStateBlock(m_dwSavedStateBlock);
    m_pd3dDevice->ApplyStateBlock(m_dwDrawTextStateBlock);
    m_pd3dDevice->SetVertexShader(fvf);
    m_pd3dDevice->SetStreamSource(0, m_pVB.Get(), stride);
    if ((flags & D3DFONT_FILTERED) != 0) {
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    }
}

HRESULT CD3DFont::EndTextDraw(HRESULT result) {
    m_pd3dDevice->ApplyStateBlock(m_dwSavedStateBlock);
    return result;
}

// Fills the vertex buffer glyph by glyph and draws it whenever it is full.
// newLine moves the pen to the next line; writeGlyph writes the quad of a
// printable character (or nothing), advances the pen and returns the
// triangles it wrote.
template <class TVertex, class FNewLine, class FWriteGlyph>
HRESULT CD3DFont::DrawGlyphs(const char* text, FNewLine newLine, FWriteGlyph writeGlyph) {
    BYTE* data = nullptr;
    if (FAILED(m_pVB->Lock(0, 0, &data, D3DLOCK_DISCARD))) {
        return E_FAIL;
    }
    auto* vertices = reinterpret_cast<TVertex*>(data);
    UINT triangles = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            newLine();
            continue;
        }
        // Control characters, and bytes above '~' that have no place in the
        // atlas, draw nothing and take no space.
        if (!IsPrintable(c)) {
            continue;
        }
        triangles += writeGlyph(c, m_fTexCoords[c - kFirstChar], vertices);
        if (triangles * 3 > kMaxVertices - 6) {
            if (!FlushBatch(triangles, data)) {
                return E_FAIL;
            }
            vertices = reinterpret_cast<TVertex*>(data);
        }
    }
    m_pVB->Unlock();
    if (triangles > 0) {
        m_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
    }
    return S_OK;
}

HRESULT CD3DFont::DrawTextA(float x, float y, DWORD color, const char* text, DWORD flags) {
    if (m_pd3dDevice == nullptr || !m_pVB || text == nullptr) {
        return E_FAIL;
    }
    BeginTextDraw(kFont2DFvf, sizeof(SFont2DVertex), flags);
    const float startX = x;
    const auto newLine = [&] {
        x = startX;
        y += LineHeight();
    };
    const auto writeGlyph = [&](unsigned char, const std::array<float, 4>& tex, SFont2DVertex*& vertices) {
        const float w = (tex[2] - tex[0]) * static_cast<float>(m_dwTexWidth) / m_fTextScale;
        const float h = (tex[3] - tex[1]) * static_cast<float>(m_dwTexHeight) / m_fTextScale;
        Put2DQuad(vertices, x, y, w, h, color, tex);
        x += w;
        return 2u;
    };
    return EndTextDraw(DrawGlyphs<SFont2DVertex>(text, newLine, writeGlyph));
}

HRESULT CD3DFont::DrawTextScaled(float x, float y, float z, float xScale, float yScale, DWORD color, const char* text,
                                 DWORD flags) {
    if (m_pd3dDevice == nullptr || !m_pVB || text == nullptr) {
        return E_FAIL;
    }
    BeginTextDraw(kFont2DFvf, sizeof(SFont2DVertex), flags);
    D3DVIEWPORT8 viewport{};
    m_pd3dDevice->GetViewport(&viewport);
    const float viewWidth = static_cast<float>(viewport.Width);
    const float viewHeight = static_cast<float>(viewport.Height);
    float sx = (x + 1.0f) * viewWidth / 2.0f;
    float sy = (y - 1.0f) * viewHeight / 2.0f;
    const float startX = sx;
    const float lineHeight = LineHeight();

    const auto newLine = [&] {
        sx = startX;
        sy += yScale * viewHeight;
    };
    const auto writeGlyph = [&](unsigned char, const std::array<float, 4>& tex, SFont2DVertex*& vertices) {
        float w = (tex[2] - tex[0]) * static_cast<float>(m_dwTexWidth);
        float h = (tex[3] - tex[1]) * static_cast<float>(m_dwTexHeight);
        if (lineHeight > 0.0f) {
            w *= xScale * viewHeight / lineHeight;
            h *= yScale * viewHeight / lineHeight;
        }
        Put2DQuad(vertices, sx, sy, w, h, color, tex, z, 1.0f);
        sx += w;
        return 2u;
    };
    return EndTextDraw(DrawGlyphs<SFont2DVertex>(text, newLine, writeGlyph));
}

HRESULT CD3DFont::Render3DText(const char* text, DWORD flags) {
    if (m_pd3dDevice == nullptr || !m_pVB || text == nullptr) {
        return E_FAIL;
    }
    BeginTextDraw(kFont3DFvf, sizeof(SFont3DVertex), flags);
    // 0.1 world units per atlas pixel.
    float x = 0.0f;
    float y = 0.0f;
    if ((flags & D3DFONT_CENTERED) != 0) {
        SIZE extent{};
        GetTextExtent(text, &extent);
        x = -(static_cast<float>(extent.cx) / 10.0f) / 2.0f;
        y = -(static_cast<float>(extent.cy) / 10.0f) / 2.0f;
    }
    if ((flags & D3DFONT_TWOSIDED) != 0) {
        m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }
    const float startX = x;

    const auto newLine = [&] {
        x = startX;
        y -= LineHeight() / 10.0f;
    };
    const auto writeGlyph = [&](unsigned char c, const std::array<float, 4>& tex, SFont3DVertex*& v) {
        const float tx1 = tex[0], ty1 = tex[1], tx2 = tex[2], ty2 = tex[3];
        const float w = (tx2 - tx1) * static_cast<float>(m_dwTexWidth) / (10.0f * m_fTextScale);
        const float h = (ty2 - ty1) * static_cast<float>(m_dwTexHeight) / (10.0f * m_fTextScale);
        const float left = x;
        x += w;
        if (c == ' ') {
            return 0u;  // a space only moves the pen
        }
        *v++ = {left, y, 0.0f, 0.0f, 0.0f, -1.0f, tx1, ty2};
        *v++ = {left, y + h, 0.0f, 0.0f, 0.0f, -1.0f, tx1, ty1};
        *v++ = {left + w, y, 0.0f, 0.0f, 0.0f, -1.0f, tx2, ty2};
        *v++ = {left + w, y + h, 0.0f, 0.0f, 0.0f, -1.0f, tx2, ty1};
        *v++ = {left + w, y, 0.0f, 0.0f, 0.0f, -1.0f, tx2, ty2};
        *v++ = {left, y + h, 0.0f, 0.0f, 0.0f, -1.0f, tx1, ty1};
        return 2u;
    };
    return EndTextDraw(DrawGlyphs<SFont3DVertex>(text, newLine, writeGlyph));
}
