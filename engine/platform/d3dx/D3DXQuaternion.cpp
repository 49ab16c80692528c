// D3DXQUATERNION's operators and the D3DXQuaternion* functions. Quaternions
// are (x, y, z, w) with w the real part; D3DX composes rotations in the order
// they apply, so D3DXQuaternionMultiply(q1, q2) means "q1, then q2".
#include <cmath>

#include "platform/d3dx/d3dx8math.h"

namespace {

// The rotation a followed by the rotation b: the Hamilton product b * a.
D3DXQUATERNION Compose(const D3DXQUATERNION& a, const D3DXQUATERNION& b) {
    return D3DXQUATERNION(b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y, b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
                          b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w, b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z);
}

D3DXQUATERNION AxisRotation(float x, float y, float z, float angle) {
    const float s = std::sin(angle / 2.0f);
    return D3DXQUATERNION(x * s, y * s, z * s, std::cos(angle / 2.0f));
}

}  // namespace

// --- D3DXQUATERNION --------------------------------------------------------

D3DXQUATERNION::D3DXQUATERNION(const float* xyzw) : x(xyzw[0]), y(xyzw[1]), z(xyzw[2]), w(xyzw[3]) {}
D3DXQUATERNION::D3DXQUATERNION(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

D3DXQUATERNION& D3DXQUATERNION::operator+=(const D3DXQUATERNION& q) {
    return *this = *this + q;
}
D3DXQUATERNION& D3DXQUATERNION::operator-=(const D3DXQUATERNION& q) {
    return *this = *this - q;
}
D3DXQUATERNION& D3DXQUATERNION::operator*=(const D3DXQUATERNION& q) {
    return *this = *this * q;
}
D3DXQUATERNION& D3DXQUATERNION::operator*=(float f) {
    return *this = *this * f;
}
D3DXQUATERNION& D3DXQUATERNION::operator/=(float f) {
    return *this = *this / f;
}

D3DXQUATERNION D3DXQUATERNION::operator-() const {
    return D3DXQUATERNION(-x, -y, -z, -w);
}
D3DXQUATERNION D3DXQUATERNION::operator+(const D3DXQUATERNION& q) const {
    return D3DXQUATERNION(x + q.x, y + q.y, z + q.z, w + q.w);
}
D3DXQUATERNION D3DXQUATERNION::operator-(const D3DXQUATERNION& q) const {
    return D3DXQUATERNION(x - q.x, y - q.y, z - q.z, w - q.w);
}
D3DXQUATERNION D3DXQUATERNION::operator*(const D3DXQUATERNION& q) const {
    return Compose(*this, q);
}
D3DXQUATERNION D3DXQUATERNION::operator*(float f) const {
    return D3DXQUATERNION(x * f, y * f, z * f, w * f);
}
D3DXQUATERNION D3DXQUATERNION::operator/(float f) const {
    return D3DXQUATERNION(x / f, y / f, z / f, w / f);
}

bool D3DXQUATERNION::operator==(const D3DXQUATERNION& q) const {
    return x == q.x && y == q.y && z == q.z && w == q.w;
}

// --- functions -------------------------------------------------------------

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
    *out = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    return out;
}

FLOAT D3DXQuaternionDot(const D3DXQUATERNION* q1, const D3DXQUATERNION* q2) {
    return q1->x * q2->x + q1->y * q2->y + q1->z * q2->z + q1->w * q2->w;
}

FLOAT D3DXQuaternionLength(const D3DXQUATERNION* q) {
    return std::sqrt(D3DXQuaternionDot(q, q));
}

D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
    *out = D3DXQUATERNION(-q->x, -q->y, -q->z, q->w);
    return out;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
    const float length = D3DXQuaternionLength(q);
    *out = length > 0.0f ? *q / length : D3DXQUATERNION();
    return out;
}

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2) {
    *out = Compose(*q1, *q2);
    return out;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    *out = AxisRotation(n.x, n.y, n.z, angle);
    return out;
}

D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* out, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    // Same order as the matrix: roll about z, then pitch about x, then yaw about y.
    const D3DXQUATERNION rollZ = AxisRotation(0.0f, 0.0f, 1.0f, roll);
    const D3DXQUATERNION pitchX = AxisRotation(1.0f, 0.0f, 0.0f, pitch);
    const D3DXQUATERNION yawY = AxisRotation(0.0f, 1.0f, 0.0f, yaw);
    *out = Compose(Compose(rollZ, pitchX), yawY);
    return out;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
    // Reads the rotation from the upper 3 x 3 part, choosing the largest of
    // w, x, y, z as the divisor so that the square root stays well away from 0.
    const float trace = m->_11 + m->_22 + m->_33;
    D3DXQUATERNION q;
    if (trace > 0.0f) {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;  // 4w
        q = D3DXQUATERNION((m->_23 - m->_32) / s, (m->_31 - m->_13) / s, (m->_12 - m->_21) / s, 0.25f * s);
    } else if (m->_11 >= m->_22 && m->_11 >= m->_33) {
        const float s = std::sqrt(1.0f + m->_11 - m->_22 - m->_33) * 2.0f;  // 4x
        q = D3DXQUATERNION(0.25f * s, (m->_12 + m->_21) / s, (m->_13 + m->_31) / s, (m->_23 - m->_32) / s);
    } else if (m->_22 >= m->_33) {
        const float s = std::sqrt(1.0f + m->_22 - m->_11 - m->_33) * 2.0f;  // 4y
        q = D3DXQUATERNION((m->_12 + m->_21) / s, 0.25f * s, (m->_23 + m->_32) / s, (m->_31 - m->_13) / s);
    } else {
        const float s = std::sqrt(1.0f + m->_33 - m->_11 - m->_22) * 2.0f;  // 4z
        q = D3DXQUATERNION((m->_13 + m->_31) / s, (m->_23 + m->_32) / s, 0.25f * s, (m->_12 - m->_21) / s);
    }
    *out = q;
    return out;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1, const D3DXQUATERNION* q2, FLOAT t) {
    // Interpolate along the shorter arc: q and -q are the same rotation.
    float cosine = D3DXQuaternionDot(q1, q2);
    float sign = 1.0f;
    if (cosine < 0.0f) {
        cosine = -cosine;
        sign = -1.0f;
    }
    float weight1 = 1.0f - t;
    float weight2 = t;
    if (1.0f - cosine > 0.001f) {  // close quaternions interpolate linearly
        const float theta = std::acos(cosine);
        const float sine = std::sin(theta);
        weight1 = std::sin((1.0f - t) * theta) / sine;
        weight2 = std::sin(t * theta) / sine;
    }
    *out = *q1 * weight1 + *q2 * (weight2 * sign);
    return out;
}
