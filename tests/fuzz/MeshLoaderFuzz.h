#pragma once
// Feeds arbitrary bytes to a mesh loader the way a scene load does: the bytes
// are a mesh file embedded in the scene file being read. Damaged data must be
// refused with a message, never crash or read outside the data.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "meshes/SMesh.h"
#include "platform/base/ErrorReport.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

// A packed scene file's embedded-file entry (name, size, bytes), followed by
// zeros so that no trailer is taken from the fuzzer's bytes.
std::vector<BYTE> EmbeddedFile(const char* name, const std::uint8_t* data, size_t size) {
    std::vector<BYTE> bytes;
    auto put32 = [&bytes](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
    };
    const size_t length = std::strlen(name);
    put32(static_cast<std::uint32_t>(length));
    bytes.insert(bytes.end(), name, name + length);
    put32(static_cast<std::uint32_t>(size));
    bytes.insert(bytes.end(), data, data + size);
    bytes.resize(bytes.size() + CSceneFile::kTrailerSize, 0);
    return bytes;
}

// Loads the bytes as the mesh file `name` embedded in a packed scene file
// and checks that everything a mesh object would copy lies inside the arrays.
template <class TLoader>
void FuzzMeshLoader(const char* name, const std::uint8_t* data, size_t size) {
    static const bool quiet = [] {
        SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) {});
        return true;
    }();
    (void)quiet;
    static CScene scene;
    CSceneFile sceneFile(scene, true, "");
    sceneFile.LoadData(EmbeddedFile(name, data, size));
    sceneFile.ReadFile();
    TLoader loader(&scene);
    loader.SetSceneFile(&sceneFile);
    std::unique_ptr<SMesh> mesh(loader.Load(name, nullptr));
    if (mesh == nullptr) {
        return;
    }
    for (std::uint32_t index : mesh->indices) {
        if (index >= mesh->vertices.size())
            __builtin_trap();
    }
    for (const SMeshMaterial& material : mesh->materials) {
        if (material.endFace > mesh->GetNumFaces())
            __builtin_trap();
    }
}

}  // namespace
