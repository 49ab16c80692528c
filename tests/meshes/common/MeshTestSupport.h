#pragma once
// Helpers shared by the mesh tests: scene files that carry mesh files, and
// reading an SMesh back in handy forms.

#include <memory>
#include <string>
#include <vector>

#include "meshes/SMesh.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace meshtest {

// A scene file being read that has the files at these paths among its
// embedded files: packed (the bytes travel in the scene file) or plain (the
// reader fetched them from the disk while reading).
inline std::unique_ptr<CSceneFile> SceneFileWith(CScene& scene, bool packed, const std::vector<std::string>& paths) {
    CSceneFile written(scene, packed, "");
    for (const std::string& path : paths) {
        written.WriteFile(path);
    }
    auto reading = std::make_unique<CSceneFile>(scene, packed, "");
    reading->LoadData(written.GetData());
    for (size_t i = 0; i < paths.size(); ++i) {
        reading->ReadFile();
    }
    return reading;
}

struct SVec3 {
    float x, y, z;
    bool operator==(const SVec3&) const = default;
};

inline SVec3 PositionOf(const SMesh& mesh, std::uint32_t vertex) {
    const SMeshVertex& v = mesh.vertices.at(vertex);
    return {v.x, v.y, v.z};
}

inline std::vector<std::uint32_t> Face(const SMesh& mesh, std::uint32_t face) {
    return {mesh.indices.at(face * 3), mesh.indices.at(face * 3 + 1), mesh.indices.at(face * 3 + 2)};
}

inline std::vector<std::uint32_t> EndFaces(const SMesh& mesh) {
    std::vector<std::uint32_t> ends;
    for (const SMeshMaterial& m : mesh.materials)
        ends.push_back(m.endFace);
    return ends;
}

}  // namespace meshtest
