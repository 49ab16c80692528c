// Hiding a flare behind an object: the pick ray through the light's pixel
// against the object's triangles, and the ray/triangle test itself.
#include <gtest/gtest.h>

#include <memory>

#include "FlareTestSupport.h"
#include "objects/CBoxObject.h"
#include "objects/CPlaneObject.h"

using flaretest::CTestFlare;
using flaretest::kWidth;

namespace {

const D3DXCOLOR kGreen(0.0f, 1.0f, 0.0f, 1.0f);

// Green clearly above the other channels: the flare's spot shows.
bool ShowsFlare(std::uint32_t argb) {
    return Green(argb) > Red(argb) + 60;
}

class FlareOcclusion : public flaretest::FlareFixture {
protected:
    // A green spot half way between the centre and a light just off the
    // screen centre (off the diagonals of the occluders' faces), drawn after
    // `occluder` (which may be null).
    void DrawFlareBehind(CBaseObject* occluder, const D3DXVECTOR3& light, bool& obscured, int& hits) {
        CTestFlare flare;
        SetUpFlare(flare);
        flare.AddSpot(0, 0.1f, 0.5f, kGreen);
        flare.SetLightPosition(light.x, light.y, light.z);
        if (occluder != nullptr) {
            flare.SetObjectToObscur(*occluder);
        }
        obscured = flare.IsLensFlareObscured();
        int x = 0, y = 0, w = 0;
        flare.CalcLightSourceScreenCoords(light, kWidth, flaretest::kHeight, x, y, w);
        hits = flare.NumObjectsAtPoint(x, y);
        flare.Render();
    }

    static const D3DXVECTOR3 kLightAhead;
};

const D3DXVECTOR3 FlareOcclusion::kLightAhead(0.1f, 0.1f, 20.0f);

}  // namespace

TEST_F(FlareOcclusion, ASolidBoxInFrontOfTheLightHidesTheFlare) {
    std::unique_ptr<CBoxObject> box;
    bool obscured[3] = {false, true, false};
    int hits[3] = {0, 0, 0};
    const auto frames = Draw({
        [&] {
            box = std::make_unique<CBoxObject>();
            box->Render();
            DrawFlareBehind(box.get(), kLightAhead, obscured[0], hits[0]);
        },
        [&] {
            box->SetPosition(3.0f, 0.0f, 0.0f);  // beside the light's line of sight
            box->Render();
            DrawFlareBehind(box.get(), kLightAhead, obscured[1], hits[1]);
        },
        [&] {
            // A box behind the camera on the line of sight counts as well.
            box->SetPosition(0.0f, 0.0f, -10.0f);
            box->Render();
            DrawFlareBehind(box.get(), kLightAhead, obscured[2], hits[2]);
            box.reset();
        },
    });
    EXPECT_TRUE(obscured[0]);
    EXPECT_GE(hits[0], 1);
    EXPECT_FALSE(obscured[1]);
    EXPECT_EQ(hits[1], 0);
    EXPECT_TRUE(obscured[2]);

    // The grey box shows at the centre, untouched by the flare; once it
    // moves aside the flare's spot is there.
    const std::uint32_t hidden = At(frames[0], 320, 240);
    EXPECT_FALSE(ShowsFlare(hidden)) << ColorText(hidden);
    EXPECT_GT(Red(hidden), 100);
    EXPECT_EQ(CountPixels(frames[0], 0xFF00FF00u, 60), 0);
    EXPECT_TRUE(ShowsFlare(At(frames[1], 320, 240))) << ColorText(At(frames[1], 320, 240));
    EXPECT_EQ(MaxBrightness(frames[2]), 0);
}

TEST_F(FlareOcclusion, AnOccluderWhoseTrianglesFaceAwayDoesNotHideTheFlare) {
    std::unique_ptr<CPlaneObject> plane;
    bool obscured[2] = {false, true};
    int hits[2] = {0, 0};
    // A plane at the origin faces -z: from the front it hides the light; from
    // behind, with the light beyond it, it does not (only the position of the
    // occluder is applied, so turning it would change nothing).
    m_eye = D3DXVECTOR3(0.0f, 0.0f, 5.0f);
    m_direction = D3DXVECTOR3(0.0f, 0.0f, -1.0f);
    auto frames = Draw({[&] {
        plane = std::make_unique<CPlaneObject>();
        plane->SetProjectionMode(PM_PERSPECTIVE);
        plane->Init();
        DrawFlareBehind(plane.get(), D3DXVECTOR3(0.1f, 0.1f, -20.0f), obscured[1], hits[1]);
        plane.reset();
    }});
    m_eye = D3DXVECTOR3(0.0f, 0.0f, -5.0f);
    m_direction = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    const auto front = Draw({[&] {
        plane = std::make_unique<CPlaneObject>();
        plane->SetProjectionMode(PM_PERSPECTIVE);
        plane->Init();
        DrawFlareBehind(plane.get(), kLightAhead, obscured[0], hits[0]);
        plane.reset();
    }});
    EXPECT_TRUE(obscured[0]);
    EXPECT_EQ(MaxBrightness(front[0]), 0);
    EXPECT_FALSE(obscured[1]);
    EXPECT_EQ(hits[1], 0);
    EXPECT_TRUE(ShowsFlare(At(frames[0], 320, 240))) << ColorText(At(frames[0], 320, 240));
}

