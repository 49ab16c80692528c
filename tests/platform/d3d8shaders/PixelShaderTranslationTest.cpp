// Translated ps.1.1 programs on the GPU: arithmetic with every source and
// result modifier against the CPU reference, the ranges of inputs and
// constants, co-issue, each texture instruction against the texels it must
// fetch, and the shared fog and alpha test.

#include <gtest/gtest.h>

#include "CShaderRig.h"
#include "ShaderReference.h"
#include "ShaderTokens.h"
#include "platform/d3d8/CShaderDecoder.h"
#include "platform/d3d8/CShaderTranslator.h"

using namespace shadertokens;
namespace ref = shaderreference;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kYellow = 0xFFFFFF00u, kCyan = 0xFF00FFFFu, kMagenta = 0xFFFF00FFu;

Vec4 Color(std::uint32_t argb) {
    return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
            (argb >> 24) / 255.0f};
}

void ExpectNear(const Vec4& actual, const Vec4& expected, const std::string& what, float tolerance = 1e-5f) {
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << "[" << i << "]";
}

// A 4 x 4 grid: texel (x, y) has red x * 64 and green y * 64.
std::vector<std::uint32_t> Grid() {
    std::vector<std::uint32_t> texels;
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            texels.push_back(0xFF000000u | (x * 64u) << 16 | (y * 64u) << 8);
    return texels;
}

class PixelShaderTranslation : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_rig.Valid());
        for (unsigned stage = 0; stage < 4; ++stage)
            m_key.stages[stage].textureType = ETextureType::Texture2D;
    }

    // With `encode`, r0 is mapped from [-1, 1] to [0, 1] at the end (and
    // back by Run) so that negative results survive the colour's clamp.
    void Build(std::vector<std::vector<DWORD>> code, bool encode = true) {
        if (encode) {
            code.insert(code.begin(), Def(7, 0.5f, 0.5f, 0.5f, 0.5f));
            code.push_back(
                Op(D3DSIO_MAD, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 7), Src(D3DSPR_CONST, 7)}));
        }
        m_encoded = encode;
        const std::vector<DWORD> tokens = PixelFunction(code);
        SShaderProgram program;
        ASSERT_EQ(CShaderDecoder::Decode(tokens.data(), tokens.size(), EShaderKind::Pixel, program), D3D_OK);
        ASSERT_TRUE(m_rig.Use(m_rig.PassThroughVertexShader(), CShaderTranslator::PixelShader(program, m_key)));
    }

    void SetConstants(const std::vector<Vec4>& values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            std::copy(values[i].begin(), values[i].end(), m_constants.c[i]);
        m_rig.SetPixelShaderConstants(m_constants);
    }

    // r0 of one pixel; the clear colour (decoded: -1) where it is discarded.
    // Attributes: diffuse, specular, texture coordinates 0-3, fog.
    Vec4 Run(const std::vector<Vec4>& attributes = {}) {
        m_rig.Clear({});
        std::vector<Vec4> point = {m_rig.PointPosition(0)};
        point.insert(point.end(), attributes.begin(), attributes.end());
        m_rig.DrawPoints({point});
        Vec4 value = m_rig.Read(0, 0);
        for (float& x : value)
            x = m_encoded ? 2.0f * x - 1.0f : x;
        return value;
    }

    CShaderRig m_rig{16, 1};
    SFixedFunctionKey m_key{};
    SPixelShaderConstants m_constants{};
    bool m_encoded = true;
};

}  // namespace

