#pragma once
// The tokens of a ".x" file's body, the same for text and binary files: names,
// strings, numbers (the members of binary integer and float lists come one at
// a time), braces, separators (',' and ';') and the rest of the punctuation.
// Every read is checked against the end of the data; a malformed token makes
// the stream fail, and a failed stream gives only End tokens.

#include <cstddef>
#include <cstdint>
#include <string>

enum class EXFileToken {
    End,
    Name,
    String,
    Integer,
    Float,
    OpenBrace,
    CloseBrace,
    Separator,
    Guid,
    Template,
    Other,  // parentheses, brackets, dots and the binary type keywords
};

struct SXFileToken {
    EXFileToken type = EXFileToken::End;
    std::string text;     // names and strings
    double number = 0.0;  // integers and floats
};

class CXFileTokenizer {
public:
    // The body after the 16-byte header; binary data carries its floats with
    // 4 or 8 bytes (floatBytes).
    CXFileTokenizer(const std::uint8_t* data, size_t size, bool binary, int floatBytes);

    SXFileToken Next();
    // Whether a malformed token stopped the stream (as opposed to its end).
    bool Failed() const { return m_bFailed; }
    // The number of bytes not read yet: a bound for any count in the data.
    size_t Remaining() const { return m_Size - m_Pos; }

private:
    SXFileToken NextText();
    SXFileToken NextBinary();
    SXFileToken NextListMember();
    SXFileToken TextWord();
    SXFileToken TextString();
    SXFileToken Fail();
    bool SkipTextSpaceAndComments();
    bool Read(void* out, size_t bytes);
    bool ReadWord(std::uint16_t& value);
    bool ReadDword(std::uint32_t& value);

    const std::uint8_t* m_pData;
    size_t m_Size;
    size_t m_Pos = 0;
    bool m_bBinary;
    int m_iFloatBytes;
    bool m_bFailed = false;
    // What is left of a binary integer or float list.
    std::uint32_t m_ListLeft = 0;
    bool m_bFloatList = false;
};
