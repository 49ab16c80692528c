#pragma once
// The D3DX 8 math library: vector, matrix, quaternion, plane and colour value
// types and the functions the engine calls on them. The conventions are
// D3DX's own: vectors are rows multiplied from the left (v * M), matrices
// are row-major, coordinate systems are left-handed and projections map z
// into 0..1. Every function returns its output pointer so that calls can be
// nested the way D3DX code does.

#include "platform/base/D3DTypes.h"
#include "platform/base/WinTypes.h"

constexpr float D3DX_PI = 3.141592654f;
constexpr float D3DX_1BYPI = 0.318309886f;

constexpr float D3DXToRadian(float degree) {
    return degree * (D3DX_PI / 180.0f);
}
constexpr float D3DXToDegree(float radian) {
    return radian * (180.0f / D3DX_PI);
}

// ---------------------------------------------------------------------------
// Vectors
// ---------------------------------------------------------------------------

struct D3DXVECTOR2 {
    float x = 0.0f, y = 0.0f;

    D3DXVECTOR2() = default;
    explicit D3DXVECTOR2(const float* xy);
    D3DXVECTOR2(float x, float y);

    operator float*() { return &x; }
    operator const float*() const { return &x; }

    D3DXVECTOR2& operator+=(const D3DXVECTOR2& v);
    D3DXVECTOR2& operator-=(const D3DXVECTOR2& v);
    D3DXVECTOR2& operator*=(float f);
    D3DXVECTOR2& operator/=(float f);

    D3DXVECTOR2 operator+() const { return *this; }
    D3DXVECTOR2 operator-() const;

    D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator*(float f) const;
    D3DXVECTOR2 operator/(float f) const;
    friend D3DXVECTOR2 operator*(float f, const D3DXVECTOR2& v) { return v * f; }

    bool operator==(const D3DXVECTOR2& v) const;
    bool operator!=(const D3DXVECTOR2& v) const { return !(*this == v); }
};

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() : D3DVECTOR{0.0f, 0.0f, 0.0f} {}
    explicit D3DXVECTOR3(const float* xyz);
    D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
    D3DXVECTOR3(float x, float y, float z) : D3DVECTOR{x, y, z} {}

    operator float*() { return &x; }
    operator const float*() const { return &x; }

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(float f);
    D3DXVECTOR3& operator/=(float f);

    D3DXVECTOR3 operator+() const { return *this; }
    D3DXVECTOR3 operator-() const;

    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator*(float f) const;
    D3DXVECTOR3 operator/(float f) const;
    friend D3DXVECTOR3 operator*(float f, const D3DXVECTOR3& v) { return v * f; }

    bool operator==(const D3DXVECTOR3& v) const;
    bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};
static_assert(sizeof(D3DXVECTOR3) == 12, "D3DXVECTOR3 is three packed floats");

struct D3DXVECTOR4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;

    D3DXVECTOR4() = default;
    explicit D3DXVECTOR4(const float* xyzw);
    D3DXVECTOR4(float x, float y, float z, float w);

    operator float*() { return &x; }
    operator const float*() const { return &x; }

    D3DXVECTOR4& operator+=(const D3DXVECTOR4& v);
    D3DXVECTOR4& operator-=(const D3DXVECTOR4& v);
    D3DXVECTOR4& operator*=(float f);
    D3DXVECTOR4& operator/=(float f);

    D3DXVECTOR4 operator+() const { return *this; }
    D3DXVECTOR4 operator-() const;

    D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator*(float f) const;
    D3DXVECTOR4 operator/(float f) const;
    friend D3DXVECTOR4 operator*(float f, const D3DXVECTOR4& v) { return v * f; }

    bool operator==(const D3DXVECTOR4& v) const;
    bool operator!=(const D3DXVECTOR4& v) const { return !(*this == v); }
};

// ---------------------------------------------------------------------------
// Matrix
// ---------------------------------------------------------------------------

