#pragma once
// A scene named on the tool's command line: made absolute, probed (plain
// scene file or package) and, for the commands that need the objects,
// loaded. Loading needs no device: textures stay names until a device
// exists.

#include <string>

#include "CSceneFileProbe.h"

class CScene;

class CSceneSource {
public:
    // Probes the file; false with a message for the user in error.
    bool Open(const std::string& path, std::string& error);
    // CScene::Load in the mode the probe found; the reader reports problems
    // through the error hook.
    bool LoadInto(CScene& scene) const;

    const std::string& Path() const { return m_Path; }
    const SSceneFileInfo& Info() const { return m_Info; }

private:
    std::string m_Path;
    SSceneFileInfo m_Info;
};
