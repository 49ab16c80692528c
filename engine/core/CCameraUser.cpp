#include "core/CCameraUser.h"

CCameraUser::CCameraUser() {
    m_vPosition = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
}

void CCameraUser::Update() {
    // The move is given in camera axes; the previous frame's transform turns
    // it into world directions.
    const D3DXVECTOR3 localMove = m_vPendingMove * kMoveFactor;
    D3DXVECTOR3 worldMove;
    D3DXVec3TransformNormal(&worldMove, &localMove, &m_matTransform);
    m_vPosition += worldMove;

    m_fYaw += m_fPendingYaw * kTurnFactor;
    m_fPitch += m_fPendingPitch * kTurnFactor;

    D3DXQUATERNION rotation;
    D3DXQuaternionRotationYawPitchRoll(&rotation, m_fYaw, m_fPitch, m_fRoll);
    D3DXMatrixAffineTransformation(&m_matTransform, kViewScale, nullptr, &rotation, &m_vPosition);
    D3DXMatrixInverse(&m_matView, nullptr, &m_matTransform);

    m_vPendingMove = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_fPendingYaw = 0.0f;
    m_fPendingPitch = 0.0f;
}

D3DXVECTOR3 CCameraUser::GetForward() const {
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationYawPitchRoll(&rotation, m_fYaw, m_fPitch, m_fRoll);
    D3DXMATRIX turn;
    D3DXMatrixRotationQuaternion(&turn, &rotation);
    const D3DXVECTOR3 ahead(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 forward;
    D3DXVec3TransformNormal(&forward, &ahead, &turn);
    return forward;
}
