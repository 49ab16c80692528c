// Text the assembler refuses: each mistake gives D3DXERR_INVALIDDATA, no
// code, and a zero-terminated "line N: reason" naming the line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ShaderAssembly.h"

using namespace shaderasm;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

struct SRefusal {
    const char* text;
    const char* error;  // the start of the error text
};

void PrintTo(const SRefusal& refusal, std::ostream* out) {
    *out << testing::PrintToString(std::string(refusal.text));
}

class ShaderAssemblyErrorTest : public testing::TestWithParam<SRefusal> {};

}  // namespace

TEST_P(ShaderAssemblyErrorTest, ReportsTheLineAndTheReason) {
    const SAssembly assembly = Assemble(GetParam().text);
    EXPECT_EQ(assembly.result, D3DXERR_INVALIDDATA);
    EXPECT_TRUE(assembly.tokens.empty());
    EXPECT_TRUE(assembly.errorsTerminated);
    EXPECT_THAT(assembly.errors, StartsWith(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    Program, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"", "line 1: the program has no version line"},
                    SRefusal{"; only a comment\n\n", "line 3: the program has no version line"},
                    SRefusal{"\nmov r0, v0\nvs.1.1", "line 2: expected the version line"},
                    SRefusal{"vs.2.0\n", "line 1: expected the version line ('vs.1.1' or 'ps.1.1'), found 'vs.2.0'"},
                    SRefusal{"vs.1.1\nvs.1.1", "line 2: a second version line"},
                    SRefusal{"vs.1.1\n\nfoo r0, v0", "line 3: unknown instruction 'foo'"},
                    SRefusal{"vs.1.1\nmov r0, v0 @", "line 2: unexpected character '@'"},
                    SRefusal{"vs.1.1\n+", "line 2: co-issue ('+') is only available in pixel shaders"},
                    SRefusal{"ps.1.1\n+ ,", "line 2: expected an instruction, found ','"}));

INSTANTIATE_TEST_SUITE_P(Operands, ShaderAssemblyErrorTest,
                         testing::Values(SRefusal{"vs.1.1\nmov r0, r1, r2", "line 2: 'mov' takes 2 operands, found 3"},
                                         SRefusal{"vs.1.1\nmov r0 v0", "line 2: 'mov' takes 2 operands, found 1"},
                                         SRefusal{"vs.1.1\nnop r0", "line 2: 'nop' takes 0 operands, found 1"},
                                         SRefusal{"vs.1.1\nmov r0,, v0", "line 2: missing operand before ','"},
                                         SRefusal{"vs.1.1\nmov r0, v0,", "line 2: missing operand after ','"},
                                         SRefusal{"vs.1.1\nmov r0, v0 v1", "line 2: unexpected 'v1' after 'v0'"},
                                         SRefusal{"vs.1.1\nmov r0., v0",
                                                  "line 2: expected a write mask in 'r0.', found nothing"},
                                         SRefusal{"vs.1.1\nmov 3, v0", "line 2: expected a destination register"},
                                         SRefusal{"vs.1.1\nmov r0, 2-v0", "line 2: expected a source register"}));

INSTANTIATE_TEST_SUITE_P(
    Registers, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"vs.1.1\nmov r0, q0", "line 2: unknown register 'q0'"},
                    SRefusal{"vs.1.1\nmov r0, v", "line 2: register 'v' needs a number"},
                    SRefusal{"vs.1.1\nmov r12, v0", "line 2: register 'r12' is out of range (r0-r11)"},
                    SRefusal{"vs.1.1\nmov r0, c96", "line 2: register 'c96' is out of range (c0-c95)"},
                    SRefusal{"vs.1.1\nmov oT8, r0", "line 2: register 'oT8' is out of range (oT0-oT7)"},
                    SRefusal{"vs.1.1\nmov r0, c99999999999", "line 2: register 'c99999999999' is out of range"},
                    SRefusal{"vs.1.1\nmov v0, r0", "line 2: register 'v0' cannot be written"},
                    SRefusal{"vs.1.1\nmov c0, r0", "line 2: register 'c0' cannot be written"},
                    SRefusal{"vs.1.1\nmov r0, oPos", "line 2: register 'oPos' cannot be read"},
                    SRefusal{"vs.1.1\nadd r0, c0, c1", "line 2: 'add' reads 2 constant registers; the limit is 1"},
                    SRefusal{"vs.1.1\nadd r0, c[a0.x], c0", "line 2: 'add' reads 2 constant registers"},
                    SRefusal{"vs.1.1\nmad r0, v0, r0, v1", "line 2: 'mad' reads 2 input registers; the limit is 1"},
                    SRefusal{"ps.1.1\nmad r0, c0, c1, c2", "line 2: 'mad' reads 3 constant registers; the limit is 2"},
                    SRefusal{"ps.1.1\nmov r2, v0", "line 2: register 'r2' is out of range (r0-r1)"},
                    SRefusal{"ps.1.1\nmov r0, c8", "line 2: register 'c8' is out of range (c0-c7)"},
                    SRefusal{"ps.1.1\nmov v1, r0", "line 2: register 'v1' cannot be written"},
                    SRefusal{"ps.1.1\nmov r0, oPos", "line 2: unknown register 'oPos'"}));

