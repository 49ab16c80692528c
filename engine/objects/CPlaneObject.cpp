#include "objects/CPlaneObject.h"

#include <algorithm>
#include <cmath>

#include "core/CScreen.h"
#include "scene/CSceneFile.h"

namespace {

constexpr D3DCOLORVALUE kWhite{1.0f, 1.0f, 1.0f, 1.0f};

int ClampSubdivision(int cells) {
    return std::clamp(cells, 1, CPlaneObject::kMaxSubdivision);
}

}  // namespace

CPlaneObject::CPlaneObject() {
    m_HalfWidth.Insert(0.5f, 0.0f, -1);
    m_HalfHeight.Insert(0.5f, 0.0f, -1);
    SetColor(kWhite, 0);
    EnableCulling(false);
    SetProjectionMode(PM_SCREEN_OVERLAY);
    // Known from the start, so that a plane saved before its first render is
    // still stored under its type.
    m_Type = "CPlaneObject";
    m_Description = "Plane";
}

bool CPlaneObject::Init() {
    PreInit();
    m_iBuiltSubdivisionX = ClampSubdivision(m_iSubdivisionX);
    m_iBuiltSubdivisionY = ClampSubdivision(m_iSubdivisionY);
    SetNumberVertices((m_iBuiltSubdivisionX + 1) * (m_iBuiltSubdivisionY + 1));
    SetNumberFaces(2 * m_iBuiltSubdivisionX * m_iBuiltSubdivisionY);
    m_bFreshBuffer = true;
    CBaseObject::Init();
    Resize(m_bRebuildIndices, true);
    m_Type = "CPlaneObject";
    m_Description = "Plane";
    PostInit();
    return true;
}

void CPlaneObject::Render() {
    PreRender();
    const float halfWidth = m_HalfWidth.GetValue();
    const float halfHeight = m_HalfHeight.GetValue();
    if (halfWidth != m_fBuiltHalfWidth || halfHeight != m_fBuiltHalfHeight) {
        m_fBuiltHalfWidth = halfWidth;
        m_fBuiltHalfHeight = halfHeight;
        Resize(false, true);
    }
    if (m_iEffect >= 1 && m_iEffect <= 4) {
        waveEffect(m_iEffect - 1);
    }
    CBaseObject::Render();
}

// ------------------------------------------------------------------ size and grid

void CPlaneObject::SetSize(float width, float height) {
    const int key = GetCurrentKeyFrame();
    m_HalfWidth.Update(width / 2.0f, m_HalfWidth.GetPointTime(key), key);
    m_HalfHeight.Update(height / 2.0f, m_HalfHeight.GetPointTime(key), key);
}

void CPlaneObject::GetSize(float& width, float& height) const {
    const int key = GetCurrentKeyFrame();
    width = m_HalfWidth.GetPointValue(key) * 2.0f;
    height = m_HalfHeight.GetPointValue(key) * 2.0f;
}

void CPlaneObject::SetCurrentSize(float width, float height) {
    m_fBuiltHalfWidth = width / 2.0f;
    m_fBuiltHalfHeight = height / 2.0f;
    if (GetVB() != nullptr) {
        Resize(false, true);
    }
}

void CPlaneObject::SetSubdivision(int cellsX, int cellsY) {
    m_iSubdivisionX = cellsX;
    m_iSubdivisionY = cellsY;
}

void CPlaneObject::GetSubdivision(int& cellsX, int& cellsY) const {
    cellsX = m_iSubdivisionX;
    cellsY = m_iSubdivisionY;
}

void CPlaneObject::GetBuiltSubdivision(int& cellsX, int& cellsY) const {
    cellsX = m_iBuiltSubdivisionX;
    cellsY = m_iBuiltSubdivisionY;
}

void CPlaneObject::SetTextureOffset(float left, float top, float right, float bottom) {
    m_fTextureLeft = left;
    m_fTextureTop = top;
    m_fTextureRight = right;
    m_fTextureBottom = bottom;
}

void CPlaneObject::GetTextureOffset(float& left, float& top, float& right, float& bottom) const {
    left = m_fTextureLeft;
    top = m_fTextureTop;
    right = m_fTextureRight;
    bottom = m_fTextureBottom;
}

