#pragma once
// The choices of the font importer: which font, how large, which texture size,
// colour and characters. Defaults are those the importer opens with.

#include <cstdint>
#include <string>

struct SRgbColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const SRgbColor&) const = default;
};

class CFontImportSettings {
public:
    static constexpr unsigned char kFirstCharacter = 32;  // the blank
    static constexpr unsigned char kLastCharacter = 126;  // "~"
    static constexpr int kCharacterCount = kLastCharacter - kFirstCharacter + 1;
    static constexpr int kDpi = 96;             // fonts are rasterised for a 96-dpi screen
    static constexpr int kMaxPointSize = 1000;  // bigger fonts fit no texture size offered

    std::string faceName = "Arial";
    int pointSize = 12;
    bool bold = false;
    bool italic = false;
    int textureSize = 256;         // 256 or 512
    SRgbColor textColor{};         // black
    bool blackBackground = false;  // the preview's background; white otherwise
    std::string characters;        // empty = every character from 32 to 126

    static bool IsImportable(unsigned char character) {
        return character >= kFirstCharacter && character <= kLastCharacter;
    }
    static bool IsValidTextureSize(int size) { return size == 256 || size == 512; }

    // The characters to lay out, in order: the field's characters, or 32..126
    // when it is empty. Characters that cannot be imported are kept here; the
    // layout leaves them out.
    std::string CharacterList() const;
    // The GDI logical height of the font: the em height in pixels, negative.
    int LogicalHeight() const;
    // Empty when the settings can be built, else why not.
    std::string Validate() const;
};