// ------------------------------------------------------------------ the ray/triangle test

namespace {

// A triangle in the z = 0 plane whose front faces -z: v1 runs up the y axis,
// v2 along the x axis.
const D3DXVECTOR3 kV0(0.0f, 0.0f, 0.0f);
const D3DXVECTOR3 kV1(0.0f, 1.0f, 0.0f);
const D3DXVECTOR3 kV2(1.0f, 0.0f, 0.0f);
const D3DXVECTOR3 kAlongZ(0.0f, 0.0f, 1.0f);

bool Hits(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, float& t, float& u, float& v) {
    return CLensFlare::DoesRayIntersectTriangle(origin, direction, kV0, kV1, kV2, t, u, v);
}

bool Hits(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction = kAlongZ) {
    float t = 0.0f, u = 0.0f, v = 0.0f;
    return Hits(origin, direction, t, u, v);
}

}  // namespace

TEST(RayTriangle, AFrontHitGivesDistanceAndBarycentricCoordinates) {
    float t = 0.0f, u = 0.0f, v = 0.0f;
    ASSERT_TRUE(Hits(D3DXVECTOR3(0.1f, 0.3f, -2.0f), D3DXVECTOR3(0.0f, 0.0f, 0.5f), t, u, v));
    EXPECT_FLOAT_EQ(t, 4.0f);  // in lengths of the direction
    EXPECT_FLOAT_EQ(u, 0.3f);  // towards v1
    EXPECT_FLOAT_EQ(v, 0.1f);  // towards v2
}

TEST(RayTriangle, TheBackFaceIsCulled) {
    EXPECT_FALSE(Hits(D3DXVECTOR3(0.1f, 0.3f, 2.0f), -kAlongZ));
    float t = 0.0f, u = 0.0f, v = 0.0f;
    EXPECT_FALSE(CLensFlare::DoesRayIntersectTriangle(D3DXVECTOR3(0.1f, 0.3f, -2.0f), kAlongZ, kV0, kV2, kV1, t, u, v));
}

TEST(RayTriangle, PointsOutsideTheTriangleMiss) {
    EXPECT_FALSE(Hits(D3DXVECTOR3(0.6f, 0.6f, -1.0f)));   // u + v > det: beyond the long edge
    EXPECT_FALSE(Hits(D3DXVECTOR3(0.3f, -0.1f, -1.0f)));  // u < 0
    EXPECT_FALSE(Hits(D3DXVECTOR3(-0.1f, 0.3f, -1.0f)));  // v < 0
    EXPECT_FALSE(Hits(D3DXVECTOR3(0.0f, 1.1f, -1.0f)));   // u > det
    EXPECT_TRUE(Hits(D3DXVECTOR3(0.5f, 0.5f, -1.0f)));    // the long edge itself belongs to it
}

TEST(RayTriangle, ARayAlongThePlaneMisses) {
    EXPECT_FALSE(Hits(D3DXVECTOR3(-1.0f, 0.2f, 0.0f), D3DXVECTOR3(1.0f, 0.0f, 0.0f)));
    // Nearly parallel: the determinant stays under its threshold, although
    // the line meets the triangle's inside; a little steeper, it counts.
    EXPECT_FALSE(Hits(D3DXVECTOR3(0.1f, 0.2f, -0.00001f), D3DXVECTOR3(1.0f, 0.0f, 0.00005f)));
    EXPECT_TRUE(Hits(D3DXVECTOR3(0.1f, 0.2f, -0.001f), D3DXVECTOR3(1.0f, 0.0f, 0.005f)));
}

TEST(RayTriangle, ATriangleBehindTheOriginCounts) {
    float t = 0.0f, u = 0.0f, v = 0.0f;
    ASSERT_TRUE(Hits(D3DXVECTOR3(0.1f, 0.3f, 3.0f), kAlongZ, t, u, v));
    EXPECT_FLOAT_EQ(t, -3.0f);
}
