#pragma once
// Screen-space text for the engine's overlay (version banner, frame rate,
// message lines): the printable ASCII characters are rasterised once into a
// texture atlas, and each drawn character is a textured quad of
// pre-transformed vertices. The font is a registered object, so a device
// reset releases and rebuilds its device objects with everything else.
//
//   CD3DFont font("Arial", 12, D3DFONT_BOLD);
//   font.Init();                                  // render thread, device exists
//   font.DrawTextA(2.0f, 0.0f, 0xC8FFFFFF, "Hello", 0);

#include <array>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "scene/CObjects.h"

// Creation flags.
constexpr DWORD D3DFONT_BOLD = 0x0001;
constexpr DWORD D3DFONT_ITALIC = 0x0002;
// Drawing flags.
constexpr DWORD D3DFONT_CENTERED = 0x0001;
constexpr DWORD D3DFONT_TWOSIDED = 0x0002;
constexpr DWORD D3DFONT_FILTERED = 0x0004;

class CD3DFont : public CObjects {
public:
    static constexpr char kFirstChar = 32;   // space
    static constexpr char kLastChar = 126;   // '~'
    static constexpr UINT kBatchChars = 50;  // characters per vertex-buffer fill
    static constexpr UINT kMaxVertices = kBatchChars * 6;

    CD3DFont(const char* fontName, DWORD height, DWORD flags = 0);
    ~CD3DFont() override;
    CD3DFont(const CD3DFont&) = delete;
    CD3DFont& operator=(const CD3DFont&) = delete;

    // Builds the atlas and the device objects and registers with the screen.
    bool Init() override;
    // Releases the device objects and unregisters.
    void CleanUp() override;

    // Text with the top left of its first character at pixel (x, y).
    HRESULT DrawTextA(float x, float y, DWORD color, const char* text, DWORD flags = 0);
    // Position in viewport units (-1 .. 1); glyphs scaled by the viewport
    // height and the scale factors.
    HRESULT DrawTextScaled(float x, float y, float z, float xScale, float yScale, DWORD color, const char* text,
                           DWORD flags = 0);
    // Text as quads in world space, 0.1 units per atlas pixel.
    HRESULT Render3DText(const char* text, DWORD flags = 0);
    // Width of the widest line and total height, in pixels.
    HRESULT GetTextExtent(const char* text, SIZE* size);

    DWORD GetTextureWidth() const { return m_dwTexWidth; }
    DWORD GetTextureHeight() const { return m_dwTexHeight; }
    float GetTextScale() const { return m_fTextScale; }
    IDirect3DTexture8* GetTexture() const { return m_pTexture.Get(); }
    // Atlas coordinates (left, top, right, bottom) of a printable character.
    const std::array<float, 4>& GetTexCoords(char c) const;

protected:
    HRESULT InitDeviceObjects(IDirect3DDevice8* device);
    HRESULT RestoreDeviceObjects();
    HRESULT InvalidateDeviceObjects();
    HRESULT DeleteDeviceObjects();

private:
    static bool IsPrintable(unsigned char c) { return c >= kFirstChar && c <= kLastChar; }
    HRESULT RasteriseAtlas();
    void RecordStateBlock(DWORD& token);
    void BeginTextDraw(DWORD fvf, UINT stride, DWORD flags);
    HRESULT EndTextDraw(HRESULT result);
    template <class TVertex, class FNewLine, class FWriteGlyph>
    HRESULT DrawGlyphs(const char* text, FNewLine newLine, FWriteGlyph writeGlyph);
    // Draws the full buffer and locks it again (discarding); false when the
    // buffer cannot be locked again.
    bool FlushBatch(UINT& triangles, BYTE*& data);
    float LineHeight() const;

    char m_strFontName[80 + 1] = {};
    DWORD m_dwFontHeight;
    DWORD m_dwFontFlags;
    CDeviceHandle<IDirect3DTexture8> m_pTexture;
    CDeviceHandle<IDirect3DVertexBuffer8> m_pVB;
    DWORD m_dwTexWidth = 0;
    DWORD m_dwTexHeight = 0;
    float m_fTextScale = 1.0f;
    std::array<std::array<float, 4>, kLastChar - kFirstChar + 1> m_fTexCoords{};
    DWORD m_dwSavedStateBlock = 0;
    DWORD m_dwDrawTextStateBlock = 0;
};
