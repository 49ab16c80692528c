// D3DXMATRIX's operators and the general D3DXMatrix* functions (identity,
// products, inverse, elementary transforms). Camera and projection matrices
// are in D3DXMatrixCamera.cpp.
#include <cmath>
#include <cstring>

#include "platform/d3dx/d3dx8math.h"

namespace {

D3DXMATRIX IdentityMatrix() {
    D3DXMATRIX m;
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DXMATRIX Product(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    D3DXMATRIX result;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            result.m[row][col] = a.m[row][0] * b.m[0][col] + a.m[row][1] * b.m[1][col] + a.m[row][2] * b.m[2][col] +
                                 a.m[row][3] * b.m[3][col];
    return result;
}

// The 2 x 2 minors of rows 0-1 and rows 2-3, from which both the determinant
// and the adjugate follow (Laplace expansion by complementary minors).
struct Minors {
    double s[6];  // rows 0 and 1
    double c[6];  // rows 2 and 3
};

Minors ComputeMinors(const D3DXMATRIX& m) {
    const auto a = [&](int r, int col) { return static_cast<double>(m.m[r][col]); };
    Minors n;
    n.s[0] = a(0, 0) * a(1, 1) - a(1, 0) * a(0, 1);
    n.s[1] = a(0, 0) * a(1, 2) - a(1, 0) * a(0, 2);
    n.s[2] = a(0, 0) * a(1, 3) - a(1, 0) * a(0, 3);
    n.s[3] = a(0, 1) * a(1, 2) - a(1, 1) * a(0, 2);
    n.s[4] = a(0, 1) * a(1, 3) - a(1, 1) * a(0, 3);
    n.s[5] = a(0, 2) * a(1, 3) - a(1, 2) * a(0, 3);
    n.c[5] = a(2, 2) * a(3, 3) - a(3, 2) * a(2, 3);
    n.c[4] = a(2, 1) * a(3, 3) - a(3, 1) * a(2, 3);
    n.c[3] = a(2, 1) * a(3, 2) - a(3, 1) * a(2, 2);
    n.c[2] = a(2, 0) * a(3, 3) - a(3, 0) * a(2, 3);
    n.c[1] = a(2, 0) * a(3, 2) - a(3, 0) * a(2, 2);
    n.c[0] = a(2, 0) * a(3, 1) - a(3, 0) * a(2, 1);
    return n;
}

double Determinant(const Minors& n) {
    return n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] + n.s[5] * n.c[0];
}

// A determinant that is only rounding noise compared with the size of the
// rows means the rows are linearly dependent: the matrix has no inverse.
bool IsSingular(const D3DXMATRIX& m, double determinant) {
    if (determinant == 0.0 || !std::isfinite(determinant))
        return true;
    double rowNormProduct = 1.0;
    for (int row = 0; row < 4; ++row) {
        double sum = 0.0;
        for (int col = 0; col < 4; ++col)
            sum += static_cast<double>(m.m[row][col]) * m.m[row][col];
        rowNormProduct *= std::sqrt(sum);
    }
    return std::fabs(determinant) <= 1e-12 * rowNormProduct;
}

}  // namespace

// --- D3DXMATRIX ------------------------------------------------------------

D3DXMATRIX::D3DXMATRIX() : D3DMATRIX{} {}

D3DXMATRIX::D3DXMATRIX(const float* sixteen) : D3DMATRIX{} {
    std::memcpy(&_11, sixteen, sizeof(float) * 16);
}

D3DXMATRIX::D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22, float f23, float f24,
                       float f31, float f32, float f33, float f34, float f41, float f42, float f43, float f44)
    : D3DMATRIX{} {
    _11 = f11;
    _12 = f12;
    _13 = f13;
    _14 = f14;
    _21 = f21;
    _22 = f22;
    _23 = f23;
    _24 = f24;
    _31 = f31;
    _32 = f32;
    _33 = f33;
    _34 = f34;
    _41 = f41;
    _42 = f42;
    _43 = f43;
    _44 = f44;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) {
    return *this = Product(*this, mat);
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] += mat.m[i][j];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] -= mat.m[i][j];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(float f) {
    for (auto& row : m)
        for (float& value : row)
            value *= f;
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator/=(float f) {
    for (auto& row : m)
        for (float& value : row)
            value /= f;
    return *this;
}

D3DXMATRIX D3DXMATRIX::operator-() const {
    return *this * -1.0f;
}
D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& mat) const {
    return Product(*this, mat);
}
D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& mat) const {
    return D3DXMATRIX(*this) += mat;
}
D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& mat) const {
    return D3DXMATRIX(*this) -= mat;
}
D3DXMATRIX D3DXMATRIX::operator*(float f) const {
    return D3DXMATRIX(*this) *= f;
}
D3DXMATRIX D3DXMATRIX::operator/(float f) const {
    return D3DXMATRIX(*this) /= f;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != mat.m[i][j])
                return false;
    return true;
}

// --- general functions -----------------------------------------------------

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = IdentityMatrix();
    return out;
}

BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* m) {
    return *m == IdentityMatrix() ? TRUE : FALSE;
}

