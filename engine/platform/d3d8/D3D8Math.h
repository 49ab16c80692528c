#pragma once
// The few matrix operations the device needs (row-vector convention, v * M).

#include "platform/base/D3DTypes.h"

namespace d3d8math {

D3DMATRIX Identity();
D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b);
// Inverse of the upper 3 x 3 part, transposed, in the lower-right of an
// otherwise identity matrix: transforms normals (n * M) like positions are
// transformed by `m`. Singular matrices give the identity.
D3DMATRIX NormalMatrix(const D3DMATRIX& m);
// (x, y, z, w) * m.
void TransformVector(const D3DMATRIX& m, const float in[4], float out[4]);
bool IsIdentity(const D3DMATRIX& m);

}  // namespace d3d8math
