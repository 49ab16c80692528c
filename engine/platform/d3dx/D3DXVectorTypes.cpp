// Constructors and operators of D3DXVECTOR2, D3DXVECTOR3 and D3DXVECTOR4.
#include "platform/d3dx/d3dx8math.h"

// --- D3DXVECTOR2 -----------------------------------------------------------

D3DXVECTOR2::D3DXVECTOR2(const float* xy) : x(xy[0]), y(xy[1]) {}
D3DXVECTOR2::D3DXVECTOR2(float x_, float y_) : x(x_), y(y_) {}

D3DXVECTOR2& D3DXVECTOR2::operator+=(const D3DXVECTOR2& v) {
    x += v.x;
    y += v.y;
    return *this;
}
D3DXVECTOR2& D3DXVECTOR2::operator-=(const D3DXVECTOR2& v) {
    x -= v.x;
    y -= v.y;
    return *this;
}
D3DXVECTOR2& D3DXVECTOR2::operator*=(float f) {
    x *= f;
    y *= f;
    return *this;
}
D3DXVECTOR2& D3DXVECTOR2::operator/=(float f) {
    x /= f;
    y /= f;
    return *this;
}

D3DXVECTOR2 D3DXVECTOR2::operator-() const {
    return D3DXVECTOR2(-x, -y);
}
D3DXVECTOR2 D3DXVECTOR2::operator+(const D3DXVECTOR2& v) const {
    return D3DXVECTOR2(x + v.x, y + v.y);
}
D3DXVECTOR2 D3DXVECTOR2::operator-(const D3DXVECTOR2& v) const {
    return D3DXVECTOR2(x - v.x, y - v.y);
}
D3DXVECTOR2 D3DXVECTOR2::operator*(float f) const {
    return D3DXVECTOR2(x * f, y * f);
}
D3DXVECTOR2 D3DXVECTOR2::operator/(float f) const {
    return D3DXVECTOR2(x / f, y / f);
}

bool D3DXVECTOR2::operator==(const D3DXVECTOR2& v) const {
    return x == v.x && y == v.y;
}

// --- D3DXVECTOR3 -----------------------------------------------------------

D3DXVECTOR3::D3DXVECTOR3(const float* xyz) : D3DVECTOR{xyz[0], xyz[1], xyz[2]} {}

D3DXVECTOR3& D3DXVECTOR3::operator+=(const D3DXVECTOR3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}
D3DXVECTOR3& D3DXVECTOR3::operator-=(const D3DXVECTOR3& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}
D3DXVECTOR3& D3DXVECTOR3::operator*=(float f) {
    x *= f;
    y *= f;
    z *= f;
    return *this;
}
D3DXVECTOR3& D3DXVECTOR3::operator/=(float f) {
    x /= f;
    y /= f;
    z /= f;
    return *this;
}

D3DXVECTOR3 D3DXVECTOR3::operator-() const {
    return D3DXVECTOR3(-x, -y, -z);
}
D3DXVECTOR3 D3DXVECTOR3::operator+(const D3DXVECTOR3& v) const {
    return D3DXVECTOR3(x + v.x, y + v.y, z + v.z);
}
D3DXVECTOR3 D3DXVECTOR3::operator-(const D3DXVECTOR3& v) const {
    return D3DXVECTOR3(x - v.x, y - v.y, z - v.z);
}
D3DXVECTOR3 D3DXVECTOR3::operator*(float f) const {
    return D3DXVECTOR3(x * f, y * f, z * f);
}
D3DXVECTOR3 D3DXVECTOR3::operator/(float f) const {
    return D3DXVECTOR3(x / f, y / f, z / f);
}

bool D3DXVECTOR3::operator==(const D3DXVECTOR3& v) const {
    return x == v.x && y == v.y && z == v.z;
}

// --- D3DXVECTOR4 -----------------------------------------------------------

D3DXVECTOR4::D3DXVECTOR4(const float* xyzw) : x(xyzw[0]), y(xyzw[1]), z(xyzw[2]), w(xyzw[3]) {}
D3DXVECTOR4::D3DXVECTOR4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

D3DXVECTOR4& D3DXVECTOR4::operator+=(const D3DXVECTOR4& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    w += v.w;
    return *this;
}
D3DXVECTOR4& D3DXVECTOR4::operator-=(const D3DXVECTOR4& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    w -= v.w;
    return *this;
}
D3DXVECTOR4& D3DXVECTOR4::operator*=(float f) {
    x *= f;
    y *= f;
    z *= f;
    w *= f;
    return *this;
}
D3DXVECTOR4& D3DXVECTOR4::operator/=(float f) {
    x /= f;
    y /= f;
    z /= f;
    w /= f;
    return *this;
}

D3DXVECTOR4 D3DXVECTOR4::operator-() const {
    return D3DXVECTOR4(-x, -y, -z, -w);
}
D3DXVECTOR4 D3DXVECTOR4::operator+(const D3DXVECTOR4& v) const {
    return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w);
}
D3DXVECTOR4 D3DXVECTOR4::operator-(const D3DXVECTOR4& v) const {
    return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w);
}
D3DXVECTOR4 D3DXVECTOR4::operator*(float f) const {
    return D3DXVECTOR4(x * f, y * f, z * f, w * f);
}
D3DXVECTOR4 D3DXVECTOR4::operator/(float f) const {
    return D3DXVECTOR4(x / f, y / f, z / f, w / f);
}

bool D3DXVECTOR4::operator==(const D3DXVECTOR4& v) const {
    return x == v.x && y == v.y && z == v.z && w == v.w;
}
