// Translated vs.1.1 programs on the GPU against the CPU reference: every
// operation with its edge cases, swizzles, negation, masks, matrices,
// relative addressing, definitions, and the outputs the pipeline reads.

#include <gtest/gtest.h>

#include <cmath>

#include "CShaderRig.h"
#include "ShaderReference.h"
#include "ShaderTokens.h"
#include "platform/d3d8/CShaderDecoder.h"
#include "platform/d3d8/CShaderTranslator.h"

using namespace shadertokens;
namespace ref = shaderreference;

namespace {

// Operand sets v1, v2, v3 that reach the edge cases (w of 0, 1, negative;
// x, y signs for lit; equal components for slt / sge).
const std::vector<std::vector<Vec4>> kOperands = {
    {{0.5f, -1.5f, 2.25f, 1.0f}, {3.0f, 0.25f, -2.0f, 4.0f}, {-1.0f, 2.0f, 0.5f, -3.0f}},
    {{-2.0f, 0.0f, 1.75f, 0.0f}, {-2.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 0.0f}},
    {{3.0f, 0.5f, -0.25f, -4.0f}, {1.0f, 0.5f, 0.125f, 2.0f}, {7.0f, -7.0f, 0.5f, 0.25f}},
    {{0.75f, 0.3f, 10.0f, 2.5f}, {0.75f, -0.3f, -10.0f, -2.5f}, {1.0f, 1.0f, 1.0f, 1.0f}},
    {{-3.7f, 5.2f, 0.9f, 1e-3f}, {2.0f, 3.0f, 4.0f, -0.5f}, {0.1f, 0.2f, 0.3f, 0.4f}},
    {{0.6f, 0.6f, 0.0f, 200.0f}, {0.5f, 0.5f, 0.5f, 0.5f}, {-1.0f, -2.0f, -3.0f, -4.0f}},
};

void ExpectNear(const Vec4& actual, const Vec4& expected, const std::string& what) {
    for (unsigned i = 0; i < 4; ++i) {
        const bool near = std::isinf(expected[i])
                              ? actual[i] == expected[i]
                              : std::fabs(actual[i] - expected[i]) <= 2e-5f * std::max(1.0f, std::fabs(expected[i]));
        EXPECT_TRUE(near) << what << "[" << i << "]: " << actual[i] << " instead of " << expected[i];
    }
}

class VertexShaderTranslation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_rig.Valid()); }

    // `mov oPos, v0`, the body, and a fragment shader writing `output`.
    void Build(const std::vector<std::vector<DWORD>>& body, const std::string& output = "v_texCoord0",
               const std::string& inputs = "in vec4 v_texCoord0;\n") {
        std::vector<std::vector<DWORD>> code = {Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, 0), Src(D3DSPR_INPUT, 0)})};
        code.insert(code.end(), body.begin(), body.end());
        const std::vector<DWORD> tokens = VertexFunction(code);
        SShaderProgram program;
        ASSERT_EQ(CShaderDecoder::Decode(tokens.data(), tokens.size(), EShaderKind::Vertex, program), D3D_OK);
        ASSERT_TRUE(m_rig.Use(
            CShaderTranslator::VertexShader(program, m_key),
            "#version 330 core\n" + inputs + "out vec4 o_color;\nvoid main() { o_color = " + output + "; }\n"));
    }

    // One point per operand set: v1.. = the set.
    std::vector<Vec4> Run(const std::vector<std::vector<Vec4>>& operands) {
        std::vector<std::vector<Vec4>> points;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            points.push_back({m_rig.PointPosition(static_cast<int>(i))});
            points.back().insert(points.back().end(), operands[i].begin(), operands[i].end());
        }
        m_rig.Clear({-7.0f, -7.0f, -7.0f, -7.0f});
        m_rig.DrawPoints(points);
        std::vector<Vec4> results;
        for (std::size_t i = 0; i < operands.size(); ++i)
            results.push_back(m_rig.Read(static_cast<int>(i), 0));
        return results;
    }

    CShaderRig m_rig{16, 1};
    SFixedFunctionKey m_key{};
};

}  // namespace

