// The meshes the four solids build: counts, positions, texture coordinates,
// indices, normals and bounds, and how the base object scales them.
#include <gtest/gtest.h>

#include <cmath>

#include "ObjectTestSupport.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "support/CHeadlessDevice.h"

namespace {

constexpr float kEpsilon = 1e-5f;

bool AllFinite(const std::vector<S3DVERTEX>& vertices) {
    for (const S3DVERTEX& v : vertices)
        for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu1, v.tv1, v.tu2, v.tv2})
            if (!std::isfinite(f))
                return false;
    return true;
}

float Length(float x, float y, float z) {
    return std::sqrt(x * x + y * y + z * z);
}

class SolidGeometry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Valid()); }
    CHeadlessDevice device;
};

}  // namespace

TEST_F(SolidGeometry, NewSolidsHaveTheirDocumentedVertexAndFaceCounts) {
    CTestable<CBoxObject> box;
    CTestable<CSphereObject> sphere;
    CTestable<CCylinderObject> cylinder;
    CTestable<CTorusObject> torus;
    struct SCase {
        CBaseObject* object;
        int vertices, faces;
    } cases[] = {{&box, 36, 12}, {&sphere, 121, 200}, {&cylinder, 2 * 11 + 24, 40}, {&torus, 121, 200}};
    box.BuildOn(device.Get());
    sphere.BuildOn(device.Get());
    cylinder.BuildOn(device.Get());
    torus.BuildOn(device.Get());
    for (const SCase& c : cases) {
        EXPECT_EQ(c.object->GetNumberVertices(), c.vertices);
        EXPECT_EQ(c.object->GetNumberFaces(), c.faces);
        const std::vector<S3DVERTEX> vertices = VerticesOf(*c.object);
        EXPECT_EQ(static_cast<int>(vertices.size()), c.vertices);
        EXPECT_TRUE(AllFinite(vertices));
        for (const S3DVERTEX& v : vertices) {
            EXPECT_EQ(v.tu1, v.tu2);  // both pairs always carry the same values
            EXPECT_EQ(v.tv1, v.tv2);
        }
        const std::vector<WORD> indices = IndicesOf(*c.object);
        ASSERT_EQ(static_cast<int>(indices.size()), 3 * c.faces);
        for (WORD index : indices)
            EXPECT_LT(index, c.vertices);
    }
}

TEST_F(SolidGeometry, BoxIsAUnitCubeOfSixFlatFaces) {
    CTestable<CBoxObject> box;
    box.BuildOn(device.Get());
    float x = 0, y = 0, z = 0;
    box.GetSize(x, y, z);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 1.0f);
    EXPECT_EQ(z, 1.0f);

    const std::vector<S3DVERTEX> v = VerticesOf(box);
    ASSERT_EQ(v.size(), 36u);
    const std::vector<WORD> indices = IndicesOf(box);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(indices[i], i);
    // Every face: six vertices with the face's outward axis as normal.
    const float normals[6][3] = {{0, 1, 0}, {0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}};
    for (int face = 0; face < 6; ++face) {
        for (int i = face * 6; i < face * 6 + 6; ++i) {
            EXPECT_NEAR(v[i].nx, normals[face][0], kEpsilon) << "vertex " << i;
            EXPECT_NEAR(v[i].ny, normals[face][1], kEpsilon) << "vertex " << i;
            EXPECT_NEAR(v[i].nz, normals[face][2], kEpsilon) << "vertex " << i;
            EXPECT_EQ(std::fabs(v[i].x), 0.5f);
            EXPECT_EQ(std::fabs(v[i].y), 0.5f);
            EXPECT_EQ(std::fabs(v[i].z), 0.5f);
        }
    }
    // The top face starts at corner A (-X, Y, Z) with texture (0, 0); the
    // second triangle's last corner is D (-X, Y, -Z) with (0, 1).
    EXPECT_EQ(v[0].x, -0.5f);
    EXPECT_EQ(v[0].z, 0.5f);
    EXPECT_EQ(v[0].tu1, 0.0f);
    EXPECT_EQ(v[0].tv1, 0.0f);
    EXPECT_EQ(v[5].x, -0.5f);
    EXPECT_EQ(v[5].z, -0.5f);
    EXPECT_EQ(v[5].tu1, 0.0f);
    EXPECT_EQ(v[5].tv1, 1.0f);

    EXPECT_NEAR(box.GetBoundsMax().x, 0.5f, kEpsilon);
    EXPECT_NEAR(box.GetBoundsMin().y, -0.5f, kEpsilon);
    EXPECT_NEAR(box.GetReferenceSize(), 1.0f, kEpsilon);
}

