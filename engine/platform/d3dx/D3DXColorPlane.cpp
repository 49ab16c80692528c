// D3DXCOLOR's conversions and operators, D3DXPLANE, and the colour and plane
// functions.
#include "platform/d3dx/d3dx8math.h"

namespace {

float ChannelFromByte(D3DCOLOR argb, int shift) {
    return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f;
}

// Saturates first so that out-of-range channels (lighting sums, HDR-ish
// values) pack to the nearest representable byte.
DWORD ByteFromChannel(float channel) {
    if (channel >= 1.0f)
        return 0xFFu;
    // Written so that NaN (a damaged file's value) ends as 0 rather than in
    // an undefined float-to-integer conversion.
    if (!(channel > 0.0f))
        return 0x00u;
    return static_cast<DWORD>(channel * 255.0f + 0.5f);
}

}  // namespace

// --- D3DXCOLOR -------------------------------------------------------------

D3DXCOLOR::D3DXCOLOR(D3DCOLOR argb)
    : r(ChannelFromByte(argb, 16)),
      g(ChannelFromByte(argb, 8)),
      b(ChannelFromByte(argb, 0)),
      a(ChannelFromByte(argb, 24)) {}
D3DXCOLOR::D3DXCOLOR(const float* rgba) : r(rgba[0]), g(rgba[1]), b(rgba[2]), a(rgba[3]) {}
D3DXCOLOR::D3DXCOLOR(const D3DCOLORVALUE& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
D3DXCOLOR::D3DXCOLOR(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}

D3DXCOLOR::operator D3DCOLOR() const {
    return (ByteFromChannel(a) << 24) | (ByteFromChannel(r) << 16) | (ByteFromChannel(g) << 8) | ByteFromChannel(b);
}

D3DXCOLOR& D3DXCOLOR::operator+=(const D3DXCOLOR& c) {
    return *this = *this + c;
}
D3DXCOLOR& D3DXCOLOR::operator-=(const D3DXCOLOR& c) {
    return *this = *this - c;
}
D3DXCOLOR& D3DXCOLOR::operator*=(float f) {
    return *this = *this * f;
}
D3DXCOLOR& D3DXCOLOR::operator/=(float f) {
    return *this = *this / f;
}

D3DXCOLOR D3DXCOLOR::operator-() const {
    return D3DXCOLOR(-r, -g, -b, -a);
}
D3DXCOLOR D3DXCOLOR::operator+(const D3DXCOLOR& c) const {
    return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a);
}
D3DXCOLOR D3DXCOLOR::operator-(const D3DXCOLOR& c) const {
    return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a);
}
D3DXCOLOR D3DXCOLOR::operator*(float f) const {
    return D3DXCOLOR(r * f, g * f, b * f, a * f);
}
D3DXCOLOR D3DXCOLOR::operator/(float f) const {
    return D3DXCOLOR(r / f, g / f, b / f, a / f);
}

bool D3DXCOLOR::operator==(const D3DXCOLOR& c) const {
    return r == c.r && g == c.g && b == c.b && a == c.a;
}

D3DXCOLOR* D3DXColorLerp(D3DXCOLOR* out, const D3DXCOLOR* c1, const D3DXCOLOR* c2, FLOAT s) {
    *out = *c1 + (*c2 - *c1) * s;
    return out;
}

D3DXCOLOR* D3DXColorModulate(D3DXCOLOR* out, const D3DXCOLOR* c1, const D3DXCOLOR* c2) {
    *out = D3DXCOLOR(c1->r * c2->r, c1->g * c2->g, c1->b * c2->b, c1->a * c2->a);
    return out;
}

// --- D3DXPLANE -------------------------------------------------------------

D3DXPLANE::D3DXPLANE(const float* abcd) : a(abcd[0]), b(abcd[1]), c(abcd[2]), d(abcd[3]) {}
D3DXPLANE::D3DXPLANE(float a_, float b_, float c_, float d_) : a(a_), b(b_), c(c_), d(d_) {}

bool D3DXPLANE::operator==(const D3DXPLANE& p) const {
    return a == p.a && b == p.b && c == p.c && d == p.d;
}

D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, const D3DXVECTOR3* point, const D3DXVECTOR3* normal) {
    *out = D3DXPLANE(normal->x, normal->y, normal->z, -D3DXVec3Dot(point, normal));
    return out;
}

FLOAT D3DXPlaneDotCoord(const D3DXPLANE* p, const D3DXVECTOR3* v) {
    return p->a * v->x + p->b * v->y + p->c * v->z + p->d;
}
