// Vertex shader 1.1 text to tokens: opcodes, registers, write masks,
// swizzles, negation, relative constants, a0, def, and the engine's own
// vertex programs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ShaderAssembly.h"

using namespace shaderasm;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

constexpr DWORD kTemp = D3DSPR_TEMP;
constexpr DWORD kInput = D3DSPR_INPUT;
constexpr DWORD kConst = D3DSPR_CONST;
constexpr DWORD kXxxx = D3DSP_REPLICATERED;
constexpr DWORD kXyzz = D3DSWIZZLE(0, 1, 2, 2);

const std::vector<std::string> kTransform = {"dp4 oPos.x, v0, c0", "dp4 oPos.y, v0, c1", "dp4 oPos.z, v0, c2",
                                             "dp4 oPos.w, v0, c3"};

std::vector<std::string> WithTransform(std::vector<std::string> rest) {
    std::vector<std::string> lines = {"vs.1.1"};
    lines.insert(lines.end(), kTransform.begin(), kTransform.end());
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

DWORD Pos(DWORD mask) {
    return Dst(D3DSPR_RASTOUT, D3DSRO_POSITION, mask);
}

}  // namespace

TEST(VertexShaderAssemblyTest, AProgramIsVersionInstructionsAndEnd) {
    const SAssembly assembly = Assemble("vs.1.1\nmov oPos, v0");
    EXPECT_EQ(assembly.result, D3D_OK);
    EXPECT_THAT(assembly.tokens, ElementsAre(0xFFFE0101u, D3DSIO_MOV, 0xC00F0000u, 0x90E40000u, D3DVS_END()));
    EXPECT_THAT(Assemble("vs.1.0").tokens, ElementsAre(D3DVS_VERSION(1, 0), D3DVS_END()));
}

TEST(VertexShaderAssemblyTest, EveryMnemonicHasItsOpcodeAndOperandCount) {
    const std::vector<DWORD> body = Body(
        "vs.1.1\nnop\nmov r0, v0\nadd r0, r1, v0\nsub r0, r1, v0\nmul r0, r1, v0\nmad r0, r1, v0, c0\n"
        "dp3 r0, r1, v0\ndp4 r0, r1, v0\nrcp r0, v0.w\nrsq r0, v0.w\nmin r0, r1, v0\nmax r0, r1, v0\n"
        "slt r0, r1, v0\nsge r0, r1, v0\nexp r0, v0.w\nexpp r0, v0.w\nlog r0, v0.w\nlogp r0, v0.w\n"
        "lit r0, v0\ndst r0, r1, v0\nfrc r0, v0\nm4x4 r0, v0, c0\nm4x3 r0, v0, c0\nm3x4 r0, v0, c0\n"
        "m3x3 r0, v0, c0\nm3x2 r0, v0, c0");
    EXPECT_THAT(
        Layout(body),
        ElementsAreArray(std::vector<SInstructionLayout>{
            {D3DSIO_NOP, 0},  {D3DSIO_MOV, 2}, {D3DSIO_ADD, 3}, {D3DSIO_SUB, 3},  {D3DSIO_MUL, 3},  {D3DSIO_MAD, 4},
            {D3DSIO_DP3, 3},  {D3DSIO_DP4, 3}, {D3DSIO_RCP, 2}, {D3DSIO_RSQ, 2},  {D3DSIO_MIN, 3},  {D3DSIO_MAX, 3},
            {D3DSIO_SLT, 3},  {D3DSIO_SGE, 3}, {D3DSIO_EXP, 2}, {D3DSIO_EXPP, 2}, {D3DSIO_LOG, 2},  {D3DSIO_LOGP, 2},
            {D3DSIO_LIT, 2},  {D3DSIO_DST, 3}, {D3DSIO_FRC, 2}, {D3DSIO_M4x4, 3}, {D3DSIO_M4x3, 3}, {D3DSIO_M3x4, 3},
            {D3DSIO_M3x3, 3}, {D3DSIO_M3x2, 3}}));
}

TEST(VertexShaderAssemblyTest, RegistersEncodeTheirTypeAndNumber) {
    EXPECT_THAT(Body("vs.1.1\nmov r11, v15\nmov oFog, c95\nmov oPts, r0\nmov oD1, r0\nmov oT7, r0"),
                ElementsAre(D3DSIO_MOV, Dst(kTemp, 11), Src(kInput, 15),                        //
                            D3DSIO_MOV, Dst(D3DSPR_RASTOUT, D3DSRO_FOG), Src(kConst, 95),       //
                            D3DSIO_MOV, Dst(D3DSPR_RASTOUT, D3DSRO_POINT_SIZE), Src(kTemp, 0),  //
                            D3DSIO_MOV, Dst(D3DSPR_ATTROUT, 1), Src(kTemp, 0),                  //
                            D3DSIO_MOV, Dst(D3DSPR_TEXCRDOUT, 7), Src(kTemp, 0)));
}

