#pragma once
// One control point of a movement path (CMove): where the path passes, where
// it looks and which way is up there, how fast it travels and how wide it
// sees from there, and the arc-length table of the segment that starts at
// it. A plain record: the controller keeps the tables up to date.

#include "platform/d3dx/d3dx8math.h"

// How a path blends its points. The numbering is the path file's, not that
// of the keyed curves' TInterpolationMode.
enum tMoveMode : int {
    MM_STEP = 0,     // stays on a point for its whole segment, never reaching the next
    MM_LINEAR = 1,   // straight lines between the points
    MM_BSPLINE = 2,  // uniform cubic B-spline: smooth, does not pass through the points
    MM_HSPLINE = 3,  // Hermite spline with Catmull-Rom tangents: passes through the points
};

class CMovePoint {
public:
    // Arc-length samples per segment, at u = 0, 0.1, ..., 0.9.
    static constexpr int kSamples = 10;

    D3DXVECTOR3 m_vDirection{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_vPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_vUp{0.0f, 1.0f, 0.0f};
    // Arc length of the path from its first point to the end (u = 1) of the
    // segment that starts here.
    float m_fSegmentLength = 0.0f;
    float m_fSpeed = 0.0f;            // distance units per second
    float m_fZoom = D3DX_PI / 4.0f;   // field of view, radians
    float m_fSamples[kSamples] = {};  // arc length at u = 0.1 j of this segment
};
