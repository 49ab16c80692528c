// lvx_fontgen: writes a bitmap font for text objects from an installed font.
// See CFontGenArguments.h for the command line.

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "CFontGenArguments.h"
#include "fontimport/CFontImporter.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

void PrintWarnings(const SFontImportResult& result, bool strict) {
    for (const std::string& warning : result.warnings) {
        std::cerr << "lvx_fontgen: " << (strict ? "error: " : "warning: ") << warning << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    CFontGenArguments arguments;
    if (!arguments.Parse(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cerr << "lvx_fontgen: " << arguments.GetError() << '\n' << CFontGenArguments::Usage();
        return 2;
    }
    if (arguments.WantsHelp()) {
        std::cout << CFontGenArguments::Usage();
        return 0;
    }

    CFontImporter importer;
    importer.Settings() = arguments.GetSettings();
    const SFontImportResult built = importer.Build();
    if (!built.ok) {
        std::cerr << "lvx_fontgen: " << built.error << '\n';
        return 1;
    }
    const SFontFace& face = importer.GetBitmaps().GetFace();
    std::cout << "lvx_fontgen: " << face.family << " " << face.style << " (" << face.file << ")\n";
    PrintWarnings(built, arguments.IsStrict());
    const bool substituted = !SameName(face.family, importer.Settings().faceName);
    if (arguments.IsStrict() && substituted) {
        std::cerr << "lvx_fontgen: error: \"" << importer.Settings().faceName
                  << "\" is not installed (fontconfig offers " << face.family << ").\n";
    }
    if (arguments.IsStrict() && (substituted || !built.warnings.empty())) {
        return 1;
    }

    const SFontImportResult saved = importer.Save(arguments.GetOutputPath());
    if (!saved.ok) {
        std::cerr << "lvx_fontgen: " << saved.error << '\n';
        return 1;
    }
    const std::string descriptor = CFontImporter::DescriptorPathFor(arguments.GetOutputPath());
    std::cout << "lvx_fontgen: wrote " << descriptor << " and " << CFontImporter::ImagePathFor(descriptor) << '\n';
    return 0;
}
