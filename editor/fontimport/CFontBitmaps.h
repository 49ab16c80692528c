#pragma once
// The font importer's bitmaps: the font's characters rasterised and laid out
// in a square texture. The mask holds the glyphs' coverage (white glyphs on
// black), the preview shows them in the text colour on the chosen background,
// and the glyph table records each character's cell for the descriptor.
//
//   CFontBitmaps bitmaps;
//   SFontImportResult result = bitmaps.Build(settings);
//   if (result.ok) show(bitmaps.GetPreview(), bitmaps.GetSize());

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fontimport/CFontImportSettings.h"
#include "fontimport/CGlyphLayout.h"
#include "fontimport/SFontImportResult.h"
#include "platform/text/CFontResolver.h"

class CGlyphRasterizer;

class CFontBitmaps {
public:
    // Rasterises the font of the settings and lays their characters out.
    // Characters outside codes 32..126 are left out and cells that do not fit
    // into the texture are cut off, each with a warning. On failure nothing is
    // built (IsBuilt() is false).
    SFontImportResult Build(const CFontImportSettings& settings);

    bool IsBuilt() const { return m_built; }
    // The settings of the last successful build.
    const CFontImportSettings& GetSettings() const { return m_settings; }
    // The font file that was used (fontconfig may substitute another face).
    const SFontFace& GetFace() const { return m_face; }
    int GetSize() const { return m_settings.textureSize; }

    // Size × size coverage values (0 transparent, 255 opaque), top row first.
    const std::vector<std::uint8_t>& GetMask() const { return m_mask; }
    // Size × size RGBA pixels of the preview (opaque), top row first.
    const std::vector<std::uint8_t>& GetPreview() const { return m_preview; }
    // Size × size RGBA pixels of the texture to save: the text colour
    // everywhere, the mask as alpha. False when the mask cannot serve as the
    // alpha channel (it does not cover the texture, as before any build):
    // the pixels are then opaque.
    bool ComposeTexture(std::vector<std::uint8_t>& rgba) const;

    // The characters that were laid out, in order (duplicates included).
    const std::string& GetCharacters() const { return m_characters; }
    // The cell of a laid-out character's last placement; an empty cell for
    // characters that were not laid out.
    SGlyphCell GetCell(unsigned char character) const;

private:
    SFontImportResult Rasterize(const CGlyphRasterizer& font);
    void ComposePreview();
    void Reset();

    bool m_built = false;
    CFontImportSettings m_settings;
    SFontFace m_face;
    std::vector<std::uint8_t> m_mask;
    std::vector<std::uint8_t> m_preview;
    std::string m_characters;
    std::array<SGlyphCell, CFontImportSettings::kCharacterCount> m_cells{};
};
