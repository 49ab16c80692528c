#include "CSceneSource.h"

#include <filesystem>

#include "CRunDirectory.h"
#include "scene/CScene.h"

bool CSceneSource::Open(const std::string& path, std::string& error) {
    m_Path = CRunDirectory::Absolute(path);
    // A folder opens for reading and only fails at the first read, which
    // would call it a foreign file.
    std::error_code ignored;
    if (std::filesystem::is_directory(m_Path, ignored)) {
        error = "\"" + path + "\" is a directory";
        return false;
    }
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