TEST(VertexShaderAssemblyTest, MnemonicsAndRegistersAreReadInAnyCase) {
    EXPECT_EQ(Body("VS.1.1\nDP4 OPOS.X, V0, C0"), Body("vs.1.1\ndp4 oPos.x, v0, c0"));
    EXPECT_EQ(Body("vs.1.1\nMov R0.XyZ, -C4.W"), Body("vs.1.1\nmov r0.xyz, -c4.w"));
}

TEST(VertexShaderAssemblyTest, WriteMasksAreOrderedSubsetsInEitherLetterSet) {
    EXPECT_THAT(Body("vs.1.1\nmov r0.x, v0\nmov r0.xw, v0\nmov r0.yz, v0\nmov r0.rgb, v0\nmov r0.a, v0"),
                ElementsAre(D3DSIO_MOV, Dst(kTemp, 0, kX), Src(kInput, 0),       //
                            D3DSIO_MOV, Dst(kTemp, 0, kX | kW), Src(kInput, 0),  //
                            D3DSIO_MOV, Dst(kTemp, 0, kY | kZ), Src(kInput, 0),  //
                            D3DSIO_MOV, Dst(kTemp, 0, kRgb), Src(kInput, 0),     //
                            D3DSIO_MOV, Dst(kTemp, 0, kW), Src(kInput, 0)));
}

TEST(VertexShaderAssemblyTest, ShortSwizzlesRepeatTheirLastComponent) {
    const std::vector<DWORD> body = Body(
        "vs.1.1\nmov r0, v0.y\nmov r0, v0.xy\nmov r0, v0.xyz\nmov r0, v0.wzyx\n"
        "mov r0, v0.rgba\nmov r0, v0.xyzw");
    ASSERT_EQ(body.size(), 18u);
    EXPECT_EQ(body[2], Src(kInput, 0, D3DSP_REPLICATEGREEN));
    EXPECT_EQ(body[5], Src(kInput, 0, D3DSWIZZLE(0, 1, 1, 1)));
    EXPECT_EQ(body[8], Src(kInput, 0, kXyzz));
    EXPECT_EQ(body[11], Src(kInput, 0, D3DSWIZZLE(3, 2, 1, 0)));
    EXPECT_EQ(body[14], Src(kInput, 0));
    EXPECT_EQ(body[17], Src(kInput, 0));
}

TEST(VertexShaderAssemblyTest, RelativeConstantsCarryTheOffsetAndTheAddressBit) {
    const DWORD relative12 = Src(kConst, 12) | D3DVS_ADDRMODE_RELATIVE;
    EXPECT_THAT(Body("vs.1.1\nmov r0, c[a0.x + 12]"), ElementsAre(D3DSIO_MOV, Dst(kTemp, 0), relative12));
    EXPECT_EQ(Body("vs.1.1\nmov r0, c[12+a0.x]"), Body("vs.1.1\nmov r0, c[a0.x + 12]"));
    EXPECT_THAT(Body("vs.1.1\nmov r0, -c[ A0.X ].w"),
                ElementsAre(D3DSIO_MOV, Dst(kTemp, 0),
                            Src(kConst, 0, D3DSP_REPLICATEALPHA, D3DSPSM_NEG) | D3DVS_ADDRMODE_RELATIVE));
}

TEST(VertexShaderAssemblyTest, TheAddressRegisterIsWrittenByMovToItsX) {
    EXPECT_THAT(Body("vs.1.1\nmov a0.x, c0.x\nmov r0, c[a0.x + 1]"),
                ElementsAre(D3DSIO_MOV, 0xB0010000u, Src(kConst, 0, kXxxx),  //
                            D3DSIO_MOV, Dst(kTemp, 0), Src(kConst, 1) | D3DVS_ADDRMODE_RELATIVE));
}

TEST(VertexShaderAssemblyTest, DefStoresFourFloatsAndReportsThemAsDeclarationConstants) {
    const SAssembly assembly = Assemble("vs.1.1\ndef c7, 0.5, -1, 1e2, .25\nmov r0, c7");
    ASSERT_EQ(assembly.result, D3D_OK);
    const std::vector<DWORD> values = {FloatBits(0.5f), FloatBits(-1.0f), FloatBits(100.0f), FloatBits(0.25f)};
    EXPECT_THAT(std::vector<DWORD>(assembly.tokens.begin() + 1, assembly.tokens.begin() + 7),
                ElementsAre(D3DSIO_DEF, 0xA00F0007u, values[0], values[1], values[2], values[3]));
    EXPECT_THAT(assembly.constants, ElementsAre(D3DVSD_CONST(7, 1), values[0], values[1], values[2], values[3]));
}