TEST_F(VertexShaderTranslation, EveryOperationMatchesTheReference) {
    const std::pair<DWORD, unsigned> operations[] = {
        {D3DSIO_MOV, 1}, {D3DSIO_ADD, 2}, {D3DSIO_SUB, 2}, {D3DSIO_MUL, 2},  {D3DSIO_MAD, 3},  {D3DSIO_RCP, 1},
        {D3DSIO_RSQ, 1}, {D3DSIO_DP3, 2}, {D3DSIO_DP4, 2}, {D3DSIO_MIN, 2},  {D3DSIO_MAX, 2},  {D3DSIO_SLT, 2},
        {D3DSIO_SGE, 2}, {D3DSIO_EXP, 1}, {D3DSIO_LOG, 1}, {D3DSIO_EXPP, 1}, {D3DSIO_LOGP, 1}, {D3DSIO_LIT, 1},
        {D3DSIO_DST, 2}, {D3DSIO_LRP, 3}, {D3DSIO_FRC, 1}};
    for (const auto& [opcode, sources] : operations) {
        std::vector<DWORD> instruction = {opcode, Dst(D3DSPR_TEMP, 0)};
        for (unsigned i = 0; i < sources; ++i)
            instruction.push_back(Src(D3DSPR_INPUT, 1 + i));
        Build({instruction, Op(D3DSIO_MOV, {Dst(D3DSPR_TEXCRDOUT, 0), Src(D3DSPR_TEMP, 0)})});
        const std::vector<Vec4> results = Run(kOperands);
        for (std::size_t i = 0; i < kOperands.size(); ++i)
            ExpectNear(results[i], ref::Operation(opcode, kOperands[i][0], kOperands[i][1], kOperands[i][2]),
                       std::string(CShaderDecoder::Mnemonic(opcode)) + " set " + std::to_string(i));
    }
}

TEST_F(VertexShaderTranslation, SwizzlesNegatesMasksAndReadsItsOwnDestination) {
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_INPUT, 3)}),
           Op(D3DSIO_ADD, {Dst(D3DSPR_TEMP, 0, kX | kZ), Src(D3DSPR_INPUT, 1, D3DSWIZZLE(3, 2, 1, 0), D3DSPSM_NEG),
                           Src(D3DSPR_INPUT, 2, D3DSWIZZLE(1, 1, 0, 0))}),
           Op(D3DSIO_MAD, {Dst(D3DSPR_TEMP, 0, kY), Src(D3DSPR_TEMP, 0, D3DSWIZZLE(1, 2, 3, 0)), Src(D3DSPR_TEMP, 0),
                           Src(D3DSPR_TEMP, 0, D3DSP_REPLICATEALPHA, D3DSPSM_NEG)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEXCRDOUT, 0), Src(D3DSPR_TEMP, 0)})});
    const std::vector<Vec4> results = Run(kOperands);
    for (std::size_t i = 0; i < kOperands.size(); ++i) {
        Vec4 r0 = kOperands[i][2];
        const Vec4 sum =
            ref::Operation(D3DSIO_SUB, ref::Swizzled(kOperands[i][1], 0x05), ref::Swizzled(kOperands[i][0], 0x1B), {});
        r0[0] = sum[0];
        r0[2] = sum[2];
        r0[1] = r0[2] * r0[1] - r0[3];  // every source reads r0 from before the instruction
        ExpectNear(results[i], r0, "set " + std::to_string(i));
    }
}

TEST_F(VertexShaderTranslation, MatricesRelativeAddressingAndDefinitions) {
    SVertexShaderConstants constants{};
    for (unsigned i = 0; i < D3D8_VS_CONSTANT_REGISTERS; ++i)
        for (unsigned c = 0; c < 4; ++c)
            constants.c[i][c] = static_cast<float>(i) + 0.25f * c;
    m_rig.SetVertexShaderConstants(constants);
    auto row = [&](unsigned i) {
        return Vec4{constants.c[i][0], constants.c[i][1], constants.c[i][2], constants.c[i][3]};
    };
    const Vec4 rows[4] = {row(20), row(21), row(22), row(23)};
    // Components a macro does not produce keep what r0 held (v3).
    for (DWORD opcode : {D3DSIO_M4x4, D3DSIO_M4x3, D3DSIO_M3x4, D3DSIO_M3x3, D3DSIO_M3x2}) {
        Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_INPUT, 3)}),
               Op(opcode, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_INPUT, 1), Src(D3DSPR_CONST, 20)}),
               Op(D3DSIO_MOV, {Dst(D3DSPR_TEXCRDOUT, 0), Src(D3DSPR_TEMP, 0)})});
        const std::vector<Vec4> results = Run(kOperands);
        for (std::size_t i = 0; i < kOperands.size(); ++i) {
            Vec4 expected = ref::Matrix(opcode, kOperands[i][0], rows);
            const unsigned produced =
                opcode == D3DSIO_M3x2 ? 2 : (opcode == D3DSIO_M4x3 || opcode == D3DSIO_M3x3 ? 3 : 4);
            for (unsigned c = produced; c < 4; ++c)
                expected[c] = kOperands[i][2][c];
            ExpectNear(results[i], expected, CShaderDecoder::Mnemonic(opcode));
        }
    }
    // a0 = floor(v1.y); c[a0 + 10], zero outside c0-c95; a def wins, read
    // directly or relatively.
    Build({Def(12, -5.0f, -6.0f, -7.0f, -8.0f),
           Op(D3DSIO_MOV, {Dst(D3DSPR_ADDR, 0, kX), Src(D3DSPR_INPUT, 1, D3DSP_REPLICATEGREEN)}),
           Op(D3DSIO_ADD, {Dst(D3DSPR_TEXCRDOUT, 0), Relative(Src(D3DSPR_CONST, 10)), Src(D3DSPR_CONST, 12)})});
    const float a0[] = {0.0f, 2.7f, -0.5f, -10.0f, -11.0f, 85.0f, 86.0f, 1e9f};
    const Vec4 defined{-5.0f, -6.0f, -7.0f, -8.0f};
    const Vec4 expected[] = {row(10), defined, row(9), row(0), {}, row(95), {}, {}};
    for (std::size_t i = 0; i < std::size(a0); ++i)
        ExpectNear(Run({{Vec4{0.0f, a0[i], 0.0f, 0.0f}}})[0], ref::Operation(D3DSIO_ADD, expected[i], defined, {}),
                   "a0 from " + std::to_string(a0[i]));
}

