// Load time of the engine's ".x" reader (D3DXLoadMeshFromX) next to Assimp's
// importer doing the same work (triangles, shared identical vertices, the
// file's own conventions) on every ".x" file of Debian's assimp-testmodels.
// Both read from the disk.

#include <benchmark/benchmark.h>

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/d3dxmesh/d3dx8mesh.h"

namespace {

const std::filesystem::path kXModels = "/usr/share/assimp/models/X";

void OurXReader(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        ID3DXMesh* mesh = nullptr;
        if (FAILED(D3DXLoadMeshFromX(path.c_str(), D3DXMESH_32BIT, nullptr, nullptr, nullptr, nullptr, &mesh))) {
            state.SkipWithError("the reader refused the file");
            return;
        }
        benchmark::DoNotOptimize(mesh);
        mesh->Release();
    }
}

void AssimpXImporter(benchmark::State& state, const std::string& path) {
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFile(
            path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_ConvertToLeftHanded);
        if (scene == nullptr) {
            state.SkipWithError(importer.GetErrorString());
            return;
        }
        benchmark::DoNotOptimize(scene->mMeshes);
    }
}

bool IsXFile(const std::filesystem::path& path) {
    char magic[4] = {};
    return std::ifstream(path, std::ios::binary).read(magic, 4) && std::memcmp(magic, "xof ", 4) == 0;
}

// Registered before main runs, beside the other loaders' pairs.
const bool kRegistered = [] {
    if (!std::filesystem::is_directory(kXModels)) {
        return false;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kXModels)) {
        if (entry.is_regular_file() && IsXFile(entry.path())) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        ID3DXMesh* mesh = nullptr;
        if (FAILED(D3DXLoadMeshFromX(path.c_str(), D3DXMESH_32BIT, nullptr, nullptr, nullptr, nullptr, &mesh))) {
            continue;  // only files both read are compared
        }
        mesh->Release();
        const std::string label = "x/" + path.filename().string();
        benchmark::RegisterBenchmark(("ours/" + label).c_str(), OurXReader, path.string());
        benchmark::RegisterBenchmark(("assimp/" + label).c_str(), AssimpXImporter, path.string());
    }
    return true;
}();

}  // namespace