TEST_F(PixelShaderTranslation, ArithmeticWithSourceAndResultModifiersMatchesTheReference) {
    const std::vector<Vec4> c = {{0.5f, -0.25f, 1.0f, 0.75f}, {-0.5f, 0.9f, 0.25f, 0.6f}, {0.125f, -1.0f, 0.5f, 0.3f}};
    SetConstants(c);
    const std::pair<DWORD, unsigned> operations[] = {{D3DSIO_MOV, 1}, {D3DSIO_ADD, 2}, {D3DSIO_SUB, 2},
                                                     {D3DSIO_MUL, 2}, {D3DSIO_MAD, 3}, {D3DSIO_DP3, 2},
                                                     {D3DSIO_DP4, 2}, {D3DSIO_LRP, 3}, {D3DSIO_CND, 3}};
    for (const auto& [opcode, sources] : operations) {
        std::vector<DWORD> instruction = {opcode, Dst(D3DSPR_TEMP, 0)};
        for (unsigned i = 0; i < sources; ++i)
            instruction.push_back(Src(D3DSPR_CONST, i));
        Build({instruction});
        ExpectNear(Run(), ref::PixelResult(ref::Operation(opcode, c[0], c[1], c[2]), 0, false),
                   CShaderDecoder::Mnemonic(opcode));
    }
    for (DWORD modifier :
         {D3DSPSM_NONE, D3DSPSM_NEG, D3DSPSM_BIAS, D3DSPSM_BIASNEG, D3DSPSM_SIGN, D3DSPSM_SIGNNEG, D3DSPSM_COMP}) {
        for (DWORD swizzle : {D3DSP_NOSWIZZLE, D3DSP_REPLICATEALPHA, D3DSP_REPLICATEBLUE}) {
            Build(
                {Op(D3DSIO_ADD, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 2, swizzle, modifier), Src(D3DSPR_CONST, 1)})});
            const Vec4 source = ref::PixelSource(ref::Swizzled(c[2], swizzle >> D3DSP_SWIZZLE_SHIFT), modifier);
            ExpectNear(Run(), ref::PixelResult(ref::Operation(D3DSIO_ADD, source, c[1], {}), 0, false),
                       "modifier " + std::to_string(modifier >> D3DSP_SRCMOD_SHIFT) + " swizzle " +
                           std::to_string(swizzle >> D3DSP_SWIZZLE_SHIFT));
        }
    }
    for (const auto& [bits, shift] : {std::pair{0u, 0}, {kX2, 1}, {kX4, 2}, {kD2, -1}}) {
        for (bool saturate : {false, true}) {
            Build({Op(D3DSIO_MUL, {Dst(D3DSPR_TEMP, 0, kAll, bits | (saturate ? D3DSPDM_SATURATE : 0u)),
                                   Src(D3DSPR_CONST, 0), Src(D3DSPR_CONST, 1)})});
            ExpectNear(Run(), ref::PixelResult(ref::Operation(D3DSIO_MUL, c[0], c[1], {}), shift, saturate),
                       "shift " + std::to_string(shift) + (saturate ? "_sat" : ""));
        }
    }
}

TEST_F(PixelShaderTranslation, InputsAndConstantsAreClampedDefinitionsWinAndPairsReadFirst) {
    SetConstants({{3.0f, -3.0f, 0.5f, 0.0f}, {0.1f, 0.2f, 0.3f, 0.4f}, {0.9f, 0.9f, 0.9f, 0.9f}});
    const std::vector<Vec4> colours = {{1.5f, -0.5f, 0.25f, 2.0f}, {0.5f, 0.5f, 0.5f, 0.5f}};
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_INPUT, 0)})});
    ExpectNear(Run(colours), {1.0f, 0.0f, 0.25f, 1.0f}, "v0");
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 0)})});
    ExpectNear(Run(), {1.0f, -1.0f, 0.5f, 0.0f}, "c0");
    Build({Def(2, 0.25f, -2.0f, 0.0f, 1.0f),
           Op(D3DSIO_ADD, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 2), Src(D3DSPR_INPUT, 1)})});
    ExpectNear(Run(colours), {0.75f, -0.5f, 0.5f, 1.0f}, "def c2 + v1");
    // The co-issued alpha reads r0.b from before its partner wrote it; t3 serves as a temporary.
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEXTURE, 3), Src(D3DSPR_CONST, 1)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 3)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0, kX | kY | kZ), Src(D3DSPR_CONST, 2)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0, kW), Src(D3DSPR_TEMP, 0, D3DSP_REPLICATEBLUE)}, true)});
    ExpectNear(Run(), {0.9f, 0.9f, 0.9f, 0.3f}, "co-issue");
}

