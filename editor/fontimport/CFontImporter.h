#pragma once
// The font importer without its dialog: holds the settings, builds the
// bitmaps from them and saves the last build as a bitmap font for text
// objects, a ".bnf" descriptor with a ".png" texture of the same stem beside it.
//
//   CFontImporter importer;
//   importer.Settings().faceName = "Liberation Sans";
//   importer.Settings().pointSize = 24;
//   SFontImportResult built = importer.Build();      // "Refresh"
//   SFontImportResult saved = importer.Save(path);   // "Save Fonts..."

#include <string>

#include "fontimport/CFontBitmaps.h"
#include "fontimport/CFontImportSettings.h"
#include "fontimport/SFontImportResult.h"

class CFontImporter {
public:
    // The current fields; they take effect on the next Build().
    CFontImportSettings& Settings() { return m_settings; }
    const CFontImportSettings& Settings() const { return m_settings; }

    // Rebuilds the bitmaps from the current settings.
    SFontImportResult Build();
    const CFontBitmaps& GetBitmaps() const { return m_bitmaps; }

    // Saves what the last Build() made (its characters, cells and colour):
    // the descriptor at DescriptorPathFor(chosenPath) and the texture at
    // ImagePathFor() of that. Both files are replaced together or, on any
    // failure, not at all; the result then says why.
    SFontImportResult Save(const std::string& chosenPath) const;

    // The chosen path, with ".bnf" appended unless its last four characters
    // are exactly ".bnf" (so "font.BNF" becomes "font.BNF.bnf").
    static std::string DescriptorPathFor(const std::string& chosenPath);
    // The descriptor path with its last four characters replaced by ".png".
    static std::string ImagePathFor(const std::string& descriptorPath);
    // The descriptor text of a build: one line per laid-out character, in
    // order, each with the cell of the character's last placement.
    static std::string FormatDescriptor(const CFontBitmaps& bitmaps);

private:
    CFontImportSettings m_settings;
    CFontBitmaps m_bitmaps;
};
