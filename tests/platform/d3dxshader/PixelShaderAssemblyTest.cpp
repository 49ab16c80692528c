// Pixel shader 1.1 text to tokens: texture address instructions, result
// shifts and saturation, source modifiers and replicate swizzles, masks,
// co-issue, and the engine's bump-mapping program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ShaderAssembly.h"

using namespace shaderasm;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

constexpr DWORD kTemp = D3DSPR_TEMP;
constexpr DWORD kTexture = D3DSPR_TEXTURE;
constexpr DWORD kInput = D3DSPR_INPUT;
constexpr DWORD kConst = D3DSPR_CONST;

DWORD Shift(DWORD value) {
    return value << D3DSP_DSTSHIFT_SHIFT;
}

// The source token of "mov r0, <source>".
DWORD SourceOf(const std::string& source) {
    const std::vector<DWORD> body = Body("ps.1.1\nmov r0, " + source);
    return body.size() == 3 ? body[2] : 0;
}

// The destination token of "<mnemonic> <destination>, v0".
DWORD DestinationOf(const std::string& mnemonic, const std::string& destination) {
    const std::vector<DWORD> body = Body("ps.1.1\n" + mnemonic + " " + destination + ", v0");
    return body.size() == 3 ? body[1] : 0;
}

}  // namespace

TEST(PixelShaderAssemblyTest, TheBumpProgramAssemblesWhole) {
    const SAssembly assembly = Assemble(BumpPixelProgram());
    ASSERT_EQ(assembly.result, D3D_OK) << assembly.errors;
    const DWORD hundredth = FloatBits(0.01f);
    const DWORD half = FloatBits(0.5f);
    // clang-format off
    EXPECT_THAT(assembly.tokens, ElementsAreArray(std::vector<DWORD>{
        0xFFFF0101u,
        D3DSIO_DEF, 0xA00F0000u, hundredth, hundredth, hundredth, 0u,
        D3DSIO_DEF, 0xA00F0001u, half, half, half, 0x3F800000u,
        D3DSIO_TEX, 0xB00F0000u,
        D3DSIO_TEX, 0xB00F0001u,
        D3DSIO_TEX, 0xB00F0002u,
        D3DSIO_DP3, 0x80170000u, 0xB4E40001u, 0x94E40000u,  // _sat, .rgb, _bx2
        D3DSIO_MOV | D3DSI_COISSUE, Dst(kTemp, 0, kW), Src(kConst, 1),
        D3DSIO_MAD, Dst(kTemp, 0) | D3DSPDM_SATURATE, Src(kTemp, 0), Src(kConst, 1), Src(kConst, 0),
        D3DSIO_ADD, Dst(kTemp, 0) | Shift(0xF), Src(kTemp, 0), Src(kTexture, 0),
        D3DPS_END()}));
    // clang-format on
    EXPECT_TRUE(assembly.constants.empty());
}

TEST(PixelShaderAssemblyTest, SourceModifiersAndReplicateSwizzles) {
    EXPECT_EQ(SourceOf("r0"), Src(kTemp, 0));
    EXPECT_EQ(SourceOf("-r0"), Src(kTemp, 0, D3DSP_NOSWIZZLE, D3DSPSM_NEG));
    EXPECT_EQ(SourceOf("1-r0"), Src(kTemp, 0, D3DSP_NOSWIZZLE, D3DSPSM_COMP));
    EXPECT_EQ(SourceOf("1 - r1"), Src(kTemp, 1, D3DSP_NOSWIZZLE, D3DSPSM_COMP));
    EXPECT_EQ(SourceOf("r0_bias"), Src(kTemp, 0, D3DSP_NOSWIZZLE, D3DSPSM_BIAS));
    EXPECT_EQ(SourceOf("-r0_bias"), Src(kTemp, 0, D3DSP_NOSWIZZLE, D3DSPSM_BIASNEG));
    EXPECT_EQ(SourceOf("t0_bx2"), Src(kTexture, 0, D3DSP_NOSWIZZLE, D3DSPSM_SIGN));
    EXPECT_EQ(SourceOf("-t0_bx2"), Src(kTexture, 0, D3DSP_NOSWIZZLE, D3DSPSM_SIGNNEG));
    EXPECT_EQ(SourceOf("v1.a"), Src(kInput, 1, D3DSP_REPLICATEALPHA));
    EXPECT_EQ(SourceOf("c7.b"), Src(kConst, 7, D3DSP_REPLICATEBLUE));
    EXPECT_EQ(SourceOf("t3.w"), Src(kTexture, 3, D3DSP_REPLICATEALPHA));
    EXPECT_EQ(SourceOf("-t0_bx2.a"), Src(kTexture, 0, D3DSP_REPLICATEALPHA, D3DSPSM_SIGNNEG));
    EXPECT_EQ(SourceOf("-t0.a_bx2"), SourceOf("-t0_bx2.a"));
    EXPECT_EQ(SourceOf("1-r1.a"), Src(kTemp, 1, D3DSP_REPLICATEALPHA, D3DSPSM_COMP));
}