struct D3DXMATRIX : public D3DMATRIX {
    // Zero matrix (D3DX leaves it undefined; zero keeps reads deterministic).
    D3DXMATRIX();
    explicit D3DXMATRIX(const float* sixteen);
    D3DXMATRIX(const D3DMATRIX& m) : D3DMATRIX(m) {}
    D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22, float f23, float f24, float f31,
               float f32, float f33, float f34, float f41, float f42, float f43, float f44);

    float& operator()(UINT row, UINT col) { return m[row][col]; }
    float operator()(UINT row, UINT col) const { return m[row][col]; }

    operator float*() { return &_11; }
    operator const float*() const { return &_11; }

    D3DXMATRIX& operator*=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator+=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator-=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator*=(float f);
    D3DXMATRIX& operator/=(float f);

    D3DXMATRIX operator+() const { return *this; }
    D3DXMATRIX operator-() const;

    D3DXMATRIX operator*(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator+(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator-(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator*(float f) const;
    D3DXMATRIX operator/(float f) const;
    friend D3DXMATRIX operator*(float f, const D3DXMATRIX& mat) { return mat * f; }

    bool operator==(const D3DXMATRIX& mat) const;
    bool operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }
};
static_assert(sizeof(D3DXMATRIX) == 64, "D3DXMATRIX is sixteen packed floats");

// ---------------------------------------------------------------------------
// Quaternion, plane, colour
// ---------------------------------------------------------------------------

struct D3DXQUATERNION {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;

    D3DXQUATERNION() = default;
    explicit D3DXQUATERNION(const float* xyzw);
    D3DXQUATERNION(float x, float y, float z, float w);

    operator float*() { return &x; }
    operator const float*() const { return &x; }

    D3DXQUATERNION& operator+=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator-=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(float f);
    D3DXQUATERNION& operator/=(float f);

    D3DXQUATERNION operator+() const { return *this; }
    D3DXQUATERNION operator-() const;

    D3DXQUATERNION operator+(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator-(const D3DXQUATERNION& q) const;
    // Same order as D3DXQuaternionMultiply(out, this, q): this rotation first, then q.
    D3DXQUATERNION operator*(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(float f) const;
    D3DXQUATERNION operator/(float f) const;
    friend D3DXQUATERNION operator*(float f, const D3DXQUATERNION& q) { return q * f; }

    bool operator==(const D3DXQUATERNION& q) const;
    bool operator!=(const D3DXQUATERNION& q) const { return !(*this == q); }
};

// The plane a*x + b*y + c*z + d*w = 0.
struct D3DXPLANE {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;

    D3DXPLANE() = default;
    explicit D3DXPLANE(const float* abcd);
    D3DXPLANE(float a, float b, float c, float d);

    operator float*() { return &a; }
    operator const float*() const { return &a; }

    bool operator==(const D3DXPLANE& p) const;
    bool operator!=(const D3DXPLANE& p) const { return !(*this == p); }
};

// A colour of four float channels (usually 0..1, but not clamped until it is
// packed into a D3DCOLOR).
struct D3DXCOLOR {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

    D3DXCOLOR() = default;
    D3DXCOLOR(D3DCOLOR argb);
    explicit D3DXCOLOR(const float* rgba);
    D3DXCOLOR(const D3DCOLORVALUE& c);
    D3DXCOLOR(float r, float g, float b, float a);

    // Packs as A8R8G8B8: a channel >= 1 gives 255, <= 0 gives 0, anything
    // between gives channel * 255 + 0.5 truncated.
    operator D3DCOLOR() const;
    operator D3DCOLORVALUE() const { return D3DCOLORVALUE{r, g, b, a}; }
    operator float*() { return &r; }
    operator const float*() const { return &r; }

    D3DXCOLOR& operator+=(const D3DXCOLOR& c);
    D3DXCOLOR& operator-=(const D3DXCOLOR& c);
    D3DXCOLOR& operator*=(float f);
    D3DXCOLOR& operator/=(float f);

    D3DXCOLOR operator+() const { return *this; }
    D3DXCOLOR operator-() const;

    D3DXCOLOR operator+(const D3DXCOLOR& c) const;
    D3DXCOLOR operator-(const D3DXCOLOR& c) const;
    D3DXCOLOR operator*(float f) const;
    D3DXCOLOR operator/(float f) const;
    friend D3DXCOLOR operator*(float f, const D3DXCOLOR& c) { return c * f; }

    bool operator==(const D3DXCOLOR& c) const;
    bool operator!=(const D3DXCOLOR& c) const { return !(*this == c); }
};

// ---------------------------------------------------------------------------
// 2D vector functions
// ---------------------------------------------------------------------------

FLOAT D3DXVec2Length(const D3DXVECTOR2* v);
FLOAT D3DXVec2LengthSq(const D3DXVECTOR2* v);
FLOAT D3DXVec2Dot(const D3DXVECTOR2* v1, const D3DXVECTOR2* v2);
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, const D3DXVECTOR2* v);
D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2);
D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2);
D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* out, const D3DXVECTOR2* v, FLOAT s);
D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2, FLOAT s);
D3DXVECTOR2* D3DXVec2Minimize(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2);
D3DXVECTOR2* D3DXVec2Maximize(D3DXVECTOR2* out, const D3DXVECTOR2* v1, const D3DXVECTOR2* v2);

