// Decoding shader functions: parameter fields, definitions, comments,
// co-issue and the register summary; the functions the runtime refuses; and
// the cap the device passes, never read beyond.

#include <gtest/gtest.h>

#include "ShaderTokens.h"
#include "platform/d3d8/CShaderDecoder.h"

using namespace shadertokens;

namespace {

HRESULT Decode(const std::vector<DWORD>& tokens, EShaderKind kind, SShaderProgram& program) {
    return CShaderDecoder::Decode(tokens.data(), tokens.size(), kind, program);
}

const std::vector<DWORD> kMovPosition = Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, 0), Src(D3DSPR_INPUT, 0)});

}  // namespace

TEST(ShaderDecoder, ReadsVertexParametersDefinitionsAndTheRegisterSummary) {
    const std::vector<DWORD> tokens = VertexFunction({
        {D3DSHADER_COMMENT(2), 0x12345678, 0x80000000},  // free text, even with bit 31 set
        Def(90, 1.5f, -2.0f, 0.25f, 8.0f),
        kMovPosition,
        Op(D3DSIO_MAD, {Dst(D3DSPR_TEMP, 11, kX | kZ), Src(D3DSPR_INPUT, 1, D3DSWIZZLE(3, 2, 1, 0), D3DSPSM_NEG),
                        Relative(Src(D3DSPR_CONST, 7)), Src(D3DSPR_TEMP, 2)}),
        Op(D3DSIO_M4x4, {Dst(D3DSPR_TEXCRDOUT, 5), Src(D3DSPR_INPUT, 12), Src(D3DSPR_TEMP, 4)}),
        Op(D3DSIO_MOV, {Dst(D3DSPR_ATTROUT, 1), Src(D3DSPR_TEMP, 11)}),
        Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, D3DSRO_FOG, kX), Src(D3DSPR_TEMP, 11)}),
    });
    SShaderProgram program;
    ASSERT_EQ(Decode(tokens, EShaderKind::Vertex, program), D3D_OK);
    EXPECT_EQ(program.tokenCount, tokens.size());
    ASSERT_EQ(program.instructions.size(), 6u);
    EXPECT_EQ(program.instructions[0].values, (std::array<float, 4>{1.5f, -2.0f, 0.25f, 8.0f}));
    EXPECT_TRUE(program.constantsDefined.test(90));
    const SShaderInstruction& mad = program.instructions[2];
    EXPECT_EQ(mad.sourceCount, 3u);
    EXPECT_EQ(mad.destination.writeMask, 0x5u);
    EXPECT_EQ(mad.sources[0].swizzle, 0x1Bu);
    EXPECT_EQ(mad.sources[0].sourceModifier, D3DSPSM_NEG >> D3DSP_SRCMOD_SHIFT);
    EXPECT_TRUE(mad.sources[1].relative);
    EXPECT_EQ(mad.sources[1].number, 7u);
    // m4x4 reads its matrix as four rows, r4 to r7.
    EXPECT_EQ(program.inputsRead, (1u << 0) | (1u << 1) | (1u << 12));
    EXPECT_EQ(program.temporariesUsed, (1u << 2) | (0xFu << 4) | (1u << 11));
    EXPECT_EQ(program.textureCoordinates, 1u << 5);
    EXPECT_EQ(program.colorsWritten, 2u);
    EXPECT_TRUE(program.writesPosition && program.writesFog && program.usesAddressRegister);
    EXPECT_FALSE(program.writesPointSize);
}

