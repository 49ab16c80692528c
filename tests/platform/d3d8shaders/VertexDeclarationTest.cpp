// Vertex shader declarations: offsets and strides per stream, skips, data
// types, constant loads, and the tokens the layer refuses.

#include <gtest/gtest.h>

#include "ShaderTokens.h"
#include "platform/d3d8/CVertexDeclaration.h"

using shadertokens::Bits;

TEST(VertexDeclaration, LaysOutTheEngineEightyByteVertex) {
    const std::vector<DWORD> tokens = {D3DVSD_STREAM(0),
                                       D3DVSD_REG(0, D3DVSDT_FLOAT3),
                                       D3DVSD_REG(3, D3DVSDT_FLOAT3),
                                       D3DVSD_REG(7, D3DVSDT_FLOAT2),
                                       D3DVSD_REG(8, D3DVSDT_FLOAT2),
                                       D3DVSD_REG(5, D3DVSDT_D3DCOLOR),
                                       D3DVSD_REG(9, D3DVSDT_FLOAT3),
                                       D3DVSD_REG(10, D3DVSDT_FLOAT3),
                                       D3DVSD_REG(11, D3DVSDT_FLOAT3),
                                       D3DVSD_END()};
    CVertexDeclaration declaration;
    ASSERT_EQ(declaration.Parse(tokens.data(), tokens.size()), D3D_OK);
    const DWORD offsets[] = {0, 12, 24, 32, 40, 44, 56, 68};
    ASSERT_EQ(declaration.Elements().size(), 8u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(declaration.Elements()[i].offset, offsets[i]) << i;
    EXPECT_EQ(declaration.StreamStride(0), 80u);
    EXPECT_EQ(declaration.RegisterMask(), 0xFA9u);
    EXPECT_EQ(declaration.TokenCount(), tokens.size());
    EXPECT_EQ(declaration.ElementForRegister(5)->kind, EVertexElementKind::Color);
    EXPECT_EQ(declaration.ElementForRegister(7)->components, 2u);
    EXPECT_EQ(declaration.ElementForRegister(1), nullptr);
}

TEST(VertexDeclaration, KeepsOffsetsPerStreamAndReadsConstants) {
    const std::vector<DWORD> tokens = {D3DVSD_STREAM(0),
                                       D3DVSD_REG(0, D3DVSDT_FLOAT1),
                                       D3DVSD_SKIP(2),
                                       D3DVSD_REG(1, D3DVSDT_SHORT2),
                                       D3DVSD_NOP(),
                                       D3DVSD_STREAM(15),
                                       D3DVSD_REG(2, D3DVSDT_UBYTE4),
                                       D3DVSD_STREAM(0),
                                       D3DVSD_REG(4, D3DVSDT_SHORT4),
                                       D3DVSD_CONST(94, 2),
                                       Bits(1),
                                       Bits(2),
                                       Bits(3),
                                       Bits(4),
                                       Bits(5),
                                       Bits(6),
                                       Bits(7),
                                       Bits(8),
                                       D3DVSD_END()};
    CVertexDeclaration declaration;
    ASSERT_EQ(declaration.Parse(tokens.data(), tokens.size()), D3D_OK);
    const std::vector<SVertexElement>& elements = declaration.Elements();
    ASSERT_EQ(elements.size(), 4u);
    EXPECT_EQ(elements[1].offset, 12u);  // 4 bytes, then two skipped DWORDs
    EXPECT_EQ(elements[1].kind, EVertexElementKind::Short);
    EXPECT_EQ(elements[2].stream, 15u);
    EXPECT_EQ(elements[2].offset, 0u);
    EXPECT_EQ(elements[3].offset, 16u);  // stream 0 carries on where it stopped
    EXPECT_EQ(declaration.StreamStride(0), 24u);
    EXPECT_EQ(declaration.StreamStride(15), 4u);
    EXPECT_EQ(declaration.StreamMask(), 0x8001u);
    ASSERT_EQ(declaration.ConstantLoads().size(), 1u);
    EXPECT_EQ(declaration.ConstantLoads()[0].address, 94u);
    EXPECT_EQ(declaration.ConstantLoads()[0].values[1], (std::array<float, 4>{5, 6, 7, 8}));
}

TEST(VertexDeclaration, RefusesWhatItCannotFeed) {
    const std::vector<std::vector<DWORD>> cases = {
        {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3)},  // no end within the cap
        {D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()},      // no stream yet
        {D3DVSD_STREAM(0) | (1u << 28), D3DVSD_END()},      // tessellator stream
        {D3DVSD_STREAM(0), (D3DVSD_TOKEN_TESSELLATOR << D3DVSD_TOKENTYPESHIFT) | 3, D3DVSD_END()},
        {D3DVSD_STREAM(0), D3DVSD_TOKEN_EXT << D3DVSD_TOKENTYPESHIFT, D3DVSD_END()},
        {D3DVSD_STREAM(0), D3DVSD_REG(16, D3DVSDT_FLOAT3), D3DVSD_END()},
        {D3DVSD_STREAM(0), D3DVSD_REG(0, 8), D3DVSD_END()},
        {D3DVSD_STREAM(0), D3DVSD_REG(2, D3DVSDT_FLOAT3), D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()},
        {D3DVSD_CONST(94, 3), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, D3DVSD_END()},
        {D3DVSD_CONST(0, 2), 0, 0, 0, 0, 0, 0, 0},  // values past the cap
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        CVertexDeclaration declaration;
        std::string error;
        EXPECT_EQ(declaration.Parse(cases[i].data(), cases[i].size(), &error), D3DERR_INVALIDCALL) << i;
        EXPECT_FALSE(error.empty()) << i;
        EXPECT_TRUE(declaration.Elements().empty()) << i;
    }
}