TEST_F(SolidGeometry, SphereRunsFromTheTopPoleWithRadialNormals) {
    CTestable<CSphereObject> sphere;
    sphere.BuildOn(device.Get());
    std::vector<S3DVERTEX> v = VerticesOf(sphere);
    ASSERT_EQ(v.size(), 121u);
    for (int j = 0; j <= 10; ++j) {
        EXPECT_NEAR(v[j].x, 0.0f, kEpsilon);
        EXPECT_NEAR(v[j].y, 1.0f, kEpsilon);
        EXPECT_NEAR(v[j].z, 0.0f, kEpsilon);
        EXPECT_NEAR(v[110 + j].y, -1.0f, kEpsilon);  // bottom pole
    }
    // Texture coordinates are divided by count + 1 and never reach 1.
    EXPECT_FLOAT_EQ(v[10].tu1, 10.0f / 11.0f);
    EXPECT_FLOAT_EQ(v[120].tv1, 10.0f / 11.0f);
    // Away from the poles the normals point along the radius; the degenerate
    // triangles at the poles leave no NaN behind.
    EXPECT_TRUE(AllFinite(v));
    for (int i = 11; i < 110; ++i) {
        const float r = Length(v[i].x, v[i].y, v[i].z);
        EXPECT_NEAR(r, 1.0f, 1e-4f);
        const float cosine = (v[i].x * v[i].nx + v[i].y * v[i].ny + v[i].z * v[i].nz) / r;
        EXPECT_GT(std::fabs(cosine), 0.9f) << "vertex " << i;
    }

    // The radius rebuilds at once; counts wait for the next render.
    sphere.SetRadius(2.0f);
    v = VerticesOf(sphere);
    EXPECT_NEAR(v[0].y, 2.0f, kEpsilon);
    sphere.SetSliceNumber(20);
    EXPECT_EQ(sphere.GetSliceNumber(), 20);
    EXPECT_EQ(sphere.GetNumberVertices(), 121);
    EXPECT_TRUE(sphere.RebuildIfChanged());
    EXPECT_EQ(sphere.GetNumberVertices(), 11 * 21);
    EXPECT_EQ(sphere.GetNumberFaces(), 400);
    EXPECT_FALSE(sphere.RebuildIfChanged());
}

TEST_F(SolidGeometry, CylinderRunsFromTheFirstToTheSecondRadiusWithOpposedCaps) {
    CTestable<CCylinderObject> cylinder;
    cylinder.SetRadius(0.5f, 1.0f);
    cylinder.SetLength(2.0f);
    cylinder.BuildOn(device.Get());
    const std::vector<S3DVERTEX> v = VerticesOf(cylinder);
    ASSERT_EQ(v.size(), 46u);
    // Side column of stack 0 (angle 0): slice 0 at y = -1 with r1, slice 1 at y = 1 with r2.
    EXPECT_NEAR(v[0].x, 0.5f, kEpsilon);
    EXPECT_NEAR(v[0].y, -1.0f, kEpsilon);
    EXPECT_EQ(v[0].tv1, 1.0f);
    EXPECT_NEAR(v[1].x, 1.0f, kEpsilon);
    EXPECT_NEAR(v[1].y, 1.0f, kEpsilon);
    EXPECT_EQ(v[1].tv1, 0.0f);
    // Caps: centre then ring, top (r2) first; normals point out of each cap.
    const int top = 22, bottom = top + 12;
    EXPECT_NEAR(v[top].y, 1.0f, kEpsilon);
    EXPECT_NEAR(v[top].ny, 1.0f, kEpsilon);
    EXPECT_NEAR(v[top + 1].x, 1.0f, kEpsilon);
    EXPECT_NEAR(v[bottom].y, -1.0f, kEpsilon);
    EXPECT_NEAR(v[bottom].ny, -1.0f, kEpsilon);
    EXPECT_NEAR(v[bottom + 1].x, 0.5f, kEpsilon);
    EXPECT_EQ(v[bottom + 1].tu1, 0.0f);
    const std::vector<WORD> indices = IndicesOf(cylinder);
    ASSERT_EQ(indices.size(), 120u);
    EXPECT_EQ(indices[60], top);
    EXPECT_EQ(indices[61], top + 2);
    EXPECT_EQ(indices[62], top + 1);
    EXPECT_EQ(indices[90], bottom);
    EXPECT_EQ(indices[91], bottom + 1);
    EXPECT_EQ(indices[92], bottom + 2);
}

TEST_F(SolidGeometry, TorusSpansItsTwoRadii) {
    CTestable<CTorusObject> torus;
    torus.BuildOn(device.Get());
    EXPECT_NEAR(torus.GetBoundsMax().x, 1.5f, kEpsilon);
    EXPECT_NEAR(torus.GetBoundsMin().x, -1.5f, kEpsilon);
    EXPECT_NEAR(torus.GetBoundsMax().y, 0.5f, 0.03f);  // 10 sides miss the exact top
    EXPECT_NEAR(torus.GetBoundsMin().y, -0.5f, 0.03f);
    const std::vector<S3DVERTEX> v = VerticesOf(torus);
    // Vertex 0 lies on the outer equator; its normal points outwards.
    EXPECT_NEAR(v[0].x, 1.5f, kEpsilon);
    EXPECT_GT(std::fabs(v[0].nx), 0.85f);
}

