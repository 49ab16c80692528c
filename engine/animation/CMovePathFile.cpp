#include "animation/CMovePathFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files/CAtomicFile.h"

namespace {

// Hands out the file's numbers one by one, as scanf does: separated by any
// white space, and with the line each one stands on for the messages.
class CNumberReader {
public:
    explicit CNumberReader(std::string_view text) : m_text(text) {}

    bool Next(std::string_view& token) {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            m_line += m_text[m_pos] == '\n' ? 1 : 0;
            ++m_pos;
        }
        if (m_pos == m_text.size()) {
            return false;
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
        token = m_text.substr(start, m_pos - start);
        return true;
    }

    // The line of the token Next handed out last, counted from 1.
    int Line() const { return m_line; }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
};

// scanf accepts a leading plus sign, std::from_chars does not.
std::string_view WithoutPlus(std::string_view token) {
    if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+') {
        token.remove_prefix(1);
    }
    return token;
}

template <class TNumber, class... TFormat>
std::errc ParseNumber(std::string_view token, TNumber& value, TFormat... format) {
    token = WithoutPlus(token);
    const char* end = token.data() + token.size();
    const std::from_chars_result result = std::from_chars(token.data(), end, value, format...);
    if (result.ec == std::errc() && result.ptr != end) {
        return std::errc::invalid_argument;  // "1.5x": the whole token must be the number
    }
    return result.ec;
}

void AppendLong(std::string& text, long value) {
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
    text += '\n';
}

// "%f" promotes a float to double and writes six decimals, rounded
// correctly; std::to_chars with the same precision writes the same digits.
void AppendFloat(std::string& text, float value) {
    char buffer[64];  // FLT_MAX has 39 digits before the point
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    text.append(buffer, result.ptr);
    text += '\n';
}

// A token for a message: damaged files may hold long runs of anything.
std::string Shown(std::string_view token) {
    constexpr size_t kLongest = 24;
    return token.size() <= kLongest ? std::string(token) : std::string(token.substr(0, kLongest)) + "...";
}

std::string FileText(const CString& name) {
    return "The path file \"" + name + "\"";
}

class CPathParser {
public:
    CPathParser(std::string_view text, const CString& name, std::string& error)
        : m_reader(text), m_name(name), m_error(error) {}

    bool ReadHeader(long& count, long& mode, long& loop) {
        return ReadLong(count, "its point count") && ReadLong(mode, "its mode") && ReadLong(loop, "its loop flag");
    }

    bool ReadPoint(long index, long count, CMovePoint& point) {
        float v[CMovePathFile::kValuesPerPoint];
        for (float& value : v) {
            if (!ReadFloat(value, index, count)) {
                return false;
            }
        }
        point.m_vPosition = D3DXVECTOR3(v[0], v[1], v[2]);
        point.m_vDirection = D3DXVECTOR3(v[3], v[4], v[5]);
        point.m_vUp = D3DXVECTOR3(v[6], v[7], v[8]);
        point.m_fSpeed = v[9];
        point.m_fZoom = v[10];
        return true;
    }

    bool Fail(const std::string& what) {
        m_error = FileText(m_name) + " " + what;
        return false;
    }

private:
    bool ReadLong(long& value, const char* what) {
        std::string_view token;
        if (!m_reader.Next(token)) {
            return Fail(std::string("ends before ") + what + ".");
        }
        return Check(ParseNumber(token, value), token, "a whole number");
    }

    bool ReadFloat(float& value, long index, long count) {
        std::string_view token;
        if (!m_reader.Next(token)) {
            return Fail("ends in point " + std::to_string(index + 1) + " of " + std::to_string(count) + ".");
        }
        return Check(ParseNumber(token, value, std::chars_format::general), token, "a number");
    }

    bool Check(std::errc result, std::string_view token, const char* what) {
        if (result == std::errc::result_out_of_range) {
            return Fail("holds \"" + Shown(token) + "\" on line " + std::to_string(m_reader.Line()) +
                        ", a number out of range.");
        }
        if (result != std::errc()) {
            return Fail("holds \"" + Shown(token) + "\" on line " + std::to_string(m_reader.Line()) + " where " + what +
                        " belongs.");
        }
        return true;
    }

    CNumberReader m_reader;
    const CString& m_name;
    std::string& m_error;
};

}  // namespace

std::string CMovePathFile::Format(const SPath& path) {
    std::string text;
    AppendLong(text, static_cast<long>(path.points.size()));
    AppendLong(text, static_cast<long>(path.mode));
    AppendLong(text, path.loop ? 1L : 0L);
    for (const CMovePoint& point : path.points) {
        const float values[kValuesPerPoint] = {point.m_vPosition.x,  point.m_vPosition.y,  point.m_vPosition.z,
                                               point.m_vDirection.x, point.m_vDirection.y, point.m_vDirection.z,
                                               point.m_vUp.x,        point.m_vUp.y,        point.m_vUp.z,
                                               point.m_fSpeed,       point.m_fZoom};
        for (const float value : values) {
            AppendFloat(text, value);
        }
    }
    return text;
}

bool CMovePathFile::Parse(std::string_view text, const CString& name, int maxPoints, SPath& path, std::string& error) {
    CPathParser parser(text, name, error);
    long count = 0;
    long mode = 0;
    long loop = 0;
    if (!parser.ReadHeader(count, mode, loop)) {
        return false;
    }
    if (count < 0) {
        return parser.Fail("gives a negative point count (" + std::to_string(count) + ").");
    }
    if (count > maxPoints) {
        return parser.Fail("holds " + std::to_string(count) + " points; a path holds at most " +
                           std::to_string(maxPoints) + ".");
    }
    if (mode < MM_STEP || mode > MM_HSPLINE) {
        return parser.Fail("names the unknown mode " + std::to_string(mode) + " (0 to 3 are known).");
    }
    SPath read;
    read.mode = static_cast<tMoveMode>(mode);
    read.loop = loop != 0;
    read.points.resize(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i) {
        if (!parser.ReadPoint(i, count, read.points[static_cast<size_t>(i)])) {
            return false;
        }
    }
    path = std::move(read);
    return true;
}

bool CMovePathFile::Write(const CString& filename, const SPath& path, std::string& error) {
    const std::string text = Format(path);
    return CAtomicFile::WriteWhole(filename, text.data(), text.size(), error);
}

bool CMovePathFile::Read(const CString& filename, int maxPoints, SPath& path, std::string& error) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(filename.c_str(), "r"), &std::fclose);
    if (!file) {
        error = "Cannot open the path file \"" + filename + "\": " + std::strerror(errno) + ".";
        return false;
    }
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        error = "Cannot read the path file \"" + filename + "\": " + std::strerror(errno) + ".";
        return false;
    }
    return Parse(text, filename, maxPoints, path, error);
}
