#include "platform/d3dxmesh/CXFileTokenizer.h"

#include <charconv>
#include <cstring>

namespace {

// Binary token codes.
constexpr std::uint16_t kName = 1;
constexpr std::uint16_t kString = 2;
constexpr std::uint16_t kInteger = 3;
constexpr std::uint16_t kGuid = 5;
constexpr std::uint16_t kIntegerList = 6;
constexpr std::uint16_t kFloatList = 7;
constexpr std::uint16_t kOpenBrace = 0x0A;
constexpr std::uint16_t kCloseBrace = 0x0B;
constexpr std::uint16_t kComma = 0x13;
constexpr std::uint16_t kSemicolon = 0x14;
constexpr std::uint16_t kTemplate = 0x1F;

bool IsPunctuation(char c) {
    return std::strchr("{}(),;<>[]\"", c) != nullptr;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '\0';
}

SXFileToken Simple(EXFileToken type) {
    SXFileToken token;
    token.type = type;
    return token;
}

}  // namespace

CXFileTokenizer::CXFileTokenizer(const std::uint8_t* data, size_t size, bool binary, int floatBytes)
    : m_pData(data), m_Size(size), m_bBinary(binary), m_iFloatBytes(floatBytes) {}

SXFileToken CXFileTokenizer::Next() {
    if (m_bFailed) {
        return Simple(EXFileToken::End);
    }
    return m_bBinary ? NextBinary() : NextText();
}

SXFileToken CXFileTokenizer::Fail() {
    m_bFailed = true;
    return Simple(EXFileToken::End);
}

bool CXFileTokenizer::Read(void* out, size_t bytes) {
    if (bytes > Remaining()) {
        return false;
    }
    std::memcpy(out, m_pData + m_Pos, bytes);
    m_Pos += bytes;
    return true;
}

bool CXFileTokenizer::ReadWord(std::uint16_t& value) {
    std::uint8_t b[2];
    if (!Read(b, 2)) {
        return false;
    }
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool CXFileTokenizer::ReadDword(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!Read(b, 4)) {
        return false;
    }
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

// ---- text ----

bool CXFileTokenizer::SkipTextSpaceAndComments() {
    while (m_Pos < m_Size) {
        const char c = static_cast<char>(m_pData[m_Pos]);
        const bool comment = c == '#' || (c == '/' && m_Pos + 1 < m_Size && m_pData[m_Pos + 1] == '/');
        if (comment) {
            while (m_Pos < m_Size && m_pData[m_Pos] != '\n') {
                ++m_Pos;
            }
        } else if (IsSpace(c)) {
            ++m_Pos;
        } else {
            return true;
        }
    }
    return false;
}

SXFileToken CXFileTokenizer::NextText() {
    if (!SkipTextSpaceAndComments()) {
        return Simple(EXFileToken::End);
    }
    const char c = static_cast<char>(m_pData[m_Pos]);
    switch (c) {
    case '{':
        ++m_Pos;
        return Simple(EXFileToken::OpenBrace);
    case '}':
        ++m_Pos;
        return Simple(EXFileToken::CloseBrace);
    case ',':
    case ';':
        ++m_Pos;
        return Simple(EXFileToken::Separator);
    case '"':
        return TextString();
    case '<': {
        // A GUID runs to the closing angle bracket.
        const void* close = std::memchr(m_pData + m_Pos, '>', m_Size - m_Pos);
        if (close == nullptr) {
            return Fail();
        }
        m_Pos = static_cast<size_t>(static_cast<const std::uint8_t*>(close) - m_pData) + 1;
        return Simple(EXFileToken::Guid);
    }
    default:
        break;
    }
    if (IsPunctuation(c)) {
        ++m_Pos;
        return Simple(EXFileToken::Other);
    }
    return TextWord();
}

SXFileToken CXFileTokenizer::TextString() {
    ++m_Pos;  // the opening quote
    SXFileToken token;
    token.type = EXFileToken::String;
    while (m_Pos < m_Size && m_pData[m_Pos] != '"') {
        // Writers double the backslashes of Windows paths.
        if (m_pData[m_Pos] == '\\' && m_Pos + 1 < m_Size && m_pData[m_Pos + 1] == '\\') {
            ++m_Pos;
        }
        token.text.push_back(static_cast<char>(m_pData[m_Pos++]));
    }
    if (m_Pos >= m_Size) {
        return Fail();  // unterminated
    }
    ++m_Pos;
    return token;
}

// A word is a number when all of it reads as one, otherwise a name.
SXFileToken CXFileTokenizer::TextWord() {
    const size_t start = m_Pos;
    while (m_Pos < m_Size && !IsSpace(static_cast<char>(m_pData[m_Pos])) &&
           !IsPunctuation(static_cast<char>(m_pData[m_Pos]))) {
        ++m_Pos;
    }
    const char* first = reinterpret_cast<const char*>(m_pData + start);
    const char* last = reinterpret_cast<const char*>(m_pData + m_Pos);
    SXFileToken token;
    const char* digits = (first < last && *first == '+') ? first + 1 : first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits, last, value);
    if (error == std::errc() && end == last && digits < last) {
        token.type = std::memchr(digits, '.', last - digits) != nullptr ||
                             std::memchr(digits, 'e', last - digits) != nullptr ||
                             std::memchr(digits, 'E', last - digits) != nullptr
                         ? EXFileToken::Float
                         : EXFileToken::Integer;
        token.number = value;
        return token;
    }
    token.type = EXFileToken::Name;
    token.text.assign(first, last);
    return token;
}

