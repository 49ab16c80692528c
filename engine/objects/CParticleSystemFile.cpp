#include "objects/CParticleSystemFile.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

#include "objects/CParticleFileException.h"

namespace {

// Reads one line the way fgets does: up to and including the line feed, at
// most `length` characters. False at the end of the file. A line ending in
// "\r\n" (written on Windows) ends in "\n" here, as a text-mode read gives it.
bool ReadLine(std::FILE* file, size_t length, std::string& line) {
    line.clear();
    while (line.size() < length) {
        const int c = std::getc(file);
        if (c == EOF) {
            break;
        }
        line.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    const size_t size = line.size();
    if (size >= 2 && line[size - 2] == '\r' && line[size - 1] == '\n') {
        line.erase(size - 2, 1);
    }
    return !line.empty();
}

// The blanks atof and atoi skip (isspace in the C locale).
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text without its leading blanks and without a "+" sign, which
// from_chars does not take but atof and atoi do.
std::string_view NumberStart(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    text.remove_prefix(start);
    if (text.size() >= 2 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

template <size_t Count>
std::array<float, Count> ParseNumbers(std::string_view value) {
    std::array<float, Count> numbers{};
    const size_t open = value.find('(');
    size_t position = open == std::string_view::npos ? 0 : open + 1;
    for (size_t i = 0; i < Count && position <= value.size(); ++i) {
        size_t end = value.find_first_of(",)", position);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        numbers[i] = CParticleSystemFile::ParseFloat(value.substr(position, end - position));
        position = end + 1;
    }
    return numbers;
}

std::string Parenthesised(const char* key, const float* values, int count) {
    std::string line = std::string(key) + "=(";
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            line += ", ";
        }
        line += CParticleSystemFile::FormatFloat(values[i]);
    }
    line += ")\n";
    return line;
}

}  // namespace

// ------------------------------------------------------------------ reading

void CParticleSystemFile::Read(std::FILE* file) {
    m_Values.clear();
    std::string line;
    if (!ReadLine(file, kHeaderLineLength, line) || line.find(kHeader) == std::string::npos) {
        throw CParticleFileException("Invalid Header (missing \"[ParticleSystem 1.00]\")");
    }
    int lines = 0;
    while (ReadLine(file, kLineLength, line)) {
        if (++lines >= kMaxLines) {
            throw CParticleFileException("File too big (most likely not a particle system file)");
        }
        // Empty lines (a lone line feed) and stray single characters.
        if (line.size() <= 1) {
            continue;
        }
        AddLine(line);
    }
}

void CParticleSystemFile::AddLine(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;  // names no setting (a comment, or a piece of a binary file)
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (!m_Values.emplace(std::string(key), std::string(value)).second) {
        throw CParticleFileException("Duplicate value encountered.");
    }
}

const std::string& CParticleSystemFile::Value(const std::string& key) const {
    const auto found = m_Values.find(key);
    if (found == m_Values.end()) {
        throw CParticleFileException("Missing property \"" + key + "\"!");
    }
    return found->second;
}

D3DXVECTOR3 CParticleSystemFile::ParseVector(std::string_view value) {
    const std::array<float, 3> n = ParseNumbers<3>(value);
    return D3DXVECTOR3(n[0], n[1], n[2]);
}

D3DXCOLOR CParticleSystemFile::ParseColor(std::string_view value) {
    const std::array<float, 4> n = ParseNumbers<4>(value);
    return D3DXCOLOR(n[0], n[1], n[2], n[3]);
}

CMinMax<float> CParticleSystemFile::ParseRange(std::string_view value) {
    const std::array<float, 2> n = ParseNumbers<2>(value);
    return CMinMax<float>(n[0], n[1]);
}

float CParticleSystemFile::ParseFloat(std::string_view text) {
    text = NumberStart(text);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc()) {
        return value;
    }
    if (error != std::errc::result_out_of_range) {
        return 0.0f;
    }
    // Too large for a float becomes infinite, too small 0, as atof's float
    // would be; a double tells which of the two it is.
    double wide = 0.0;
    const auto [wideEnd, wideError] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (wideError == std::errc() && std::fabs(wide) > std::numeric_limits<float>::max()) {
        return wide > 0.0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    }
    if (wideError == std::errc::result_out_of_range && !text.empty()) {
        // Beyond a double too: huge unless the exponent is negative.
        const bool tiny = text.find("e-") != std::string_view::npos || text.find("E-") != std::string_view::npos;
        if (tiny) {
            return 0.0f;
        }
        return text[0] == '-' ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    }
    return 0.0f;
}

int CParticleSystemFile::ParseInt(std::string_view value) {
    value = NumberStart(value);
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error == std::errc::result_out_of_range) {
        return !value.empty() && value[0] == '-' ? INT_MIN : INT_MAX;
    }
    return error == std::errc() ? number : 0;
}

// ------------------------------------------------------------------ writing

std::string CParticleSystemFile::FormatFloat(float value) {
    // The largest float has 39 digits before the point.
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 4);
    if (error != std::errc()) {
        return "0.0000";
    }
    return std::string(text.data(), end);
}

std::string CParticleSystemFile::VectorLine(const char* key, const D3DXVECTOR3& value) {
    const float values[3] = {value.x, value.y, value.z};
    return Parenthesised(key, values, 3);
}

std::string CParticleSystemFile::ColorLine(const char* key, const D3DXCOLOR& value) {
    const float values[4] = {value.r, value.g, value.b, value.a};
    return Parenthesised(key, values, 4);
}

std::string CParticleSystemFile::RangeLine(const char* key, const CMinMax<float>& value) {
    const float values[2] = {value.m_Min, value.m_Max};
    return Parenthesised(key, values, 2);
}

std::string CParticleSystemFile::IntLine(const char* key, int value) {
    return std::string(key) + "=" + std::to_string(value) + "\n";
}

std::string CParticleSystemFile::TextLine(const char* key, std::string_view value) {
    return std::string(key) + "=" + std::string(value) + "\n";
}