TEST(VertexShaderAssemblyTest, TheLightingProgramAssemblesWhole) {
    const std::string text =
        Joined(WithTransform({"dp3 r0.x, v9.xyz,  -c4", "dp3 r0.y, v10.xyz,  -c4", "dp3 r0.z, v11.xyz, -c4",
                              "dp3 r0.w, r0, r0", "rsq r0.w, r0.w", "mul r0, r0, r0.w", "mad oD0, r0, c6.x, c6.x",
                              "mov oT0, v7", "mov oT1, v8", "mov oT2, v7"}));
    const DWORD minusC4 = Src(kConst, 4, D3DSP_NOSWIZZLE, D3DSPSM_NEG);
    const DWORD r0w = Src(kTemp, 0, D3DSP_REPLICATEALPHA);
    // clang-format off
    EXPECT_THAT(Assemble(text).tokens, ElementsAreArray(std::vector<DWORD>{
        D3DVS_VERSION(1, 1),
        D3DSIO_DP4, Pos(kX), Src(kInput, 0), Src(kConst, 0),
        D3DSIO_DP4, Pos(kY), Src(kInput, 0), Src(kConst, 1),
        D3DSIO_DP4, Pos(kZ), Src(kInput, 0), Src(kConst, 2),
        D3DSIO_DP4, Pos(kW), Src(kInput, 0), Src(kConst, 3),
        D3DSIO_DP3, Dst(kTemp, 0, kX), Src(kInput, 9, kXyzz), minusC4,
        D3DSIO_DP3, Dst(kTemp, 0, kY), Src(kInput, 10, kXyzz), minusC4,
        D3DSIO_DP3, Dst(kTemp, 0, kZ), Src(kInput, 11, kXyzz), minusC4,
        D3DSIO_DP3, Dst(kTemp, 0, kW), Src(kTemp, 0), Src(kTemp, 0),
        D3DSIO_RSQ, Dst(kTemp, 0, kW), r0w,
        D3DSIO_MUL, Dst(kTemp, 0), Src(kTemp, 0), r0w,
        D3DSIO_MAD, Dst(D3DSPR_ATTROUT, 0), Src(kTemp, 0), Src(kConst, 6, kXxxx), Src(kConst, 6, kXxxx),
        D3DSIO_MOV, Dst(D3DSPR_TEXCRDOUT, 0), Src(kInput, 7),
        D3DSIO_MOV, Dst(D3DSPR_TEXCRDOUT, 1), Src(kInput, 8),
        D3DSIO_MOV, Dst(D3DSPR_TEXCRDOUT, 2), Src(kInput, 7),
        D3DVS_END()}));
    // clang-format on
}

TEST(VertexShaderAssemblyTest, TheSpecularProgramsAssemble) {
    const SAssembly second =
        Assemble(Joined(WithTransform({"dp3 oT1.x, v3, -c4", "sub r1, c5, v0", "dp3 r1.w, r1, r1", "rsq r1.w, r1.w",
                                       "mul r1, r1, r1.w", "dp3 oT1.y, v3, r1", "mov oT0, v7"})));
    ASSERT_EQ(second.result, D3D_OK) << second.errors;
    EXPECT_THAT(std::vector<DWORD>(second.tokens.begin() + 17, second.tokens.begin() + 25),
                ElementsAre(D3DSIO_DP3, Dst(D3DSPR_TEXCRDOUT, 1, kX), Src(kInput, 3),
                            Src(kConst, 4, D3DSP_NOSWIZZLE, D3DSPSM_NEG),  //
                            D3DSIO_SUB, Dst(kTemp, 1), Src(kConst, 5), Src(kInput, 0)));

    // Line 17 ends in two tabs.
    const std::vector<std::string> lines = WithTransform(
        {"dp4 r0.x, v0, c4",     "dp4 r0.y, v0, c5",       "dp4 r0.z, v0, c6", "dp3 r1.x, v3, c4",
         "dp3 r1.y, v3, c5",     "dp3 r1.z, v3, c6",       "dp3 r1.w, r1, r1", "rsq r1.w, r1.w",
         "mul r1, r1, r1.w",     "sub r2, r0.xyz, c8.xyz", "dp3 r2.w, r2, r2", "rsq r2.w, r2.w\t\t",
         "mul r2, r2, r2.w",     "dp3 r3, r2, r1",         "add r3, r3, r3",   "mad oT0.xyz, r1, -r3, r2",
         "mul r1, r1, c10.xxxx", "dp3 r3, r2, r1",         "add r3, r3, r3",   "mad oT1.xyz, r1, -r3, r2"});
    ASSERT_EQ(lines[16], "rsq r2.w, r2.w\t\t");
    const SAssembly third = Assemble(Joined(lines));
    ASSERT_EQ(third.result, D3D_OK) << third.errors;
    const std::vector<DWORD>& t = third.tokens;
    const auto sub = std::find(t.begin(), t.end(), DWORD{D3DSIO_SUB});
    ASSERT_NE(sub, t.end());
    EXPECT_THAT(std::vector<DWORD>(sub, sub + 4),
                ElementsAre(D3DSIO_SUB, Dst(kTemp, 2), Src(kTemp, 0, kXyzz), Src(kConst, 8, kXyzz)));
    EXPECT_THAT(std::vector<DWORD>(t.end() - 6, t.end()),
                ElementsAre(D3DSIO_MAD, Dst(D3DSPR_TEXCRDOUT, 1, kRgb), Src(kTemp, 1),
                            Src(kTemp, 3, D3DSP_NOSWIZZLE, D3DSPSM_NEG), Src(kTemp, 2), D3DVS_END()));
}
