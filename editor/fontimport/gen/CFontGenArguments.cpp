#include "CFontGenArguments.h"

#include <charconv>

CFontGenArguments::CFontGenArguments() {
    m_settings.textColor = {255, 255, 255};
}

bool CFontGenArguments::Parse(const std::vector<std::string>& arguments) {
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        if (!ParseOption(arguments[index], arguments, index)) {
            return false;
        }
        if (m_help) {
            return true;
        }
    }
    if (m_outputPath.empty()) {
        return Fail("No output file is given (--out PATH.bnf).");
    }
    if (std::string problem = m_settings.Validate(); !problem.empty()) {
        return Fail(problem);
    }
    return true;
}

bool CFontGenArguments::ParseOption(const std::string& option, const std::vector<std::string>& arguments,
                                    std::size_t& index) {
    if (option == "--help" || option == "-h") {
        m_help = true;
        return true;
    }
    if (option == "--bold" || option == "--italic" || option == "--strict") {
        (option == "--bold" ? m_settings.bold : option == "--italic" ? m_settings.italic : m_strict) = true;
        return true;
    }
    if (option != "--face" && option != "--size" && option != "--texture" && option != "--color" &&
        option != "--chars" && option != "--out") {
        return Fail("Unknown option \"" + option + "\".");
    }
    if (index + 1 >= arguments.size()) {
        return Fail("The option " + option + " needs a value.");
    }
    const std::string& value = arguments[++index];
    if (option == "--face") {
        m_settings.faceName = value;
    } else if (option == "--size") {
        return ParseInteger(option, value, m_settings.pointSize);
    } else if (option == "--texture") {
        return ParseInteger(option, value, m_settings.textureSize);
    } else if (option == "--color") {
        return ParseColor(value);
    } else if (option == "--chars") {
        m_settings.characters = value;
    } else {
        m_outputPath = value;
    }
    return true;
}

bool CFontGenArguments::ParseColor(const std::string& text) {
    const std::string digits = text.starts_with('#') ? text.substr(1) : text;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.size() != 6 || error != std::errc{} || end != digits.data() + digits.size()) {
        return Fail("The colour \"" + text + "\" is not of the form RRGGBB (hexadecimal).");
    }
    m_settings.textColor = {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                            static_cast<std::uint8_t>(value)};
    return true;
}

bool CFontGenArguments::ParseInteger(const std::string& option, const std::string& text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return Fail("The option " + option + " needs a whole number, not \"" + text + "\".");
    }
    return true;
}

bool CFontGenArguments::Fail(std::string error) {
    m_error = std::move(error);
    return false;
}

std::string CFontGenArguments::Usage() {
    return "Usage: lvx_fontgen [--face NAME] [--size POINTS] [--bold] [--italic]\n"
           "                   [--texture 256|512] [--color RRGGBB] [--chars TEXT]\n"
           "                   [--strict] --out PATH.bnf\n"
           "Writes a bitmap font for text objects: PATH.bnf and PATH.png beside it.\n"
           "  --face     installed font face (default Arial)\n"
           "  --size     size in points at 96 dpi (default 12)\n"
           "  --texture  texture size in pixels, 256 or 512 (default 256)\n"
           "  --color    text colour (default FFFFFF, white)\n"
           "  --chars    characters to include (default: codes 32 to 126)\n"
           "  --strict   fail on any warning and when the face is not installed\n";
}