// ---------------------------------------------------------------------------
// 3D vector functions
// ---------------------------------------------------------------------------

FLOAT D3DXVec3Length(const D3DXVECTOR3* v);
FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* v);
FLOAT D3DXVec3Dot(const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* out, const D3DXVECTOR3* v, FLOAT s);
D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2, FLOAT s);
D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* out, const D3DXVECTOR3* v1, const D3DXVECTOR3* v2);
// (x, y, z, 1) * m, without dividing by w.
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// (x, y, z, 1) * m, then divided by the resulting w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// (x, y, z, 0) * m: direction vectors ignore the translation row.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

// ---------------------------------------------------------------------------
// 4D vector functions
// ---------------------------------------------------------------------------

FLOAT D3DXVec4Length(const D3DXVECTOR4* v);
FLOAT D3DXVec4LengthSq(const D3DXVECTOR4* v);
FLOAT D3DXVec4Dot(const D3DXVECTOR4* v1, const D3DXVECTOR4* v2);
D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* out, const D3DXVECTOR4* v);
D3DXVECTOR4* D3DXVec4Add(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2);
D3DXVECTOR4* D3DXVec4Subtract(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2);
D3DXVECTOR4* D3DXVec4Scale(D3DXVECTOR4* out, const D3DXVECTOR4* v, FLOAT s);
D3DXVECTOR4* D3DXVec4Lerp(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2, FLOAT s);
D3DXVECTOR4* D3DXVec4Minimize(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2);
D3DXVECTOR4* D3DXVec4Maximize(D3DXVECTOR4* out, const D3DXVECTOR4* v1, const D3DXVECTOR4* v2);
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m);

// ---------------------------------------------------------------------------
// Matrix functions
// ---------------------------------------------------------------------------

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* m);
FLOAT D3DXMatrixDeterminant(const D3DXMATRIX* m);
// out = m1 * m2 (m1's transformation applies first).
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
// Returns nullptr and leaves out untouched when m is singular. determinant
// may be nullptr.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, FLOAT* determinant, const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);
// Roll about z first, then pitch about x, then yaw about y.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, FLOAT yaw, FLOAT pitch, FLOAT roll);
// Ms * Mrc^-1 * Mr * Mrc * Mt; rotationCenter, rotation and translation may be nullptr.
D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* out, FLOAT scaling, const D3DXVECTOR3* rotationCenter,
                                           const D3DXQUATERNION* rotation, const D3DXVECTOR3* translation);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovY, FLOAT aspect, FLOAT zNear, FLOAT zFar);
D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, FLOAT width, FLOAT height, FLOAT zNear, FLOAT zFar);
D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, FLOAT width, FLOAT height, FLOAT zNear, FLOAT zFar);
D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, FLOAT left, FLOAT right, FLOAT bottom, FLOAT top, FLOAT zNear,
                                       FLOAT zFar);

// ---------------------------------------------------------------------------
// Quaternion functions
// ---------------------------------------------------------------------------

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out);
FLOAT D3DXQuaternionLength(const D3DXQUATERNION* q);
FLOAT D3DXQuaternionDot(const D3DXQUATERNION* q1, const D3DXQUATERNION* q2);
D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* out, const D3DXQUATERNION* q);
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q);
// The rotation q1 followed by the rotation q2 (the product q2 * q1 in the
// usual quaternion notation).
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2);
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, FLOAT angle);
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m);
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* out, FLOAT yaw, FLOAT pitch, FLOAT roll);
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2, FLOAT t);

// ---------------------------------------------------------------------------
// Plane and colour functions
// ---------------------------------------------------------------------------

D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, const D3DXVECTOR3* point, const D3DXVECTOR3* normal);
// a*x + b*y + c*z + d: the signed distance for a normalised plane.
FLOAT D3DXPlaneDotCoord(const D3DXPLANE* p, const D3DXVECTOR3* v);

D3DXCOLOR* D3DXColorLerp(D3DXCOLOR* out, const D3DXCOLOR* c1, const D3DXCOLOR* c2, FLOAT s);
D3DXCOLOR* D3DXColorModulate(D3DXCOLOR* out, const D3DXCOLOR* c1, const D3DXCOLOR* c2);
