#include "platform/base/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// Clamps an MFC-style int position into 0..limit.
size_t Clamp(int value, size_t limit) {
    if (value < 0)
        return 0;
    return std::min(static_cast<size_t>(value), limit);
}

int IndexOrMinusOne(size_t pos) {
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

}  // namespace

CString CString::Left(int count) const {
    return CString(substr(0, Clamp(count, size())));
}

CString CString::Right(int count) const {
    const size_t n = Clamp(count, size());
    return CString(substr(size() - n, n));
}

CString CString::Mid(int start) const {
    return CString(substr(Clamp(start, size())));
}

CString CString::Mid(int start, int count) const {
    const size_t first = Clamp(start, size());
    return CString(substr(first, Clamp(count, size() - first)));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || static_cast<size_t>(start) > size())
        return -1;
    return IndexOrMinusOne(find(ch, static_cast<size_t>(start)));
}

int CString::Find(std::string_view text, int start) const {
    if (start < 0 || static_cast<size_t>(start) > size())
        return -1;
    return IndexOrMinusOne(find(text, static_cast<size_t>(start)));
}

int CString::ReverseFind(char ch) const {
    return IndexOrMinusOne(rfind(ch));
}

CString& CString::MakeLower() {
    for (char& c : *this)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return *this;
}

CString& CString::MakeUpper() {
    for (char& c : *this)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {  // an encoding error: leave an empty string rather than garbage
        clear();
        va_end(args);
        return;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.resize(static_cast<size_t>(length));
    assign(std::move(text));
}
