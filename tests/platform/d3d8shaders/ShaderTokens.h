#pragma once
// Hand-made shader token streams for the tests:
//   VertexFunction({Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, 0), Src(D3DSPR_INPUT, 0)})})

#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/d3d8/D3D8ShaderTokens.h"

namespace shadertokens {

constexpr DWORD kX = D3DSP_WRITEMASK_0, kY = D3DSP_WRITEMASK_1, kZ = D3DSP_WRITEMASK_2, kW = D3DSP_WRITEMASK_3;
constexpr DWORD kAll = D3DSP_WRITEMASK_ALL;
constexpr DWORD kX2 = 1u << D3DSP_DSTSHIFT_SHIFT, kX4 = 2u << D3DSP_DSTSHIFT_SHIFT, kD2 = 0xFu << D3DSP_DSTSHIFT_SHIFT;

inline DWORD Dst(DWORD type, DWORD number, DWORD mask = kAll, DWORD modifiers = 0) {
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(type) | number | mask | modifiers;
}
inline DWORD Src(DWORD type, DWORD number, DWORD swizzle = D3DVS_NOSWIZZLE, DWORD modifier = D3DSPSM_NONE) {
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(type) | number | swizzle | modifier;
}
inline DWORD Relative(DWORD source) {
    return source | D3DVS_ADDRMODE_RELATIVE;
}
inline DWORD Bits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

inline std::vector<DWORD> Op(DWORD opcode, std::initializer_list<DWORD> parameters, bool coissue = false) {
    std::vector<DWORD> tokens{opcode | (coissue ? D3DSI_COISSUE : 0u)};
    tokens.insert(tokens.end(), parameters);
    return tokens;
}
inline std::vector<DWORD> Def(DWORD number, float x, float y, float z, float w) {
    return {D3DSIO_DEF, Dst(D3DSPR_CONST, number), Bits(x), Bits(y), Bits(z), Bits(w)};
}
inline std::vector<DWORD> Function(DWORD version, const std::vector<std::vector<DWORD>>& instructions) {
    std::vector<DWORD> tokens{version};
    for (const std::vector<DWORD>& instruction : instructions)
        tokens.insert(tokens.end(), instruction.begin(), instruction.end());
    tokens.push_back(D3DVS_END());
    return tokens;
}
inline std::vector<DWORD> VertexFunction(const std::vector<std::vector<DWORD>>& instructions) {
    return Function(D3DVS_VERSION(1, 1), instructions);
}
inline std::vector<DWORD> PixelFunction(const std::vector<std::vector<DWORD>>& instructions) {
    return Function(D3DPS_VERSION(1, 1), instructions);
}

}  // namespace shadertokens
