// Whatever the decoder accepts translates to GLSL that compiles and links,
// under any key: random programs from a fixed seed over every opcode,
// register, mask, swizzle and modifier. And a picture of a bump-mapped
// pattern for the developer.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "CShaderRig.h"
#include "ShaderTokens.h"
#include "platform/d3d8/CShaderDecoder.h"
#include "platform/d3d8/CShaderTranslator.h"

using namespace shadertokens;

namespace {

class CProgramGenerator {
public:
    std::vector<DWORD> Vertex() {
        static const DWORD kDestinations[] = {D3DSPR_ADDR, D3DSPR_RASTOUT, D3DSPR_ATTROUT, D3DSPR_TEXCRDOUT};
        static const unsigned kCounts[] = {1, 3, 2, 8};
        std::vector<DWORD> tokens = {D3DVS_VERSION(1, Pick(2))};
        for (unsigned i = 0, count = 1 + Pick(12); i < count; ++i) {
            const DWORD opcode = Pick(8) == 0 ? D3DSIO_DEF : (Pick(4) == 0 ? D3DSIO_EXPP + Pick(2) : Pick(25));
            if (opcode == D3DSIO_DEF || opcode == D3DSIO_NOP) {
                tokens.push_back(opcode);
                if (opcode == D3DSIO_DEF)
                    tokens.insert(tokens.end(), {Dst(D3DSPR_CONST, Pick(96)), Random(), Random(), Random(), Random()});
                continue;
            }
            const unsigned kind = Pick(8);
            const DWORD type = kind < 4 ? kDestinations[kind] : D3DSPR_TEMP;
            // Mostly in range: a sixth of the numbers reach beyond.
            tokens.insert(tokens.end(), {opcode, Dst(type, Pick((kind < 4 ? kCounts[kind] : 12) + (Pick(6) == 0)),
                                                     type == D3DSPR_ADDR ? kX : Mask())});
            for (unsigned s = 0; s < Sources(opcode); ++s) {
                const DWORD source = Pick(3);  // temp, input, const
                const DWORD token = Src(source, Pick(source == D3DSPR_CONST ? 96 : 12), Swizzle(), Pick(2) << 24);
                tokens.push_back(source == D3DSPR_CONST && Pick(3) == 0 ? Relative(token) : token);
            }
        }
        tokens.push_back(D3DVS_END());
        return tokens;
    }