INSTANTIATE_TEST_SUITE_P(
    AddressRegister, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"vs.1.1\nmov a0.y, c0.x", "line 2: a0 is written only by 'mov a0.x, ...'"},
                    SRefusal{"vs.1.1\nmov a0, c0", "line 2: a0 is written only by 'mov a0.x, ...'"},
                    SRefusal{"vs.1.1\nadd a0.x, c0, r0", "line 2: a0 is written only by 'mov a0.x, ...'"},
                    SRefusal{"vs.1.1\nmov r0, a0.x", "line 2: a0 is read only as c[a0.x + n]"},
                    SRefusal{"vs.1.1\nmov r0, a1", "line 2: register 'a1' is out of range (a0)"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.y + 1]", "line 2: relative addressing reads a0.x"},
                    SRefusal{"vs.1.1\nmov r0, c[3]", "line 2: relative address 'c[3]' does not read a0.x"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.x + 96]", "line 2: relative address offset 96 is out of range"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.x + 1.5]", "line 2: relative address offset '1.5' is not"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.x + 1", "line 2: relative address 'c[a0.x+1' lacks its ']'"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.x + a0.x]", "line 2: unexpected 'a0' in relative address"},
                    SRefusal{"vs.1.1\nmov r0, c[a0.x 1]", "line 2: expected '+' or ']'"},
                    SRefusal{"vs.1.1\nmov r0, v[a0.x]", "line 2: register 'v' needs a number"},
                    SRefusal{"ps.1.1\nmov r0, c[a0.x]", "line 2: relative addressing 'c[a0.x]' is only available"}));

INSTANTIATE_TEST_SUITE_P(
    MasksSwizzlesModifiers, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"vs.1.1\nmov r0.yx, v0", "line 2: bad write mask '.yx'"},
                    SRefusal{"vs.1.1\nmov r0.xx, v0", "line 2: bad write mask '.xx'"},
                    SRefusal{"vs.1.1\nmov r0.xq, v0", "line 2: bad write mask '.xq'"},
                    SRefusal{"vs.1.1\nmov r0, v0.xyzwx", "line 2: bad swizzle '.xyzwx'"},
                    SRefusal{"vs.1.1\nmov r0, v0.q", "line 2: bad swizzle '.q'"},
                    SRefusal{"vs.1.1\nmov_sat r0, v0",
                             "line 2: instruction modifier '_sat' is not available in vertex"},
                    SRefusal{"vs.1.1\nmov r0, -v0_bx2", "line 2: source modifier '_bx2' is not available in vertex"},
                    SRefusal{"vs.1.1\nmov r0, 1-v0", "line 2: source modifier '1-' is not available in vertex"},
                    SRefusal{"vs.1.1\nmov r0_bx2, v0", "line 2: destination 'r0_bx2' cannot take the modifier '_bx2'"},
                    SRefusal{"ps.1.1\nmov r0.xy, v0", "line 2: write mask '.xy' is not available in pixel shaders"},
                    SRefusal{"ps.1.1\nmov r0, v0.g", "line 2: swizzle '.g' is not available in pixel shaders"},
                    SRefusal{"ps.1.1\nmov r0, v0_x2", "line 2: unknown source modifier '_x2'"},
                    SRefusal{"ps.1.1\nmov r0, v0_bx2.a_bias", "line 2: source 'v0_bx2.a_bias' has two modifiers"},
                    SRefusal{"ps.1.1\nmov r0, 1-v0_bias", "line 2: '1-' cannot be combined with '_bias'"},
                    SRefusal{"ps.1.1\nmov_x2_x4 r0, v0", "line 2: 'mov_x2_x4' has more than one of _x2, _x4 and _d2"},
                    SRefusal{"ps.1.1\nmov_sat_sat r0, v0", "line 2: 'mov_sat_sat' names '_sat' twice"},
                    SRefusal{"ps.1.1\nmov_foo r0, v0", "line 2: unknown instruction modifier '_foo'"}));

