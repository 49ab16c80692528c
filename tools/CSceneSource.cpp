#include "CSceneSource.h"

#include "CRunDirectory.h"
#include "scene/CScene.h"

bool CSceneSource::Open(const std::string& path, std::string& error) {
    m_Path = CRunDirectory::Absolute(path);
    std::string reason;
    const TProbeResult result = CSceneFileProbe::Probe(m_Path, m_Info, reason);
    if (result == TProbeResult::Scene)
        return true;
    error = CSceneFileProbe::Describe(result, path, reason);
    return false;
}

bool CSceneSource::LoadInto(CScene& scene) const {
    return scene.Load(m_Path, m_Info.packed);
}