TEST_F(PixelShaderTranslation, TexTexcoordTexkillAndBumpMapping) {
    m_rig.SetTexture2D(0, 2, 2, {kRed, kGreen, kBlue, kWhite});
    m_rig.SetTexture2D(1, 1, 1, {kYellow});
    m_key.stages[1].textureType = ETextureType::None;  // bound in GL, but not for Direct3D: opaque black
    Build({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}), Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 1)}),
           Op(D3DSIO_ADD, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 0), Src(D3DSPR_TEXTURE, 1)})},
          false);
    ExpectNear(Run({{}, {}, {0.75f, 0.25f, 0.0f, 1.0f}}), Color(kGreen), "tex", 1e-3f);

    Build({Op(D3DSIO_TEXCOORD, {Dst(D3DSPR_TEXTURE, 2)}), Op(D3DSIO_TEXKILL, {Dst(D3DSPR_TEXTURE, 1)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 2)})});
    const Vec4 coordinates{1.5f, -0.5f, 0.25f, 0.75f};
    ExpectNear(Run({{}, {}, {}, {0.0f, 0.5f, 1.0f, -1.0f}, coordinates}), {1.0f, 0.0f, 0.25f, 1.0f}, "texcoord");
    ExpectNear(Run({{}, {}, {}, {0.5f, 0.5f, -0.01f, 1.0f}, coordinates}), {-1.0f, -1.0f, -1.0f, -1.0f}, "texkill");

    // (du, dv, luminance) = (0.502, 0.251, 0.502) on stage 0. u' = 0.1 +
    // 0.5 du + 1.0 dv = 0.602: the third texel of stage 1's strip.
    m_key.stages[1].textureType = ETextureType::Texture2D;
    m_rig.SetTexture2D(0, 1, 1, {0xFF804080u});
    m_rig.SetTexture2D(1, 4, 1, {kRed, kGreen, kBlue, kWhite});
    m_constants.bumpMatrix[1][0] = 0.5f;
    m_constants.bumpMatrix[1][2] = 1.0f;
    m_constants.bumpLuminance[1][0] = 0.5f;
    m_constants.bumpLuminance[1][1] = 0.25f;
    SetConstants({});
    for (DWORD opcode : {D3DSIO_TEXBEM, D3DSIO_TEXBEML}) {
        Build({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}), Op(opcode, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
               Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 1)})},
              false);
        // texbeml scales rgb by 0.502 * 0.5 + 0.25.
        const float luminance = opcode == D3DSIO_TEXBEML ? 0.501f : 1.0f;
        ExpectNear(Run({{}, {}, {}, {0.1f, 0.5f, 0.0f, 1.0f}}), {0.0f, 0.0f, luminance, 1.0f},
                   CShaderDecoder::Mnemonic(opcode), 2e-3f);
    }
}

