#include "platform/text/CGlyphRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kDefaultEmHeight = 16;  // what a logical height of 0 stands for
constexpr int kMaxEmHeight = 2048;    // bigger glyphs would need absurd amounts of memory
// Synthetic italic leans the outline by about 12 degrees (16.16 fixed point).
constexpr FT_Fixed kItalicShear = 0x0366A;

// The design values GDI derives its text metrics from, in font units:
// the OS/2 table's Windows ascent and descent, else the horizontal header's.
struct SDesignMetrics {
    double unitsPerEm = 0;
    double ascent = 0;
    double descent = 0;
    double lineGap = 0;
    double lineAscent = 0;   // hhea ascender
    double lineDescent = 0;  // hhea descender, positive below the baseline
    double averageWidth = 0;
};

SDesignMetrics ReadDesignMetrics(FT_Face face) {
    SDesignMetrics design;
    design.unitsPerEm = face->units_per_EM;
    design.lineAscent = face->ascender;
    design.lineDescent = -face->descender;
    design.lineGap = std::max(0, face->height - face->ascender + face->descender);
    if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
        design.lineAscent = hhea->Ascender;
        design.lineDescent = -hhea->Descender;
        design.lineGap = hhea->Line_Gap;
    }
    design.ascent = design.lineAscent;
    design.descent = design.lineDescent;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        design.ascent = os2->usWinAscent;
        design.descent = os2->usWinDescent;
        design.averageWidth = os2->xAvgCharWidth;
    }
    if (design.ascent + design.descent <= 0) {  // a broken header: assume the em box
        design.ascent = design.unitsPerEm;
        design.descent = 0;
    }
    return design;
}

bool IsBoldFace(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass != 0) {
        return os2->usWeightClass >= 600;
    }
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

bool IsValidTarget(const SGlyphTarget& target) {
    return target.pixels && target.width > 0 && target.height > 0 &&
           (target.bytesPerPixel == 1 || target.bytesPerPixel == 4) &&
           std::abs(static_cast<long long>(target.pitch)) >=
               static_cast<long long>(target.width) * target.bytesPerPixel;
}

void WritePixel(const SGlyphTarget& target, int x, int y, std::uint8_t coverage) {
    auto* row = static_cast<std::uint8_t*>(target.pixels) + static_cast<std::ptrdiff_t>(y) * target.pitch;
    if (target.bytesPerPixel == 1) {
        row[x] = coverage;
        return;
    }
    std::uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * 4;
    pixel[0] = pixel[1] = pixel[2] = coverage;
    pixel[3] = 0;
}

}  // namespace

struct CGlyphRasterizer::SFreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Pos boldStrength = 0;  // 26.6 pixels a synthetic bold widens strokes by

    ~SFreeType() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

// A rendered glyph, valid until the next glyph is loaded.
struct CGlyphRasterizer::SGlyphImage {
    int left = 0;  // from the pen position to the bitmap's left column
    int top = 0;   // from the baseline up to the bitmap's top row
    int width = 0;
    int rows = 0;
    int pitch = 0;
    const unsigned char* topRow = nullptr;
};

CGlyphRasterizer::CGlyphRasterizer() = default;
CGlyphRasterizer::~CGlyphRasterizer() = default;

int CGlyphRasterizer::HeightFromPoints(int points, int dpi) {
    const long long product = static_cast<long long>(points) * dpi;
    const long long rounded = product >= 0 ? (product + 36) / 72 : (product - 36) / 72;
    return -static_cast<int>(rounded);
}

bool CGlyphRasterizer::Create(const SFontRequest& request) {
    std::lock_guard lock(m_mutex);
    SFontFace face;
    if (!CFontResolver::Resolve(request.faceName, request.weight, request.italic, face)) {
        return Fail("No installed font matches \"" + request.faceName + "\".");
    }
    return Load(face, false, request);
}

bool CGlyphRasterizer::CreateFromFile(const std::string& file, int faceIndex, const SFontRequest& request) {
    std::lock_guard lock(m_mutex);
    SFontFace face;
    face.file = file;
    face.index = faceIndex;
    return Load(face, true, request);
}

