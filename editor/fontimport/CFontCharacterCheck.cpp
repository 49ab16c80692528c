#include "fontimport/CFontCharacterCheck.h"

#include <array>
#include <cstdio>

#include "fontimport/CFontImportSettings.h"

namespace {

// The length of the UTF-8 sequence that starts with lead, 0 when lead
// cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Decodes the code point at text[at] and advances at past it. A malformed
// or overlong sequence yields its first byte as a Latin-1 character.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = SequenceLength(lead);
    if (length <= 1 || at + length > text.size()) {
        ++at;
        return lead;
    }
    static constexpr std::array<unsigned char, 5> kLeadMask{0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = lead & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < kSmallest[length] || code > 0x10FFFF || surrogate) {
        ++at;
        return lead;
    }
    at += length;
    return code;
}

std::string ToUtf8(char32_t code) {
    std::string text;
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (code >> 18)));
        text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return text;
}

// Controls, blanks and invisible formatting characters: quoting them would
// show nothing the user could recognise.
bool IsInvisible(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0xA0) || code == 0xAD || (code >= 0x2000 && code <= 0x200F) ||
           (code >= 0x2028 && code <= 0x202F) || (code >= 0x205F && code <= 0x206F) || code == 0x3000 || code == 0xFEFF;
}

}  // namespace

std::u32string CFontCharacterCheck::Refused(std::string_view utf8) {
    std::u32string refused;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = NextCodePoint(utf8, at);
        const bool importable =
            code >= CFontImportSettings::kFirstCharacter && code <= CFontImportSettings::kLastCharacter;
        if (!importable && refused.find(code) == std::u32string::npos) {
            refused.push_back(code);
        }
    }
    return refused;
}

std::string CFontCharacterCheck::Message(std::string_view utf8) {
    const std::u32string refused = Refused(utf8);
    if (refused.empty()) {
        return {};
    }
    std::string names;
    for (std::size_t i = 0; i < refused.size(); ++i) {
        if (i > 0) {
            names += i + 1 == refused.size() ? " and " : ", ";
        }
        names += Describe(refused[i]);
    }
    const bool one = refused.size() == 1;
    return std::string(one ? "The character " : "The characters ") + names +
           " cannot be imported: a bitmap font holds only the characters from 32 (blank) to 126 (\"~\").";
}

std::string CFontCharacterCheck::Describe(char32_t code) {
    if (!IsInvisible(code)) {
        return "\"" + ToUtf8(code) + "\"";
    }
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "U+%04X", static_cast<unsigned>(code));
    return name.data();
}
