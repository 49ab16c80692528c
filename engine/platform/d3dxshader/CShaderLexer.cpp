#include "platform/d3dxshader/CShaderLexer.h"

#include "platform/d3dxshader/CShaderSyntaxError.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Printable text of a character for a message; control bytes as hex.
std::string Describe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
        return std::string("'") + c + "'";
    }
    static const char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0xF];
}

}  // namespace

std::string_view CShaderLexer::WithoutComment(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ';' || (line[i] == '/' && i + 1 < line.size() && line[i + 1] == '/')) {
            return line.substr(0, i);
        }
    }
    return line;
}

std::vector<SShaderToken> CShaderLexer::Tokenize(std::string_view line) {
    return CShaderLexer(WithoutComment(line)).ReadAll();
}

std::vector<SShaderToken> CShaderLexer::ReadAll() {
    std::vector<SShaderToken> tokens;
    for (;;) {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
        if (m_pos == m_text.size()) {
            return tokens;
        }
        tokens.push_back(ReadToken());
    }
}

SShaderToken CShaderLexer::ReadToken() {
    if (IsLetter(m_text[m_pos])) {
        return ReadName();
    }
    if (AtNumber()) {
        return ReadNumber();
    }
    const char c = m_text[m_pos];
    EShaderToken type;
    switch (c) {
    case ',':
        type = EShaderToken::Comma;
        break;
    case '+':
        type = EShaderToken::Plus;
        break;
    case '-':
        type = EShaderToken::Minus;
        break;
    case '.':
        type = EShaderToken::Dot;
        break;
    case '[':
        type = EShaderToken::OpenBracket;
        break;
    case ']':
        type = EShaderToken::CloseBracket;
        break;
    default:
        throw CShaderSyntaxError("unexpected character " + Describe(c));
    }
    ++m_pos;
    return SShaderToken{type, std::string(1, c)};
}

SShaderToken CShaderLexer::ReadName() {
    const size_t start = m_pos;
    while (m_pos < m_text.size() && (IsLetter(m_text[m_pos]) || IsDigit(m_text[m_pos]))) {
        ++m_pos;
    }
    return SShaderToken{EShaderToken::Name, std::string(m_text.substr(start, m_pos - start))};
}

bool CShaderLexer::AtDigit(size_t offset) const {
    return m_pos + offset < m_text.size() && IsDigit(m_text[m_pos + offset]);
}

// A digit, or a point before a digit (".5"); a point before a letter is the
// one in front of a mask or swizzle.
bool CShaderLexer::AtNumber() const {
    return AtDigit(0) || (m_text[m_pos] == '.' && AtDigit(1));
}

size_t CShaderLexer::SkipDigits(size_t pos) const {
    while (pos < m_text.size() && IsDigit(m_text[pos])) {
        ++pos;
    }
    return pos;
}

// digits [. digits] [e [sign] digits]; the exponent only when digits follow.
SShaderToken CShaderLexer::ReadNumber() {
    const size_t start = m_pos;
    size_t pos = SkipDigits(m_pos);
    if (pos < m_text.size() && m_text[pos] == '.') {
        pos = SkipDigits(pos + 1);
    }
    if (pos < m_text.size() && (m_text[pos] == 'e' || m_text[pos] == 'E')) {
        size_t exponent = pos + 1;
        if (exponent < m_text.size() && (m_text[exponent] == '+' || m_text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < m_text.size() && IsDigit(m_text[exponent])) {
            pos = SkipDigits(exponent);
        }
    }
    m_pos = pos;
    return SShaderToken{EShaderToken::Number, std::string(m_text.substr(start, pos - start))};
}
