#pragma once
// The free-flying camera of KeyCamera / SetMouseCamera: input accumulates
// pending move and turn amounts, and each frame's Update applies them in the
// camera's own axes (x right, y up, z forward).

#include "core/CCamera.h"

class CCameraUser : public CCamera {
public:
    static constexpr float kMoveFactor = 0.15f;  // world units per pending unit
    static constexpr float kTurnFactor = 0.05f;  // radians per pending unit

    CCameraUser();

    // Moves and turns by the pending amounts, rebuilds transform and view and
    // clears the pending move and turns (the wheel total is kept, unused).
    void Update() override;

    // (0, 0, 1) turned by yaw, pitch and roll.
    D3DXVECTOR3 GetForward() const;

    float m_fYaw = 0.0f;
    float m_fPitch = 0.0f;
    float m_fRoll = 0.0f;
    D3DXVECTOR3 m_vPendingMove{0.0f, 0.0f, 0.0f};
    float m_fPendingYaw = 0.0f;
    float m_fPendingPitch = 0.0f;
    float m_fPendingWheel = 0.0f;
};
