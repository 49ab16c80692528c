// View and projection matrices: left-handed, row vectors, depth mapped into
// 0..1 the way Direct3D's clip space expects.
#include <cmath>

#include "platform/d3dx/d3dx8math.h"

namespace {

// Builds a view matrix from the camera's axes (as columns) and position.
D3DXMATRIX ViewFromAxes(const D3DXVECTOR3& xAxis, const D3DXVECTOR3& yAxis, const D3DXVECTOR3& zAxis,
                        const D3DXVECTOR3& eye) {
    return D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0.0f, xAxis.y, yAxis.y, zAxis.y, 0.0f, xAxis.z, yAxis.z, zAxis.z, 0.0f,
                      -D3DXVec3Dot(&xAxis, &eye), -D3DXVec3Dot(&yAxis, &eye), -D3DXVec3Dot(&zAxis, &eye), 1.0f);
}

D3DXMATRIX ViewLookingAlong(const D3DXVECTOR3& forward, const D3DXVECTOR3& eye, const D3DXVECTOR3& up) {
    D3DXVECTOR3 zAxis, xAxis, yAxis;
    D3DXVec3Normalize(&zAxis, &forward);
    D3DXVec3Cross(&xAxis, &up, &zAxis);
    D3DXVec3Normalize(&xAxis, &xAxis);
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    return ViewFromAxes(xAxis, yAxis, zAxis, eye);
}

}  // namespace

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
    *out = ViewLookingAlong(*at - *eye, *eye, *up);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
    // The right-handed camera looks down its negative z axis.
    *out = ViewLookingAlong(*eye - *at, *eye, *up);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovY, FLOAT aspect, FLOAT zNear, FLOAT zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    const float depth = zFar / (zFar - zNear);
    *out = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f, 0.0f, yScale, 0.0f, 0.0f, 0.0f, 0.0f, depth, 1.0f, 0.0f, 0.0f,
                      -zNear * depth, 0.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, FLOAT width, FLOAT height, FLOAT zNear, FLOAT zFar) {
    const float depth = zFar / (zFar - zNear);
    *out = D3DXMATRIX(2.0f * zNear / width, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f * zNear / height, 0.0f, 0.0f, 0.0f, 0.0f,
                      depth, 1.0f, 0.0f, 0.0f, -zNear * depth, 0.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, FLOAT width, FLOAT height, FLOAT zNear, FLOAT zFar) {
    *out = D3DXMATRIX(2.0f / width, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f / height, 0.0f, 0.0f, 0.0f, 0.0f,
                      1.0f / (zFar - zNear), 0.0f, 0.0f, 0.0f, zNear / (zNear - zFar), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, FLOAT left, FLOAT right, FLOAT bottom, FLOAT top, FLOAT zNear,
                                       FLOAT zFar) {
    *out = D3DXMATRIX(2.0f / (right - left), 0.0f, 0.0f, 0.0f, 0.0f, 2.0f / (top - bottom), 0.0f, 0.0f, 0.0f, 0.0f,
                      1.0f / (zFar - zNear), 0.0f, (left + right) / (left - right), (top + bottom) / (bottom - top),
                      zNear / (zNear - zFar), 1.0f);
    return out;
}
