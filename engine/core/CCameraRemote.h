#pragma once
// The camera that camera trajectories, the editor and the player place by
// position, viewing direction and up vector.

#include "core/CCamera.h"

class CCameraRemote : public CCamera {
public:
    CCameraRemote();

    // Looks from the position along the direction; the view matrix is the
    // inverse of (scale 1.25, the look-at rotation, the position).
    void Update() override;

    D3DXVECTOR3 m_vDirection{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_vUp{0.0f, 1.0f, 0.0f};
};
