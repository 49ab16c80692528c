#include "objects/CLensFlare.h"

#include <algorithm>
#include <cmath>

#include "core/CScreen.h"
#include "objects/CBaseObject.h"
#include "platform/d3dxtex/d3dx8tex.h"

namespace {

// A pre-transformed, coloured, textured vertex: 28 bytes.
struct SFlareVertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
static_assert(sizeof(SFlareVertex) == 28, "a flare vertex is 28 bytes");

constexpr DWORD kFlareFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
static_assert(kFlareFvf == 0x144, "the flare's vertex format");
constexpr int kVerticesPerSpot = 6;
constexpr UINT kBytesPerSpot = kVerticesPerSpot * sizeof(SFlareVertex);  // 168

// Truncates towards zero like a cast, but keeps a light at the camera's own
// plane (a division by a w of about 0) from overflowing the integer.
int Truncate(float value) {
    constexpr float kLimit = 1.0e8f;
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// How far a coordinate lies outside 0 .. size.
int Outside(int coordinate, int size) {
    if (coordinate < 0) {
        return -coordinate;
    }
    if (coordinate > size) {
        return coordinate - size;
    }
    return 0;
}

// Two triangles covering the square of half-size `half` around (px, py).
void WriteSquare(SFlareVertex* vertex, int px, int py, int half, D3DCOLOR color) {
    const float left = static_cast<float>(px - half);
    const float right = static_cast<float>(px + half);
    const float top = static_cast<float>(py - half);
    const float bottom = static_cast<float>(py + half);
    const SFlareVertex topLeft{left, top, 0.0f, 1.0f, color, 0.0f, 0.0f};
    const SFlareVertex topRight{right, top, 0.0f, 1.0f, color, 1.0f, 0.0f};
    const SFlareVertex bottomRight{right, bottom, 0.0f, 1.0f, color, 1.0f, 1.0f};
    const SFlareVertex bottomLeft{left, bottom, 0.0f, 1.0f, color, 0.0f, 1.0f};
    vertex[0] = topLeft;
    vertex[1] = topRight;
    vertex[2] = bottomRight;
    vertex[3] = topLeft;
    vertex[4] = bottomRight;
    vertex[5] = bottomLeft;
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    D3DXVECTOR3 result;
    D3DXVec3Cross(&result, &a, &b);
    return result;
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVec3Dot(&a, &b);
}

}  // namespace

CLensFlare::CLensFlare() {
    m_Type = "CLensFlare";
    m_Description = "Lens flare";
}

CLensFlare::~CLensFlare() = default;

CScreen& CLensFlare::Screen() const {
    return m_pScreen != nullptr ? *m_pScreen : CScreen::Instance();
}

bool CLensFlare::Init() {
    PreInit();
    CObjects::Init();
    m_Type = "CLensFlare";
    m_Description = "Lens flare";
    RecreateVB();
    m_iScreenWidth = m_pScreen->GetXResolution();
    m_iScreenHeight = m_pScreen->GetYResolution();
    return true;
}

void CLensFlare::CleanUp() {
    DeleteTextures();
    DeleteSpots();
    m_pVB.Reset();
    CObjects::CleanUp();
}

// ------------------------------------------------------------------ textures and spots

void CLensFlare::AddTexture(const char* file) {
    if (m_pd3dDevice == nullptr) {
        PreInit();  // textures may come before Init, once the screen has a device
    }
    IDirect3DTexture8* texture = nullptr;
    if (m_pd3dDevice == nullptr || file == nullptr ||
        FAILED(D3DXCreateTextureFromFileA(m_pd3dDevice, file, &texture)) || texture == nullptr) {
        return;
    }
    m_Textures.emplace_back(texture);
}

void CLensFlare::DeleteTextures() {
    m_Textures.clear();
}

void CLensFlare::AddSpot(unsigned int texture, float size, float linePos, D3DXCOLOR color) {
    m_Spots.emplace_back(texture, size, linePos, color);
    m_iVBSize = static_cast<int>(m_Spots.size());
    RecreateVB();
}

void CLensFlare::DeleteSpots() {
    m_Spots.clear();
    m_iVBSize = 0;
    RecreateVB();
}

// Without a device (before Init) the buffer waits for Init.
void CLensFlare::RecreateVB() {
    m_pVB.Reset();
    if (m_iVBSize <= 0 || m_pd3dDevice == nullptr) {
        return;
    }
    IDirect3DVertexBuffer8* buffer = nullptr;
    const UINT length = static_cast<UINT>(m_iVBSize) * kBytesPerSpot;
    if (SUCCEEDED(m_pd3dDevice->CreateVertexBuffer(length, 0, kFlareFvf, D3DPOOL_MANAGED, &buffer))) {
        m_pVB.Reset(buffer);
    }
}

// ------------------------------------------------------------------ drawing

void CLensFlare::Render() {
    PreRender();
    if (IsLensFlareObscured()) {
        return;
    }
    int x = 0;
    int y = 0;
    int w = 0;
    CalcLightSourceScreenCoords(m_vLightPos, m_iScreenWidth, m_iScreenHeight, x, y, w);
    if (w >= 0) {
        Render(x, y, m_iScreenWidth, m_iScreenHeight, false);
    }
}

// view x projection x viewport, with the viewport's halves in whole pixels.
void CLensFlare::CalcLightSourceScreenCoords(const D3DXVECTOR3& position, int width, int height, int& x, int& y,
                                             int& w) const {
    const float halfWidth = static_cast<float>(width / 2);
    const float halfHeight = static_cast<float>(height / 2);
    D3DXMATRIX viewport;
    viewport._11 = halfWidth;
    viewport._22 = -halfHeight;
    viewport._33 = 1.0f;
    viewport._44 = 1.0f;
    viewport._41 = halfWidth;
    viewport._42 = halfHeight;
    const D3DXMATRIX toScreen = Screen().GetViewMatrix() * Screen().GetProjMatrix() * viewport;
    D3DXVECTOR4 projected;
    D3DXVec3Transform(&projected, &position, &toScreen);
    x = Truncate(projected.x / projected.w);
    y = Truncate(projected.y / projected.w);
    w = Truncate(projected.w);
}

float CLensFlare::IntensityAt(int x, int y, int width, int height) const {
    const float border = m_fIntensityBorder;
    const float outside = std::min(static_cast<float>(std::max(Outside(x, width), Outside(y, height))), border);
    const float fade = border > 0.0f ? outside / border : 0.0f;
    return std::fabs(m_Intensity.m_Max - m_Intensity.m_Min) * (1.0f - fade) + m_Intensity.m_Min;
}

void CLensFlare::Render(int x, int y, int width, int height, bool firstOnly) {
    if (!m_pVB || m_pd3dDevice == nullptr) {
        return;
    }
    const float intensity = IntensityAt(x, y, width, height);
    BYTE* data = nullptr;
    if (FAILED(m_pVB->Lock(0, static_cast<UINT>(m_iVBSize) * kBytesPerSpot, &data, 0)) || data == nullptr) {
        return;
    }
    auto* vertices = reinterpret_cast<SFlareVertex*>(data);
    const int spots = std::min(static_cast<int>(m_Spots.size()), m_iVBSize);
    const int centreX = width / 2;
    const int centreY = height / 2;
    for (int i = 0; i < spots; ++i) {
        const CLensFlareSpot& spot = m_Spots[static_cast<size_t>(i)];
        // Line position 0 is the centre, 1 the light.
        const int px = Truncate(static_cast<float>(centreX) - spot.GetLinePos() * static_cast<float>(centreX - x));
        const int py = Truncate(static_cast<float>(centreY) - spot.GetLinePos() * static_cast<float>(centreY - y));
        const int half = Truncate(spot.GetSize() * static_cast<float>(width) * 0.5f);
        D3DXCOLOR color = spot.GetColor();
        color.a = (firstOnly && i > 0) ? 0.0f : std::clamp(color.a * intensity, 0.0f, 1.0f);
        WriteSquare(vertices + static_cast<ptrdiff_t>(i) * kVerticesPerSpot, px, py, half, color);
    }
    m_pVB->Unlock();

    SetRenderStates();
    m_pd3dDevice->SetStreamSource(0, m_pVB.Get(), sizeof(SFlareVertex));
    m_pd3dDevice->SetVertexShader(kFlareFvf);
    m_pd3dDevice->SetPixelShader(0);  // not an effect's, left bound by the object drawn before
    for (int i = 0; i < spots; ++i) {
        const unsigned int index = m_Spots[static_cast<size_t>(i)].GetTextureIndex();
        IDirect3DTexture8* texture = index < m_Textures.size() ? m_Textures[index].Get() : nullptr;
        m_pd3dDevice->SetTexture(0, texture);
        m_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLELIST, static_cast<UINT>(i * kVerticesPerSpot), 2);
    }
}

