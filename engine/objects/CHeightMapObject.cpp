#include "objects/CHeightMapObject.h"

#include <algorithm>
#include <fstream>

#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kTerrainSize = 100.0f;

}  // namespace

CHeightMapObject::CHeightMapObject() {
    EnableCulling(true);
    SetRotation(0.0f, kHalfPi, 0.0f);
    // The grid carries heights: its rebuilds keep the normals following them.
    SetComputeNormalsOnResize(true);
    m_Type = "CHeightMapObject";
    m_Description = "Height Map";
}

bool CHeightMapObject::Init() {
    PreInit();
    SetProjectionMode(PM_PERSPECTIVE);
    SetSubdivision(kSamplesPerRow - 1, kSamplesPerRow - 1);
    CPlaneObject::Init();
    CreateHM();
    m_Type = "CHeightMapObject";
    m_Description = "Height Map";
    return true;
}

void CHeightMapObject::PostInit() {
    SetSize(kTerrainSize, kTerrainSize);
}

void CHeightMapObject::SetHeightMapFilename(const CString& name) {
    m_HeightMapFilename = name;
    CreateHM();
}

void CHeightMapObject::SetMaxAmplitude(float amplitude) {
    m_fMaxAmplitude = amplitude;
    CreateHM();
}

// The samples of the height file: from the scene file being loaded when it
// carries the file, else from disk. A short file leaves the missing samples
// at 0; only the first 10,000 bytes count.
bool CHeightMapObject::ReadSamples(std::vector<BYTE>& samples) const {
    samples.assign(kSamples, 0);
    CSceneFile* sceneFile = m_pScene != nullptr ? m_pScene->GetSceneFile() : nullptr;
    if (sceneFile != nullptr) {
        BYTE* data = nullptr;
        const int size = sceneFile->GetFile(m_HeightMapFilename, data);
        if (size > 0 && data != nullptr) {
            std::copy_n(data, std::min(size, kSamples), samples.begin());
            return true;
        }
    }
    std::ifstream file(m_HeightMapFilename, std::ios::binary);
    if (!file) {
        return false;
    }
    file.read(reinterpret_cast<char*>(samples.data()), kSamples);
    return true;
}

void CHeightMapObject::CreateHM() {
    if (m_HeightMapFilename.empty()) {
        return;
    }
    std::vector<BYTE> samples;
    if (ReadSamples(samples)) {
        m_Samples = std::move(samples);
    }
    if (m_Samples.empty()) {
        return;  // nothing was ever read: the heights stay as they are
    }
    DWORD count = 0;
    S3DVERTEX* vertices = LockVB(count);
    if (vertices == nullptr) {
        return;
    }
    const float amplitude = m_fMaxAmplitude;
    const int heights = std::min(static_cast<int>(count), kSamples);
    for (int k = 0; k < heights; ++k) {
        const float sample = static_cast<float>(m_Samples[static_cast<size_t>(k)]);
        OffsetVertex(vertices, k)->z = (256.0f - sample) * (1.0f / 256.0f) * amplitude - amplitude;
    }
    UnlockVB(true, true);
}

void CHeightMapObject::Save(CSceneFile& file) {
    file.WriteFloat(m_fMaxAmplitude);
    file.WriteFile(m_HeightMapFilename);
    CPlaneObject::Save(file);
}

// A height file missing from a plain scene's folders leaves the terrain
// without heights and loading goes on, as textures do; damaged packed data
// is not recoverable.
bool CHeightMapObject::Load(CSceneFile& file) {
    m_fMaxAmplitude = file.ReadFloat();
    try {
        m_HeightMapFilename = file.ReadFile();
    } catch (const CSceneFileException&) {
        if (file.IsPacked()) {
            throw;
        }
        m_HeightMapFilename = "";
    }
    m_Samples.clear();
    return CPlaneObject::Load(file);
}
