#pragma once
// lumivexis font FACE SIZE OUT.bnf [--bold] [--italic] [--texture 256|512]
//                                  [--color RRGGBB] [--chars TEXT]
//
// Makes a bitmap font for text objects as the editor's "Fonts Importer"
// does: the installed font FACE (fontconfig picks a substitute for a face
// that is not installed, "Arial" becomes Liberation Sans) at SIZE points
// for a 96-dpi screen, laid out in a square texture. Writes the descriptor
// OUT.bnf (".bnf" is appended unless the name ends in exactly that) and the
// texture beside it with the ending ".png". Both files appear together or
// not at all.
//
// The text colour defaults to white so that a text object's own colour
// tints the glyphs. Characters outside 32..126 in --chars are refused;
// glyphs that do not fit the texture are written anyway, with a warning.

#include <string>
#include <vector>

#include "CToolCommand.h"
#include "fontimport/CFontImportSettings.h"

class CToolArguments;

class CFontCommand : public CToolCommand {
public:
    const char* Name() const override { return "font"; }
    const char* Summary() const override { return "make a bitmap font for text objects from an installed font"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

    // "RRGGBB" or "#RRGGBB" in hexadecimal digits; false for anything else.
    static bool ParseColor(const std::string& text, SRgbColor& color);

private:
    // The settings the arguments ask for; false with a usage message in
    // error.
    static bool ParseSettings(const CToolArguments& parsed, CFontImportSettings& settings, std::string& error);
    void Warn(const std::string& message) const;
};