bool CGlyphRasterizer::Load(const SFontFace& face, bool describeFromFile, const SFontRequest& request) {
    m_freeType.reset();
    auto freeType = std::make_unique<SFreeType>();
    if (FT_Init_FreeType(&freeType->library) != 0) {
        return Fail("The font renderer could not be initialised.");
    }
    if (FT_Error error = FT_New_Face(freeType->library, face.file.c_str(), face.index, &freeType->face)) {
        return Fail("Cannot load the font file \"" + face.file + "\" (FreeType error " + std::to_string(error) + ").");
    }
    FT_Face ftFace = freeType->face;
    if (!FT_IS_SCALABLE(ftFace)) {
        return Fail("The font file \"" + face.file + "\" holds no scalable font.");
    }
    if (!ftFace->charmap && ftFace->num_charmaps > 0) {
        FT_Set_Charmap(ftFace, ftFace->charmaps[0]);  // symbol fonts have no Unicode map
    }
    m_face = face;
    if (describeFromFile) {
        m_face.family = ftFace->family_name ? ftFace->family_name : "";
        m_face.style = ftFace->style_name ? ftFace->style_name : "";
    }
    // The file itself says best whether its face is bold or italic by design.
    m_face.bold = IsBoldFace(ftFace);
    m_face.italic = (ftFace->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    m_syntheticBold = request.weight >= 600 && !m_face.bold;
    m_syntheticItalic = request.italic && !m_face.italic;
    m_freeType = std::move(freeType);
    if (!ApplyHeight(request.height)) {
        return false;
    }
    m_advances.fill(-1);
    ComputeMetrics();
    m_error.clear();
    return true;
}

bool CGlyphRasterizer::Fail(std::string error) {
    m_error = std::move(error);
    m_freeType.reset();
    m_face = SFontFace{};
    m_metrics = STextMetrics{};
    m_syntheticBold = m_syntheticItalic = false;
    return false;
}

// A negative height is the em height; a positive one the cell height, which
// GDI maps to the em height in the ratio of the em to ascent + descent.
bool CGlyphRasterizer::ApplyHeight(int height) {
    const SDesignMetrics design = ReadDesignMetrics(m_freeType->face);
    long long em = kDefaultEmHeight;
    if (height < 0) {
        em = -static_cast<long long>(height);
    } else if (height > 0) {
        em = std::max(1, Round(height * design.unitsPerEm / (design.ascent + design.descent)));
    }
    if (em > kMaxEmHeight) {
        return Fail("The font height " + std::to_string(height) + " is out of range.");
    }
    m_emHeight = static_cast<int>(em);
    if (FT_Set_Pixel_Sizes(m_freeType->face, 0, static_cast<FT_UInt>(m_emHeight)) != 0) {
        return Fail("The font cannot be scaled to a height of " + std::to_string(height) + ".");
    }
    m_freeType->boldStrength = 0;
    m_boldExtra = 0;
    if (m_syntheticBold) {
        // GDI's simulated bold is one pixel wider per character; bigger fonts
        // get proportionally stronger strokes.
        m_freeType->boldStrength = std::max<FT_Pos>(64, m_emHeight * 64 / 24);
        m_boldExtra = std::max(1, static_cast<int>((m_freeType->boldStrength + 32) >> 6));
    }
    return true;
}

void CGlyphRasterizer::ComputeMetrics() {
    const SDesignMetrics design = ReadDesignMetrics(m_freeType->face);
    const double scale = m_emHeight / design.unitsPerEm;
    STextMetrics metrics;
    metrics.ascent = Round(design.ascent * scale);
    metrics.descent = Round(design.descent * scale);
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - m_emHeight);
    const double lineSpan = design.lineAscent + design.lineDescent;
    const double gap = design.lineGap - ((design.ascent + design.descent) - lineSpan);
    metrics.externalLeading = std::max(0, Round(gap * scale));
    metrics.aveCharWidth = design.averageWidth > 0 ? Round(design.averageWidth * scale) + m_boldExtra : AdvanceOf('x');
    metrics.maxCharWidth = Round(m_freeType->face->max_advance_width * scale) + m_boldExtra;
    m_metrics = metrics;
}

