#pragma once
// The engine's string: a counted byte string (it may hold NUL bytes) that
// compares byte for byte. It is std::string with the few MFC conveniences
// the engine's code is written with. There is deliberately no implicit
// conversion to const char*; call c_str().

#include <functional>
#include <string>
#include <string_view>

class CString : public std::string {
public:
    using std::string::string;
    CString() = default;
    CString(const std::string& s) : std::string(s) {}
    CString(std::string&& s) noexcept : std::string(std::move(s)) {}

    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }

    // The first / last n bytes (all of them when n exceeds the length; none when n < 0).
    CString Left(int count) const;
    CString Right(int count) const;
    // count bytes from start (to the end when count is omitted or too large).
    CString Mid(int start) const;
    CString Mid(int start, int count) const;

    // Byte index of the first match at or after start, or -1.
    int Find(char ch, int start = 0) const;
    int Find(std::string_view text, int start = 0) const;
    // Byte index of the last occurrence of ch, or -1.
    int ReverseFind(char ch) const;

    // ASCII case conversion (bytes above 127 are left as they are).
    CString& MakeLower();
    CString& MakeUpper();

    // Replaces the content with the printf-style formatted text (any length).
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// CStrings work as keys of unordered containers, hashed like std::string.
template <>
struct std::hash<CString> : std::hash<std::string> {};
