#pragma once
// Checks the "Characters" field of the importer before a build: only the
// characters from 32 (blank) to 126 ("~") have a glyph record, so a field
// with any other character is refused as a whole, with a message that names
// the characters at fault. The field arrives as UTF-8 (from a line edit or
// a command line); bytes that are not UTF-8 are taken as Latin-1
// characters, which is what a Latin-1 terminal meant by them.
//
//   const std::string problem = CFontCharacterCheck::Message(field);
//   if (!problem.empty()) refuse(problem);

#include <string>
#include <string_view>

class CFontCharacterCheck {
public:
    // The code points of the text outside 32..126, each once, in the order
    // they first occur.
    static std::u32string Refused(std::string_view utf8);
    // Empty when every character can be imported, else a message naming
    // the others.
    static std::string Message(std::string_view utf8);
    // How the message names one character: the character itself in
    // quotes, or "U+0009" for controls and blanks that cannot be seen.
    static std::string Describe(char32_t code);
};
