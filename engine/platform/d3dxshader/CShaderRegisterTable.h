#pragma once
// The registers of vertex shader 1.1 or pixel shader 1.1: their names, the
// Direct3D 8 register type they encode as, how many there are, and whether
// instructions may read or write them.
//
//   vertex: r0-r11, v0-v15, c0-c95, a0, oPos, oFog, oPts, oD0-oD1, oT0-oT7
//   pixel:  r0-r1, t0-t3, v0-v1, c0-c7

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/SShaderProgram.h"  // EShaderKind

struct SShaderRegisterClass {
    const char* prefix;  // lower case; the whole name of an unnumbered register ("opos")
    DWORD type;          // D3DSPR_*
    DWORD count;         // 0: unnumbered, its number is fixedNumber
    DWORD fixedNumber;
    bool readable;
    bool writable;
};

struct SShaderRegister {
    const SShaderRegisterClass* registerClass = nullptr;
    DWORD number = 0;
    std::string name;  // as written, for messages

    bool Is(DWORD type) const { return registerClass->type == type; }
};

class CShaderRegisterTable {
public:
    explicit CShaderRegisterTable(EShaderKind kind) : m_kind(kind) {}

    EShaderKind Kind() const { return m_kind; }
    // The register a name like "r3", "oPos" or "oT7" stands for, in any case.
    // Throws CShaderSyntaxError for unknown names and numbers out of range.
    SShaderRegister Resolve(std::string_view name) const;
    // The class of a numbered register ("c"), for relative addressing.
    const SShaderRegisterClass* FindNumbered(std::string_view lowerPrefix) const;
    // "c0-c95" or "oPos", for messages.
    static std::string Range(const SShaderRegisterClass& registerClass);

private:
    const SShaderRegisterClass* FindUnnumbered(std::string_view lowerName) const;
    static DWORD ParseNumber(const SShaderRegisterClass& registerClass, std::string_view digits, std::string_view name);

    EShaderKind m_kind;
};
