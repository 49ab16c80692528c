#include "objects/CBaseObject.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "animation/CMove.h"
#include "core/CScreen.h"
#include "objects/CShaderEffect.h"
#include "platform/d3dxtex/d3dx8tex.h"
#include "platform/window/COutputWindow.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr D3DCOLORVALUE kDefaultColor{0.5f, 0.5f, 0.5f, 1.0f};

D3DXMATRIX IdentityMatrix() {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
}

D3DMATERIAL8 DefaultMaterial() {
    D3DMATERIAL8 material{};
    material.Diffuse = material.Ambient = material.Specular = material.Emissive = kDefaultColor;
    material.Power = 0.5f;
    return material;
}

void SetColorAlpha(D3DMATERIAL8& material, float alpha) {
    material.Diffuse.a = alpha;
    material.Ambient.a = alpha;
    material.Specular.a = alpha;
    material.Emissive.a = alpha;
}

// A colour component as a byte, the way the clear colour is built.
DWORD ColorByte(float component) {
    return static_cast<DWORD>(std::clamp(component, 0.0f, 1.0f) * 255.0f);
}

float LargestExtent(const D3DXVECTOR3& maximum, const D3DXVECTOR3& minimum) {
    return std::max({maximum.x - minimum.x, maximum.y - minimum.y, maximum.z - minimum.z});
}

// atan(dz / dx) without dividing by zero: a camera looking straight along z
// gives +-pi/2, one looking straight down gives 0.
float AtanOfRatio(float dz, float dx) {
    if (dx == 0.0f) {
        return dz > 0.0f ? kHalfPi : (dz < 0.0f ? -kHalfPi : 0.0f);
    }
    return std::atan(dz / dx);
}

// The fill mode a curve value stands for, truncated toward zero; values no
// int can hold (damaged files) count as unknown modes.
int FillModeOf(float value) {
    return value > -1000.0f && value < 1000.0f ? static_cast<int>(value) : -1;
}

// Bytes a material record takes at least in a scene file: the material, an
// empty file name and the face end.
constexpr unsigned int kMaterialRecordBytes = 68 + 4 + 4;

}  // namespace

// ------------------------------------------------------------------ lifetime

CBaseObject::CBaseObject() {
    m_Alpha.Insert(1.0f, 0.0f, -1);
    m_FillMode.SetMode(IM_STEP);
    m_FillMode.Insert(static_cast<float>(FM_SOLID), 0.0f, -1);
    m_Color.Insert(kDefaultColor, 0.0f, -1);
    m_Position.Insert(0.0f, 0.0f, 0.0f, 0.0f, -1);
    m_Rotation.Insert(0.0f, 0.0f, 0.0f, 0.0f, -1);
    m_Culling.Insert(true, 0.0f, -1);
    m_Lighting.Insert(true, 0.0f, -1);
    m_FacingCamera.Insert(false, 0.0f, -1);
    m_Scale.Insert(1.0f, 0.0f, -1);

    m_Identity = IdentityMatrix();
    m_PerspectiveProjection = m_PixelOverlayProjection = m_ScreenOverlayProjection = m_Identity;
    m_WorldViewProjection = m_RotationMatrix = m_TranslationMatrix = m_Identity;
    m_DirectionMatrix = m_WorldMatrix = m_PivotMatrix = m_SavedView = m_Identity;

    m_Materials.assign(1, DefaultMaterial());
    SetNumberMaterials(1);
}

CBaseObject::~CBaseObject() {
    CleanUp();
    ReleaseEffectTextures();
}

bool CBaseObject::Init() {
    PreInit();
    const SIZE client = ClientSize();
    D3DXMatrixOrthoLH(&m_PixelOverlayProjection, static_cast<float>(std::max<LONG>(1, client.cx)),
                      static_cast<float>(std::max<LONG>(1, client.cy)), 0.0f, 100.0f);
    D3DXMatrixOrthoLH(&m_ScreenOverlayProjection, 1.0f, 1.0f, 0.0f, 100.0f);
    // An own field of view set before the first Init is kept.
    if (!m_bOwnFieldOfView) {
        D3DXMatrixPerspectiveFovLH(&m_PerspectiveProjection, D3DX_PI / 4.0f, 1.0f, 0.1f, 1000.0f);
    }
    CObjects::Init();
    if (m_pVB && m_pIB) {
        UpdateScale(true);
    }
    for (int material = 0; material < m_iNumberMaterials; ++material) {
        if (!m_TextureNames[material].empty() && !m_pTextures[material]) {
            SetTexture(m_TextureNames[material], material);
        }
    }
    if (!m_EffectTextureName.empty() && !m_pEffectTexture && !m_pEffectCubeTexture) {
        SetEffectTexture(m_EffectTextureName, m_EffectTextureType);
    }
    return true;
}

void CBaseObject::CleanUp() {
    ReleaseBuffers();
    ReleaseTextures();
    m_pTextures.resize(m_iNumberMaterials);
    m_pTextureSurfaces.resize(m_iNumberMaterials);
    ReleaseEffectTextures();
    CObjects::CleanUp();
}

void CBaseObject::ReleaseBuffers() {
    if (m_pLockedVertices != nullptr && m_pVB) {
        m_pVB->Unlock();
    }
    m_pLockedVertices = nullptr;
    m_pVB.Reset();
    m_pIB.Reset();
}

// The slots stay, one per material.
void CBaseObject::ReleaseTextures() {
    for (CDeviceHandle<IDirect3DTexture8>& texture : m_pTextures) {
        texture.Reset();
    }
    for (CDeviceHandle<IDirect3DSurface8>& surface : m_pTextureSurfaces) {
        surface.Reset();
    }
}

void CBaseObject::ReleaseEffectTextures() {
    m_pEffectTexture.Reset();
    m_pEffectSurface.Reset();
    m_pEffectCubeTexture.Reset();
}

// ------------------------------------------------------------------ keyframes

CKeyFrameCurves CBaseObject::KeyedCurves() {
    CKeyFrameCurves curves;
    curves.Add(m_Alpha).Add(m_Scale).Add(m_Position).Add(m_Rotation).Add(m_Color);
    curves.Add(m_FillMode).Add(m_Culling).Add(m_Lighting).Add(m_FacingCamera);
    return curves;
}

int CBaseObject::AddKeyFrame(float time) {
    return KeyedCurves().AddKeyFrame(time);
}

void CBaseObject::DeleteKeyFrame(int id) {
    KeyedCurves().DeleteKeyFrame(id);
}

void CBaseObject::MoveKeyFrame(int id, float time) {
    KeyedCurves().MoveKeyFrame(id, time);
}