// True when the locked buffer holds the whole built grid.
bool CPlaneObject::HasGridBuffer(DWORD vertexCount) const {
    const int needed = (m_iBuiltSubdivisionX + 1) * (m_iBuiltSubdivisionY + 1);
    return m_iBuiltSubdivisionX >= 1 && m_iBuiltSubdivisionY >= 1 && static_cast<int>(vertexCount) >= needed;
}

void CPlaneObject::Resize(bool rebuildIndices, bool updateBounds) {
    DWORD count = 0;
    S3DVERTEX* vertices = LockVB(count);
    if (vertices == nullptr) {
        return;
    }
    if (!HasGridBuffer(count)) {
        UnlockVB(false, false);
        return;
    }
    const int cellsX = m_iBuiltSubdivisionX;
    const int cellsY = m_iBuiltSubdivisionY;
    const float halfWidth = m_fBuiltHalfWidth;
    const float halfHeight = m_fBuiltHalfHeight;
    const float cellWidth = 2.0f * halfWidth / static_cast<float>(cellsX);
    const float cellHeight = 2.0f * halfHeight / static_cast<float>(cellsY);
    for (int row = 0; row <= cellsY; ++row) {
        for (int column = 0; column <= cellsX; ++column) {
            S3DVERTEX* vertex = OffsetVertex(vertices, row * (cellsX + 1) + column);
            vertex->x = static_cast<float>(column) * cellWidth - halfWidth;
            vertex->y = halfHeight - static_cast<float>(row) * cellHeight;
            if (m_bFreshBuffer) {
                vertex->z = 0.0f;  // z belongs to the height map once written
            }
            vertex->nx = 0.0f;
            vertex->ny = 0.0f;
            vertex->nz = 1.0f;
        }
    }
    m_bFreshBuffer = false;
    WriteTextureCoordinates(vertices);
    if (rebuildIndices) {
        WriteIndices();
    }
    UnlockVB(m_bComputeNormalsOnResize, updateBounds);
    GeometryChanged();
}

void CPlaneObject::RefreshTextureCoordinates() {
    DWORD count = 0;
    S3DVERTEX* vertices = LockVB(count);
    if (vertices == nullptr) {
        return;
    }
    if (HasGridBuffer(count)) {
        WriteTextureCoordinates(vertices);
    }
    UnlockVB(false, false);
}

// The first pair spans the texture window across the grid; the second
// repeats the texture once per cell. The first pair is also kept as the
// rest position of the texture wave.
void CPlaneObject::WriteTextureCoordinates(S3DVERTEX* vertices) {
    const int cellsX = m_iBuiltSubdivisionX;
    const int cellsY = m_iBuiltSubdivisionY;
    const size_t tableSize = static_cast<size_t>((cellsX + 1) * (cellsY + 1));
    if (m_BaseU.size() != tableSize) {
        m_BaseU.assign(tableSize, 0.0f);
        m_BaseV.assign(tableSize, 0.0f);
    }
    const float stepU = (m_fTextureRight - m_fTextureLeft) / static_cast<float>(cellsX);
    const float stepV = (m_fTextureBottom - m_fTextureTop) / static_cast<float>(cellsY);
    for (int row = 0; row <= cellsY; ++row) {
        for (int column = 0; column <= cellsX; ++column) {
            const int n = row * (cellsX + 1) + column;
            S3DVERTEX* vertex = OffsetVertex(vertices, n);
            vertex->tu1 = m_fTextureLeft + static_cast<float>(column) * stepU;
            vertex->tv1 = m_fTextureTop + static_cast<float>(row) * stepV;
            vertex->tu2 = vertex->tu1 * static_cast<float>(cellsX);
            vertex->tv2 = vertex->tv1 * static_cast<float>(cellsY);
            m_BaseU[static_cast<size_t>(n)] = vertex->tu1;
            m_BaseV[static_cast<size_t>(n)] = vertex->tv1;
        }
    }
}

