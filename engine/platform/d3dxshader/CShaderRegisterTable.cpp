#include "platform/d3dxshader/CShaderRegisterTable.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/CShaderSyntaxError.h"

namespace {

// a0 is written by mov and read only through c[a0.x + n], so it does not
// count as readable here.
constexpr SShaderRegisterClass kVertexRegisters[] = {
    {"r", D3DSPR_TEMP, D3D8_VS_TEMP_REGISTERS, 0, true, true},
    {"v", D3DSPR_INPUT, D3D8_VS_INPUT_REGISTERS, 0, true, false},
    {"c", D3DSPR_CONST, D3D8_VS_CONSTANT_REGISTERS, 0, true, false},
    {"a", D3DSPR_ADDR, 1, 0, false, true},
    {"opos", D3DSPR_RASTOUT, 0, D3DSRO_POSITION, false, true},
    {"ofog", D3DSPR_RASTOUT, 0, D3DSRO_FOG, false, true},
    {"opts", D3DSPR_RASTOUT, 0, D3DSRO_POINT_SIZE, false, true},
    {"od", D3DSPR_ATTROUT, 2, 0, false, true},
    {"ot", D3DSPR_TEXCRDOUT, D3D8_VS_TEXCOORD_OUTPUTS, 0, false, true},
};

constexpr SShaderRegisterClass kPixelRegisters[] = {
    {"r", D3DSPR_TEMP, D3D8_PS_TEMP_REGISTERS, 0, true, true},
    {"t", D3DSPR_TEXTURE, D3D8_PS_TEXTURE_REGISTERS, 0, true, true},
    {"v", D3DSPR_INPUT, D3D8_PS_INPUT_REGISTERS, 0, true, false},
    {"c", D3DSPR_CONST, D3D8_PS_CONSTANT_REGISTERS, 0, true, false},
};

template <typename Match>
const SShaderRegisterClass* FindClass(EShaderKind kind, Match match) {
    const auto find = [&](const auto& table) -> const SShaderRegisterClass* {
        const auto found = std::find_if(std::begin(table), std::end(table), match);
        return found == std::end(table) ? nullptr : &*found;
    };
    return kind == EShaderKind::Vertex ? find(kVertexRegisters) : find(kPixelRegisters);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Names as the documentation writes them: "oPos", "oD", "oT".
std::string Spelled(const char* prefix) {
    std::string name(prefix);
    if (name.size() > 1 && name[0] == 'o') {
        name[1] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])));
    }
    return name;
}

}  // namespace

SShaderRegister CShaderRegisterTable::Resolve(std::string_view name) const {
    const std::string lower = Lower(name);
    const size_t digits = lower.find_first_of("0123456789");
    SShaderRegister result;
    result.name = std::string(name);
    if (digits == std::string::npos) {
        result.registerClass = FindUnnumbered(lower);
        if (result.registerClass == nullptr) {
            const bool numbered = FindNumbered(lower) != nullptr;
            throw CShaderSyntaxError(numbered ? "register '" + result.name + "' needs a number"
                                              : "unknown register '" + result.name + "'");
        }
        result.number = result.registerClass->fixedNumber;
        return result;
    }
    result.registerClass = FindNumbered(std::string_view(lower).substr(0, digits));
    if (result.registerClass == nullptr) {
        throw CShaderSyntaxError("unknown register '" + result.name + "'");
    }
    result.number = ParseNumber(*result.registerClass, std::string_view(lower).substr(digits), name);
    return result;
}

const SShaderRegisterClass* CShaderRegisterTable::FindNumbered(std::string_view lowerPrefix) const {
    return FindClass(m_kind, [&](const SShaderRegisterClass& c) { return c.count > 0 && lowerPrefix == c.prefix; });
}

const SShaderRegisterClass* CShaderRegisterTable::FindUnnumbered(std::string_view lowerName) const {
    return FindClass(m_kind, [&](const SShaderRegisterClass& c) { return c.count == 0 && lowerName == c.prefix; });
}

DWORD CShaderRegisterTable::ParseNumber(const SShaderRegisterClass& registerClass, std::string_view digits,
                                        std::string_view name) {
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
        throw CShaderSyntaxError("unknown register '" + std::string(name) + "'");
    }
    DWORD number = 0;
    for (const char digit : digits) {
        number = number * 10 + static_cast<DWORD>(digit - '0');
        if (number >= registerClass.count) {
            throw CShaderSyntaxError("register '" + std::string(name) + "' is out of range (" + Range(registerClass) +
                                     ")");
        }
    }
    return number;
}

std::string CShaderRegisterTable::Range(const SShaderRegisterClass& registerClass) {
    const std::string name = Spelled(registerClass.prefix);
    if (registerClass.count == 0) {
        return name;
    }
    if (registerClass.count == 1) {
        return name + "0";
    }
    return name + "0-" + name + std::to_string(registerClass.count - 1);
}
