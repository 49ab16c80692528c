// Assembled programs read back by the device's decoder: what the text says
// is what a device sees, for the engine's bump-map and reflection programs.
#include <gtest/gtest.h>

#include "ShaderAssembly.h"
#include "platform/d3d8/CShaderDecoder.h"

namespace {

const char kReflectionLines[] =
    "vs.1.1\n"
    "sub r2, r0.xyz, c8.xyz\n"
    "rsq r2.w, r2.w\t\t\n"
    "mad oT0.xyz, r1, -r3, r2\n"
    "mul r1, r1, c10.xxxx\n";

SShaderProgram Decode(const std::string& text, EShaderKind kind) {
    const shaderasm::SAssembly assembly = shaderasm::Assemble(text);
    EXPECT_EQ(assembly.result, D3D_OK) << assembly.errors;
    SShaderProgram program;
    std::string reason;
    EXPECT_EQ(CShaderDecoder::Decode(assembly.tokens.data(), assembly.tokens.size(), kind, program, &reason), D3D_OK)
        << reason;
    EXPECT_EQ(program.tokenCount, assembly.tokens.size());
    return program;
}

}  // namespace

TEST(ShaderAssemblyRoundTrip, TheBumpPixelProgramReadsBackInstructionByInstruction) {
    const SShaderProgram program = Decode(shaderasm::BumpPixelProgram(), EShaderKind::Pixel);
    ASSERT_EQ(program.instructions.size(), 9u);  // the commented line is no instruction
    const SShaderInstruction& dot = program.instructions[5];
    EXPECT_EQ(dot.opcode, static_cast<DWORD>(D3DSIO_DP3));
    EXPECT_TRUE(dot.destination.saturate);
    EXPECT_EQ(dot.destination.writeMask, 0x7u);
    EXPECT_EQ(dot.sources[0].type, static_cast<DWORD>(D3DSPR_TEXTURE));
    EXPECT_EQ(dot.sources[0].number, 1u);
    EXPECT_EQ(dot.sources[0].sourceModifier, D3DSPSM_SIGN >> D3DSP_SRCMOD_SHIFT);
    EXPECT_EQ(dot.sources[1].type, static_cast<DWORD>(D3DSPR_INPUT));
    EXPECT_EQ(dot.sources[1].sourceModifier, D3DSPSM_SIGN >> D3DSP_SRCMOD_SHIFT);
    const SShaderInstruction& alpha = program.instructions[6];
    EXPECT_TRUE(alpha.coissue);
    EXPECT_EQ(alpha.destination.writeMask, 0x8u);
    EXPECT_EQ(program.instructions[8].destination.shift, -1);  // add_d2
    EXPECT_EQ(program.instructions[1].values[3], 1.0f);        // def c1
    EXPECT_TRUE(program.constantsDefined.test(0) && program.constantsDefined.test(1));
    EXPECT_EQ(program.texturesSampled, 0x7u);
}

TEST(ShaderAssemblyRoundTrip, ReflectionLinesKeepTheirSwizzlesAndNegation) {
    const SShaderProgram program = Decode(kReflectionLines, EShaderKind::Vertex);
    ASSERT_EQ(program.instructions.size(), 4u);
    // ".xyz" as a source repeats its last component: xyzz.
    EXPECT_EQ(program.instructions[0].sources[0].swizzle, 0xA4u);
    EXPECT_EQ(program.instructions[0].sources[1].number, 8u);
    EXPECT_EQ(program.instructions[1].opcode, static_cast<DWORD>(D3DSIO_RSQ));
    const SShaderInstruction& reflect = program.instructions[2];
    EXPECT_EQ(reflect.destination.type, static_cast<DWORD>(D3DSPR_TEXCRDOUT));
    EXPECT_EQ(reflect.destination.writeMask, 0x7u);
    EXPECT_EQ(reflect.sources[1].sourceModifier, D3DSPSM_NEG >> D3DSP_SRCMOD_SHIFT);
    EXPECT_EQ(program.instructions[3].sources[1].swizzle, 0x00u);  // .xxxx
    EXPECT_EQ(program.textureCoordinates, 0x1u);
}