    std::vector<DWORD> Pixel() {
        static const DWORD kArithmetic[] = {D3DSIO_MOV, D3DSIO_ADD, D3DSIO_SUB, D3DSIO_MAD, D3DSIO_MUL,
                                            D3DSIO_DP3, D3DSIO_DP4, D3DSIO_LRP, D3DSIO_CND};
        static const DWORD kShifts[] = {0, kX2, kX4, kD2};
        std::vector<DWORD> tokens = {
            D3DPS_VERSION(1, Pick(2)), D3DSIO_DEF, Dst(D3DSPR_CONST, Pick(8)), Random(), Random(), Random(), Random()};
        const DWORD t0 = Src(D3DSPR_TEXTURE, 0), last = D3DSIO_TEXM3x3TEX + Pick(4);  // diff is refused
        const std::vector<DWORD> texturing[] = {
            {D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_TEXKILL, Dst(D3DSPR_TEXTURE, 1), D3DSIO_TEXCOORD,
             Dst(D3DSPR_TEXTURE, 2)},
            {D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_TEXBEML, Dst(D3DSPR_TEXTURE, 1), t0, D3DSIO_TEXREG2AR,
             Dst(D3DSPR_TEXTURE, 2), t0, D3DSIO_TEXREG2GB, Dst(D3DSPR_TEXTURE, 3), t0},
            {D3DSIO_TEXBEM, Dst(D3DSPR_TEXTURE, 1), t0, D3DSIO_TEXM3x2PAD, Dst(D3DSPR_TEXTURE, 2), t0,
             D3DSIO_TEXM3x2TEX, Dst(D3DSPR_TEXTURE, 3), t0},
            {D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_TEXM3x3PAD, Dst(D3DSPR_TEXTURE, 1), t0, D3DSIO_TEXM3x3PAD,
             Dst(D3DSPR_TEXTURE, 2), t0, last, Dst(D3DSPR_TEXTURE, 3), t0},
            {}};
        const std::vector<DWORD>& chosen = texturing[Pick(5)];
        tokens.insert(tokens.end(), chosen.begin(), chosen.end());
        if (!chosen.empty() && chosen[chosen.size() - 3] == D3DSIO_TEXM3x3SPEC)
            tokens.push_back(Src(D3DSPR_CONST, Pick(8)));
        for (unsigned i = 0, count = 1 + Pick(8); i < count; ++i) {
            const DWORD opcode = kArithmetic[Pick(std::size(kArithmetic))];
            tokens.insert(tokens.end(), {opcode | (i > 0 && Pick(4) == 0 ? D3DSI_COISSUE : 0u),
                                         Dst(Pick(3) ? D3DSPR_TEMP : D3DSPR_TEXTURE, Pick(2), Mask(),
                                             kShifts[Pick(4)] | (Pick(2) ? D3DSPDM_SATURATE : 0u))});
            for (unsigned s = 0; s < Sources(opcode); ++s)
                tokens.push_back(Src(Pick(4), Pick(2), Swizzle(), Pick(7) << 24));  // r, v, c, t
        }
        tokens.push_back(D3DPS_END());
        return tokens;
    }

private:
    unsigned Pick(unsigned count) { return static_cast<unsigned>(m_random() % count); }
    DWORD Random() { return static_cast<DWORD>(m_random()); }  // def values: any bits, NaNs included
    DWORD Mask() { return Pick(3) ? kAll : (Pick(15) + 1) << 16; }
    DWORD Swizzle() { return Pick(2) ? D3DVS_NOSWIZZLE : Pick(256) << D3DVS_SWIZZLE_SHIFT; }
    static unsigned Sources(DWORD opcode) {
        if (opcode == D3DSIO_MAD || opcode == D3DSIO_LRP || opcode == D3DSIO_CND)
            return 3;
        const bool single = opcode == D3DSIO_MOV || opcode == D3DSIO_RCP || opcode == D3DSIO_RSQ ||
                            (opcode >= D3DSIO_EXP && opcode <= D3DSIO_LIT) || opcode == D3DSIO_FRC ||
                            opcode == D3DSIO_EXPP || opcode == D3DSIO_LOGP;
        return single ? 1 : 2;
    }

    std::mt19937 m_random{20240611u};
};

SShaderProgram Decoded(const std::vector<DWORD>& tokens, EShaderKind kind) {
    SShaderProgram program;
    EXPECT_EQ(CShaderDecoder::Decode(tokens.data(), tokens.size(), kind, program), D3D_OK);
    return program;
}

}  // namespace