// ---- binary ----

SXFileToken CXFileTokenizer::NextListMember() {
    --m_ListLeft;
    SXFileToken token;
    if (!m_bFloatList) {
        std::uint32_t value = 0;
        if (!ReadDword(value)) {
            return Fail();
        }
        token.type = EXFileToken::Integer;
        token.number = value;
        return token;
    }
    token.type = EXFileToken::Float;
    if (m_iFloatBytes == 8) {
        double value = 0.0;
        if (!Read(&value, 8)) {
            return Fail();
        }
        token.number = value;
    } else {
        float value = 0.0f;
        if (!Read(&value, 4)) {
            return Fail();
        }
        token.number = value;
    }
    return token;
}

SXFileToken CXFileTokenizer::NextBinary() {
    if (m_ListLeft > 0) {
        return NextListMember();
    }
    if (Remaining() == 0) {
        return Simple(EXFileToken::End);
    }
    std::uint16_t code = 0;
    if (!ReadWord(code)) {
        return Fail();  // half a token code
    }
    std::uint32_t count = 0;
    switch (code) {
    case kName:
    case kString: {
        if (!ReadDword(count) || count > Remaining()) {
            return Fail();
        }
        SXFileToken token;
        token.type = code == kName ? EXFileToken::Name : EXFileToken::String;
        token.text.assign(reinterpret_cast<const char*>(m_pData + m_Pos), count);
        m_Pos += count;
        // A string carries its terminator (a separator token) with it; it
        // comes as the next token.
        return token;
    }
    case kInteger: {
        SXFileToken token;
        if (!ReadDword(count)) {
            return Fail();
        }
        token.type = EXFileToken::Integer;
        token.number = count;
        return token;
    }
    case kGuid:
        if (Remaining() < 16) {
            return Fail();
        }
        m_Pos += 16;
        return Simple(EXFileToken::Guid);
    case kIntegerList:
    case kFloatList: {
        if (!ReadDword(count)) {
            return Fail();
        }
        const size_t memberBytes = code == kFloatList ? static_cast<size_t>(m_iFloatBytes) : 4;
        if (count > Remaining() / memberBytes) {
            return Fail();  // longer than the data left
        }
        m_ListLeft = count;
        m_bFloatList = code == kFloatList;
        // An empty list reads as a separator, which the data skips anyway.
        return count > 0 ? NextListMember() : Simple(EXFileToken::Separator);
    }
    case kOpenBrace:
        return Simple(EXFileToken::OpenBrace);
    case kCloseBrace:
        return Simple(EXFileToken::CloseBrace);
    case kComma:
    case kSemicolon:
        return Simple(EXFileToken::Separator);
    case kTemplate:
        return Simple(EXFileToken::Template);
    default:
        // Other punctuation (0x0C to 0x12) and the type keywords (0x28 to 0x34).
        if ((code >= 0x0C && code <= 0x12) || (code >= 0x28 && code <= 0x34)) {
            return Simple(EXFileToken::Other);
        }
        return Fail();
    }
}
