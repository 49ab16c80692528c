// What the bump-map effect writes into the shader layout's second half:
// material 0's packed colour and each triangle's tangent frame.
#include <gtest/gtest.h>

#include <cmath>

#include "ShaderTestSupport.h"
#include "objects/CBumpMapShader.h"
#include "support/CHeadlessDevice.h"
#include "support/ObjectBuffers.h"

namespace {

// Position, normal, and one texture coordinate for both pairs.
S3DVERTEX V(float x, float y, float z, float nx, float ny, float nz, float u, float v) {
    return S3DVERTEX{x, y, z, nx, ny, nz, u, v, u, v};
}

#define EXPECT_VECTOR(actual, ex, ey, ez)     \
    do {                                      \
        EXPECT_NEAR((actual).x, (ex), 1e-5f); \
        EXPECT_NEAR((actual).y, (ey), 1e-5f); \
        EXPECT_NEAR((actual).z, (ez), 1e-5f); \
    } while (false)

class TangentFrames : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Valid()); }

    // Builds the mesh and returns the frames an attached bump-map effect wrote.
    std::vector<SShaderVertexFrame> FramesOf(const std::vector<S3DVERTEX>& vertices, const std::vector<WORD>& indices,
                                             D3DCOLORVALUE colour = {0.5f, 0.5f, 0.5f, 1.0f}) {
        CTestMesh mesh(device.Get(), true);
        mesh.SetDiffuseColor(colour, 0);
        mesh.Build(vertices, indices);
        CBumpMapShader effect(device.Get());
        mesh.SetShader(&effect);
        std::vector<SShaderVertexFrame> frames;
        for (const S3DVERTEX_FORSHADER& vertex : mesh.ShaderVertices()) {
            frames.push_back(FrameOf(vertex));
        }
        return frames;
    }

    CHeadlessDevice device;
};

}  // namespace

TEST_F(TangentFrames, TangentFollowsUBinormalFollowsVAndTheNormalSidesWithTheVertexNormal) {
    // A 2 x 3 quad facing -z, u along +x, v along +y: T x B = +z is turned
    // towards the vertex normal.
    auto f = FramesOf({V(0, 0, 0, 0, 0, -1, 0, 0), V(2, 0, 0, 0, 0, -1, 1, 0), V(0, 3, 0, 0, 0, -1, 0, 1),
                       V(2, 3, 0, 0, 0, -1, 1, 1)},
                      {0, 2, 1, 1, 2, 3});
    ASSERT_EQ(f.size(), 4u);
    for (const SShaderVertexFrame& frame : f) {
        EXPECT_VECTOR(frame.tangent, 1, 0, 0);
        EXPECT_VECTOR(frame.binormal, 0, 1, 0);
        EXPECT_VECTOR(frame.normal, 0, 0, -1);
    }
    // u along +y and v along +x: T x B = -z already agrees with the normal.
    f = FramesOf({V(0, 0, 0, 0, 0, -1, 0, 0), V(0, 2, 0, 0, 0, -1, 1, 0), V(3, 0, 0, 0, 0, -1, 0, 1)}, {0, 1, 2});
    EXPECT_VECTOR(f[0].tangent, 0, 1, 0);
    EXPECT_VECTOR(f[0].binormal, 1, 0, 0);
    EXPECT_VECTOR(f[0].normal, 0, 0, -1);
    // A floor, u along +x and v along +z: T x B = -y is turned up.
    f = FramesOf({V(0, 0, 0, 0, 1, 0, 0, 0), V(4, 0, 0, 0, 1, 0, 1, 0), V(0, 0, 4, 0, 1, 0, 0, 1)}, {0, 1, 2});
    EXPECT_VECTOR(f[2].binormal, 0, 0, 1);
    EXPECT_VECTOR(f[2].normal, 0, 1, 0);
}

TEST_F(TangentFrames, AVertexOfSeveralTrianglesKeepsTheLastTrianglesFrame) {
    // Vertex 1 belongs to a triangle mapped u along +x, then to one mapped u along +y.
    const auto f = FramesOf({V(0, 0, 0, 0, 0, -1, 0, 0), V(1, 0, 0, 0, 0, -1, 1, 0), V(0, 1, 0, 0, 0, -1, 0, 1),
                             V(1, 1, 0, 0, 0, -1, 2, 0), V(2, 0, 0, 0, 0, -1, 1, 1)},
                            {0, 2, 1, 1, 3, 4});
    EXPECT_VECTOR(f[0].tangent, 1, 0, 0);
    EXPECT_VECTOR(f[1].tangent, 0, 1, 0);
    EXPECT_VECTOR(f[1].binormal, 1, 0, 0);
}