TEST(ShaderTranslation, WhateverDecodesCompilesAndLinksUnderAnyKey) {
    CShaderRig rig;
    ASSERT_TRUE(rig.Valid());
    CProgramGenerator generator;
    const SShaderProgram plainVertex =
        Decoded(VertexFunction({Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, 0), Src(D3DSPR_INPUT, 0)})}), EShaderKind::Vertex);
    const SShaderProgram plainPixel =
        Decoded(PixelFunction({Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_INPUT, 0)})}), EShaderKind::Pixel);
    int accepted[2] = {0, 0};
    for (unsigned i = 0; i < 300; ++i) {
        SShaderProgram vertex, pixel;
        const std::vector<DWORD> vertexTokens = generator.Vertex(), pixelTokens = generator.Pixel();
        const bool vertexOk =
            SUCCEEDED(CShaderDecoder::Decode(vertexTokens.data(), vertexTokens.size(), EShaderKind::Vertex, vertex));
        const bool pixelOk =
            SUCCEEDED(CShaderDecoder::Decode(pixelTokens.data(), pixelTokens.size(), EShaderKind::Pixel, pixel));
        accepted[0] += vertexOk;
        accepted[1] += pixelOk;
        SFixedFunctionKey key{};
        key.flatShading = i & 1;
        key.fogSource = static_cast<EFogSource>(i % 4);
        key.fogFormula = static_cast<std::uint8_t>(i % 4);
        key.alphaFunc = static_cast<std::uint8_t>(i % 9);
        key.depthRemap = (i / 2) & 1;
        for (unsigned stage = 0; stage < 4; ++stage)
            key.stages[stage].textureType = static_cast<ETextureType>((i / 3 + stage) % 3);
        ASSERT_TRUE(rig.Use(CShaderTranslator::VertexShader(vertexOk ? vertex : plainVertex, key),
                            CShaderTranslator::PixelShader(pixelOk ? pixel : plainPixel, key)))
            << "program " << i;
    }
    // Enough of them pass the decoder for this to test the translation.
    EXPECT_GT(accepted[0], 60);
    EXPECT_GT(accepted[1], 60);
}

// A checkerboard on stage 1 displaced by a ripple on stage 0 through texbem.
TEST(ShaderTranslation, DrawsABumpMappedCheckerboard) {
    constexpr int kSize = 64;
    CShaderRig rig(kSize, kSize);
    ASSERT_TRUE(rig.Valid());
    std::vector<std::uint32_t> ripple, checker;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const auto du = static_cast<std::uint32_t>(127.5f + 127.5f * std::sin(y * 0.3f));
            const auto dv = static_cast<std::uint32_t>(127.5f + 127.5f * std::cos(x * 0.3f));
            ripple.push_back(0xFF000000u | du << 16 | dv << 8);
            checker.push_back(((x / 8 + y / 8) % 2) ? 0xFFF0F0F0u : 0xFF2040C0u);
        }
    rig.SetTexture2D(0, kSize, kSize, ripple);
    rig.SetTexture2D(1, kSize, kSize, checker);
    SPixelShaderConstants constants{};
    constants.bumpMatrix[1][0] = constants.bumpMatrix[1][3] = 0.06f;
    rig.SetPixelShaderConstants(constants);
    SFixedFunctionKey key{};
    key.stages[0].textureType = key.stages[1].textureType = ETextureType::Texture2D;
    const SShaderProgram pixel =
        Decoded(PixelFunction({Op(D3DSIO_TEX, {Dst(D3DSPR_TEXTURE, 0)}),
                               Op(D3DSIO_TEXBEM, {Dst(D3DSPR_TEXTURE, 1), Src(D3DSPR_TEXTURE, 0)}),
                               Op(D3DSIO_MOV, {Dst(D3DSPR_TEMP, 0), Src(D3DSPR_TEXTURE, 1)})}),
                EShaderKind::Pixel);
    ASSERT_TRUE(rig.Use(CShaderRig::PassThroughVertexShader(), CShaderTranslator::PixelShader(pixel, key)));
    std::vector<std::vector<Vec4>> points;
    for (int i = 0; i < kSize * kSize; ++i) {
        const Vec4 uv{(i % kSize + 0.5f) / kSize, (i / kSize + 0.5f) / kSize, 0.0f, 1.0f};
        points.push_back({rig.PointPosition(i), {}, {}, uv, uv});
    }
    rig.Clear({0.0f, 0.0f, 0.0f, 1.0f});
    rig.DrawPoints(points);
    rig.SavePng("d3d8shaders_texbem_checkerboard");
    // Displaced, the squares' edges wave: columns of the first square row hold both colours.
    int mixedColumns = 0;
    for (int x = 0; x < kSize; ++x) {
        bool light = false, dark = false;
        for (int y = 0; y < 8; ++y)
            (rig.Read(x, y)[1] > 0.5f ? light : dark) = true;
        mixedColumns += light && dark;
    }
    EXPECT_GT(mixedColumns, 4);
}