bool CGlyphRasterizer::IsCreated() const {
    std::lock_guard lock(m_mutex);
    return m_freeType != nullptr;
}

STextMetrics CGlyphRasterizer::GetTextMetrics() const {
    std::lock_guard lock(m_mutex);
    return m_metrics;
}

SIZE CGlyphRasterizer::GetCharExtent(unsigned char character) const {
    std::lock_guard lock(m_mutex);
    if (!m_freeType) {
        return SIZE{};
    }
    return SIZE{AdvanceOf(character), m_metrics.height};
}

SIZE CGlyphRasterizer::GetTextExtent(std::string_view text) const {
    std::lock_guard lock(m_mutex);
    if (!m_freeType) {
        return SIZE{};
    }
    LONG width = 0;
    for (char c : text) {
        width += AdvanceOf(static_cast<unsigned char>(c));
    }
    return SIZE{width, m_metrics.height};
}

bool CGlyphRasterizer::DrawChar(unsigned char character, int x, int y, const SGlyphTarget& target) const {
    std::lock_guard lock(m_mutex);
    if (!m_freeType || !IsValidTarget(target)) {
        return false;
    }
    // The cell, clipped to the buffer.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right =
        static_cast<int>(std::min<long long>(static_cast<long long>(x) + AdvanceOf(character), target.width));
    const int bottom =
        static_cast<int>(std::min<long long>(static_cast<long long>(y) + m_metrics.height, target.height));
    for (int row = top; row < bottom; ++row) {
        for (int column = left; column < right; ++column) {
            WritePixel(target, column, row, 0);
        }
    }
    SGlyphImage image;
    if (!RenderGlyph(character, image)) {
        return false;
    }
    const long long originX = static_cast<long long>(x) + image.left;
    const long long originY = static_cast<long long>(y) + m_metrics.ascent - image.top;
    for (int row = 0; row < image.rows; ++row) {
        const long long ty = originY + row;
        if (ty < top || ty >= bottom) {
            continue;
        }
        const unsigned char* source = image.topRow + static_cast<std::ptrdiff_t>(row) * image.pitch;
        for (int column = 0; column < image.width; ++column) {
            const long long tx = originX + column;
            if (tx >= left && tx < right && source[column] != 0) {
                WritePixel(target, static_cast<int>(tx), static_cast<int>(ty), source[column]);
            }
        }
    }
    return true;
}

// The advance in whole pixels, the way GDI spaces characters. The caller holds the lock.
int CGlyphRasterizer::AdvanceOf(unsigned char character) const {
    int& cached = m_advances[character];
    if (cached < 0) {
        cached =
            LoadGlyph(character) ? static_cast<int>((m_freeType->face->glyph->advance.x + 32) >> 6) + m_boldExtra : 0;
    }
    return cached;
}

// Loads the hinted outline into the face's glyph slot and applies synthetic
// italic and bold. The caller holds the lock.
bool CGlyphRasterizer::LoadGlyph(unsigned char character) const {
    FT_Face face = m_freeType->face;
    if (FT_Load_Char(face, character, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0 &&
        FT_Load_Glyph(face, 0, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return true;
    }
    if (m_syntheticItalic) {
        FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (m_syntheticBold) {
        // Only horizontally, like GDI's overstrike: horizontal strokes keep their weight.
        FT_Outline_EmboldenXY(&slot->outline, m_freeType->boldStrength, 0);
    }
    return true;
}

bool CGlyphRasterizer::RenderGlyph(unsigned char character, SGlyphImage& image) const {
    if (!LoadGlyph(character)) {
        return false;
    }
    FT_GlyphSlot slot = m_freeType->face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.rows == 0 || bitmap.width == 0) {
        return true;  // a blank: nothing to draw
    }
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256) {
        return false;
    }
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(bitmap.width);
    image.rows = static_cast<int>(bitmap.rows);
    image.pitch = bitmap.pitch;
    // An upward-flowing bitmap stores its bottom row first.
    image.topRow = bitmap.pitch >= 0 ? bitmap.buffer
                                     : bitmap.buffer - static_cast<std::ptrdiff_t>(bitmap.pitch) * (image.rows - 1);
    return true;
}
