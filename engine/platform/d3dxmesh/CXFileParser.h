#pragma once
// Reads the data objects of a ".x" file into a tree: each object keeps its
// template name, its own name, the numbers and strings of its members in
// file order, and its nested objects and references ("{ name }") in file
// order. Templates are skipped. Nesting is bounded, and a damaged file
// (unterminated braces, a malformed token, a stray token) is refused.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dxmesh/CXFileTokenizer.h"

struct SXFileObject {
    std::string type;  // the template's name; empty for a reference
    std::string name;  // the object's name, or the name a reference refers to
    std::vector<double> numbers;
    std::vector<std::string> strings;
    std::vector<SXFileObject> children;

    bool IsReference() const { return type.empty(); }
    // Template names compare without case: writers differ.
    bool IsA(const char* templateName) const;
};

class CXFileParser {
public:
    static constexpr int kMaxDepth = 64;

    // data and size: a whole file, header included. The top-level objects
    // become root's children; false for a file that is not a readable ".x"
    // file.
    static bool Parse(const std::uint8_t* data, size_t size, SXFileObject& root);

private:
    explicit CXFileParser(CXFileTokenizer& tokens) : m_Tokens(tokens) {}

    bool ParseTopLevel(SXFileObject& root);
    bool ParseObject(SXFileObject& object, int depth);
    bool ParseBody(SXFileObject& object, int depth);
    bool ParseReference(SXFileObject& parent);
    bool SkipTemplate();
    SXFileToken Next();
    void PushBack(SXFileToken token);

    CXFileTokenizer& m_Tokens;
    SXFileToken m_Pending;
    bool m_bHasPending = false;
};