TEST_F(TangentFrames, EveryVertexCarriesMaterialZerosColourOpaqueAndTruncatedToBytes) {
    // Vertex 3 is in no triangle; 0.5 x 255 = 127.5 truncates to 0x7F.
    const auto f = FramesOf(
        {V(0, 0, 0, 0, 0, -1, 0, 0), V(1, 0, 0, 0, 0, -1, 1, 0), V(0, 1, 0, 0, 0, -1, 0, 1), V(5, 5, 5, 0, 0, 1, 0, 0)},
        {0, 2, 1}, D3DCOLORVALUE{1.0f, 0.5f, 0.2f, 0.3f});
    for (const SShaderVertexFrame& frame : f) {
        EXPECT_EQ(frame.diffuse, 0xFFFF7F33u);
    }
}

// Texture coordinates that span no area, or corners in one place, give no
// tangent frame: such a triangle gets a finite right-handed unit frame
// around its first corner's normal instead, and the others are untouched.
TEST_F(TangentFrames, DegenerateTrianglesGetAFiniteFrameAroundTheirNormal) {
    const float n = std::sqrt(1.0f / 3.0f);
    const auto f =
        FramesOf({V(0, 0, 0, n, n, -n, .5f, .5f), V(1, 0, 0, n, n, -n, .5f, .5f), V(0, 1, 0, n, n, -n, .5f, .5f),
                  V(2, 2, 2, 0, 1, 0, 0, 0), V(2, 2, 2, 0, 1, 0, 1, 0), V(2, 2, 2, 0, 1, 0, 0, 1),
                  V(0, 0, 0, 0, 0, -1, 0, 0), V(1, 0, 0, 0, 0, -1, 1, 0), V(0, 1, 0, 0, 0, -1, 0, 1)},
                 {0, 1, 2, 3, 4, 5, 6, 8, 7});
    ASSERT_EQ(f.size(), 9u);
    for (int i = 0; i < 6; ++i) {
        const SShaderVertexFrame& frame = f[static_cast<size_t>(i)];
        SCOPED_TRACE(i);
        ASSERT_TRUE(std::isfinite(frame.tangent.x + frame.tangent.y + frame.tangent.z + frame.binormal.x +
                                  frame.binormal.y + frame.binormal.z + frame.normal.x + frame.normal.y +
                                  frame.normal.z));
        D3DXVECTOR3 cross;
        D3DXVec3Cross(&cross, &frame.tangent, &frame.binormal);
        EXPECT_VECTOR(cross, frame.normal.x, frame.normal.y, frame.normal.z);
        EXPECT_NEAR(D3DXVec3Length(&frame.tangent), 1.0f, 1e-5f);
        EXPECT_NEAR(D3DXVec3Dot(&frame.tangent, &frame.binormal), 0.0f, 1e-5f);
    }
    EXPECT_VECTOR(f[0].normal, n, n, -n);
    EXPECT_VECTOR(f[3].normal, 0, 1, 0);
    EXPECT_VECTOR(f[7].tangent, 1, 0, 0);
}

// The fixed-function layout has no second half: writing one would overwrite
// the next vertex.
TEST_F(TangentFrames, AnObjectInTheFixedFunctionLayoutIsLeftAlone) {
    CTestMesh mesh(device.Get(), false);
    mesh.Build({V(0, 0, 0, 0, 0, -1, 0, 0), V(1, 0, 0, 0, 0, -1, 1, 0), V(0, 1, 0, 0, 0, -1, 0, 1)}, {0, 2, 1});
    const std::vector<S3DVERTEX> before = VerticesOf(mesh);
    CBumpMapShader effect(device.Get());
    mesh.SetShader(&effect);
    const std::vector<S3DVERTEX> after = VerticesOf(mesh);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(std::memcmp(after.data(), before.data(), after.size() * sizeof(S3DVERTEX)), 0);
}
