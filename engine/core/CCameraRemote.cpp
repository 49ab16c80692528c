#include "core/CCameraRemote.h"

CCameraRemote::CCameraRemote() = default;

void CCameraRemote::Update() {
    const D3DXVECTOR3 target = m_vPosition + m_vDirection;
    D3DXMATRIX lookAt;
    D3DXMatrixLookAtLH(&lookAt, &m_vPosition, &target, &m_vUp);
    D3DXMatrixInverse(&m_matTransform, nullptr, &lookAt);

    // Only the rotation of the look-at frame is kept; the scale is applied
    // on top of it so that the view shrinks the scene uniformly.
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationMatrix(&rotation, &m_matTransform);
    D3DXMATRIX scaled;
    D3DXMatrixAffineTransformation(&scaled, kViewScale, nullptr, &rotation, &m_vPosition);
    D3DXMatrixInverse(&m_matView, nullptr, &scaled);
}
