#pragma once
// The tokens of one line of shader text: names ("mad_x2_sat", "r0", "t0_bx2",
// "xyz"), numbers ("12", "0.01", ".5", "1e-3"), and the punctuation the
// operands use. Spaces and tabs separate tokens anywhere; ";" and "//" start
// a comment that runs to the end of the line.

#include <string>
#include <string_view>
#include <vector>

enum class EShaderToken {
    Name,
    Number,
    Comma,
    Plus,
    Minus,
    Dot,
    OpenBracket,
    CloseBracket,
};

struct SShaderToken {
    EShaderToken type = EShaderToken::Name;
    std::string text;  // as written, for messages
};

class CShaderLexer {
public:
    // The line without its comment.
    static std::string_view WithoutComment(std::string_view line);
    // Throws CShaderSyntaxError at a character no token starts with.
    static std::vector<SShaderToken> Tokenize(std::string_view line);

private:
    explicit CShaderLexer(std::string_view text) : m_text(text) {}

    std::vector<SShaderToken> ReadAll();
    SShaderToken ReadToken();
    SShaderToken ReadName();
    SShaderToken ReadNumber();
    bool AtNumber() const;
    bool AtDigit(size_t offset) const;
    size_t SkipDigits(size_t pos) const;

    std::string_view m_text;
    size_t m_pos = 0;
};