FLOAT D3DXMatrixDeterminant(const D3DXMATRIX* m) {
    return static_cast<FLOAT>(Determinant(ComputeMinors(*m)));
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
    *out = Product(*m1, *m2);
    return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
    D3DXMATRIX result;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            result.m[i][j] = m->m[j][i];
    *out = result;
    return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, FLOAT* determinant, const D3DXMATRIX* m) {
    const Minors n = ComputeMinors(*m);
    const double det = Determinant(n);
    if (determinant)
        *determinant = static_cast<FLOAT>(det);
    if (IsSingular(*m, det))
        return nullptr;

    const auto a = [&](int r, int col) { return static_cast<double>(m->m[r][col]); };
    const double inv = 1.0 / det;
    const double adjugate[4][4] = {
        {a(1, 1) * n.c[5] - a(1, 2) * n.c[4] + a(1, 3) * n.c[3],
         -a(0, 1) * n.c[5] + a(0, 2) * n.c[4] - a(0, 3) * n.c[3],
         a(3, 1) * n.s[5] - a(3, 2) * n.s[4] + a(3, 3) * n.s[3],
         -a(2, 1) * n.s[5] + a(2, 2) * n.s[4] - a(2, 3) * n.s[3]},
        {-a(1, 0) * n.c[5] + a(1, 2) * n.c[2] - a(1, 3) * n.c[1],
         a(0, 0) * n.c[5] - a(0, 2) * n.c[2] + a(0, 3) * n.c[1],
         -a(3, 0) * n.s[5] + a(3, 2) * n.s[2] - a(3, 3) * n.s[1],
         a(2, 0) * n.s[5] - a(2, 2) * n.s[2] + a(2, 3) * n.s[1]},
        {a(1, 0) * n.c[4] - a(1, 1) * n.c[2] + a(1, 3) * n.c[0],
         -a(0, 0) * n.c[4] + a(0, 1) * n.c[2] - a(0, 3) * n.c[0],
         a(3, 0) * n.s[4] - a(3, 1) * n.s[2] + a(3, 3) * n.s[0],
         -a(2, 0) * n.s[4] + a(2, 1) * n.s[2] - a(2, 3) * n.s[0]},
        {-a(1, 0) * n.c[3] + a(1, 1) * n.c[1] - a(1, 2) * n.c[0],
         a(0, 0) * n.c[3] - a(0, 1) * n.c[1] + a(0, 2) * n.c[0],
         -a(3, 0) * n.s[3] + a(3, 1) * n.s[1] - a(3, 2) * n.s[0],
         a(2, 0) * n.s[3] - a(2, 1) * n.s[1] + a(2, 2) * n.s[0]},
    };
    D3DXMATRIX result;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            result.m[i][j] = static_cast<float>(adjugate[i][j] * inv);
    *out = result;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, FLOAT x, FLOAT y, FLOAT z) {
    *out = IdentityMatrix();
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz) {
    *out = D3DXMATRIX();
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, FLOAT angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *out = IdentityMatrix();
    out->_22 = c;
    out->_23 = s;
    out->_32 = -s;
    out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, FLOAT angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *out = IdentityMatrix();
    out->_11 = c;
    out->_13 = -s;
    out->_31 = s;
    out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *out = IdentityMatrix();
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    *out = IdentityMatrix();
    out->_11 = t * n.x * n.x + c;
    out->_12 = t * n.x * n.y + s * n.z;
    out->_13 = t * n.x * n.z - s * n.y;
    out->_21 = t * n.x * n.y - s * n.z;
    out->_22 = t * n.y * n.y + c;
    out->_23 = t * n.y * n.z + s * n.x;
    out->_31 = t * n.x * n.z + s * n.y;
    out->_32 = t * n.y * n.z - s * n.x;
    out->_33 = t * n.z * n.z + c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
    const float x = q->x, y = q->y, z = q->z, w = q->w;
    *out = IdentityMatrix();
    out->_11 = 1.0f - 2.0f * (y * y + z * z);
    out->_12 = 2.0f * (x * y + z * w);
    out->_13 = 2.0f * (x * z - y * w);
    out->_21 = 2.0f * (x * y - z * w);
    out->_22 = 1.0f - 2.0f * (x * x + z * z);
    out->_23 = 2.0f * (y * z + x * w);
    out->_31 = 2.0f * (x * z + y * w);
    out->_32 = 2.0f * (y * z - x * w);
    out->_33 = 1.0f - 2.0f * (x * x + y * y);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    D3DXMATRIX rollZ, pitchX, yawY;
    D3DXMatrixRotationZ(&rollZ, roll);
    D3DXMatrixRotationX(&pitchX, pitch);
    D3DXMatrixRotationY(&yawY, yaw);
    *out = rollZ * pitchX * yawY;
    return out;
}

D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* out, FLOAT scaling, const D3DXVECTOR3* rotationCenter,
                                           const D3DXQUATERNION* rotation, const D3DXVECTOR3* translation) {
    D3DXMATRIX result;
    D3DXMatrixScaling(&result, scaling, scaling, scaling);
    if (rotation) {
        D3DXMATRIX turn;
        D3DXMatrixRotationQuaternion(&turn, rotation);
        if (rotationCenter) {
            D3DXMATRIX toCenter, fromCenter;
            D3DXMatrixTranslation(&toCenter, -rotationCenter->x, -rotationCenter->y, -rotationCenter->z);
            D3DXMatrixTranslation(&fromCenter, rotationCenter->x, rotationCenter->y, rotationCenter->z);
            turn = toCenter * turn * fromCenter;
        }
        result *= turn;
    }
    if (translation) {
        result._41 += translation->x;
        result._42 += translation->y;
        result._43 += translation->z;
    }
    *out = result;
    return out;
}
