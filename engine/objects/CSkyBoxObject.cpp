#include "objects/CSkyBoxObject.h"

#include "core/CScreen.h"

namespace {

constexpr float kSkyBoxEdge = 500.0f;
constexpr int kFaces = 6;
constexpr D3DCOLORVALUE kFaceColor{0.5f, 0.5f, 0.5f, 1.0f};

}  // namespace

bool CSkyBoxObject::Init() {
    PreInit();
    SetSize(kSkyBoxEdge, kSkyBoxEdge, kSkyBoxEdge);
    CBoxObject::Init();
    m_pCameraScreen = &CScreen::Instance();
    EnableCulling(false);
    SetNumberMaterials(kFaces);
    // Material k covers the two triangles of face k.
    for (int face = 0; face < kFaces; ++face) {
        SetMaterialIndex(face, 2 * face + 2);
    }
    ApplyPictures();
    SetLighting(false);
    SetAlpha(1.0f);
    for (int face = 0; face < kFaces; ++face) {
        SetColor(kFaceColor, face);
        SetMaterialPower(0.5f, face);
    }
    return true;
}

void CSkyBoxObject::ApplyPictures() {
    SetTexture(m_TopPicture, TOP);
    SetTexture(m_BackPicture, BACK);
    SetTexture(m_RightPicture, RIGHT);
    SetTexture(m_FrontPicture, FRONT);
    SetTexture(m_LeftPicture, LEFT);
    SetTexture(m_BottomPicture, BOTTOM);
}

void CSkyBoxObject::Render() {
    PreRender();
    CScreen& screen = m_pCameraScreen != nullptr ? *m_pCameraScreen : CScreen::Instance();
    D3DXVECTOR3 eye;
    D3DXVECTOR3 direction;
    screen.GetCameraPosition(eye, direction);
    SetPosition(eye);
    CBoxObject::Render();
}

void CSkyBoxObject::SetTopPicture(const CString& name) {
    m_TopPicture = name;
    SetTexture(name, TOP);
}

void CSkyBoxObject::SetBackPicture(const CString& name) {
    m_BackPicture = name;
    SetTexture(name, BACK);
}

void CSkyBoxObject::SetRightPicture(const CString& name) {
    m_RightPicture = name;
    SetTexture(name, RIGHT);
}

void CSkyBoxObject::SetFrontPicture(const CString& name) {
    m_FrontPicture = name;
    SetTexture(name, FRONT);
}

void CSkyBoxObject::SetLeftPicture(const CString& name) {
    m_LeftPicture = name;
    SetTexture(name, LEFT);
}

void CSkyBoxObject::SetBottomPicture(const CString& name) {
    m_BottomPicture = name;
    SetTexture(name, BOTTOM);
}
