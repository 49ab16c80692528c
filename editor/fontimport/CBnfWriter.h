#pragma once
// Writes the ".bnf" glyph descriptor that text objects read: one line per
// character, "%c %f,%f %f,%f" with the character and its cell's left u, top v,
// right u and bottom v, each line ending in a line feed. Numbers always use a
// dot as the decimal separator, whatever the user's locale.

#include <string>
#include <string_view>

#include "fontimport/CGlyphLayout.h"

class CBnfWriter {
public:
    // Appends the line of one character.
    void AddLine(char character, const SGlyphCell& cell);
    const std::string& GetText() const { return m_text; }

    // "%f": six decimals, rounded, in the C locale.
    static std::string FormatNumber(float value);

private:
    std::string m_text;
};