TEST_F(VertexShaderTranslation, OutputsColoursFogAndPointSizeAsTheRestOfThePipelineReadsThem) {
    const std::vector<std::vector<DWORD>> body = {
        Op(D3DSIO_MOV, {Dst(D3DSPR_ATTROUT, 0), Src(D3DSPR_INPUT, 1)}),
        Op(D3DSIO_MOV, {Dst(D3DSPR_TEXCRDOUT, 2, kX | kY), Src(D3DSPR_INPUT, 1)}),
        Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, D3DSRO_FOG, kX), Src(D3DSPR_INPUT, 1, D3DSP_REPLICATEBLUE)})};
    const std::vector<std::vector<Vec4>> operand = {{{2.0f, -1.0f, 0.375f, 1.5f}}};
    const char* inputs =
        "in vec4 v_diffuse;\nin vec4 v_specular;\nin vec4 v_texCoord1;\nin vec4 v_texCoord2;\n"
        "in float v_fog;\n";
    const std::pair<const char*, Vec4> outputs[] = {{"v_diffuse", {1.0f, 0.0f, 0.375f, 1.0f}},  // saturated
                                                    {"v_specular", {0.0f, 0.0f, 0.0f, 0.0f}},
                                                    {"v_texCoord1", {0.0f, 0.0f, 0.0f, 1.0f}},
                                                    {"v_texCoord2", {2.0f, -1.0f, 0.0f, 1.0f}}};
    for (const auto& [name, value] : outputs) {
        Build(body, name, inputs);
        ExpectNear(Run(operand)[0], value, name);
    }
    SPixelConstants pixel{};
    pixel.fogParams[1] = 10.0f;  // end
    pixel.fogParams[2] = 0.5f;   // density
    pixel.fogParams[3] = 0.1f;   // 1 / (end - start)
    m_rig.SetPixelValues(pixel);
    auto fog = [&](EFogSource source, std::uint8_t formula, const std::vector<std::vector<DWORD>>& code) {
        m_key.fogSource = source;
        m_key.fogFormula = formula;
        Build(code, "vec4(v_fog)", inputs);
        return Run(operand)[0][0];
    };
    // The point's clip w is 1: linear (10 - 1) / 10, exp(-0.5), exp(-0.25).
    EXPECT_FLOAT_EQ(fog(EFogSource::None, D3DFOG_LINEAR, body), 1.0f);
    EXPECT_FLOAT_EQ(fog(EFogSource::VertexDepth, D3DFOG_LINEAR, body), 0.375f);
    EXPECT_NEAR(fog(EFogSource::VertexDepth, D3DFOG_LINEAR, {}), 0.9f, 1e-6);
    EXPECT_NEAR(fog(EFogSource::VertexDepth, D3DFOG_EXP, {}), std::exp(-0.5f), 1e-6);
    EXPECT_NEAR(fog(EFogSource::VertexDepth, D3DFOG_EXP2, {}), std::exp(-0.25f), 1e-6);
    EXPECT_FLOAT_EQ(fog(EFogSource::PixelDepth, D3DFOG_LINEAR, body), 1.0f);

    // oPts = 5 covers five pixels of the row, 1 without oPts.
    auto covered = [&](const std::vector<std::vector<DWORD>>& code) {
        Build(code, "vec4(1.0)", "");
        m_rig.Clear({});
        m_rig.DrawPoints({{m_rig.PointPosition(8), Vec4{5.0f, 0.0f, 0.0f, 0.0f}}});
        int lit = 0;
        for (int x = 0; x < m_rig.Width(); ++x)
            lit += m_rig.Read(x, 0)[0] > 0.5f ? 1 : 0;
        return lit;
    };
    EXPECT_EQ(covered(body), 1);
    EXPECT_EQ(covered({Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, D3DSRO_POINT_SIZE, kX), Src(D3DSPR_INPUT, 1)})}), 5);
}
