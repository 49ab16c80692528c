#include "scene/CObjects.h"

#include "core/CScreen.h"
#include "scene/CSceneFile.h"

CObjects::CObjects() = default;

CObjects::CObjects(const CObjects& other) = default;

CObjects& CObjects::operator=(const CObjects& other) = default;

CObjects::~CObjects() {
    if (m_pScreen == nullptr) {
        return;
    }
    // Init may have run several times without CleanUp in between.
    while (m_pScreen->IsObjectRegistered(*this)) {
        m_pScreen->UnregisterObject(*this);
    }
}

bool CObjects::Init() {
    m_Type = "CObjects";
    m_Description = "Object";
    if (m_pScreen == nullptr) {
        m_pScreen = &CScreen::Instance();
    }
    m_pScreen->RegisterObject(*this);
    m_bNeedsInit = false;
    return true;
}

void CObjects::CleanUp() {
    if (m_pScreen != nullptr) {
        m_pScreen->UnregisterObject(*this);
    }
}

void CObjects::Render() {}

bool CObjects::IsBaseObject() {
    return false;
}

void CObjects::Save(CSceneFile& file) {
    file.WriteString(m_Description);
    file.WriteString(m_Type);
    file.WriteString(m_Name);
}

bool CObjects::Load(CSceneFile& file) {
    m_Description = file.ReadString();
    m_Type = file.ReadString();
    m_Name = file.ReadString();
    return true;
}

void CObjects::SetScene(CScene& scene) {
    m_pScene = &scene;
}

void CObjects::PreInit() {
    m_pScreen = &CScreen::Instance();
    m_pd3dDevice = m_pScreen->GetD3DDevice();
}

void CObjects::PreRender() {
    if (m_bNeedsInit) {
        Init();
    }
}
