#include "objects/CLight.h"

#include "core/CScreen.h"
#include "platform/d3d8/d3d8.h"

CLight::CLight() {
    m_Light.Type = D3DLIGHT_DIRECTIONAL;
    m_Light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    m_Light.Specular = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 0.0f};
    m_Light.Ambient = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 0.0f};
    m_Light.Position = D3DVECTOR{0.0f, 0.0f, 0.0f};
    m_Light.Direction = D3DVECTOR{0.0f, -1.0f, 0.0f};
    m_Light.Range = 0.0f;
    m_Light.Falloff = 1.0f;
    m_Light.Attenuation0 = 0.0f;
    m_Light.Attenuation1 = 0.0f;
    m_Light.Attenuation2 = 0.0f;
    m_Light.Theta = 0.0f;
    m_Light.Phi = 0.0f;
    m_Type = "CLight";
    m_Description = "Light";
}

bool CLight::Init() {
    PreInit();
    CObjects::Init();
    m_Type = "CLight";
    m_Description = "Light";
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->SetLight(m_dwIndex, &m_Light);
        m_pd3dDevice->LightEnable(m_dwIndex, m_bEnabled);
    }
    UpdateLightVector();
    return true;
}

void CLight::CleanUp() {
    CObjects::CleanUp();
}

void CLight::Enable(int enable) {
    m_bEnabled = enable != 0 ? TRUE : FALSE;
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->LightEnable(m_dwIndex, m_bEnabled);
    }
}

void CLight::SetIndex(DWORD index) {
    m_dwIndex = index;
    UpdateLightVector();
}

void CLight::SetPosition(float x, float y, float z) {
    m_Light.Position = D3DVECTOR{x, y, z};
    UpdateLightVector();
}

void CLight::SetPosition(const D3DXVECTOR3& position) {
    SetPosition(position.x, position.y, position.z);
}

void CLight::SetDirection(float x, float y, float z) {
    m_Light.Direction = D3DVECTOR{x, y, z};
    UpdateLightVector();
}

void CLight::SetDirection(const D3DXVECTOR3& direction) {
    SetDirection(direction.x, direction.y, direction.z);
}

void CLight::SetProperties(D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, D3DCOLORVALUE specular, D3DCOLORVALUE ambient,
                           float range, float falloff, float attenuation0, float attenuation1, float attenuation2,
                           float theta, float phi) {
    m_Light.Type = type;
    m_Light.Diffuse = diffuse;
    m_Light.Specular = specular;
    m_Light.Ambient = ambient;
    m_Light.Range = range;
    m_Light.Falloff = falloff;
    m_Light.Attenuation0 = attenuation0;
    m_Light.Attenuation1 = attenuation1;
    m_Light.Attenuation2 = attenuation2;
    m_Light.Theta = theta;
    m_Light.Phi = phi;
    UpdateLightVector();
}

// Before Init there is no device yet: the light reaches it at Init. The
// screen is the one singleton, so slot 0 publishes its vector either way.
void CLight::UpdateLightVector() {
    if (m_dwIndex == 0) {
        CScreen& screen = m_pScreen != nullptr ? *m_pScreen : CScreen::Instance();
        screen.SetLightVectorForEffect(D3DXVECTOR3(m_Light.Direction));
    }
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->SetLight(m_dwIndex, &m_Light);
    }
}
