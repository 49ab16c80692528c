#pragma once
// Renders the characters of an installed font the way GDI does for the
// engine's overlay font and the font importer: a font is asked for by face
// name, logical height, weight and italic flag (like CreateFont); characters
// are measured as text cells (advance width × font height) and drawn
// antialiased, opaquely, with the top left of the cell at the given point.
//
//   CGlyphRasterizer font;
//   if (!font.Create({"Arial", CGlyphRasterizer::HeightFromPoints(12, 96), 700, false}))
//       report(font.GetError());
//   SIZE cell = font.GetCharExtent('A');          // GetTextExtentPoint32 of "A"
//   font.DrawChar('A', x, y, {pixels, w, h, pitch, 1});
//
// Built on fontconfig (face choice) and FreeType (outlines, hinting,
// antialiasing). Every call on one instance is serialised; each instance has
// its own FreeType library, so instances on different threads are independent.

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/text/CFontResolver.h"

struct SFontRequest {
    std::string faceName = "Arial";
    // GDI logical height: negative = character (em) height in pixels, as
    // −points × dpi / 72 gives it; positive = cell height (ascent + descent);
    // 0 = a default of 16 pixels em height.
    int height = -16;
    int weight = 400;  // 700 bold; 600 and more count as bold
    bool italic = false;
};

// What GDI's TEXTMETRIC holds for the font, in pixels.
struct STextMetrics {
    int height = 0;           // ascent + descent: the height of every text cell
    int ascent = 0;           // above the baseline
    int descent = 0;          // below the baseline
    int internalLeading = 0;  // height − em height (room for accents)
    int externalLeading = 0;  // extra space the font suggests between lines
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

// A caller's pixel buffer. Row 0 is the top row; pitch is the byte offset from
// one row to the next below it (negative for bottom-up bitmaps, with pixels
// pointing at the top row). bytesPerPixel is 1 (coverage) or 4 (grey B, G, R
// bytes of the coverage and a zero fourth byte, as GDI leaves a DIB).
struct SGlyphTarget {
    void* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bytesPerPixel = 1;
};

class CGlyphRasterizer {
public:
    static constexpr int kScreenDpi = 96;  // what a Windows screen reports as LOGPIXELSY

    CGlyphRasterizer();
    ~CGlyphRasterizer();
    CGlyphRasterizer(const CGlyphRasterizer&) = delete;
    CGlyphRasterizer& operator=(const CGlyphRasterizer&) = delete;

    // −MulDiv(points, dpi, 72): the logical height of a point size.
    static int HeightFromPoints(int points, int dpi = kScreenDpi);

    // Resolves the face through fontconfig and loads it. Bold and italic come
    // from the matching face when the family has one, otherwise they are
    // synthesised (emboldened or sheared outlines). False with GetError() set
    // when no font can be found or loaded; a previous font is released.
    bool Create(const SFontRequest& request);
    // The same with a given font file (request.faceName is unused); a file
    // that is missing or not a scalable font is refused.
    bool CreateFromFile(const std::string& file, int faceIndex, const SFontRequest& request);

    bool IsCreated() const;
    const std::string& GetError() const { return m_error; }
    // The face that was picked (its file, family and style).
    const SFontFace& GetFace() const { return m_face; }
    bool IsBoldSynthesized() const { return m_syntheticBold; }
    bool IsItalicSynthesized() const { return m_syntheticItalic; }

    // All sizes are zero while no font is created. Characters are bytes
    // taken as Latin-1 code points.
    STextMetrics GetTextMetrics() const;
    // The cell of one character: advance width in whole pixels × font height.
    SIZE GetCharExtent(unsigned char character) const;
    // GetTextExtentPoint32: the sum of the advances (no kerning) × font height.
    SIZE GetTextExtent(std::string_view text) const;

    // Fills the character's cell, with (x, y) its top left, with 0 and draws
    // the glyph's coverage (0..255) into it. Nothing outside the cell or the
    // buffer is written. False for an invalid target or when no font is created.
    bool DrawChar(unsigned char character, int x, int y, const SGlyphTarget& target) const;

private:
    struct SFreeType;
    struct SGlyphImage;

    bool Load(const SFontFace& face, bool describeFromFile, const SFontRequest& request);
    bool Fail(std::string error);
    bool ApplyHeight(int height);
    void ComputeMetrics();
    int AdvanceOf(unsigned char character) const;
    bool LoadGlyph(unsigned char character) const;
    bool RenderGlyph(unsigned char character, SGlyphImage& image) const;

    mutable std::mutex m_mutex;
    std::unique_ptr<SFreeType> m_freeType;
    SFontFace m_face;
    std::string m_error;
    bool m_syntheticBold = false;
    bool m_syntheticItalic = false;
    int m_emHeight = 0;
    int m_boldExtra = 0;  // pixels a synthetic bold adds to every advance
    STextMetrics m_metrics;
    mutable std::array<int, 256> m_advances{};  // cached advances; −1 = not yet measured
};
