#pragma once
// Small static helpers shared by the whole engine: vector arithmetic used by
// the trajectories and the mesh code, and the one way to show an error.

#include "platform/base/CString.h"
#include "platform/d3dx/d3dx8math.h"

class CTools {
public:
    // a x b (left-handed coordinates, as D3DX).
    static D3DXVECTOR3 CrossProduct(const D3DXVECTOR3& a, const D3DXVECTOR3& b);
    // v divided by its length. There is deliberately no zero check: a zero
    // vector yields NaN components, which callers test for where it matters.
    static D3DXVECTOR3 Normalize(const D3DXVECTOR3& v);
    static float VectorLength(const D3DXVECTOR3& v);
    // Unit normal of the triangle p0 p1 p2: normalised (p1 - p0) x (p2 - p0).
    static D3DXVECTOR3 GetFaceNormal(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2);
    // acos((u . v) / |u|), v being of unit length. The cosine is clamped to
    // [-1, 1] so that parallel vectors give 0 (or pi) rather than NaN when
    // rounding pushes it a hair past 1.
    static float AngleBetweenVectors(const D3DXVECTOR3& u, const D3DXVECTOR3& v);

    // Shows text to the user in an error box (through the error-report hook).
    static void Error(const CString& text);
};
