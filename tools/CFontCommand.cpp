#include "CFontCommand.h"

#include <iostream>

#include "CToolArguments.h"
#include "fontimport/CFontCharacterCheck.h"
#include "fontimport/CFontImporter.h"

namespace {

constexpr SRgbColor kWhite{255, 255, 255};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string CFontCommand::Help() const {
    return "Usage: lumivexis font FACE SIZE OUT.bnf [--bold] [--italic] [--texture 256|512]\n"
           "                      [--color RRGGBB] [--chars TEXT]\n"
           "Makes a bitmap font for text objects, as the editor's Fonts Importer does:\n"
           "the installed font FACE at SIZE points (1 to 1000, for a 96-dpi screen), its\n"
           "characters laid out row by row in a square texture. Writes the descriptor\n"
           "OUT.bnf (\".bnf\" is added unless OUT ends in exactly that) and the texture\n"
           "beside it, the same name ending in \".png\": the text colour everywhere, the\n"
           "glyphs in the alpha channel. A face that is not installed is replaced by\n"
           "what fontconfig offers (Arial by Liberation Sans); the face used is shown.\n"
           "Glyphs that do not fit the texture are written anyway, with a warning.\n"
           "\n"
           "  --bold          the bold face (or emboldened outlines)\n"
           "  --italic        the italic face (or slanted outlines)\n"
           "  --texture N     the texture's side in pixels, 256 (default) or 512\n"
           "  --color RRGGBB  the text colour in hexadecimal; default FFFFFF (white), so\n"
           "                  that a text object's colour tints the glyphs\n"
           "  --chars TEXT    the characters to include, in order; default every\n"
           "                  character from 32 (blank) to 126 (\"~\"), the only ones a\n"
           "                  bitmap font can hold\n";
}

bool CFontCommand::ParseColor(const std::string& text, SRgbColor& color) {
    const std::string digits = text.starts_with('#') ? text.substr(1) : text;
    if (digits.size() != 6) {
        return false;
    }
    std::uint8_t channels[3] = {};
    for (int channel = 0; channel < 3; ++channel) {
        const int high = HexDigit(digits[channel * 2]);
        const int low = HexDigit(digits[channel * 2 + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        channels[channel] = static_cast<std::uint8_t>(high * 16 + low);
    }
    color = {channels[0], channels[1], channels[2]};
    return true;
}

bool CFontCommand::ParseSettings(const CToolArguments& parsed, CFontImportSettings& settings, std::string& error) {
    const std::vector<std::string>& positionals = parsed.Positionals();
    settings.faceName = positionals[0];
    if (settings.faceName.empty()) {
        error = "FACE may not be empty";
        return false;
    }
    if (!CToolArguments::ParseInt(positionals[1], 1, CFontImportSettings::kMaxPointSize, settings.pointSize)) {
        error = "SIZE needs a whole number of points from 1 to " + std::to_string(CFontImportSettings::kMaxPointSize) +
                ", not \"" + positionals[1] + "\"";
        return false;
    }
    settings.bold = parsed.Has("bold");
    settings.italic = parsed.Has("italic");
    if (parsed.Has("texture") && (!CToolArguments::ParseInt(parsed.Value("texture"), 256, 512, settings.textureSize) ||
                                  !CFontImportSettings::IsValidTextureSize(settings.textureSize))) {
        error = "--texture needs 256 or 512";
        return false;
    }
    settings.textColor = kWhite;
    if (parsed.Has("color") && !ParseColor(parsed.Value("color"), settings.textColor)) {
        error = "--color needs six hexadecimal digits RRGGBB, not \"" + parsed.Value("color") + "\"";
        return false;
    }
    settings.characters = parsed.Value("chars");
    error = CFontCharacterCheck::Message(settings.characters);
    return error.empty();
}

int CFontCommand::Run(const std::vector<std::string>& arguments) {
    CToolArguments parsed;
    std::string error;
    if (!parsed.Parse(arguments, {"bold", "italic"}, {"texture", "color", "chars"}, error)) {
        return UsageError(error);
    }
    if (parsed.Positionals().size() != 3) {
        return UsageError("needs a font face, a size in points and the .bnf file to write");
    }
    CFontImporter importer;
    if (!ParseSettings(parsed, importer.Settings(), error)) {
        return UsageError(error);
    }

    const SFontImportResult built = importer.Build();
    if (!built.ok) {
        return Fail(built.error);
    }
    const SFontFace& face = importer.GetBitmaps().GetFace();
    std::cerr << "lumivexis font: drawing with " << face.family << " " << face.style << " (" << face.file << ")\n";
    for (const std::string& warning : built.warnings) {
        Warn(warning);
    }

    const std::string& out = parsed.Positionals()[2];
    const SFontImportResult saved = importer.Save(out);
    if (!saved.ok) {
        return Fail(saved.error + " Nothing was written.");
    }
    if (saved.alphaLost) {
        Warn("cannot save alpha channel");
    }
    const std::string descriptor = CFontImporter::DescriptorPathFor(out);
    const std::string side = std::to_string(importer.GetBitmaps().GetSize());
    std::cerr << "lumivexis font: wrote " << descriptor << " and " << CFontImporter::ImagePathFor(descriptor) << " ("
              << importer.GetBitmaps().GetCharacters().size() << " characters, " << side << " x " << side
              << " texture)\n";
    return kExitOk;
}

void CFontCommand::Warn(const std::string& message) const {
    std::cerr << "lumivexis " << Name() << ": warning: " << message << "\n";
}
