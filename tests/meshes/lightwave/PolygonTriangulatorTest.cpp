// Cutting polygons into triangles: fans for convex polygons, ears for concave
// ones, in any plane and either winding, and always n - 2 triangles.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "meshes/CPolygonTriangulator.h"

using testing::ElementsAre;

namespace {

struct SPoint2 {
    float x, y;
};

// An L: the corner at (1, 1) points inwards. A fan from any corner but that
// one reaches outside the L.
const std::vector<SPoint2> kL = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};

float Signed(const SPoint2& a, const SPoint2& b, const SPoint2& c) {
    return 0.5f * ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
}

bool InsidePolygon(const std::vector<SPoint2>& polygon, const SPoint2& p) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const SPoint2& a = polygon[i];
        const SPoint2& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

// The cut covers the polygon exactly: n - 2 triangles, all wound as the
// polygon (counter-clockwise), their areas adding up to the polygon's and
// each lying inside it.
void ExpectExactCut(const std::vector<SPoint2>& polygon, const std::vector<std::uint32_t>& triangles) {
    ASSERT_EQ(triangles.size(), (polygon.size() - 2) * 3);
    float polygonArea = 0.0f;
    for (size_t i = 1; i + 1 < polygon.size(); ++i)
        polygonArea += Signed(polygon[0], polygon[i], polygon[i + 1]);
    float sum = 0.0f;
    for (size_t t = 0; t < triangles.size(); t += 3) {
        const SPoint2& a = polygon.at(triangles[t]);
        const SPoint2& b = polygon.at(triangles[t + 1]);
        const SPoint2& c = polygon.at(triangles[t + 2]);
        const float area = Signed(a, b, c);
        EXPECT_GT(area, 0.0f) << "triangle " << t / 3 << " is turned over";
        sum += std::fabs(area);
        const SPoint2 centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3};
        EXPECT_TRUE(InsidePolygon(polygon, centre)) << "triangle " << t / 3 << " lies outside";
    }
    EXPECT_NEAR(sum, polygonArea, 1e-5f);
}

// The polygon placed in 3D by place(x, y).
template <class Place>
std::vector<D3DXVECTOR3> InSpace(const std::vector<SPoint2>& polygon, Place place) {
    std::vector<D3DXVECTOR3> corners;
    for (const SPoint2& p : polygon)
        corners.push_back(place(p.x, p.y));
    return corners;
}

}  // namespace

TEST(PolygonTriangulator, ConvexPolygonBecomesAFanFromItsLastCorner) {
    const std::vector<SPoint2> pentagon = {{0, 0}, {2, 0}, {3, 1}, {1, 3}, {-1, 1}};
    const auto triangles =
        CPolygonTriangulator::Triangulate(InSpace(pentagon, [](float x, float y) { return D3DXVECTOR3(x, y, 0); }));
    EXPECT_THAT(triangles, ElementsAre(4, 0, 1, 4, 1, 2, 4, 2, 3));
    ExpectExactCut(pentagon, triangles);
    EXPECT_THAT(CPolygonTriangulator::Triangulate({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0)}),
                ElementsAre(0, 1, 2));
}

TEST(PolygonTriangulator, ConcavePolygonIsCutInsideItsOutlineInAnyPlane) {
    // Upright in the xy plane, in the yz and zx planes, facing down the axis
    // (wound the other way as seen from it), and tilted: the same cut fits.
    ExpectExactCut(
        kL, CPolygonTriangulator::Triangulate(InSpace(kL, [](float x, float y) { return D3DXVECTOR3(x, y, 0); })));
    ExpectExactCut(
        kL, CPolygonTriangulator::Triangulate(InSpace(kL, [](float x, float y) { return D3DXVECTOR3(5, x, y); })));
    ExpectExactCut(
        kL, CPolygonTriangulator::Triangulate(InSpace(kL, [](float x, float y) { return D3DXVECTOR3(y, -2, x); })));
    ExpectExactCut(
        kL, CPolygonTriangulator::Triangulate(InSpace(kL, [](float x, float y) { return D3DXVECTOR3(y, x, 0); })));
    ExpectExactCut(kL, CPolygonTriangulator::Triangulate(
                           InSpace(kL, [](float x, float y) { return D3DXVECTOR3(x, y * 0.6f, y * 0.8f); })));
    // Starting the outline elsewhere puts the inward corner first or last.
    for (size_t shift = 1; shift < kL.size(); ++shift) {
        std::vector<SPoint2> rotated(kL.begin() + static_cast<long>(shift), kL.end());
        rotated.insert(rotated.end(), kL.begin(), kL.begin() + static_cast<long>(shift));
        ExpectExactCut(rotated, CPolygonTriangulator::Triangulate(
                                    InSpace(rotated, [](float x, float y) { return D3DXVECTOR3(x, y, 0); })));
    }
}

// Polygons with no proper cut still give n - 2 triangles of their own
// corners; fewer than three corners give none.
TEST(PolygonTriangulator, PolygonsWithoutAProperCutStillGiveTheirTriangles) {
    const std::vector<std::vector<D3DXVECTOR3>> polygons = {
        {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}},                        // a bow tie
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}},             // a line
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},                        // one point
        {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {2, 2, 0}, {2, 1, 3}},  // far from flat
        {{NAN, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
    };
    for (const auto& polygon : polygons) {
        const auto triangles = CPolygonTriangulator::Triangulate(polygon);
        ASSERT_EQ(triangles.size(), (polygon.size() - 2) * 3);
        for (size_t t = 0; t < triangles.size(); t += 3) {
            EXPECT_LT(triangles[t], polygon.size());
            EXPECT_NE(triangles[t], triangles[t + 1]);
            EXPECT_NE(triangles[t + 1], triangles[t + 2]);
            EXPECT_NE(triangles[t], triangles[t + 2]);
        }
    }
    EXPECT_TRUE(CPolygonTriangulator::Triangulate({{0, 0, 0}, {1, 0, 0}}).empty());
    EXPECT_TRUE(CPolygonTriangulator::Triangulate({}).empty());
}
