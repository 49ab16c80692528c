// Load time of the engine's 3D Studio and LightWave loaders next to Assimp's
// importer (no post-processing) on the same files: the real files of
// Debian's assimp-testmodels (LightWave ones triangulated, since the loader
// takes triangles only) and a generated height field of about 60,000
// triangles in each format. Both read from the disk.

#include <benchmark/benchmark.h>

#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/common/LwoTriangulation.h"
#include "meshes/common/MeshFiles.h"
#include "platform/base/ErrorReport.h"
#include "support/CTempFolder.h"

namespace {

const std::filesystem::path kModels = "/usr/share/assimp/models";
constexpr int kGridQuads = 174;  // 174 x 174 quads = 60,552 triangles, 30,625 vertices

std::vector<BYTE> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The mesh files the benchmarks load, in a folder that goes when they end.
std::filesystem::path Save(const std::string& name, const std::vector<BYTE>& bytes) {
    static const CTempFolder folder;
    return folder.Write(name, bytes);
}

// A rolling height field: positions, texture coordinates and two triangles
// per grid cell.
struct SGrid {
    std::vector<float> positions;
    std::vector<float> texCoords;
    std::vector<std::uint16_t> triangles;
};

SGrid MakeGrid(int quads) {
    SGrid grid;
    for (int y = 0; y <= quads; ++y) {
        for (int x = 0; x <= quads; ++x) {
            const float height = 2.0f * std::sin(x * 0.15f) * std::cos(y * 0.11f);
            grid.positions.insert(grid.positions.end(), {static_cast<float>(x), static_cast<float>(y), height});
            grid.texCoords.insert(grid.texCoords.end(), {static_cast<float>(x) / quads, static_cast<float>(y) / quads});
        }
    }
    for (int y = 0; y < quads; ++y) {
        for (int x = 0; x < quads; ++x) {
            const auto a = static_cast<std::uint16_t>(y * (quads + 1) + x);
            const auto b = static_cast<std::uint16_t>(a + 1);
            const auto c = static_cast<std::uint16_t>(a + quads + 1);
            const auto d = static_cast<std::uint16_t>(c + 1);
            grid.triangles.insert(grid.triangles.end(), {a, b, d, a, d, c});
        }
    }
    return grid;
}

std::vector<BYTE> Grid3DS(const SGrid& grid) {
    meshfiles::S3DSObject object;
    object.name = "grid";
    object.positions = grid.positions;
    object.faces = grid.triangles;
    object.texCoords = grid.texCoords;
    object.material = "ground";
    return meshfiles::Make3DS({{"ground", 90, 160, 60, "ground.png"}}, {object});
}

std::vector<BYTE> GridLWO(const SGrid& grid) {
    return meshfiles::MakeLWO([&grid](CChunkWriter& w) {
        meshfiles::LwoTags(w, {"Ground"});
        meshfiles::LwoLayer(w);
        // LightWave is y-up: the height goes to y.
        std::vector<float> points;
        for (size_t i = 0; i < grid.positions.size(); i += 3) {
            points.insert(points.end(), {grid.positions[i], grid.positions[i + 2], grid.positions[i + 1]});
        }
        meshfiles::LwoPoints(w, points);
        std::vector<meshfiles::SLwoUv> uvs;
        for (size_t i = 0; i < grid.texCoords.size() / 2; ++i) {
            uvs.push_back({static_cast<std::uint16_t>(i), grid.texCoords[i * 2], grid.texCoords[i * 2 + 1]});
        }
        meshfiles::LwoUvMap(w, uvs);
        std::vector<std::vector<std::uint16_t>> polygons;
        for (size_t i = 0; i < grid.triangles.size(); i += 3) {
            polygons.push_back({grid.triangles[i], grid.triangles[i + 1], grid.triangles[i + 2]});
        }
        meshfiles::LwoPolygons(w, polygons);
        meshfiles::LwoPolygonTags(w, std::vector<std::uint16_t>(polygons.size(), 0));
        meshfiles::LwoSurface(w, "Ground", 0.35f, 0.6f, 0.25f);
    });
}

template <class Loader>
void OurLoader(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        Loader loader;
        std::unique_ptr<SMesh> mesh(loader.Load(path, nullptr));
        if (mesh == nullptr) {
            state.SkipWithError("the loader refused the file");
            return;
        }
        benchmark::DoNotOptimize(mesh->indices.data());
    }
}

void AssimpImporter(benchmark::State& state, const std::string& path) {
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFile(path, 0);
        if (scene == nullptr) {
            state.SkipWithError(importer.GetErrorString());
            return;
        }
        benchmark::DoNotOptimize(scene->mMeshes);
    }
}

template <class Loader>
void RegisterPair(const std::string& label, const std::filesystem::path& path) {
    // Only files our loader takes are compared.
    std::unique_ptr<SMesh> mesh(Loader().Load(path.string(), nullptr));
    if (mesh == nullptr) {
        return;
    }
    benchmark::RegisterBenchmark(("ours/" + label).c_str(), OurLoader<Loader>, path.string());
    benchmark::RegisterBenchmark(("assimp/" + label).c_str(), AssimpImporter, path.string());
}

void RegisterAll() {
    const SGrid grid = MakeGrid(kGridQuads);
    RegisterPair<C3DSMeshLoader>("3ds/generated_60k_triangles", Save("grid.3ds", Grid3DS(grid)));
    RegisterPair<CLWOMeshLoader>("lwo/generated_60k_triangles", Save("grid.lwo", GridLWO(grid)));
    if (!std::filesystem::is_directory(kModels)) {
        return;
    }
    for (const char* name : {"fels.3ds", "test1.3ds", "cubes_with_alpha.3DS", "cube_with_diffuse_texture.3DS"}) {
        RegisterPair<C3DSMeshLoader>(std::string("3ds/") + name, kModels / "3DS" / name);
    }
    for (const char* name : {"MappingModes/earth_spherical_y.lwo", "transparency.lwo", "sphere_with_gradient.lwo",
                             "shader_test/CellShader.lwo", "boxuv.lwo"}) {
        const std::filesystem::path source = kModels / "LWO" / "LWO2" / name;
        if (std::filesystem::exists(source)) {
            const std::string file = std::filesystem::path(name).filename().string();
            RegisterPair<CLWOMeshLoader>("lwo/" + file + " (triangulated)",
                                         Save("tri_" + file, meshfiles::TriangulatedLwo(ReadBytes(source))));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) {});
    benchmark::Initialize(&argc, argv);
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
