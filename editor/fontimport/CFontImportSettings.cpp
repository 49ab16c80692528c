#include "fontimport/CFontImportSettings.h"

#include "platform/text/CGlyphRasterizer.h"

std::string CFontImportSettings::CharacterList() const {
    if (!characters.empty()) {
        return characters;
    }
    std::string all;
    for (int code = kFirstCharacter; code <= kLastCharacter; ++code) {
        all.push_back(static_cast<char>(code));
    }
    return all;
}

int CFontImportSettings::LogicalHeight() const {
    return CGlyphRasterizer::HeightFromPoints(pointSize, kDpi);
}

std::string CFontImportSettings::Validate() const {
    if (faceName.empty()) {
        return "No font is chosen.";
    }
    if (pointSize < 1 || pointSize > kMaxPointSize) {
        return "The font size must be between 1 and " + std::to_string(kMaxPointSize) + " points.";
    }
    if (!IsValidTextureSize(textureSize)) {
        return "The texture size must be 256 or 512 pixels.";
    }
    return {};
}
