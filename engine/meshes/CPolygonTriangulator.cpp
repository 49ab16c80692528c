#include "meshes/CPolygonTriangulator.h"

#include <algorithm>
#include <cmath>
#include <numeric>

std::vector<std::uint32_t> CPolygonTriangulator::Triangulate(const std::vector<D3DXVECTOR3>& corners) {
    const std::uint32_t count = static_cast<std::uint32_t>(corners.size());
    if (count < 3) {
        return {};
    }
    if (count == 3) {
        return {0, 1, 2};
    }
    const std::vector<SPoint2> points = Flatten(corners);
    if (points.empty() || IsConvex(points)) {
        return Fan(count);
    }
    return ClipEars(points);
}

// Newell's normal is the area vector of the polygon, sound for polygons that
// are not quite flat. The two axes it points least along span the plane the
// corners are projected to.
std::vector<CPolygonTriangulator::SPoint2> CPolygonTriangulator::Flatten(const std::vector<D3DXVECTOR3>& corners) {
    double normal[3] = {0.0, 0.0, 0.0};
    for (size_t i = 0; i < corners.size(); ++i) {
        const D3DXVECTOR3& a = corners[i];
        const D3DXVECTOR3& b = corners[(i + 1) % corners.size()];
        normal[0] += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
        normal[1] += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
        normal[2] += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
    }
    const double magnitudes[3] = {std::fabs(normal[0]), std::fabs(normal[1]), std::fabs(normal[2])};
    const int drop = static_cast<int>(std::max_element(magnitudes, magnitudes + 3) - magnitudes);
    if (!(magnitudes[drop] > 0.0)) {
        return {};  // no area (or not a number): no cut is better than another
    }
    // Dropping axis `drop` keeps the two others in cyclic order, which sees
    // the polygon counter-clockwise when the normal points along +drop.
    const int first = (drop + 1) % 3;
    const int second = (drop + 2) % 3;
    const bool mirrored = normal[drop] < 0.0;
    std::vector<SPoint2> points;
    points.reserve(corners.size());
    for (const D3DXVECTOR3& corner : corners) {
        const float coordinates[3] = {corner.x, corner.y, corner.z};
        SPoint2 p{coordinates[first], coordinates[second]};
        if (mirrored) {
            std::swap(p.x, p.y);
        }
        points.push_back(p);
    }
    return points;
}

// Convex when no corner turns clockwise; corners on a straight line are
// allowed (the fan gives them thin but harmless triangles).
bool CPolygonTriangulator::IsConvex(const std::vector<SPoint2>& points) {
    const size_t count = points.size();
    for (size_t i = 0; i < count; ++i) {
        if (Cross(points[(i + count - 1) % count], points[i], points[(i + 1) % count]) < 0.0f) {
            return false;
        }
    }
    return true;
}

// The fan starts at the last corner: (n-1, 0, 1), (n-1, 1, 2), ... This is
// the cut other tools make of LightWave's quads (which they read in reverse
// order and fan from the first), so that both draw the same diagonal.
std::vector<std::uint32_t> CPolygonTriangulator::Fan(std::uint32_t count) {
    std::vector<std::uint32_t> triangles;
    triangles.reserve((count - 2) * 3);
    for (std::uint32_t i = 0; i + 2 < count; ++i) {
        triangles.insert(triangles.end(), {count - 1, i, i + 1});
    }
    return triangles;
}

// Cuts off one ear (a corner whose triangle with its two neighbours turns
// counter-clockwise and holds no other corner) at a time. When none is left
// (the polygon crosses itself) the next corner is cut anyway, so that the
// triangle count stays n - 2.
std::vector<std::uint32_t> CPolygonTriangulator::ClipEars(const std::vector<SPoint2>& points) {
    std::vector<std::uint32_t> ring(points.size());
    std::iota(ring.begin(), ring.end(), 0u);
    std::vector<std::uint32_t> triangles;
    triangles.reserve((points.size() - 2) * 3);
    size_t at = 0;
    while (ring.size() > 3) {
        size_t ear = at;
        for (size_t tried = 0; tried < ring.size(); ++tried) {
            const size_t candidate = (at + tried) % ring.size();
            if (IsEar(points, ring, candidate)) {
                ear = candidate;
                break;
            }
        }
        const size_t size = ring.size();
        triangles.insert(triangles.end(), {ring[(ear + size - 1) % size], ring[ear], ring[(ear + 1) % size]});
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
        at = ear % ring.size();
    }
    triangles.insert(triangles.end(), {ring[0], ring[1], ring[2]});
    return triangles;
}

bool CPolygonTriangulator::IsEar(const std::vector<SPoint2>& points, const std::vector<std::uint32_t>& ring,
                                 size_t at) {
    const size_t size = ring.size();
    const std::uint32_t prev = ring[(at + size - 1) % size];
    const std::uint32_t ear = ring[at];
    const std::uint32_t next = ring[(at + 1) % size];
    const SPoint2& a = points[prev];
    const SPoint2& b = points[ear];
    const SPoint2& c = points[next];
    if (!(Cross(a, b, c) > 0.0f)) {
        return false;
    }
    for (const std::uint32_t other : ring) {
        if (other == prev || other == ear || other == next) {
            continue;
        }
        const SPoint2& p = points[other];
        const bool sharesCorner =
            (p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y) || (p.x == c.x && p.y == c.y);
        if (!sharesCorner && Inside(p, a, b, c)) {
            return false;
        }
    }
    return true;
}

float CPolygonTriangulator::Cross(const SPoint2& a, const SPoint2& b, const SPoint2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Inside or on the border of the counter-clockwise triangle a, b, c.
bool CPolygonTriangulator::Inside(const SPoint2& p, const SPoint2& a, const SPoint2& b, const SPoint2& c) {
    return Cross(a, b, p) >= 0.0f && Cross(b, c, p) >= 0.0f && Cross(c, a, p) >= 0.0f;
}
