#pragma once
// Cuts one polygon, given by the positions of its corners in order, into
// triangles that keep its winding. A convex polygon becomes a fan from its
// last corner; a concave one is cut ear by ear, so that no triangle reaches
// outside it. Polygons that are not flat are cut in the plane that fits them
// best. Every polygon of n >= 3 corners gives n - 2 triangles, also a
// self-intersecting or degenerate one (which has no proper cut).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d3dx/d3dx8math.h"

class CPolygonTriangulator {
public:
    // Corner numbers (0 .. n - 1), three per triangle.
    static std::vector<std::uint32_t> Triangulate(const std::vector<D3DXVECTOR3>& corners);

private:
    struct SPoint2 {
        float x = 0.0f;
        float y = 0.0f;
    };

    // The corners in the plane across the polygon's normal, turned so that
    // the polygon runs counter-clockwise there.
    static std::vector<SPoint2> Flatten(const std::vector<D3DXVECTOR3>& corners);
    static bool IsConvex(const std::vector<SPoint2>& points);
    static std::vector<std::uint32_t> Fan(std::uint32_t count);
    static std::vector<std::uint32_t> ClipEars(const std::vector<SPoint2>& points);
    static bool IsEar(const std::vector<SPoint2>& points, const std::vector<std::uint32_t>& ring, size_t at);

    // Twice the signed area of triangle a, b, c (positive counter-clockwise).
    static float Cross(const SPoint2& a, const SPoint2& b, const SPoint2& c);
    static bool Inside(const SPoint2& p, const SPoint2& a, const SPoint2& b, const SPoint2& c);
};