TEST_F(SolidGeometry, ScaleResizesTheVerticesAboutTheOrigin) {
    CTestable<CSphereObject> sphere;
    sphere.SetPosition(5.0f, 0.0f, 0.0f);  // the position stays out of the vertices
    sphere.BuildOn(device.Get());
    const std::vector<S3DVERTEX> original = VerticesOf(sphere);

    sphere.SetScale(2.0f);
    EXPECT_EQ(sphere.GetScale(), 2.0f);
    std::vector<S3DVERTEX> scaled = VerticesOf(sphere);
    ASSERT_EQ(scaled.size(), original.size());
    for (size_t i = 0; i < scaled.size(); ++i) {
        EXPECT_NEAR(scaled[i].x, 2.0f * original[i].x, 1e-4f);
        EXPECT_NEAR(scaled[i].y, 2.0f * original[i].y, 1e-4f);
        EXPECT_NEAR(scaled[i].nx, original[i].nx, 1e-6f);  // normals untouched
    }
    EXPECT_NEAR(sphere.GetBoundsMax().y, 2.0f, 1e-4f);
    EXPECT_NEAR(sphere.GetReferenceSize(), 2.0f, 1e-4f);  // the size at scale 1

    sphere.SetScale(1.0f);
    scaled = VerticesOf(sphere);
    for (size_t i = 0; i < scaled.size(); ++i) {
        EXPECT_NEAR(scaled[i].x, original[i].x, 1e-4f);
        EXPECT_NEAR(scaled[i].z, original[i].z, 1e-4f);
    }

    // Scale 0 draws nothing but keeps the shape, so that it can come back.
    sphere.SetScale(0.0f);
    sphere.SetScale(3.0f);
    EXPECT_NEAR(sphere.GetBoundsMax().y, 3.0f, 1e-4f);
}

TEST_F(SolidGeometry, AFlatOrEmptyShapeIsNeverRescaled) {
    CTestable<CBoxObject> box;
    box.SetSize(0.0f, 0.0f, 0.0f);
    box.BuildOn(device.Get());
    box.SetScale(4.0f);
    const std::vector<S3DVERTEX> v = VerticesOf(box);
    EXPECT_TRUE(AllFinite(v));
    for (const S3DVERTEX& vertex : v)
        EXPECT_EQ(vertex.x, 0.0f);
    EXPECT_EQ(box.GetBoundsMax().x, 0.0f);

    // Counts below 1 build the smallest mesh instead of dividing by zero.
    CTestable<CTorusObject> torus;
    torus.SetSideNumber(0);
    torus.SetRingNumber(-3);
    torus.BuildOn(device.Get());
    EXPECT_EQ(torus.GetNumberVertices(), 4);
    EXPECT_EQ(torus.GetNumberFaces(), 2);
    EXPECT_TRUE(AllFinite(VerticesOf(torus)));
}

TEST_F(SolidGeometry, ShapeCurvesRebuildOnlyWhenTheirValuesChange) {
    CTestable<CBoxObject> box;
    box.BuildOn(device.Get());
    EXPECT_FALSE(box.RebuildIfChanged());
    box.SetSize(2.0f, 4.0f, 6.0f);
    EXPECT_NEAR(box.GetBoundsMax().z, 0.5f, kEpsilon);  // not shown before the next render
    EXPECT_TRUE(box.RebuildIfChanged());
    EXPECT_NEAR(box.GetBoundsMax().x, 1.0f, kEpsilon);
    EXPECT_NEAR(box.GetBoundsMax().y, 2.0f, kEpsilon);
    EXPECT_NEAR(box.GetBoundsMax().z, 3.0f, kEpsilon);

    CTestable<CCylinderObject> cylinder;
    cylinder.BuildOn(device.Get());
    cylinder.SetSliceNumber(3);
    cylinder.SetStackNumber(4);
    EXPECT_TRUE(cylinder.RebuildIfChanged());
    EXPECT_EQ(cylinder.GetNumberVertices(), 4 * 5 + 2 * 4 + 4);
    EXPECT_EQ(cylinder.GetNumberFaces(), 2 * 4 * 4);
}

TEST_F(SolidGeometry, ShaderLayoutKeepsTheVerticesInTheFirstSlot) {
    CTestable<CBoxObject> box;
    box.BuildOn(device.Get());
    const std::vector<S3DVERTEX> before = VerticesOf(box);
    box.UseShader(true);
    EXPECT_TRUE(box.IsUsingShader());
    std::vector<S3DVERTEX> after = VerticesOf(box);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x);
        EXPECT_EQ(after[i].ny, before[i].ny);
    }
    D3DVERTEXBUFFER_DESC description{};
    ASSERT_EQ(box.GetVB()->GetDesc(&description), D3D_OK);
    EXPECT_EQ(description.Size, 36u * 80u);

    // A rebuild in the shader layout fills the same first slots.
    box.SetSize(2.0f, 2.0f, 2.0f);
    ASSERT_TRUE(box.RebuildIfChanged());
    after = VerticesOf(box);
    EXPECT_EQ(std::fabs(after[17].z), 1.0f);
    EXPECT_NEAR(after[0].ny, 1.0f, kEpsilon);
}
