#include "platform/d3d8/D3D8Math.h"

#include <cmath>

namespace d3d8math {

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

D3DMATRIX NormalMatrix(const D3DMATRIX& m) {
    const float a = m._11, b = m._12, c = m._13;
    const float d = m._21, e = m._22, f = m._23;
    const float g = m._31, h = m._32, i = m._33;
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    D3DMATRIX r = Identity();
    if (std::fabs(det) < 1e-20f)
        return r;
    const float s = 1.0f / det;
    // inverse(M) transposed: the cofactor matrix divided by the determinant.
    r._11 = (e * i - f * h) * s;
    r._12 = -(d * i - f * g) * s;
    r._13 = (d * h - e * g) * s;
    r._21 = -(b * i - c * h) * s;
    r._22 = (a * i - c * g) * s;
    r._23 = -(a * h - b * g) * s;
    r._31 = (b * f - c * e) * s;
    r._32 = -(a * f - c * d) * s;
    r._33 = (a * e - b * d) * s;
    return r;
}

void TransformVector(const D3DMATRIX& m, const float in[4], float out[4]) {
    for (int j = 0; j < 4; ++j)
        out[j] = in[0] * m.m[0][j] + in[1] * m.m[1][j] + in[2] * m.m[2][j] + in[3] * m.m[3][j];
}

bool IsIdentity(const D3DMATRIX& m) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m.m[i][j] != (i == j ? 1.0f : 0.0f))
                return false;
    return true;
}

}  // namespace d3d8math
