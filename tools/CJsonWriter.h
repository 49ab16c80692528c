#pragma once
// A small streaming JSON writer with two-space indentation. Texts are
// written as UTF-8; bytes that are not valid UTF-8 (names typed on Windows in
// a single-byte code page) are read as Latin-1, so the output is always valid
// JSON. Numbers are the shortest text that reads back as the same float;
// those that are not finite are written as null.

#include <ostream>
#include <string>
#include <vector>

class CJsonWriter {
public:
    explicit CJsonWriter(std::ostream& out) : m_Out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(const std::string& key);
    void String(const std::string& text);
    // The shortest text that reads back as the same float.
    void Number(float value);
    void Integer(long long value);
    void Bool(bool value);
    void Null();

    // text as a JSON string literal, quotes included.
    static std::string Quote(const std::string& text);

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();

    std::ostream& m_Out;
    // Per open container: whether it holds a value yet.
    std::vector<bool> m_HasValue;
    bool m_AfterKey = false;
};