TEST(PixelShaderAssemblyTest, InstructionModifiersSetShiftAndSaturation) {
    EXPECT_EQ(DestinationOf("mov_x2", "r0"), Dst(kTemp, 0) | Shift(1));
    EXPECT_EQ(DestinationOf("mov_x4", "r1"), Dst(kTemp, 1) | Shift(2));
    EXPECT_EQ(DestinationOf("mov_d2", "t1"), Dst(kTexture, 1) | Shift(0xF));
    EXPECT_EQ(DestinationOf("mov_sat", "r0"), Dst(kTemp, 0) | D3DSPDM_SATURATE);
    EXPECT_EQ(DestinationOf("mov_x2_sat", "r0.a"), Dst(kTemp, 0, kW) | Shift(1) | D3DSPDM_SATURATE);
    EXPECT_EQ(DestinationOf("MOV_SAT_X4", "r0"), Dst(kTemp, 0) | Shift(2) | D3DSPDM_SATURATE);
}

TEST(PixelShaderAssemblyTest, MasksAreRgbAlphaOrAll) {
    EXPECT_EQ(DestinationOf("mov", "r0.rgb"), Dst(kTemp, 0, kRgb));
    EXPECT_EQ(DestinationOf("mov", "r0.xyz"), Dst(kTemp, 0, kRgb));
    EXPECT_EQ(DestinationOf("mov", "r0.a"), Dst(kTemp, 0, kW));
    EXPECT_EQ(DestinationOf("mov", "r0.rgba"), Dst(kTemp, 0));
}

TEST(PixelShaderAssemblyTest, TextureAddressInstructionsWriteTAndReadT) {
    EXPECT_THAT(Body("ps.1.0\ntexcoord t0\ntexkill t1\ntexbem t2, t1\ntexm3x3spec t3, t2, c5\nmov r0, t3"),
                ElementsAre(D3DSIO_TEXCOORD, Dst(kTexture, 0),                                       //
                            D3DSIO_TEXKILL, Dst(kTexture, 1),                                        //
                            D3DSIO_TEXBEM, Dst(kTexture, 2), Src(kTexture, 1),                       //
                            D3DSIO_TEXM3x3SPEC, Dst(kTexture, 3), Src(kTexture, 2), Src(kConst, 5),  //
                            D3DSIO_MOV, Dst(kTemp, 0), Src(kTexture, 3)));
    EXPECT_EQ(Assemble("ps.1.0").tokens.front(), D3DPS_VERSION(1, 0));

    const std::vector<DWORD> pairs = Body(
        "ps.1.1\ntexbeml t1, t0\ntexreg2ar t1, t0\ntexreg2gb t1, t0\ntexm3x2pad t1, t0\ntexm3x2tex t1, t0\n"
        "texm3x3pad t1, t0\ntexm3x3tex t1, t0\ntexm3x3vspec t1, t0");
    EXPECT_THAT(Layout(pairs), ElementsAreArray(std::vector<SInstructionLayout>{{D3DSIO_TEXBEML, 2},
                                                                                {D3DSIO_TEXREG2AR, 2},
                                                                                {D3DSIO_TEXREG2GB, 2},
                                                                                {D3DSIO_TEXM3x2PAD, 2},
                                                                                {D3DSIO_TEXM3x2TEX, 2},
                                                                                {D3DSIO_TEXM3x3PAD, 2},
                                                                                {D3DSIO_TEXM3x3TEX, 2},
                                                                                {D3DSIO_TEXM3x3VSPEC, 2}}));
    EXPECT_THAT(std::vector<DWORD>(pairs.begin() + 1, pairs.begin() + 3),
                ElementsAre(Dst(kTexture, 1), Src(kTexture, 0)));
}

TEST(PixelShaderAssemblyTest, ArithmeticInstructionsOfPixelShaders) {
    EXPECT_THAT(
        Body("ps.1.1\nlrp r0, v0, r1, c0\ncnd r1, r0.a, v0, v1\nsub r0, 1-v0, c1\nnop"),
        ElementsAre(D3DSIO_LRP, Dst(kTemp, 0), Src(kInput, 0), Src(kTemp, 1), Src(kConst, 0),                        //
                    D3DSIO_CND, Dst(kTemp, 1), Src(kTemp, 0, D3DSP_REPLICATEALPHA), Src(kInput, 0), Src(kInput, 1),  //
                    D3DSIO_SUB, Dst(kTemp, 0), Src(kInput, 0, D3DSP_NOSWIZZLE, D3DSPSM_COMP), Src(kConst, 1),
                    D3DSIO_NOP));
}

TEST(PixelShaderAssemblyTest, CoIssueMarksTheSecondInstructionEitherWayRound) {
    EXPECT_THAT(Body("ps.1.1\nmul r0.a, v0, v1\n+add r1.rgb, v0, c0"),
                ElementsAre(D3DSIO_MUL, Dst(kTemp, 0, kW), Src(kInput, 0), Src(kInput, 1),  //
                            D3DSIO_ADD | D3DSI_COISSUE, Dst(kTemp, 1, kRgb), Src(kInput, 0), Src(kConst, 0)));
}
