#pragma once
// What a build or a save of the font importer reports: success, or an error
// text for the user; and warnings that do not stop it (glyphs that do not fit
// the texture, characters that cannot be imported) and a texture saved
// without transparency.

#include <string>
#include <vector>

struct SFontImportResult {
    bool ok = true;
    std::string error;                  // set when ok is false
    std::vector<std::string> warnings;  // in the order they arose
    // A save wrote the texture without its alpha channel (opaque).
    bool alphaLost = false;

    static SFontImportResult Failure(std::string message) {
        SFontImportResult result;
        result.ok = false;
        result.error = std::move(message);
        return result;
    }
};