TEST(ShaderDecoder, ReadsPixelModifiersCoissueAndTextureUse) {
    const std::vector<DWORD> tokens =
        Function(D3DPS_VERSION(1, 0),
                 {
                     Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}),
                     Op(D3DSIO_TEXBEM, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
                     Op(D3DSIO_TEXREG2AR, {Dst(D3DSPR_TEXTURE, 2), Src(D3DSPR_TEXTURE, 1)}),
                     Op(D3DSIO_MUL, {Dst(D3DSPR_TEMP, 0, kX | kY | kZ, kX2 | D3DSPDM_SATURATE),
                                     Src(D3DSPR_TEXTURE, 1, D3DVS_NOSWIZZLE, D3DSPSM_SIGN),
                                     Src(D3DSPR_INPUT, 0, D3DSP_REPLICATEALPHA, D3DSPSM_BIASNEG)}),
                     Op(D3DSIO_ADD, {Dst(D3DSPR_TEMP, 0, kW, kD2), Src(D3DSPR_CONST, 7), Src(D3DSPR_INPUT, 1)}, true),
                 });
    SShaderProgram program;
    ASSERT_EQ(Decode(tokens, EShaderKind::Pixel, program), D3D_OK);
    const SShaderInstruction& mul = program.instructions[3];
    EXPECT_TRUE(mul.destination.saturate);
    EXPECT_EQ(mul.destination.shift, 1);
    EXPECT_EQ(mul.sources[1].sourceModifier, D3DSPSM_BIASNEG >> D3DSP_SRCMOD_SHIFT);
    EXPECT_EQ(mul.sources[1].swizzle, 0xFFu);
    EXPECT_TRUE(program.instructions[4].coissue);
    EXPECT_EQ(program.instructions[4].destination.shift, -1);
    // texreg2ar reads no coordinates of its own.
    EXPECT_EQ(program.textureCoordinates, 0x3u);
    EXPECT_EQ(program.texturesSampled, 0x7u);
    EXPECT_EQ(program.inputsRead, 0x3u);
}