// Additive: each spot adds its colour, weighted by its alpha, to the scene.
// The states stay set afterwards.
void CLensFlare::SetRenderStates() {
    m_pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
}

// ------------------------------------------------------------------ occlusion

bool CLensFlare::IsLensFlareObscured() {
    if (m_pObjectToObscur == nullptr) {
        return false;
    }
    int x = 0;
    int y = 0;
    int w = 0;
    CalcLightSourceScreenCoords(m_vLightPos, m_iScreenWidth, m_iScreenHeight, x, y, w);
    return NumObjectsAtPoint(x, y) > 0;
}

// The pick ray through a pixel against the occluder's triangles, placed at
// the occluder's position. The buffers go back unchanged.
int CLensFlare::NumObjectsAtPoint(int x, int y) {
    if (m_pObjectToObscur == nullptr || m_iScreenWidth <= 0 || m_iScreenHeight <= 0) {
        return 0;
    }
    const D3DXMATRIX projection = Screen().GetProjMatrix();
    const float vx = (2.0f * static_cast<float>(x) / static_cast<float>(m_iScreenWidth) - 1.0f) / projection._11;
    const float vy = -(2.0f * static_cast<float>(y) / static_cast<float>(m_iScreenHeight) - 1.0f) / projection._22;
    const D3DXMATRIX view = Screen().GetViewMatrix();
    D3DXMATRIX m;
    if (D3DXMatrixInverse(&m, nullptr, &view) == nullptr) {
        return 0;
    }
    m_vPickRayDir =
        D3DXVECTOR3(vx * m._11 + vy * m._21 + m._31, vx * m._12 + vy * m._22 + m._32, vx * m._13 + vy * m._23 + m._33);
    const D3DXVECTOR3 origin(m._41, m._42, m._43);

    CBaseObject& object = *m_pObjectToObscur;
    DWORD vertexCount = 0;
    S3DVERTEX* vertices = object.LockVB(vertexCount);
    if (vertices == nullptr) {
        return 0;
    }
    DWORD faceCount = 0;
    const WORD* indices = object.LockIB(faceCount);
    if (indices == nullptr) {
        object.UnlockVB(false, false);
        return 0;
    }
    const D3DXVECTOR3 offset = object.GetPosition();
    auto corner = [&](WORD index) {
        const S3DVERTEX* vertex = object.OffsetVertex(vertices, index);
        return D3DXVECTOR3(vertex->x, vertex->y, vertex->z) + offset;
    };
    int hits = 0;
    for (DWORD face = 0; face < faceCount; ++face) {
        const WORD* triangle = indices + static_cast<ptrdiff_t>(face) * 3;
        if (triangle[0] >= vertexCount || triangle[1] >= vertexCount || triangle[2] >= vertexCount) {
            continue;
        }
        float t = 0.0f;
        float u = 0.0f;
        float v = 0.0f;
        if (DoesRayIntersectTriangle(origin, m_vPickRayDir, corner(triangle[0]), corner(triangle[1]),
                                     corner(triangle[2]), t, u, v)) {
            ++hits;
        }
    }
    object.UnlockIB();
    object.UnlockVB(false, false);
    return hits;
}

bool CLensFlare::DoesRayIntersectTriangle(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction,
                                          const D3DXVECTOR3& v0, const D3DXVECTOR3& v1, const D3DXVECTOR3& v2, float& t,
                                          float& u, float& v) {
    constexpr float kMinDeterminant = 0.0001f;
    const D3DXVECTOR3 edge1 = v1 - v0;
    const D3DXVECTOR3 edge2 = v2 - v0;
    const D3DXVECTOR3 p = Cross(direction, edge2);
    const float det = Dot(edge1, p);
    if (det < kMinDeterminant) {
        return false;  // parallel, or the back of the triangle
    }
    const D3DXVECTOR3 s = origin - v0;
    u = Dot(s, p);
    if (u < 0.0f || u > det) {
        return false;
    }
    const D3DXVECTOR3 q = Cross(s, edge1);
    v = Dot(direction, q);
    if (v < 0.0f || u + v > det) {
        return false;
    }
    t = Dot(edge2, q) / det;
    u /= det;
    v /= det;
    return true;
}
