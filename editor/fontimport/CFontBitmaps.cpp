#include "fontimport/CFontBitmaps.h"

#include "platform/text/CGlyphRasterizer.h"

namespace {

constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;

std::uint8_t Blend(std::uint8_t background, std::uint8_t foreground, std::uint8_t coverage) {
    const int mixed = background * (255 - coverage) + foreground * coverage;
    return static_cast<std::uint8_t>((mixed + 127) / 255);
}

void AppendRgba(std::vector<std::uint8_t>& pixels, SRgbColor color, std::uint8_t alpha) {
    pixels.push_back(color.red);
    pixels.push_back(color.green);
    pixels.push_back(color.blue);
    pixels.push_back(alpha);
}

std::string DescribeCodes(const std::string& characters) {
    std::string text;
    for (unsigned char c : characters) {
        text += (text.empty() ? "" : ", ") + std::to_string(c);
    }
    return text;
}

// Text objects read a descriptor line with a pattern that skips leading blanks,
// so the blank's line ("  0.1,...") is taken as a line for the digit that
// begins its first number. The digit's own line repairs that only when it
// comes later.
bool BlankLineSpoilsDigit(const std::string& characters) {
    const auto lastBlank = characters.rfind(' ');
    if (lastBlank == std::string::npos) {
        return false;
    }
    const auto lastZero = characters.rfind('0');
    return lastZero != std::string::npos && lastZero < lastBlank;
}

}  // namespace

SFontImportResult CFontBitmaps::Build(const CFontImportSettings& settings) {
    Reset();
    if (std::string problem = settings.Validate(); !problem.empty()) {
        return SFontImportResult::Failure(problem);
    }
    const SFontRequest request{settings.faceName, settings.LogicalHeight(), settings.bold ? kBoldWeight : kNormalWeight,
                               settings.italic};
    CGlyphRasterizer font;
    if (!font.Create(request)) {
        return SFontImportResult::Failure(font.GetError());
    }
    m_settings = settings;
    m_face = font.GetFace();
    SFontImportResult result = Rasterize(font);
    if (!result.ok) {
        Reset();
        return result;
    }
    ComposePreview();
    m_built = true;
    return result;
}

SGlyphCell CFontBitmaps::GetCell(unsigned char character) const {
    if (!CFontImportSettings::IsImportable(character)) {
        return {};
    }
    return m_cells[character - CFontImportSettings::kFirstCharacter];
}

bool CFontBitmaps::ComposeTexture(std::vector<std::uint8_t>& rgba) const {
    const std::size_t pixels = static_cast<std::size_t>(GetSize()) * GetSize();
    const bool hasAlpha = m_mask.size() == pixels;
    rgba.clear();
    rgba.reserve(pixels * 4);
    for (std::size_t pixel = 0; pixel < pixels; ++pixel) {
        AppendRgba(rgba, m_settings.textColor, hasAlpha ? m_mask[pixel] : 255);
    }
    return hasAlpha;
}

// Draws every importable character into the mask at its place in the layout.
SFontImportResult CFontBitmaps::Rasterize(const CGlyphRasterizer& font) {
    const int size = m_settings.textureSize;
    m_mask.assign(static_cast<std::size_t>(size) * size, 0);
    const SGlyphTarget target{m_mask.data(), size, size, size, 1};
    CGlyphLayout layout(size);
    std::string leftOut;
    std::string cutOff;
    std::string undrawable;
    for (unsigned char c : m_settings.CharacterList()) {
        if (!CFontImportSettings::IsImportable(c)) {
            leftOut.push_back(static_cast<char>(c));
            continue;
        }
        const SGlyphPlacement placement = layout.Place(font.GetCharExtent(c));
        if (!font.DrawChar(c, placement.x, placement.y, target)) {
            undrawable.push_back(static_cast<char>(c));
        }
        m_cells[c - CFontImportSettings::kFirstCharacter] = placement.cell;
        m_characters.push_back(static_cast<char>(c));
        if (!placement.insideTexture) {
            cutOff.push_back(static_cast<char>(c));
        }
    }

    SFontImportResult result;
    if (!leftOut.empty()) {
        result.warnings.push_back("Only the characters from 32 (blank) to 126 (\"~\") can be imported; left out: " +
                                  DescribeCodes(leftOut) + ".");
    }
    if (!undrawable.empty()) {
        result.warnings.push_back("The font cannot draw these characters; their cells stay empty: \"" + undrawable +
                                  "\".");
    }
    if (!cutOff.empty()) {
        const std::string side = std::to_string(size);
        result.warnings.push_back(std::to_string(cutOff.size()) + " characters do not fit into the " + side + " x " +
                                  side + " texture and are cut off: \"" + cutOff +
                                  "\". Choose a smaller font, fewer characters or a larger texture.");
    }
    if (BlankLineSpoilsDigit(m_characters)) {
        result.warnings.push_back(
            "Text objects read the blank's line as a cell for \"0\"; list \"0\" after the blank.");
    }
    return result;
}

void CFontBitmaps::ComposePreview() {
    static constexpr SRgbColor kWhite{255, 255, 255};
    static constexpr SRgbColor kBlack{0, 0, 0};
    const SRgbColor background = m_settings.blackBackground ? kBlack : kWhite;
    const SRgbColor text = m_settings.textColor;
    m_preview.clear();
    m_preview.reserve(m_mask.size() * 4);
    for (std::uint8_t coverage : m_mask) {
        const SRgbColor mixed{Blend(background.red, text.red, coverage), Blend(background.green, text.green, coverage),
                              Blend(background.blue, text.blue, coverage)};
        AppendRgba(m_preview, mixed, 255);
    }
}

void CFontBitmaps::Reset() {
    m_built = false;
    m_settings = CFontImportSettings{};
    m_face = SFontFace{};
    m_mask.clear();
    m_preview.clear();
    m_characters.clear();
    m_cells.fill(SGlyphCell{});
}
