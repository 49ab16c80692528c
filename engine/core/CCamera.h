#pragma once
// A camera record: where the camera is and the view matrix it produces. The
// screen keeps two of them, the remote camera (camera trajectories and hosts
// place it) and the user camera (driven by keyboard and mouse); Update turns
// the record's values into the camera transform and the view matrix.

#include "platform/d3dx/d3dx8math.h"

class CCamera {
public:
    // Both kinds show the scene at 0.8 of its size: the camera transform
    // carries a uniform scale of 1.25.
    static constexpr float kViewScale = 1.25f;

    CCamera();
    virtual ~CCamera() = default;
    virtual void Update() = 0;

    D3DXMATRIX m_matView;       // world to camera
    D3DXMATRIX m_matTransform;  // camera to world (scale, rotation, position)
    D3DXVECTOR3 m_vPosition{0.0f, 0.0f, 0.0f};
};
