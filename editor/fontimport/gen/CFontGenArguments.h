#pragma once
// The command line of lvx_fontgen, which writes a bitmap font without the
// editor (the build uses it for the default font in media/fonts):
//
//   lvx_fontgen [--face NAME] [--size POINTS] [--bold] [--italic]
//               [--texture 256|512] [--color RRGGBB] [--chars TEXT]
//               [--strict] --out PATH.bnf
//
// The text colour defaults to white here, so that a text object's own colour
// tints the glyphs. --strict turns every warning into a failure and requires
// the face itself to be installed (no fontconfig substitute).

#include <string>
#include <vector>

#include "fontimport/CFontImportSettings.h"

class CFontGenArguments {
public:
    CFontGenArguments();

    // False with GetError() set for an unknown option or a bad value.
    bool Parse(const std::vector<std::string>& arguments);

    const CFontImportSettings& GetSettings() const { return m_settings; }
    const std::string& GetOutputPath() const { return m_outputPath; }
    bool IsStrict() const { return m_strict; }
    bool WantsHelp() const { return m_help; }
    const std::string& GetError() const { return m_error; }

    static std::string Usage();

private:
    bool ParseOption(const std::string& option, const std::vector<std::string>& arguments, std::size_t& index);
    bool ParseColor(const std::string& text);
    bool ParseInteger(const std::string& option, const std::string& text, int& value);
    bool Fail(std::string error);

    CFontImportSettings m_settings;
    std::string m_outputPath;
    bool m_strict = false;
    bool m_help = false;
    std::string m_error;
};
