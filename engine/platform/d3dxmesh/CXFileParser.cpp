#include "platform/d3dxmesh/CXFileParser.h"

#include <strings.h>

#include <cstring>
#include <utility>

#include "platform/d3dxmesh/CXFileDecompressor.h"

namespace {

constexpr size_t kHeaderSize = 16;

bool IsTemplateKeyword(const SXFileToken& token) {
    return token.type == EXFileToken::Template ||
           (token.type == EXFileToken::Name && strcasecmp(token.text.c_str(), "template") == 0);
}

}  // namespace

bool SXFileObject::IsA(const char* templateName) const {
    return strcasecmp(type.c_str(), templateName) == 0;
}

bool CXFileParser::Parse(const std::uint8_t* data, size_t size, SXFileObject& root) {
    root = SXFileObject();
    root.type = "<root>";
    if (data == nullptr || size < kHeaderSize || std::memcmp(data, "xof ", 4) != 0) {
        return false;
    }
    // "xof 0303txt 0032": the version, the format and the size of a float in bits.
    const std::string format(reinterpret_cast<const char*>(data + 8), 4);
    const std::string floatBits(reinterpret_cast<const char*>(data + 12), 4);
    if (floatBits != "0032" && floatBits != "0064") {
        return false;
    }
    const int floatBytes = floatBits == "0064" ? 8 : 4;
    std::vector<std::uint8_t> inflated;
    const std::uint8_t* body = data + kHeaderSize;
    size_t bodySize = size - kHeaderSize;
    bool binary = false;
    if (format == "tzip" || format == "bzip") {
        if (!CXFileDecompressor::Decompress(data, size, inflated)) {
            return false;
        }
        body = inflated.data();
        bodySize = inflated.size();
        binary = format == "bzip";
    } else if (format == "bin ") {
        binary = true;
    } else if (format != "txt ") {
        return false;
    }
    CXFileTokenizer tokens(body, bodySize, binary, floatBytes);
    CXFileParser parser(tokens);
    return parser.ParseTopLevel(root) && !tokens.Failed();
}

SXFileToken CXFileParser::Next() {
    if (m_bHasPending) {
        m_bHasPending = false;
        return std::move(m_Pending);
    }
    return m_Tokens.Next();
}

void CXFileParser::PushBack(SXFileToken token) {
    m_Pending = std::move(token);
    m_bHasPending = true;
}

bool CXFileParser::ParseTopLevel(SXFileObject& root) {
    for (;;) {
        SXFileToken token = Next();
        if (token.type == EXFileToken::End) {
            return true;
        }
        if (IsTemplateKeyword(token)) {
            if (!SkipTemplate()) {
                return false;
            }
        } else if (token.type == EXFileToken::Name) {
            SXFileObject& object = root.children.emplace_back();
            object.type = std::move(token.text);
            if (!ParseObject(object, 1)) {
                return false;
            }
        } else if (token.type != EXFileToken::Separator) {
            return false;  // data outside any object
        }
    }
}

// "template Name { <guid> members [restrictions] }": nothing in it is data.
bool CXFileParser::SkipTemplate() {
    if (Next().type != EXFileToken::Name || Next().type != EXFileToken::OpenBrace) {
        return false;
    }
    int depth = 1;
    while (depth > 0) {
        const SXFileToken token = Next();
        if (token.type == EXFileToken::End) {
            return false;  // unterminated
        }
        depth += token.type == EXFileToken::OpenBrace ? 1 : 0;
        depth -= token.type == EXFileToken::CloseBrace ? 1 : 0;
        if (depth > kMaxDepth) {
            return false;
        }
    }
    return true;
}

// After the template name: an optional object name, then the braced body.
bool CXFileParser::ParseObject(SXFileObject& object, int depth) {
    if (depth > kMaxDepth) {
        return false;
    }
    SXFileToken token = Next();
    if (token.type == EXFileToken::Name) {
        object.name = std::move(token.text);
        token = Next();
    }
    if (token.type != EXFileToken::OpenBrace) {
        return false;
    }
    return ParseBody(object, depth);
}

bool CXFileParser::ParseBody(SXFileObject& object, int depth) {
    for (;;) {
        SXFileToken token = Next();
        switch (token.type) {
        case EXFileToken::End:
        case EXFileToken::Template:
            return false;  // unterminated, or a template inside data
        case EXFileToken::CloseBrace:
            return true;
        case EXFileToken::Integer:
        case EXFileToken::Float:
            object.numbers.push_back(token.number);
            break;
        case EXFileToken::String:
            object.strings.push_back(std::move(token.text));
            break;
        case EXFileToken::OpenBrace:
            if (!ParseReference(object)) {
                return false;
            }
            break;
        case EXFileToken::Name: {
            // A nested object: "Type {" or "Type name {".
            SXFileToken after = Next();
            const bool nested =
                after.type == EXFileToken::OpenBrace || (after.type == EXFileToken::Name && !IsTemplateKeyword(after));
            PushBack(std::move(after));
            if (!nested) {
                return false;
            }
            SXFileObject child;
            child.type = std::move(token.text);
            if (!ParseObject(child, depth + 1)) {
                return false;
            }
            object.children.push_back(std::move(child));
            break;
        }
        default:
            break;  // separators, GUIDs, punctuation
        }
    }
}

// "{ name }", "{ name <guid> }" or "{ <guid> }" (the opening brace is read).
bool CXFileParser::ParseReference(SXFileObject& parent) {
    SXFileObject reference;
    for (;;) {
        SXFileToken token = Next();
        if (token.type == EXFileToken::CloseBrace) {
            break;
        }
        if (token.type == EXFileToken::Name && reference.name.empty()) {
            reference.name = std::move(token.text);
        } else if (token.type != EXFileToken::Guid) {
            return false;
        }
    }
    parent.children.push_back(std::move(reference));
    return true;
}
