#include "core/CCamera.h"

CCamera::CCamera() {
    D3DXMatrixIdentity(&m_matView);
    D3DXMatrixIdentity(&m_matTransform);
}