// Two triangles per cell: (a, a+1, b+1) and (a, b+1, b), with a the cell's
// top-left and b its bottom-left vertex.
void CPlaneObject::WriteIndices() {
    DWORD faces = 0;
    WORD* index = LockIB(faces);
    if (index == nullptr) {
        return;
    }
    const int cellsX = m_iBuiltSubdivisionX;
    const int cellsY = m_iBuiltSubdivisionY;
    if (static_cast<int>(faces) >= 2 * cellsX * cellsY) {
        for (int row = 0; row < cellsY; ++row) {
            for (int column = 0; column < cellsX; ++column) {
                const int a = row * (cellsX + 1) + column;
                const int b = (row + 1) * (cellsX + 1) + column;
                *index++ = static_cast<WORD>(a);
                *index++ = static_cast<WORD>(a + 1);
                *index++ = static_cast<WORD>(b + 1);
                *index++ = static_cast<WORD>(a);
                *index++ = static_cast<WORD>(b + 1);
                *index++ = static_cast<WORD>(b);
            }
        }
    }
    UnlockIB();
}

// ------------------------------------------------------------------ texture wave

void CPlaneObject::waveEffect(int variant) {
    DWORD count = 0;
    S3DVERTEX* vertices = LockVB(count);
    if (vertices == nullptr) {
        return;
    }
    const size_t tableSize = m_BaseU.size();
    if (!HasGridBuffer(count) ||
        tableSize != static_cast<size_t>((m_iBuiltSubdivisionX + 1) * (m_iBuiltSubdivisionY + 1))) {
        UnlockVB(false, false);
        return;
    }
    CScreen& screen = m_pScreen != nullptr ? *m_pScreen : CScreen::Instance();
    const float t = screen.GetTickCount();
    const float speed = m_fEffectSpeed;
    const float amplitude = m_fEffectAmplitude;
    const int cellsX = m_iBuiltSubdivisionX;
    for (int i = 1; i < m_iBuiltSubdivisionY; ++i) {
        for (int j = 1; j < cellsX; ++j) {
            const float row = static_cast<float>(i);
            const float column = static_cast<float>(j);
            float du = 0.0f;
            float dv = 0.0f;
            switch (variant) {
            case 0:
                du = amplitude * std::sin(1.1f * t * speed + row);
                dv = amplitude * std::sin(0.8f * t * speed + column + 1.0f);
                break;
            case 1:
                du = amplitude * std::sin(t * speed + row);
                break;
            case 2:
                dv = amplitude * std::sin(t * speed + column);
                break;
            case 3:
                du = amplitude * std::sin(1.1f * t * speed + row * column);
                dv = amplitude * std::sin(0.8f * t * speed + row + column + 1.0f);
                break;
            default:
                break;
            }
            const int n = i * (cellsX + 1) + j;
            S3DVERTEX* vertex = OffsetVertex(vertices, n);
            vertex->tu1 = m_BaseU[static_cast<size_t>(n)] + du;
            vertex->tv1 = m_BaseV[static_cast<size_t>(n)] + dv;
        }
    }
    UnlockVB(false, false);
}

// ------------------------------------------------------------------ keyframes

CKeyFrameCurves CPlaneObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_HalfWidth).Add(m_HalfHeight);
    return curves;
}

// ------------------------------------------------------------------ persistence

void CPlaneObject::Save(CSceneFile& file) {
    file.WriteUInt(static_cast<unsigned int>(m_iSubdivisionX));
    file.WriteUInt(static_cast<unsigned int>(m_iSubdivisionY));
    m_HalfWidth.Save(file);
    m_HalfHeight.Save(file);
    file.WriteFloat(m_fTextureLeft);
    file.WriteFloat(m_fTextureTop);
    file.WriteFloat(m_fTextureRight);
    file.WriteFloat(m_fTextureBottom);
    CBaseObject::Save(file);
}

bool CPlaneObject::Load(CSceneFile& file) {
    m_iSubdivisionX = static_cast<int>(file.ReadUInt());
    m_iSubdivisionY = static_cast<int>(file.ReadUInt());
    m_HalfWidth.Load(file);
    m_HalfHeight.Load(file);
    m_fTextureLeft = file.ReadFloat();
    m_fTextureTop = file.ReadFloat();
    m_fTextureRight = file.ReadFloat();
    m_fTextureBottom = file.ReadFloat();
    return CBaseObject::Load(file);
}
