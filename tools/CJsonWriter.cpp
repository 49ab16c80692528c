#include "CJsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    unsigned code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::string CJsonWriter::Quote(const std::string& text) {
    std::string quoted = "\"";
    char escape[8];
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        switch (byte) {
        case '"':
            quoted += "\\\"";
            continue;
        case '\\':
            quoted += "\\\\";
            continue;
        case '\n':
            quoted += "\\n";
            continue;
        case '\r':
            quoted += "\\r";
            continue;
        case '\t':
            quoted += "\\t";
            continue;
        default:
            break;
        }
        if (byte < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else if (byte < 0x80) {
            quoted += static_cast<char>(byte);
        } else if (const size_t length = Utf8SequenceLength(text, i)) {
            quoted.append(text, i, length);
            i += length - 1;
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);  // Latin-1
            quoted += escape;
        }
    }
    return quoted + "\"";
}

void CJsonWriter::NewLine() {
    m_Out << '\n' << std::string(m_HasValue.size() * 2, ' ');
}

void CJsonWriter::BeforeValue() {
    if (m_AfterKey) {
        m_AfterKey = false;
        return;
    }
    if (m_HasValue.empty())
        return;
    if (m_HasValue.back())
        m_Out << ',';
    m_HasValue.back() = true;
    NewLine();
}

void CJsonWriter::Open(char bracket) {
    BeforeValue();
    m_Out << bracket;
    m_HasValue.push_back(false);
}

void CJsonWriter::Close(char bracket) {
    const bool hadValue = !m_HasValue.empty() && m_HasValue.back();
    if (!m_HasValue.empty())
        m_HasValue.pop_back();
    if (hadValue)
        NewLine();
    m_Out << bracket;
    if (m_HasValue.empty())
        m_Out << '\n';
}

void CJsonWriter::BeginObject() {
    Open('{');
}
void CJsonWriter::EndObject() {
    Close('}');
}
void CJsonWriter::BeginArray() {
    Open('[');
}
void CJsonWriter::EndArray() {
    Close(']');
}

void CJsonWriter::Key(const std::string& key) {
    BeforeValue();
    m_Out << Quote(key) << ": ";
    m_AfterKey = true;
}

void CJsonWriter::String(const std::string& text) {
    BeforeValue();
    m_Out << Quote(text);
}

void CJsonWriter::Number(float value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        m_Out << "null";
        return;
    }
    // The shortest text that reads back as the same float: 0.02, not the
    // 0.0199999996 that nine significant digits give.
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    m_Out.write(text, end.ptr - text);
}

void CJsonWriter::Integer(long long value) {
    BeforeValue();
    m_Out << value;
}

void CJsonWriter::Bool(bool value) {
    BeforeValue();
    m_Out << (value ? "true" : "false");
}

void CJsonWriter::Null() {
    BeforeValue();
    m_Out << "null";
}