int CBaseObject::GetKeyFrameNumber() const {
    return m_Alpha.GetNumberPoints();
}

float CBaseObject::GetKeyFrameTime(int index) const {
    return m_Alpha.GetPointTimeFromIndex(index);
}

int CBaseObject::GetKeyFrameID(int index) const {
    return m_Alpha.GetPointIDFromIndex(index);
}

// ------------------------------------------------------------------ keyed properties

void CBaseObject::SetPosition(float x, float y, float z) {
    m_Position.Update(x, y, z, m_Position.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

void CBaseObject::SetPosition(const D3DXVECTOR3& position) {
    SetPosition(position.x, position.y, position.z);
}

D3DXVECTOR3 CBaseObject::GetPosition() const {
    return m_Position.GetPointValue(m_iCurrentKeyFrame) + m_DirectionOrigin;
}

void CBaseObject::SetRotation(float yaw, float pitch, float roll) {
    m_Rotation.Update(yaw, pitch, roll, m_Rotation.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

void CBaseObject::SetRotation(const D3DXVECTOR3& rotation) {
    SetRotation(rotation.x, rotation.y, rotation.z);
}

D3DXVECTOR3 CBaseObject::GetRotation() const {
    return m_Rotation.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetScale(float scale) {
    m_Scale.Update(scale, m_Scale.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
    UpdateScale(true);
}

float CBaseObject::GetScale() const {
    return m_Scale.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetAlpha(float alpha) {
    for (D3DMATERIAL8& material : m_Materials) {
        SetColorAlpha(material, alpha);
    }
    m_Alpha.Update(alpha, m_Alpha.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

float CBaseObject::GetAlpha() const {
    return m_Alpha.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetColor(const D3DCOLORVALUE& color, int material) {
    m_Color.Update(color, m_Color.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
    if (IsMaterial(material)) {
        D3DMATERIAL8& m = m_Materials[material];
        m.Diffuse = m.Ambient = m.Specular = m.Emissive = color;
        SetColorAlpha(m, GetAlpha());
    }
}

D3DCOLORVALUE CBaseObject::GetDiffuseColor(int /*material*/) const {
    return m_Color.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetFillMode(TFillMode mode) {
    m_FillMode.Update(static_cast<float>(mode), m_FillMode.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

TFillMode CBaseObject::GetFillMode() const {
    return static_cast<TFillMode>(FillModeOf(m_FillMode.GetPointValue(m_iCurrentKeyFrame)));
}

void CBaseObject::EnableCulling(bool culling) {
    m_Culling.Update(culling, m_Culling.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

bool CBaseObject::GetCulling() const {
    return m_Culling.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetLighting(bool lighting) {
    m_Lighting.Update(lighting, m_Lighting.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

bool CBaseObject::GetLighting() const {
    return m_Lighting.GetPointValue(m_iCurrentKeyFrame);
}

void CBaseObject::SetAlwaysFacingCamera(bool facing) {
    m_FacingCamera.Update(facing, m_FacingCamera.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

bool CBaseObject::GetAlwaysFacingCamera() const {
    return m_FacingCamera.GetPointValue(m_iCurrentKeyFrame);
}

D3DXVECTOR3 CBaseObject::GetCurrentPosition() const {
    return m_Position.GetValue();
}

D3DXVECTOR3 CBaseObject::GetCurrentPosition(float t) const {
    return m_Position.GetValue(t);
}

D3DXVECTOR3 CBaseObject::GetCurrentRotation() const {
    return m_Rotation.GetValue();
}

D3DXVECTOR3 CBaseObject::GetCurrentRotation(float t) const {
    return m_Rotation.GetValue(t);
}

float CBaseObject::GetCurrentAlpha() const {
    return m_Alpha.GetValue();
}

float CBaseObject::GetCurrentScale() const {
    return m_Scale.GetValue();
}

// ------------------------------------------------------------------ plain properties

void CBaseObject::SetPivot(float x, float y, float z) {
    m_Pivot = D3DXVECTOR3(x, y, z);
}

void CBaseObject::SetPivot(const D3DXVECTOR3& pivot) {
    m_Pivot = pivot;
}

void CBaseObject::SetDirection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) {
    m_DirectionOrigin = origin;
    m_DirectionTarget = origin + direction;
}

void CBaseObject::SetDirection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const D3DXVECTOR3& up) {
    SetDirection(origin, direction);
    m_UpVector = up;
}

void CBaseObject::SetDirection(CMove& move) {
    D3DXVECTOR3 origin;
    D3DXVECTOR3 direction;
    D3DXVECTOR3 up;
    move.GetCurrentPosition(origin.x, origin.y, origin.z, direction.x, direction.y, direction.z, up.x, up.y, up.z);
    SetDirection(origin, direction, up);
}

void CBaseObject::SetUpVector(float x, float y, float z) {
    m_UpVector = D3DXVECTOR3(x, y, z);
}

void CBaseObject::SetTextureColorBlendingOperation(DWORD operation, int stage) {
    if (stage == 0 || stage == 1) {
        m_ColorOperations[stage] = static_cast<D3DTEXTUREOP>(operation);
    }
}

void CBaseObject::SetTextureAlphaBlendingOperation(DWORD operation, int stage) {
    if (stage == 0 || stage == 1) {
        m_AlphaOperations[stage] = static_cast<D3DTEXTUREOP>(operation);
    }
}

void CBaseObject::SetFieldOfView(float fovY) {
    m_bOwnFieldOfView = true;
    D3DXMatrixPerspectiveFovLH(&m_PerspectiveProjection, fovY, 1.0f, 0.1f, 1000.0f);
}

void CBaseObject::UseShader(bool use) {
    if (!use || m_bShaderLayout) {
        return;
    }
    m_bShaderLayout = true;
    if (m_pVB) {
        ConvertVerticesToShaderLayout();
    }
}

// Moves existing 40-byte vertices into the first slots of a new 80-byte
// buffer, so that the layout can change under a built object.
void CBaseObject::ConvertVerticesToShaderLayout() {
    const CDeviceHandle<IDirect3DVertexBuffer8> oldBuffer = std::move(m_pVB);
    const int count = m_iNumberVertices;
    SetNumberVertices(count);
    BYTE* oldData = nullptr;
    DWORD newCount = 0;
    S3DVERTEX* newData = LockVB(newCount);
    if (newData != nullptr && SUCCEEDED(oldBuffer->Lock(0, 0, &oldData, D3DLOCK_READONLY))) {
        const S3DVERTEX* source = reinterpret_cast<const S3DVERTEX*>(oldData);
        for (int i = 0; i < count; ++i) {
            *OffsetVertex(newData, i) = source[i];
        }
        oldBuffer->Unlock();
    }
    if (newData != nullptr) {
        m_pVB->Unlock();
        m_pLockedVertices = nullptr;
    }
}

void CBaseObject::SetShader(CShaderEffect* effect) {
    m_pShaderEffect = effect;
    GeometryChanged();
}

// ------------------------------------------------------------------ materials

void CBaseObject::SetNumberMaterials(int n) {
    n = std::max(1, n);
    ReleaseTextures();
    const D3DMATERIAL8 first = m_Materials.empty() ? DefaultMaterial() : m_Materials.front();
    m_iNumberMaterials = n;
    m_pTextures.resize(n);
    m_pTextureSurfaces.resize(n);
    m_TextureNames.assign(n, CString());
    m_FaceEnds.assign(n, 0);
    m_Materials.assign(n, first);
}

int CBaseObject::ClampMaterial(int material) const {
    return std::clamp(material, 0, m_iNumberMaterials - 1);
}

D3DMATERIAL8& CBaseObject::GetMaterial(int material) {
    return m_Materials[ClampMaterial(material)];
}

void CBaseObject::SetMaterialAlpha(int material, float alpha) {
    SetColorAlpha(m_Materials[material], alpha);
}

void CBaseObject::SetMaterial(const D3DMATERIAL8& m, int material) {
    if (!IsMaterial(material)) {
        return;
    }
    SetColor(m.Diffuse, material);
    m_Materials[material] = m;
    SetMaterialAlpha(material, GetAlpha());
}

void CBaseObject::SetDiffuseColor(const D3DCOLORVALUE& color, int material) {
    if (IsMaterial(material)) {
        m_Materials[material].Diffuse = color;
        m_Materials[material].Diffuse.a = GetAlpha();
    }
}

void CBaseObject::SetAmbientColor(const D3DCOLORVALUE& color, int material) {
    if (IsMaterial(material)) {
        m_Materials[material].Ambient = color;
        m_Materials[material].Ambient.a = GetAlpha();
    }
}

void CBaseObject::SetSpecularColor(const D3DCOLORVALUE& color, int material) {
    if (IsMaterial(material)) {
        m_Materials[material].Specular = color;
        m_Materials[material].Specular.a = GetAlpha();
    }
}

void CBaseObject::SetEmissiveColor(const D3DCOLORVALUE& color, int material) {
    if (IsMaterial(material)) {
        m_Materials[material].Emissive = color;
        m_Materials[material].Emissive.a = GetAlpha();
    }
}

D3DCOLORVALUE CBaseObject::GetAmbientColor(int material) const {
    return m_Materials[ClampMaterial(material)].Ambient;
}

D3DCOLORVALUE CBaseObject::GetSpecularColor(int material) const {
    return m_Materials[ClampMaterial(material)].Specular;
}

D3DCOLORVALUE CBaseObject::GetEmissiveColor(int material) const {
    return m_Materials[ClampMaterial(material)].Emissive;
}

void CBaseObject::SetMaterialPower(float power, int material) {
    if (IsMaterial(material)) {
        m_Materials[material].Power = power;
    }
}

float CBaseObject::GetMaterialPower(int material) const {
    return m_Materials[ClampMaterial(material)].Power;
}

void CBaseObject::SetMaterialIndex(int material, int faceEnd) {
    if (IsMaterial(material)) {
        m_FaceEnds[material] = faceEnd;
    }
}

int CBaseObject::GetMaterialIndex(int material) const {
    return m_FaceEnds[ClampMaterial(material)];
}

// ------------------------------------------------------------------ textures

// The bytes of a file held by the scene file being loaded, if any.
bool CBaseObject::FetchSceneFile(const CString& name, const BYTE*& data, int& size) const {
    CSceneFile* sceneFile = m_pScene != nullptr ? m_pScene->GetSceneFile() : nullptr;
    if (sceneFile == nullptr) {
        return false;
    }
    BYTE* bytes = nullptr;
    size = sceneFile->GetFile(name, bytes);
    data = bytes;
    return size >= 1 && bytes != nullptr;
}

bool CBaseObject::LoadTextureData(const BYTE* data, int size, IDirect3DTexture8** texture) const {
    if (m_bWriteOnTexture) {
        return SUCCEEDED(D3DXCreateTextureFromFileInMemoryEx(
            m_pd3dDevice, data, static_cast<UINT>(size), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8,
            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, texture));
    }
    return SUCCEEDED(D3DXCreateTextureFromFileInMemory(m_pd3dDevice, data, static_cast<UINT>(size), texture));
}

bool CBaseObject::LoadTextureFile(const CString& name, IDirect3DTexture8** texture) const {
    if (m_bWriteOnTexture) {
        return SUCCEEDED(D3DXCreateTextureFromFileExA(m_pd3dDevice, name.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                                      D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                                      D3DX_DEFAULT, 0, nullptr, nullptr, texture));
    }
    return SUCCEEDED(D3DXCreateTextureFromFileA(m_pd3dDevice, name.c_str(), texture));
}

void CBaseObject::SetTexture(CString name, int material) {
    if (!IsMaterial(material)) {
        return;
    }
    m_bDrawTexture = true;
    m_TextureNames[material] = name;
    m_pTextures[material].Reset();
    m_pTextureSurfaces[material].Reset();
    if (name.empty()) {
        return;
    }
    if (m_pd3dDevice == nullptr) {
        return;  // loaded by Init once there is a device
    }
    // A file the scene file carries wins; otherwise the disk.
    const BYTE* data = nullptr;
    int size = 0;
    CDeviceHandle<IDirect3DTexture8> texture;
    IDirect3DTexture8** slot = texture.ReleaseAndGetAddressOf();
    const bool loaded =
        FetchSceneFile(name, data, size) ? LoadTextureData(data, size, slot) : LoadTextureFile(name, slot);
    if (!loaded || !texture) {
        m_TextureNames[material] = "";
        return;
    }
    m_pTextures[material] = std::move(texture);
}

CString CBaseObject::GetTexture(int material) {
    return IsMaterial(material) ? m_TextureNames[material] : CString();
}

void CBaseObject::SetTexture(IDirect3DTexture8*& texture, int material) {
    if (!IsMaterial(material) || texture == m_pTextures[material].Get()) {
        return;
    }
    if (texture != nullptr) {
        texture->AddRef();
    }
    m_pTextures[material].Reset(texture);
}

IDirect3DTexture8* CBaseObject::GetTexturePointer(int material) const {
    return IsMaterial(material) ? m_pTextures[material].Get() : nullptr;
}

bool CBaseObject::CreateTexture(int width, int height, int material) {
    if (!IsMaterial(material) || m_pd3dDevice == nullptr || width < 1 || height < 1) {
        return false;
    }
    m_pTextureSurfaces[material].Reset();
    m_bDrawTexture = true;
    const UINT w = static_cast<UINT>(width), h = static_cast<UINT>(height);
    // A failed creation leaves the slot empty.
    if (FAILED(m_pd3dDevice->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                           m_pTextures[material].ReleaseAndGetAddressOf()))) {
        return false;
    }
    if (FAILED(m_pd3dDevice->CreateDepthStencilSurface(w, h, D3DFMT_D24S8, D3DMULTISAMPLE_NONE,
                                                       m_pTextureSurfaces[material].ReleaseAndGetAddressOf()))) {
        m_pTextures[material].Reset();
        return false;
    }
    return true;
}

TextureBuffer CBaseObject::GetTextureBuffer(int material) const {
    if (!IsMaterial(material)) {
        return {};
    }
    return {m_pTextures[material].Get(), m_pTextureSurfaces[material].Get()};
}

SPixel* CBaseObject::LockTexture(int& width, int& height, int& pitch, int material) {
    IDirect3DTexture8* texture = GetTexturePointer(material);
    if (texture == nullptr) {
        return nullptr;
    }
    D3DSURFACE_DESC description{};
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->GetLevelDesc(0, &description)) ||
        FAILED(texture->LockRect(0, &locked, nullptr, D3DLOCK_NOSYSLOCK)) || locked.pBits == nullptr) {
        return nullptr;
    }
    width = static_cast<int>(description.Width);
    height = static_cast<int>(description.Height);
    pitch = locked.Pitch;
    return static_cast<SPixel*>(locked.pBits);
}

void CBaseObject::UnlockTexture(int material) {
    if (IDirect3DTexture8* texture = GetTexturePointer(material)) {
        texture->UnlockRect(0);
    }
}

void CBaseObject::SetEffectTexture(CString name, EffectTextureType type) {
    m_EffectTextureName = name;
    m_EffectTextureType = type;
    m_pEffectTexture.Reset();
    m_pEffectCubeTexture.Reset();
    if (name.empty() || m_pd3dDevice == nullptr) {
        return;
    }
    const BYTE* data = nullptr;
    int size = 0;
    const bool inMemory = FetchSceneFile(name, data, size);
    if (!LoadEffectTexture(inMemory ? CString() : name, data, size, type)) {
        m_EffectTextureName = "";
    }
}

void CBaseObject::SetEffectTexture(const BYTE* data, int size, EffectTextureType type) {
    m_EffectTextureType = type;
    m_pEffectTexture.Reset();
    m_pEffectCubeTexture.Reset();
    if (data == nullptr || size < 1 || m_pd3dDevice == nullptr || !LoadEffectTexture(CString(), data, size, type)) {
        m_EffectTextureName = "";
    }
}

// Loads the effect texture from the file `name`, or from memory when the
// name is empty. Leaves no texture behind on failure.
bool CBaseObject::LoadEffectTexture(const CString& name, const BYTE* data, int size, EffectTextureType type) {
    const bool fromFile = !name.empty();
    // A failed creation leaves the handle empty.
    if (type == ETT_CUBEMAP) {
        IDirect3DCubeTexture8** cube = m_pEffectCubeTexture.ReleaseAndGetAddressOf();
        const HRESULT result =
            fromFile ? D3DXCreateCubeTextureFromFileA(m_pd3dDevice, name.c_str(), cube)
                     : D3DXCreateCubeTextureFromFileInMemory(m_pd3dDevice, data, static_cast<UINT>(size), cube);
        return SUCCEEDED(result);
    }
    IDirect3DTexture8** texture = m_pEffectTexture.ReleaseAndGetAddressOf();
    const HRESULT result =
        fromFile ? D3DXCreateTextureFromFileA(m_pd3dDevice, name.c_str(), texture)
                 : D3DXCreateTextureFromFileInMemory(m_pd3dDevice, data, static_cast<UINT>(size), texture);
    if (FAILED(result)) {
        return false;
    }
    return type != ETT_NORMALMAP || ConvertEffectTextureToNormalMap();
}

// Replaces the loaded height map by its normal map.
bool CBaseObject::ConvertEffectTextureToNormalMap() {
    D3DSURFACE_DESC description{};
    CDeviceHandle<IDirect3DTexture8> normalMap;
    const bool converted =
        SUCCEEDED(m_pEffectTexture->GetLevelDesc(0, &description)) &&
        SUCCEEDED(m_pd3dDevice->CreateTexture(description.Width, description.Height, 1, 0, D3DFMT_A8R8G8B8,
                                              D3DPOOL_MANAGED, normalMap.ReleaseAndGetAddressOf())) &&
        SUCCEEDED(D3DXComputeNormalMap(normalMap.Get(), m_pEffectTexture.Get(), nullptr, 0, D3DX_CHANNEL_RED, 2.0f));
    // The height map goes either way; the normal map only when it was made.
    m_pEffectTexture = converted ? std::move(normalMap) : CDeviceHandle<IDirect3DTexture8>();
    return converted;
}

bool CBaseObject::CreateEffectTexture(int width, int height, EffectTextureType type) {
    m_EffectTextureName = "";
    m_EffectTextureType = type;
    ReleaseEffectTextures();
    if (m_pd3dDevice == nullptr || width < 1 || height < 1) {
        return false;
    }
    const UINT w = static_cast<UINT>(width), h = static_cast<UINT>(height);
    // A failed creation leaves the handle empty.
    const HRESULT created =
        type == ETT_CUBEMAP
            ? m_pd3dDevice->CreateCubeTexture(w, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                              m_pEffectCubeTexture.ReleaseAndGetAddressOf())
            : m_pd3dDevice->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                          m_pEffectTexture.ReleaseAndGetAddressOf());
    if (FAILED(created)) {
        return false;
    }
    if (FAILED(m_pd3dDevice->CreateDepthStencilSurface(w, h, D3DFMT_D24S8, D3DMULTISAMPLE_NONE,
                                                       m_pEffectSurface.ReleaseAndGetAddressOf()))) {
        ReleaseEffectTextures();
        return false;
    }
    return true;
}

TextureBuffer CBaseObject::GetEffectTextureBuffer() const {
    return {m_pEffectTexture.Get(), m_pEffectSurface.Get()};
}

// ------------------------------------------------------------------ geometry

void CBaseObject::SetNumberVertices(int n) {
    if (m_pLockedVertices != nullptr && m_pVB) {
        m_pVB->Unlock();
    }
    m_pLockedVertices = nullptr;
    m_pVB.Reset();
    m_iNumberVertices = 0;
    if (m_pd3dDevice == nullptr || n < 1) {
        return;
    }
    // A failed creation leaves the handle empty.
    const DWORD format = m_bShaderLayout ? D3DFVF_3DVERTEX_FORSHADER : D3DFVF_3DVERTEX;
    if (FAILED(m_pd3dDevice->CreateVertexBuffer(static_cast<UINT>(n) * VertexStride(), 0, format, D3DPOOL_MANAGED,
                                                m_pVB.ReleaseAndGetAddressOf()))) {
        return;
    }
    m_iNumberVertices = n;
}

void CBaseObject::SetNumberFaces(int n) {
    m_pIB.Reset();
    m_iNumberFaces = 0;
    if (m_pd3dDevice == nullptr || n < 1) {
        return;
    }
    if (FAILED(m_pd3dDevice->CreateIndexBuffer(static_cast<UINT>(n) * 3 * sizeof(WORD), 0, D3DFMT_INDEX16,
                                               D3DPOOL_DEFAULT, m_pIB.ReleaseAndGetAddressOf()))) {
        return;
    }
    m_iNumberFaces = n;
}

S3DVERTEX* CBaseObject::LockVB(DWORD& count) {
    count = 0;
    if (!m_pVB) {
        return nullptr;
    }
    if (m_pLockedVertices == nullptr) {
        BYTE* data = nullptr;
        if (FAILED(m_pVB->Lock(0, 0, &data, 0)) || data == nullptr) {
            return nullptr;
        }
        m_pLockedVertices = reinterpret_cast<S3DVERTEX*>(data);
    }
    count = static_cast<DWORD>(m_iNumberVertices);
    return m_pLockedVertices;
}

WORD* CBaseObject::LockIB(DWORD& count) {
    count = 0;
    BYTE* data = nullptr;
    if (!m_pIB || FAILED(m_pIB->Lock(0, 0, &data, 0)) || data == nullptr) {
        return nullptr;
    }
    count = static_cast<DWORD>(m_iNumberFaces);
    return reinterpret_cast<WORD*>(data);
}

void CBaseObject::UnlockIB() {
    if (m_pIB) {
        m_pIB->Unlock();
    }
}

void CBaseObject::UnlockVB(bool computeNormals, bool setReference) {
    if (m_bShaderLayout) {
        UnlockVBS(computeNormals, setReference);
        return;
    }
    FinishUnlockVB(computeNormals, setReference);
}

void CBaseObject::UnlockVBS(bool computeNormals, bool setReference) {
    FinishUnlockVB(computeNormals, setReference);
}

// Normals, bounds and reference size of the locked vertices (either
// layout), then the unlock.
void CBaseObject::FinishUnlockVB(bool computeNormals, bool setReference) {
    S3DVERTEX* vertices = m_pLockedVertices;
    if (vertices == nullptr) {
        return;
    }
    if (computeNormals) {
        BYTE* indices = nullptr;
        if (m_pIB && SUCCEEDED(m_pIB->Lock(0, 0, &indices, D3DLOCK_READONLY)) && indices != nullptr) {
            SetFaceNormals(vertices, reinterpret_cast<const WORD*>(indices));
            m_pIB->Unlock();
        }
    }
    ComputeBounds(vertices);
    if (setReference) {
        m_fReferenceSize = LargestExtent(m_BoundsMax, m_BoundsMin);
        UpdateScale(false);
    }
    ComputeBounds(vertices);
    m_pLockedVertices = nullptr;
    m_pVB->Unlock();
}

// Each vertex normal is the normalised sum of the unit normals of the faces
// that use it. Degenerate faces (two corners at one place, as at a sphere's
// poles) have no direction and add nothing; a vertex with no usable face
// keeps a zero normal rather than NaN.
void CBaseObject::SetFaceNormals(S3DVERTEX* vertices, const WORD* indices) {
    for (int v = 0; v < m_iNumberVertices; ++v) {
        S3DVERTEX* vertex = OffsetVertex(vertices, v);
        vertex->nx = vertex->ny = vertex->nz = 0.0f;
    }
    for (int face = 0; face < m_iNumberFaces; ++face) {
        const WORD* corner = indices + 3 * face;
        if (corner[0] >= m_iNumberVertices || corner[1] >= m_iNumberVertices || corner[2] >= m_iNumberVertices) {
            continue;
        }
        S3DVERTEX* v0 = OffsetVertex(vertices, corner[0]);
        S3DVERTEX* v1 = OffsetVertex(vertices, corner[1]);
        S3DVERTEX* v2 = OffsetVertex(vertices, corner[2]);
        const D3DXVECTOR3 edge1(v1->x - v0->x, v1->y - v0->y, v1->z - v0->z);
        const D3DXVECTOR3 edge2(v2->x - v0->x, v2->y - v0->y, v2->z - v0->z);
        D3DXVECTOR3 normal;
        D3DXVec3Cross(&normal, &edge1, &edge2);
        const float length = D3DXVec3Length(&normal);
        if (!(length > 0.0f) || !std::isfinite(length)) {
            continue;
        }
        normal /= length;
        for (S3DVERTEX* vertex : {v0, v1, v2}) {
            vertex->nx += normal.x;
            vertex->ny += normal.y;
            vertex->nz += normal.z;
        }
    }
    for (int v = 0; v < m_iNumberVertices; ++v) {
        S3DVERTEX* vertex = OffsetVertex(vertices, v);
        D3DXVECTOR3 sum(vertex->nx, vertex->ny, vertex->nz);
        const float length = D3DXVec3Length(&sum);
        if (length > 0.0f) {
            vertex->nx /= length;
            vertex->ny /= length;
            vertex->nz /= length;
        }
    }
}

// Bounds of the vertex positions, always containing the local origin.
void CBaseObject::ComputeBounds(const S3DVERTEX* vertices) {
    m_BoundsMax = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_BoundsMin = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    for (int v = 0; v < m_iNumberVertices; ++v) {
        const S3DVERTEX* vertex = vertices + static_cast<ptrdiff_t>(v) * VertexSlots();
        m_BoundsMax.x = std::max(m_BoundsMax.x, vertex->x);
        m_BoundsMax.y = std::max(m_BoundsMax.y, vertex->y);
        m_BoundsMax.z = std::max(m_BoundsMax.z, vertex->z);
        m_BoundsMin.x = std::min(m_BoundsMin.x, vertex->x);
        m_BoundsMin.y = std::min(m_BoundsMin.y, vertex->y);
        m_BoundsMin.z = std::min(m_BoundsMin.z, vertex->z);
    }
}

void CBaseObject::Resize(float f) {
    DWORD count = 0;
    if (LockVB(count) == nullptr) {
        return;
    }
    ResizeNoLock(f);
    UnlockVB(false, false);
}

void CBaseObject::ResizeNoLock(float f) {
    if (m_pLockedVertices == nullptr) {
        return;
    }
    for (int v = 0; v < m_iNumberVertices; ++v) {
        S3DVERTEX* vertex = OffsetVertex(m_pLockedVertices, v);
        vertex->x *= f;
        vertex->y *= f;
        vertex->z *= f;
    }
}

// Scaling to zero would flatten the vertices for good (a flat object can
// never be scaled back), so a zero scale keeps the geometry and Render
// simply draws nothing while it lasts. The size is the scale's magnitude: a
// negative factor would mirror the vertices at every other update.
void CBaseObject::UpdateScale(bool lock) {
    const float extent = LargestExtent(m_BoundsMax, m_BoundsMin);
    const float target = std::fabs(m_Scale.GetValue()) * m_fReferenceSize;
    if (!(extent > 0.0f) || target == 0.0f || !std::isfinite(target)) {
        return;
    }
    const float f = target / extent;
    if (lock) {
        Resize(f);
    } else {
        ResizeNoLock(f);
    }
}

void CBaseObject::GeometryChanged() {
    if (m_pShaderEffect != nullptr) {
        m_pShaderEffect->PrepareForUse(*this);
    }
}

// ------------------------------------------------------------------ rendering

SIZE CBaseObject::ClientSize() const {
    if (m_pScreen != nullptr && m_pScreen->GetWindow() != nullptr) {
        return m_pScreen->GetWindow()->GetClientSize();
    }
    D3DVIEWPORT8 viewport{};
    if (m_pd3dDevice != nullptr && SUCCEEDED(m_pd3dDevice->GetViewport(&viewport))) {
        return {static_cast<LONG>(viewport.Width), static_cast<LONG>(viewport.Height)};
    }
    return {1, 1};
}

void CBaseObject::Render() {
    PreRender();
    if (!m_bVisible || !m_pVB || !m_pIB || m_pd3dDevice == nullptr || m_pScreen == nullptr) {
        return;
    }
    ComputeWorldMatrix();
    if (!m_bOwnFieldOfView) {
        m_PerspectiveProjection = m_pScreen->GetProjMatrix();
    }
    SetProjectionAndView();
    if (m_bShaderLayout) {
        SetShaderConstants();
    }
    SetRenderStates();
    SetTextureStageStates();
    SetBlendStates();
    SetStreamAndShaders();
    RecomputeAlphaAndColors();

    const float scale = m_Scale.GetValue();
    if (scale != m_fAppliedScale) {
        UpdateScale(true);
    }
    m_fAppliedScale = scale;
    if (scale != 0.0f) {
        DrawMaterials();
    }
    if (m_ProjectionMode == PM_PIXEL_OVERLAY || m_ProjectionMode == PM_SCREEN_OVERLAY) {
        m_pd3dDevice->SetTransform(D3DTS_VIEW, &m_SavedView);
    }
}

void CBaseObject::ComputeWorldMatrix() {
    if (m_FacingCamera.GetValue()) {
        // Billboard about the vertical axis: turn towards the camera, ignoring
        // rotation, pivot and direction frame.
        D3DXVECTOR3 eye, at;
        m_pScreen->GetCameraPosition(eye, at);
        const float dx = at.x - eye.x;
        const float dz = at.z - eye.z;
        const float angle = dx > 0.0f ? kHalfPi - AtanOfRatio(dz, dx) : -AtanOfRatio(dz, dx) - kHalfPi;
        D3DXMatrixRotationY(&m_WorldMatrix, angle);
    } else {
        D3DXMatrixTranslation(&m_PivotMatrix, m_Pivot.x, m_Pivot.y, m_Pivot.z);
        const D3DXVECTOR3 rotation = m_Rotation.GetValue();
        D3DXMatrixRotationYawPitchRoll(&m_RotationMatrix, rotation.x, rotation.y, rotation.z);
        D3DXMATRIX lookAt;
        D3DXMatrixLookAtLH(&lookAt, &m_DirectionOrigin, &m_DirectionTarget, &m_UpVector);
        D3DXMatrixInverse(&m_DirectionMatrix, nullptr, &lookAt);
        D3DXMatrixMultiply(&m_WorldMatrix, &m_PivotMatrix, &m_RotationMatrix);
        D3DXMatrixMultiply(&m_WorldMatrix, &m_WorldMatrix, &m_DirectionMatrix);
    }
    const D3DXVECTOR3 position = m_Position.GetValue();
    D3DXMatrixTranslation(&m_TranslationMatrix, position.x, position.y, position.z);
    D3DXMatrixMultiply(&m_WorldMatrix, &m_WorldMatrix, &m_TranslationMatrix);
}

void CBaseObject::SetProjectionAndView() {
    switch (m_ProjectionMode) {
    case PM_PERSPECTIVE: {
        const D3DXMATRIX view = m_pScreen->GetViewMatrix();
        m_pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        m_pd3dDevice->SetTransform(D3DTS_PROJECTION, &m_PerspectiveProjection);
        break;
    }
    case PM_SCREEN_OVERLAY:
        m_pd3dDevice->SetTransform(D3DTS_PROJECTION, &m_ScreenOverlayProjection);
        m_pd3dDevice->GetTransform(D3DTS_VIEW, &m_SavedView);
        m_pd3dDevice->SetTransform(D3DTS_VIEW, &m_Identity);
        break;
    case PM_PIXEL_OVERLAY:
        m_pd3dDevice->SetTransform(D3DTS_PROJECTION, &m_PixelOverlayProjection);
        m_pd3dDevice->GetTransform(D3DTS_VIEW, &m_SavedView);
        m_pd3dDevice->SetTransform(D3DTS_VIEW, &m_Identity);
        break;
    }
}

// Vertex-shader constants: c0-c3 the transposed world-view-projection, c4
// the screen's light vector in object space; then the effect's own.
void CBaseObject::SetShaderConstants() {
    D3DXMATRIX product;
    switch (m_ProjectionMode) {
    // The overlays draw with an identity view, as the fixed-function path does.
    case PM_SCREEN_OVERLAY:
        D3DXMatrixMultiply(&product, &m_WorldMatrix, &m_ScreenOverlayProjection);
        break;
    case PM_PIXEL_OVERLAY:
        D3DXMatrixMultiply(&product, &m_WorldMatrix, &m_PixelOverlayProjection);
        break;
    default: {
        const D3DXMATRIX view = m_pScreen->GetViewMatrix();
        D3DXMatrixMultiply(&product, &m_WorldMatrix, &view);
        D3DXMatrixMultiply(&product, &product, &m_PerspectiveProjection);
        break;
    }
    }
    D3DXMatrixTranspose(&m_WorldViewProjection, &product);
    m_pd3dDevice->SetVertexShaderConstant(0, &m_WorldViewProjection, 4);

    D3DXMATRIX inverseWorld;
    D3DXMatrixInverse(&inverseWorld, nullptr, &m_WorldMatrix);
    // A direction: turned by the inverse world, not moved by its translation
    // (or the light would depend on where the object stands).
    const D3DXVECTOR3 light = m_pScreen->GetLightVectorForEffect();
    D3DXVECTOR3 turnedLight;
    D3DXVec3TransformNormal(&turnedLight, &light, &inverseWorld);
    const D3DXVECTOR4 objectLight(turnedLight.x, turnedLight.y, turnedLight.z, 0.0f);
    m_pd3dDevice->SetVertexShaderConstant(4, &objectLight, 1);
    if (m_pShaderEffect != nullptr) {
        m_pShaderEffect->SetVariable(m_WorldMatrix);
    }
}

void CBaseObject::SetRenderStates() {
    if (m_bSelected) {
        m_pd3dDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    } else {
        switch (FillModeOf(m_FillMode.GetValue())) {
        case FM_SOLID:
            m_pd3dDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
            break;
        case FM_WIREFRAME:
            m_pd3dDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
            break;
        case FM_POINT:
            m_pd3dDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT);
            break;
        default:
            break;
        }
    }
    m_pd3dDevice->SetRenderState(D3DRS_LIGHTING, m_Lighting.GetValue() ? TRUE : FALSE);
    m_pd3dDevice->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pd3dDevice->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pd3dDevice->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pd3dDevice->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pd3dDevice->SetRenderState(D3DRS_SHADEMODE, m_bFlatShading ? D3DSHADE_FLAT : D3DSHADE_GOURAUD);
    m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, m_Culling.GetValue() ? D3DCULL_CCW : D3DCULL_NONE);
    m_pd3dDevice->SetTransform(D3DTS_WORLD, &m_WorldMatrix);
}

void CBaseObject::SetTextureStageStates() {
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, m_ColorOperations[0]);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TEXTURE);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLOROP, m_ColorOperations[1]);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, m_AlphaOperations[0]);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_ALPHAOP, m_AlphaOperations[1]);
    for (DWORD stage = 0; stage < 2; ++stage) {
        m_pd3dDevice->SetTextureStageState(stage, D3DTSS_MINFILTER, m_TextureFilter);
        m_pd3dDevice->SetTextureStageState(stage, D3DTSS_MAGFILTER, m_TextureFilter);
    }
    if (m_pEffectCubeTexture) {
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA);
        m_pd3dDevice->SetRenderState(D3DRS_TEXTUREFACTOR, 0x88FFFFFF);
    }
}

void CBaseObject::SetBlendStates() {
    m_pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHAREF, 8);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    if (m_bSpecular) {
        m_pd3dDevice->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
        m_pd3dDevice->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    } else {
        m_pd3dDevice->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    }
    m_pd3dDevice->SetRenderState(D3DRS_ZBIAS, static_cast<DWORD>(m_iZBias));
}

void CBaseObject::SetStreamAndShaders() {
    if (m_bShaderLayout) {
        const DWORD vertexShader = m_pShaderEffect != nullptr && m_pShaderEffect->GetVertexShaderID() != 0
                                       ? m_pShaderEffect->GetVertexShaderID()
                                       : D3DFVF_3DVERTEX_FORSHADER;
        m_pd3dDevice->SetVertexShader(vertexShader);
        m_pd3dDevice->SetStreamSource(0, m_pVB.Get(), sizeof(S3DVERTEX_FORSHADER));
        m_pd3dDevice->SetPixelShader(m_pShaderEffect != nullptr ? m_pShaderEffect->GetPixelShaderID() : 0);
    } else {
        m_pd3dDevice->SetVertexShader(D3DFVF_3DVERTEX);
        m_pd3dDevice->SetStreamSource(0, m_pVB.Get(), sizeof(S3DVERTEX));
        m_pd3dDevice->SetPixelShader(0);
    }
}

// Material 0 follows the colour and alpha curves (or turns red when the
// object is selected); the other materials keep their own colours.
void CBaseObject::RecomputeAlphaAndColors() {
    D3DMATERIAL8& material = m_Materials[0];
    if (m_bSelected) {
        const D3DCOLORVALUE red{1.0f, 0.0f, 0.0f, 1.0f};
        material.Diffuse = material.Ambient = material.Specular = material.Emissive = red;
        return;
    }
    D3DCOLORVALUE color = m_Color.GetValue();
    color.a = m_Alpha.GetValue();
    material.Diffuse = material.Ambient = material.Specular = color;
    material.Emissive = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 0.0f};
}

void CBaseObject::BindMaterialTexture(int material) {
    IDirect3DTexture8* texture = m_bDrawTexture ? m_pTextures[material].Get() : nullptr;
    m_pd3dDevice->SetTexture(0, texture);
    if (m_bFullTextureStageMode) {
        for (DWORD stage = 1; stage <= 3; ++stage) {
            m_pd3dDevice->SetTexture(stage, texture);
        }
    }
}

// One draw per material range; face ends outside the buffer are clamped to it.
void CBaseObject::DrawMaterials() {
    m_pd3dDevice->SetIndices(m_pIB.Get(), 0);
    m_pd3dDevice->SetMaterial(&m_Materials[0]);
    BindMaterialTexture(0);
    if (m_pEffectCubeTexture) {
        m_pd3dDevice->SetTexture(1, m_pEffectCubeTexture.Get());
        m_pd3dDevice->SetTexture(0, m_pEffectCubeTexture.Get());
    } else if (!m_bFullTextureStageMode) {
        m_pd3dDevice->SetTexture(1, m_pEffectTexture.Get());
    }
    const UINT vertices = static_cast<UINT>(m_iNumberVertices);
    const int faces = m_iNumberFaces;
    const int firstEnd = m_iNumberMaterials == 1 ? faces : std::clamp<int>(m_FaceEnds[0], 0, faces);
    if (firstEnd > 0) {
        m_pd3dDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertices, 0, static_cast<UINT>(firstEnd));
    }
    for (int material = 1; material < m_iNumberMaterials; ++material) {
        m_pd3dDevice->SetMaterial(&m_Materials[material]);
        BindMaterialTexture(material);
        const int start = std::clamp<int>(m_FaceEnds[material - 1], 0, m_iNumberFaces);
        const int end = std::clamp<int>(m_FaceEnds[material], start, m_iNumberFaces);
        if (end > start) {
            m_pd3dDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertices, static_cast<UINT>(3 * start),
                                               static_cast<UINT>(end - start));
        }
    }
}

void CBaseObject::RenderOnTexture(TextureBuffer buffer, bool clear) {
    PreRender();  // an object drawn into a texture first may not have a device yet
    if (m_pd3dDevice == nullptr || buffer.texture == nullptr) {
        return;
    }
    D3DVIEWPORT8 savedViewport{};
    CDeviceHandle<IDirect3DSurface8> savedTarget;
    CDeviceHandle<IDirect3DSurface8> savedDepth;
    CDeviceHandle<IDirect3DSurface8> level;
    D3DSURFACE_DESC description{};
    const bool ready = SUCCEEDED(m_pd3dDevice->GetViewport(&savedViewport)) &&
                       SUCCEEDED(m_pd3dDevice->GetRenderTarget(savedTarget.ReleaseAndGetAddressOf())) &&
                       SUCCEEDED(m_pd3dDevice->GetDepthStencilSurface(savedDepth.ReleaseAndGetAddressOf())) &&
                       SUCCEEDED(buffer.texture->GetLevelDesc(0, &description)) &&
                       SUCCEEDED(buffer.texture->GetSurfaceLevel(0, level.ReleaseAndGetAddressOf())) &&
                       SUCCEEDED(m_pd3dDevice->SetRenderTarget(level.Get(), buffer.surface));
    if (ready) {
        const D3DCOLORVALUE& diffuse = m_Materials[0].Diffuse;
        const D3DCOLOR background = (ColorByte(diffuse.r) << 16) | (ColorByte(diffuse.g) << 8) | ColorByte(diffuse.b);
        const DWORD flags = clear ? (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER) : D3DCLEAR_ZBUFFER;
        m_pd3dDevice->Clear(0, nullptr, flags, background, 1.0f, 0);
        const D3DVIEWPORT8 viewport{0, 0, description.Width, description.Height, 0.0f, 100.0f};
        m_pd3dDevice->SetViewport(&viewport);
        Render();
        m_pd3dDevice->SetRenderTarget(savedTarget.Get(), savedDepth.Get());
        m_pd3dDevice->SetViewport(&savedViewport);
    }
}

// ------------------------------------------------------------------ persistence

void CBaseObject::Save(CSceneFile& file) {
    file.WriteBool(m_bFlatShading);
    file.WriteBool(m_bDrawTexture);
    file.WriteBool(m_bSpecular);
    file.WriteBool(m_bOwnFieldOfView);
    file.WriteBool(m_bWriteOnTexture);
    m_Lighting.Save(file);
    m_FacingCamera.Save(file);
    file.WriteBool(m_bVisible);
    m_Culling.Save(file);
    m_Alpha.Save(file);
    m_Color.Save(file);
    m_FillMode.Save(file);
    file.WriteUInt(static_cast<unsigned int>(m_iNumberVertices));
    file.WriteUInt(static_cast<unsigned int>(m_iNumberFaces));
    file.WriteUInt(static_cast<unsigned int>(m_ProjectionMode));
    m_Position.Save(file);
    file.WriteVector(m_Pivot);
    m_Rotation.Save(file);
    file.WriteVector(m_DirectionTarget);
    file.WriteVector(m_DirectionOrigin);
    file.WriteVector(m_UpVector);
    file.WriteUInt(static_cast<unsigned int>(m_iNumberMaterials));
    for (int material = 0; material < m_iNumberMaterials; ++material) {
        file.WriteMaterial(m_Materials[material]);
        file.WriteFile(m_TextureNames[material]);
        file.WriteUInt(static_cast<unsigned int>(m_FaceEnds[material]));
    }
    m_Scale.Save(file);
    file.WriteFloat(m_fReferenceSize);
    CObjects::Save(file);
}

bool CBaseObject::Load(CSceneFile& file) {
    m_bFlatShading = file.ReadBool();
    m_bDrawTexture = file.ReadBool();
    m_bSpecular = file.ReadBool();
    m_bOwnFieldOfView = file.ReadBool();
    m_bWriteOnTexture = file.ReadBool();
    m_Lighting.Load(file);
    m_FacingCamera.Load(file);
    m_bVisible = file.ReadBool();
    m_Culling.Load(file);
    m_Alpha.Load(file);
    m_Color.Load(file);
    m_FillMode.Load(file);
    // The buffer sizes are stored for readers; the geometry is rebuilt by the
    // derived class, which sizes the buffers itself.
    file.ReadUInt();
    file.ReadUInt();
    m_ProjectionMode = static_cast<ProjectionMode>(file.ReadUInt());
    m_Position.Load(file);
    m_Pivot = file.ReadVector();
    m_Rotation.Load(file);
    m_DirectionTarget = file.ReadVector();
    m_DirectionOrigin = file.ReadVector();
    m_UpVector = file.ReadVector();
    // An own field of view is not stored: the projection is rebuilt at Init.
    if (m_bOwnFieldOfView) {
        D3DXMatrixPerspectiveFovLH(&m_PerspectiveProjection, D3DX_PI / 4.0f, 1.0f, 0.1f, 1000.0f);
    }
    const int materials = static_cast<int>(std::min(file.ReadCount(kMaterialRecordBytes), 65535u));
    SetNumberMaterials(materials);
    for (int material = 0; material < materials; ++material) {
        m_Materials[material] = file.ReadMaterial();
        m_TextureNames[material] = ReadTextureName(file);
        m_FaceEnds[material] = static_cast<int>(file.ReadUInt());
    }
    m_Scale.Load(file);
    m_fReferenceSize = file.ReadFloat();
    return CObjects::Load(file);
}

// A texture that cannot be found (plain scenes) leaves the material without
// a texture and loading goes on; damaged packed data is not recoverable.
CString CBaseObject::ReadTextureName(CSceneFile& file) {
    try {
        return file.ReadFile();
    } catch (const CSceneFileException&) {
        if (file.IsPacked()) {
            throw;
        }
        return CString();
    }
}