INSTANTIATE_TEST_SUITE_P(
    InstructionKinds, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"vs.1.1\ntex t0", "line 2: instruction 'tex' is not available in vertex shaders"},
                    SRefusal{"ps.1.1\ndp4 r0, v0, v1", "line 2: instruction 'dp4' is not available in pixel"},
                    SRefusal{"ps.1.1\ntex_sat t0", "line 2: 'tex' cannot take the modifier '_sat'"},
                    SRefusal{"ps.1.1\ntex r0", "line 2: 'tex' writes a whole texture register, not 'r0'"},
                    SRefusal{"ps.1.1\ntex t0.rgb", "line 2: 'tex' writes a whole texture register, not 't0.rgb'"},
                    SRefusal{"ps.1.1\ntexbem t1, r0", "line 2: 'texbem' reads a texture register there, not 'r0'"},
                    SRefusal{"ps.1.1\ntexm3x3spec t3, t2, t1", "line 2: 'texm3x3spec' reads a constant register"},
                    SRefusal{"ps.1.1\ntexbem t1, t0_bx2", "line 2: 'texbem' takes no source modifier or swizzle"},
                    SRefusal{"ps.1.1\nmov r0, v0\n\ntex t0", "line 4: texture address instruction 'tex' after"}));

INSTANTIATE_TEST_SUITE_P(
    Def, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"vs.1.1\ndef c0, 1.0, x, 0, 0", "line 2: 'x' is not a number"},
                    SRefusal{"vs.1.1\ndef c0, 1.0f, 0, 0, 0", "line 2: '1.0f' is not a number"},
                    SRefusal{"vs.1.1\ndef c0, 1e99, 0, 0, 0", "line 2: '1e99' is not a number a constant can hold"},
                    SRefusal{"vs.1.1\ndef c0, 1, 2, 3", "line 2: 'def' takes a constant register and 4 numbers"},
                    SRefusal{"vs.1.1\ndef r0, 1, 2, 3, 4", "line 2: 'def' defines a whole constant register"},
                    SRefusal{"vs.1.1\ndef c0.x, 1, 2, 3, 4", "line 2: 'def' defines a whole constant register"},
                    SRefusal{"ps.1.1\ndef c8, 1, 2, 3, 4", "line 2: register 'c8' is out of range (c0-c7)"}));

INSTANTIATE_TEST_SUITE_P(
    CoIssue, ShaderAssemblyErrorTest,
    testing::Values(SRefusal{"ps.1.1\n+mov r0.a, v0", "line 2: '+ mov': only an arithmetic instruction"},
                    SRefusal{"ps.1.1\ntex t0\n+mov r0.a, v0", "line 3: '+ mov': only an arithmetic instruction"},
                    SRefusal{"ps.1.1\ntex t0\n+tex t1", "line 3: '+ tex': only an arithmetic"},
                    SRefusal{"ps.1.1\nmov r0.rgb, v0\n+mov r0.rgb, v1", "line 3: co-issued instructions write"},
                    SRefusal{"ps.1.1\nmov r0, v0\n+mov r0.a, v1", "line 3: co-issued instructions write .rgb"},
                    SRefusal{"ps.1.1\nmov r0.rgb, v0\n+mov r0.a, v1\n+mov r1.a, v0", "line 4: '+ mov'"},
                    SRefusal{"ps.1.1\nmov r0.rgb, x0\n+mov r0.a, v1", "line 2: unknown register 'x0'\nline 3"}));

TEST(ShaderAssemblyErrorReportTest, EveryFaultyLineIsReportedInOrder) {
    const SAssembly assembly = Assemble("vs.1.1\nfoo r0\nmov r0, v0\n  mov r0, c[a0.x] , c1 ; text\nbar");
    EXPECT_EQ(assembly.result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(assembly.errors,
              "line 2: unknown instruction 'foo'\n"
              "line 4: 'mov' takes 2 operands, found 3\n"
              "line 5: unknown instruction 'bar'\n");
}
