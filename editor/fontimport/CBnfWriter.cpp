#include "fontimport/CBnfWriter.h"

#include <array>
#include <charconv>

namespace {

constexpr int kDecimals = 6;

}  // namespace

void CBnfWriter::AddLine(char character, const SGlyphCell& cell) {
    m_text.push_back(character);
    m_text += ' ' + FormatNumber(cell.left) + ',' + FormatNumber(cell.top);
    m_text += ' ' + FormatNumber(cell.right) + ',' + FormatNumber(cell.bottom);
    m_text.push_back('\n');
}

std::string CBnfWriter::FormatNumber(float value) {
    // to_chars ignores the locale, unlike printf; the float is widened to
    // double as printf's variadic call would.
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<double>(value),
                                            std::chars_format::fixed, kDecimals);
    if (error != std::errc{}) {
        return "0.000000";  // cannot happen: 64 characters hold any float in fixed notation
    }
    return std::string(buffer.data(), end);
}
