// The D3DXVec2*, D3DXVec3* and D3DXVec4* functions. Every function reads its
// inputs completely before writing, so out may alias an input.
#include <algorithm>
#include <cmath>

#include "platform/d3dx/d3dx8math.h"

namespace {

// Scales v to unit length; a zero vector stays zero instead of becoming NaN.
template <typename Vector>
Vector Normalized(const Vector& v, float length) {
    return length > 0.0f ? v / length : Vector();
}

}  // namespace

// --- 2D --------------------------------------------------------------------

FLOAT D3DXVec2Length(const D3DXVECTOR2* v) {
    return std::sqrt(D3DXVec2LengthSq(v));
}
FLOAT D3DXVec2LengthSq(const D3DXVECTOR2* v) {
    return v->x * v->x + v->y * v->y;
}
FLOAT D3DXVec2Dot(const D3DXVECTOR2* v1, const D3DXVECTOR2* v2) {
    return v1->x * v2->x + v1->y * v2->y;
}

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v) {
    *out = Normalized(*v, D3DXVec2Length(v));
    return out;
}

D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2) {
    *out = *v1 + *v2;
    return out;
}

D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2) {
    *out = *v1 - *v2;
    return out;
}

D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* out, const D3DXVECTOR2* v, FLOAT s) {
    *out = *v * s;
    return out;
}

D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2, FLOAT s) {
    *out = *v1 + (*v2 - *v1) * s;
    return out;
}

D3DXVECTOR2* D3DXVec2Minimize(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2) {
    *out = D3DXVECTOR2(std::min(v1->x, v2->x), std::min(v1->y, v2->y));
    return out;
}

D3DXVECTOR2* D3DXVec2Maximize(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2) {
    *out = D3DXVECTOR2(std::max(v1->x, v2->x), std::max(v1->y, v2->y));
    return out;
}

// --- 3D --------------------------------------------------------------------

FLOAT D3DXVec3Length(const D3DXVECTOR3* v) {
    return std::sqrt(D3DXVec3LengthSq(v));
}
FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* v) {
    return v->x * v->x + v->y * v->y + v->z * v->z;
}
FLOAT D3DXVec3Dot(const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    return v1->x * v2->x + v1->y * v2->y + v1->z * v2->z;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    *out = D3DXVECTOR3(v1->y * v2->z - v1->z * v2->y, v1->z * v2->x - v1->x * v2->z, v1->x * v2->y - v1->y * v2->x);
    return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    *out = Normalized(*v, D3DXVec3Length(v));
    return out;
}

D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    *out = *v1 + *v2;
    return out;
}

D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    *out = *v1 - *v2;
    return out;
}

D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* out, const D3DXVECTOR3* v, FLOAT s) {
    *out = *v * s;
    return out;
}

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2, FLOAT s) {
    *out = *v1 + (*v2 - *v1) * s;
    return out;
}

D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    *out = D3DXVECTOR3(std::min(v1->x, v2->x), std::min(v1->y, v2->y), std::min(v1->z, v2->z));
    return out;
}

D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2) {
    *out = D3DXVECTOR3(std::max(v1->x, v2->x), std::max(v1->y, v2->y), std::max(v1->z, v2->z));
    return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const D3DXVECTOR4 point(v->x, v->y, v->z, 1.0f);
    return D3DXVec4Transform(out, &point, m);
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    D3DXVECTOR4 projected;
    D3DXVec3Transform(&projected, v, m);
    // Like D3DX, no guard against w == 0: the caller asked for a point at infinity.
    *out = D3DXVECTOR3(projected.x / projected.w, projected.y / projected.w, projected.z / projected.w);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    *out = D3DXVECTOR3(v->x * m->_11 + v->y * m->_21 + v->z * m->_31, v->x * m->_12 + v->y * m->_22 + v->z * m->_32,
                       v->x * m->_13 + v->y * m->_23 + v->z * m->_33);
    return out;
}

// --- 4D --------------------------------------------------------------------

FLOAT D3DXVec4Length(const D3DXVECTOR4* v) {
    return std::sqrt(D3DXVec4LengthSq(v));
}
FLOAT D3DXVec4LengthSq(const D3DXVECTOR4* v) {
    return D3DXVec4Dot(v, v);
}
FLOAT D3DXVec4Dot(const D3DXVECTOR4* v1, const D3DXVECTOR4* v2) {
    return v1->x * v2->x + v1->y * v2->y + v1->z * v2->z + v1->w * v2->w;
}

D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* out, const D3DXVECTOR4* v) {
    *out = Normalized(*v, D3DXVec4Length(v));
    return out;
}

D3DXVECTOR4* D3DXVec4Add(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2) {
    *out = *v1 + *v2;
    return out;
}

D3DXVECTOR4* D3DXVec4Subtract(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2) {
    *out = *v1 - *v2;
    return out;
}

D3DXVECTOR4* D3DXVec4Scale(D3DXVECTOR4* out, const D3DXVECTOR4* v, FLOAT s) {
    *out = *v * s;
    return out;
}

D3DXVECTOR4* D3DXVec4Lerp(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2, FLOAT s) {
    *out = *v1 + (*v2 - *v1) * s;
    return out;
}

D3DXVECTOR4* D3DXVec4Minimize(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2) {
    *out = D3DXVECTOR4(std::min(v1->x, v2->x), std::min(v1->y, v2->y), std::min(v1->z, v2->z), std::min(v1->w, v2->w));
    return out;
}

D3DXVECTOR4* D3DXVec4Maximize(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2) {
    *out = D3DXVECTOR4(std::max(v1->x, v2->x), std::max(v1->y, v2->y), std::max(v1->z, v2->z), std::max(v1->w, v2->w));
    return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
    const D3DXVECTOR4 in = *v;
    float result[4];
    for (int col = 0; col < 4; ++col)
        result[col] = in.x * m->m[0][col] + in.y * m->m[1][col] + in.z * m->m[2][col] + in.w * m->m[3][col];
    *out = D3DXVECTOR4(result);
    return out;
}