TEST_F(PixelShaderTranslation, DependentReadsAndTextureMatrices) {
    m_rig.SetTexture2D(0, 1, 1, {0x20C04060u});  // a 0.125, r 0.75, g 0.25, b 0.375
    m_rig.SetTexture2D(1, 4, 4, Grid());
    m_rig.SetTexture2D(2, 4, 4, Grid());
    for (DWORD opcode : {D3DSIO_TEXREG2AR, D3DSIO_TEXREG2GB}) {
        Build({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}), Op(opcode, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
               Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 1)})},
              false);
        // (a, r) is texel (0, 3); (g, b) is texel (1, 1).
        const Vec4 expected = opcode == D3DSIO_TEXREG2AR ? Vec4{0.0f, 192 / 255.0f, 0.0f, 1.0f}
                                                         : Vec4{64 / 255.0f, 64 / 255.0f, 0.0f, 1.0f};
        ExpectNear(Run(), expected, CShaderDecoder::Mnemonic(opcode), 1e-3f);
    }
    // t0 = (0.5, 0.25, 1): u = 0.625, v = 0.1875 is texel (2, 0).
    Build({Op(D3DSIO_TEXCOORD, {Dst(D3DSPR_TEXTURE, 0)}),
           Op(D3DSIO_TEXM3x2PAD, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
           Op(D3DSIO_TEXM3x2TEX, {Dst(D3DSPR_TEXTURE, 2), Src(D3DSPR_TEXTURE, 0)}),
           Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 2)})},
          false);
    ExpectNear(Run({{}, {}, {0.5f, 0.25f, 1.0f, 1.0f}, {0.5f, 1.0f, 0.125f, 0.0f}, {0.0f, 0.5f, 0.0625f, 0.0f}}),
               {128 / 255.0f, 0.0f, 0.0f, 1.0f}, "texm3x2tex", 1e-3f);

    // The rows turn t0 = grey into a normal along +Z; the eye (0, 0.8, 0.6)
    // reflects to (0, -0.8, 0.6), mostly -Y.
    m_key.stages[3].textureType = ETextureType::Cube;
    m_rig.SetCube(3, {kRed, kGreen, kBlue, kYellow, kCyan, kMagenta});  // +X -X +Y -Y +Z -Z
    m_rig.SetTexture2D(0, 1, 1, {0xFF808080u});
    m_constants.c[0][1] = 0.8f;
    m_constants.c[0][2] = 0.6f;
    m_rig.SetPixelShaderConstants(m_constants);
    const std::vector<Vec4> rows = {
        {}, {}, {}, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.8f}, {2.0f, 0.0f, 0.0f, 0.6f}};
    const std::pair<DWORD, std::uint32_t> cases[] = {
        {D3DSIO_TEXM3x3TEX, kCyan}, {D3DSIO_TEXM3x3SPEC, kYellow}, {D3DSIO_TEXM3x3VSPEC, kYellow}};
    for (const auto& [opcode, color] : cases) {
        std::vector<DWORD> last = {opcode, Dst(D3DSPR_TEXTURE, 3), Src(D3DSPR_TEXTURE, 0)};
        if (opcode == D3DSIO_TEXM3x3SPEC)
            last.push_back(Src(D3DSPR_CONST, 0));
        Build({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}),
               Op(D3DSIO_TEXM3x3PAD, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
               Op(D3DSIO_TEXM3x3PAD, {Dst(D3DSPR_TEXTURE, 2), Src(D3DSPR_TEXTURE, 0)}), last,
               Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 3)})},
              false);
        ExpectNear(Run(rows), Color(color), CShaderDecoder::Mnemonic(opcode), 1e-3f);
    }
}

TEST_F(PixelShaderTranslation, FogAndAlphaTestApplyToTheResult) {
    m_key.fogSource = EFogSource::VertexDepth;
    m_key.alphaFunc = D3DCMP_GREATEREQUAL;
    SPixelConstants pixel{};
    pixel.fogColor[0] = 1.0f;
    pixel.alphaReference[0] = 128.0f;
    m_rig.SetPixelValues(pixel);
    SetConstants({{0.0f, 0.0f, 1.0f, 0.6f}, {0.0f, 0.0f, 1.0f, 0.4f}});
    const std::vector<Vec4> fog = {{}, {}, {}, {}, {}, {}, {0.25f, 0.0f, 0.0f, 0.0f}};
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 0)})}, false);
    ExpectNear(Run(fog), {0.75f, 0.0f, 0.25f, 0.6f}, "fogged towards red");
    Build({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_CONST, 1)})}, false);
    ExpectNear(Run(fog), {0.0f, 0.0f, 0.0f, 0.0f}, "alpha 0.4 fails the test");
}
