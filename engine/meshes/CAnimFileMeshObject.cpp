#include "meshes/CAnimFileMeshObject.h"

#include <algorithm>
#include <cmath>

#include "meshes/CMeshBufferFiller.h"
#include "meshes/CMeshLoader.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

CAnimFileMeshObject::CAnimFileMeshObject() {
    // Known from the start, also while no mesh is loaded (the editor picks
    // the object's pages by its type).
    m_Type = "CAnimFileMeshObject";
    m_Description = "Animated Mesh";
    m_FramePosition.SetMode(IM_LINEAR);
    m_FramePosition.Insert(0.0f, 0.0f, -1);
}

CAnimFileMeshObject::~CAnimFileMeshObject() = default;

bool CAnimFileMeshObject::Init() {
    PreInit();
    return CreateMesh();
}

bool CAnimFileMeshObject::CreateMesh() {
    if (m_Meshes.empty() || !m_Meshes.front()) {
        return false;
    }
    const SMesh& first = *m_Meshes.front();
    CMeshBufferFiller::SetMaterialsAndSizes(*this, first, false);
    CBaseObject::Init();
    CMeshBufferFiller::CopyGeometry(*this, first, false);
    m_Type = "CAnimFileMeshObject";
    m_Description = "Animated Mesh";
    return true;
}

void CAnimFileMeshObject::Render() {
    PreRender();
    Move();
    CBaseObject::Render();
}

bool CAnimFileMeshObject::SetFilenames(const std::vector<CString>& fileNames) {
    m_FileNames = fileNames;
    return LoadMeshes();
}

// Every file with a loader's extension, in order; each loaded with the first
// mesh as reference (so that all frames split their vertices alike). Names
// of other extensions are skipped; a file that does not load ends the list.
bool CAnimFileMeshObject::LoadMeshes() {
    FreeMeshes();
    m_Meshes.resize(m_FileNames.size());
    SMesh* reference = nullptr;
    for (size_t i = 0; i < m_FileNames.size(); ++i) {
        std::unique_ptr<CMeshLoader> loader = CMeshLoader::Create(m_FileNames[i], m_pScene);
        if (!loader) {
            continue;
        }
        std::unique_ptr<SMesh> mesh = loader->Load(m_FileNames[i], reference);
        if (!mesh) {
            return false;
        }
        m_SharedVertexCount = std::min(m_SharedVertexCount, mesh->GetNumVertices());
        m_Meshes[i] = std::move(mesh);
        reference = reference != nullptr ? reference : m_Meshes[i].get();
        ++m_LoadedCount;
    }
    return true;
}

void CAnimFileMeshObject::FreeMeshes() {
    m_Meshes.clear();
    m_LoadedCount = 0;
    m_SharedVertexCount = ~0u;
    m_CurrentFrame = 0;
}

void CAnimFileMeshObject::Move() {
    ShowFrame(m_FramePosition.GetValue());
}

// Frame position f = k + a: the mesh k mod (N - 1) blended towards the next
// one by a, N being the number of loaded meshes. A single mesh is shown as
// it is.
void CAnimFileMeshObject::ShowFrame(float framePosition) {
    if (m_LoadedCount == 0 || m_Meshes.empty()) {
        return;
    }
    const float position = std::isfinite(framePosition) ? std::max(0.0f, framePosition) : 0.0f;
    const double whole = std::floor(static_cast<double>(position));
    const float blend = position - static_cast<float>(whole);
    const unsigned long long k = static_cast<unsigned long long>(whole);
    const unsigned long long cycle = m_LoadedCount > 1 ? m_LoadedCount - 1 : 1;
    const size_t current = static_cast<size_t>(k % cycle);
    const size_t next = static_cast<size_t>((k + 1) % cycle);
    m_CurrentFrame = static_cast<unsigned int>(current);
    if (current >= m_Meshes.size() || !m_Meshes[current]) {
        return;  // a skipped file: the vertices stay as they are
    }
    const SMesh& from = *m_Meshes[current];
    const SMesh& to = next < m_Meshes.size() && m_Meshes[next] ? *m_Meshes[next] : from;

    DWORD count = 0;
    S3DVERTEX* vertex = LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    const size_t shared = std::min<size_t>(
        {m_SharedVertexCount, from.vertices.size(), to.vertices.size(), static_cast<size_t>(GetNumberVertices())});
    for (size_t i = 0; i < shared; ++i) {
        const SMeshVertex& a = from.vertices[i];
        const SMeshVertex& b = to.vertices[i];
        vertex->x = (1.0f - blend) * a.x + blend * b.x;
        vertex->y = (1.0f - blend) * a.y + blend * b.y;
        vertex->z = (1.0f - blend) * a.z + blend * b.z;
        IncVertex(vertex);
    }
    UnlockVB(false, true);
}

void CAnimFileMeshObject::SetSpeed(float framePosition) {
    const int key = GetCurrentKeyFrame();
    m_FramePosition.Update(framePosition, m_FramePosition.GetPointTime(key), key);
}

float CAnimFileMeshObject::GetSpeed() const {
    return m_FramePosition.GetPointValue(GetCurrentKeyFrame());
}

CKeyFrameCurves CAnimFileMeshObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_FramePosition);
    return curves;
}

void CAnimFileMeshObject::Save(CSceneFile& file) {
    m_FramePosition.Save(file);
    file.WriteUInt(static_cast<unsigned int>(m_FileNames.size()));
    for (const CString& name : m_FileNames) {
        file.WriteFile(name);
    }
    CBaseObject::Save(file);
}

bool CAnimFileMeshObject::Load(CSceneFile& file) {
    try {
        m_FramePosition.Load(file);
        const unsigned int count = file.ReadCount(4);
        for (unsigned int i = 0; i < count; ++i) {
            m_FileNames.push_back(file.ReadFile());
        }
    } catch (const CSceneFileException&) {
        return false;
    }
    LoadMeshes();
    return CBaseObject::Load(file);
}