TEST(ShaderDecoder, RefusesWhatTheRuntimeRefuses) {
    auto vs = [](DWORD d, DWORD s) { return VertexFunction({Op(D3DSIO_MOV, {d, s})}); };
    auto ps = [](DWORD d, DWORD s) { return PixelFunction({Op(D3DSIO_MOV, {d, s})}); };
    const DWORD r0 = Dst(D3DSPR_TEMP, 0), r1 = Src(D3DSPR_TEMP, 1), t0 = Src(D3DSPR_TEXTURE, 0);
    const std::vector<DWORD> tex = Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)});
    const std::vector<DWORD> pad = Op(D3DSIO_TEXM3x2PAD, {Dst(D3DSPR_TEXTURE, 1), t0});
    const std::vector<std::pair<EShaderKind, std::vector<DWORD>>> cases = {
        {EShaderKind::Vertex, Function(D3DPS_VERSION(1, 1), {kMovPosition})},
        {EShaderKind::Vertex, Function(D3DVS_VERSION(2, 0), {kMovPosition})},
        {EShaderKind::Vertex, {D3DVS_VERSION(1, 1), D3DSIO_MOV, Dst(D3DSPR_RASTOUT, 0), Src(D3DSPR_INPUT, 0)}},
        {EShaderKind::Vertex, {D3DVS_VERSION(1, 1), D3DSHADER_COMMENT(5), 0, D3DVS_END()}},
        {EShaderKind::Vertex, VertexFunction({Op(99, {r0, r1})})},
        {EShaderKind::Vertex, VertexFunction({Op(D3DSIO_TEX, {r0})})},
        {EShaderKind::Vertex, VertexFunction({{D3DSIO_MOV, r0, 0x00000001}})},
        {EShaderKind::Vertex, VertexFunction({Op(D3DSIO_ADD, {r0, r1})})},
        {EShaderKind::Vertex, VertexFunction({Op(D3DSIO_MOV, {r0, r1, r1})})},
        {EShaderKind::Vertex, vs(Dst(D3DSPR_TEMP, 12), r1)},
        {EShaderKind::Vertex, vs(r0, Src(D3DSPR_INPUT, 16))},
        {EShaderKind::Vertex, vs(r0, Relative(Src(D3DSPR_CONST, 96)))},
        {EShaderKind::Vertex, vs(Dst(D3DSPR_INPUT, 0), r1)},
        {EShaderKind::Vertex, vs(r0, Src(D3DSPR_RASTOUT, 0))},
        {EShaderKind::Vertex, vs(r0, Src(D3DSPR_ADDR, 0))},
        {EShaderKind::Vertex, vs(Dst(D3DSPR_TEXCRDOUT, 8), r1)},
        {EShaderKind::Vertex, VertexFunction({Op(D3DSIO_ADD, {Dst(D3DSPR_ADDR, 0, kX), r1, r1})})},
        {EShaderKind::Vertex, vs(r0, Relative(r1))},
        {EShaderKind::Vertex, VertexFunction({Op(D3DSIO_M4x4, {r0, r1, Src(D3DSPR_CONST, 93)})})},
        {EShaderKind::Vertex, vs(r0, Src(D3DSPR_TEMP, 1, D3DVS_NOSWIZZLE, D3DSPSM_BIAS))},
        {EShaderKind::Vertex, vs(Dst(D3DSPR_TEMP, 0, kAll, D3DSPDM_SATURATE), r1)},
        {EShaderKind::Vertex, VertexFunction({kMovPosition, Op(D3DSIO_MOV, {r0, r1}, true)})},
        {EShaderKind::Vertex, VertexFunction({Def(96, 0, 0, 0, 0)})},
        {EShaderKind::Vertex, VertexFunction(std::vector<std::vector<DWORD>>(129, kMovPosition))},
        {EShaderKind::Pixel, Function(D3DPS_VERSION(1, 4), {Op(D3DSIO_MOV, {r0, r1})})},
        {EShaderKind::Pixel, ps(Dst(D3DSPR_TEMP, 2), r1)},
        {EShaderKind::Pixel, ps(r0, Src(D3DSPR_CONST, 8))},
        {EShaderKind::Pixel, ps(Dst(D3DSPR_CONST, 0), r1)},
        {EShaderKind::Pixel, ps(r0, Src(D3DSPR_TEMP, 1, D3DVS_NOSWIZZLE, D3DSPSM_X2))},
        {EShaderKind::Pixel, ps(Dst(D3DSPR_TEMP, 0, kAll, 3u << D3DSP_DSTSHIFT_SHIFT), r1)},
        {EShaderKind::Pixel, PixelFunction({Op(D3DSIO_RCP, {r0, r1})})},
        {EShaderKind::Pixel, PixelFunction({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0, kX)})})},
        {EShaderKind::Pixel, PixelFunction({tex, Op(D3DSIO_TEXM3x2TEX, {Dst(D3DSPR_TEXTURE, 1), t0})})},
        {EShaderKind::Pixel, PixelFunction({tex, pad, Op(D3DSIO_MOV, {r0, r1})})},
        {EShaderKind::Pixel, PixelFunction({tex, Op(D3DSIO_MOV, {r0, r1}, true)})},
        {EShaderKind::Pixel, PixelFunction(std::vector<std::vector<DWORD>>(9, Op(D3DSIO_MOV, {r0, r1})))},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SShaderProgram program;
        std::string error;
        const std::vector<DWORD>& tokens = cases[i].second;
        EXPECT_EQ(CShaderDecoder::Decode(tokens.data(), tokens.size(), cases[i].first, program, &error),
                  D3DERR_INVALIDCALL)
            << "case " << i;
        EXPECT_FALSE(error.empty()) << "case " << i;
        EXPECT_TRUE(program.instructions.empty()) << "case " << i;
    }
}

TEST(ShaderDecoder, NeverReadsPastTheCap) {
    // Every cut is an allocation of its exact size: a read past it shows
    // under the address sanitizer, and each misses the end token.
    std::vector<DWORD> tokens = VertexFunction({Def(3, 1, 2, 3, 4), kMovPosition, {D3DSHADER_COMMENT(1), 7}});
    SShaderProgram program;
    for (std::size_t cap = 0; cap < tokens.size(); ++cap) {
        const std::vector<DWORD> cut(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(cap));
        EXPECT_EQ(Decode(cut, EShaderKind::Vertex, program), D3DERR_INVALIDCALL) << cap;
    }
    tokens.push_back(0xDEADBEEF);  // beyond the end token: never looked at
    EXPECT_EQ(Decode(tokens, EShaderKind::Vertex, program), D3D_OK);
    EXPECT_EQ(program.tokenCount, tokens.size() - 1);
}
