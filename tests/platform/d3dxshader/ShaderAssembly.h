#pragma once
// Assembling text through D3DXAssembleShader, and building the tokens the
// tests expect from the token header's own definitions.

#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/d3dx8shader.h"

namespace shaderasm {

struct SAssembly {
    HRESULT result = E_FAIL;
    std::vector<DWORD> tokens;
    std::vector<DWORD> constants;
    std::string errors;  // without the terminating zero
    bool errorsTerminated = false;
};

inline std::vector<DWORD> TokensOf(LPD3DXBUFFER buffer) {
    std::vector<DWORD> tokens(buffer->GetBufferSize() / sizeof(DWORD));
    if (!tokens.empty()) {
        std::memcpy(tokens.data(), buffer->GetBufferPointer(), tokens.size() * sizeof(DWORD));
    }
    buffer->Release();
    return tokens;
}

// Takes the buffers the call returned (any may be null).
inline SAssembly Collect(HRESULT result, LPD3DXBUFFER code, LPD3DXBUFFER constants, LPD3DXBUFFER errors) {
    SAssembly assembly;
    assembly.result = result;
    if (code != nullptr) {
        assembly.tokens = TokensOf(code);
    }
    if (constants != nullptr) {
        assembly.constants = TokensOf(constants);
    }
    if (errors != nullptr) {
        const char* text = static_cast<const char*>(errors->GetBufferPointer());
        const DWORD size = errors->GetBufferSize();
        assembly.errorsTerminated = size > 0 && text[size - 1] == '\0';
        assembly.errors.assign(text, assembly.errorsTerminated ? size - 1 : size);
        errors->Release();
    }
    return assembly;
}

inline SAssembly Assemble(std::string_view text) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXBUFFER constants = nullptr;
    LPD3DXBUFFER errors = nullptr;
    const HRESULT result =
        D3DXAssembleShader(text.data(), static_cast<UINT>(text.size()), 0, &constants, &code, &errors);
    return Collect(result, code, constants, errors);
}

// The tokens between the version and the end token; empty when assembly fails.
inline std::vector<DWORD> Body(std::string_view text) {
    const std::vector<DWORD> tokens = Assemble(text).tokens;
    if (tokens.size() < 2) {
        return {};
    }
    return std::vector<DWORD>(tokens.begin() + 1, tokens.end() - 1);
}

// An instruction token and the number of parameter tokens after it (code
// without def, whose values are no parameter tokens).
struct SInstructionLayout {
    DWORD instruction;
    size_t parameters;
    bool operator==(const SInstructionLayout&) const = default;
};

inline std::vector<SInstructionLayout> Layout(const std::vector<DWORD>& body) {
    std::vector<SInstructionLayout> layout;
    for (const DWORD token : body) {
        if ((token & D3DSP_PARAMETER_BIT) == 0) {
            layout.push_back({token, 0});
        } else if (!layout.empty()) {
            ++layout.back().parameters;
        }
    }
    return layout;
}

inline void PrintTo(const SInstructionLayout& layout, std::ostream* out) {
    *out << "{" << layout.instruction << ", " << layout.parameters << "}";
}

inline std::string Joined(const std::vector<std::string>& lines, const char* separator = "\n") {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += (i > 0 ? separator : "") + lines[i];
    }
    return text;
}

// The engine's bump-map pixel program, line for line.
inline std::string BumpPixelProgram() {
    return Joined({"ps.1.1", "def c0, 0.01, 0.01, 0.01, 0.0", "def c1, 0.5, 0.5, 0.5, 1.0", "tex t0", "tex t1",
                   "tex t2", ";dp3_sat r0, t0_bx2, v0_bx2", "dp3_sat r0.rgb, t1_bx2, v0_bx2", "+ mov r0.a, c1",
                   "mad_sat r0, r0, c1, c0", "add_d2 r0,r0,t0"});
}

constexpr DWORD Dst(DWORD type, DWORD number, DWORD mask = D3DSP_WRITEMASK_ALL) {
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(type) | mask | number;
}

constexpr DWORD Src(DWORD type, DWORD number, DWORD swizzle = D3DSP_NOSWIZZLE, DWORD modifier = D3DSPSM_NONE) {
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(type) | swizzle | modifier | number;
}

constexpr DWORD kX = D3DSP_WRITEMASK_0;
constexpr DWORD kY = D3DSP_WRITEMASK_1;
constexpr DWORD kZ = D3DSP_WRITEMASK_2;
constexpr DWORD kW = D3DSP_WRITEMASK_3;
constexpr DWORD kRgb = kX | kY | kZ;

inline DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace shaderasm
