// Real files made by many tools (Debian's assimp-testmodels, read where the
// package installs them): every 3D Studio file either loads or is refused
// with the message for the construct it uses, and what loads agrees with
// Assimp's own import of the same file. Broken files are refused. (The
// LightWave files have tests of their own in meshes/lightwave.)

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <tuple>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/common/AssimpTestModels.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

namespace {

using namespace testmodels;

// What the loaders say when they refuse a construct of the format.
const std::set<std::string> kConstructMessages = {
    "Unable to load the mesh: This mesh contains faces with more than 3 points. Please triangulate your object "
    "before importing.",
    "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, metaballs or "
    "subdivision patches",
    "This loader does not support multi layer objects, please flatten your objet before loading.",
    "Loader does only support UV texture mapping no weight map or subpatches. Loading aborted.",
    "Loader found another tag then SURF after PTAG tag. File cannot be loaded.",
    "This loader supports only 256 textures... please reduce the number of textures of the model.",
    "This loader supports only still image texture. it does not support animation as texture",
    "Found another tag then COLR after SURF tag. Loading failed.",
    "This 3DS file is over version 3 so it may load incorrectly",
};

// Files with the extension below `folder`, leaving out the package's broken ones.
std::vector<std::filesystem::path> FilesWithExtension(const std::filesystem::path& folder, const std::string& ext) {
    return FilesBelow(folder, [&](const std::filesystem::path& path) {
        return LowerExtension(path) == ext && path.string().find("/invalid/") == std::string::npos;
    });
}

// Triangles as the three corners' position and texture coordinates.
struct SCorner {
    float x, y, z, u, v;
};

struct SSummary {
    size_t faces = 0;
    float min[3] = {INFINITY, INFINITY, INFINITY};
    float max[3] = {-INFINITY, -INFINITY, -INFINITY};
    std::vector<SCorner> corners;

    void Add(const SCorner& c) {
        const float p[3] = {c.x, c.y, c.z};
        for (int i = 0; i < 3; ++i) {
            min[i] = std::min(min[i], p[i]);
            max[i] = std::max(max[i], p[i]);
        }
        corners.push_back(c);
    }
    float Size() const { return std::max({max[0] - min[0], max[1] - min[1], max[2] - min[2], 1e-6f}); }
    // Distinct corners (position and texture coordinates) on a grid fine
    // enough to tell the file's vertices apart.
    size_t DistinctCorners(float cell, bool withTexCoords) const {
        std::set<std::tuple<long, long, long, long, long>> seen;
        for (const SCorner& c : corners) {
            seen.emplace(std::lround(c.x / cell), std::lround(c.y / cell), std::lround(c.z / cell),
                         withTexCoords ? std::lround(c.u * 1e4f) : 0, withTexCoords ? std::lround(c.v * 1e4f) : 0);
        }
        return seen.size();
    }
};

SSummary Summarise(const SMesh& mesh) {
    SSummary s;
    s.faces = mesh.GetNumFaces();
    for (std::uint32_t index : mesh.indices) {
        const SMeshVertex& v = mesh.vertices[index];
        s.Add({v.x, v.y, v.z, v.u, v.v});
    }
    return s;
}

std::uint32_t Read32LE(const std::vector<BYTE>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The 3D Studio file without its keyframer chunk. 3D Studio stores vertices
// where they are drawn, and the engine shows them there; Assimp poses the
// objects of animated files by their first key instead. Without the
// keyframer it places them as stored.
std::vector<BYTE> WithoutKeyframer(std::vector<BYTE> bytes) {
    size_t at = 6;
    while (at + 6 <= bytes.size()) {
        const std::uint16_t id = static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
        const std::uint32_t length = Read32LE(bytes, at + 2);
        if (length < 6 || length > bytes.size() - at)
            break;
        if (id == 0xB000) {
            bytes.erase(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + length));
            const std::uint32_t main = Read32LE(bytes, 2) - length;
            for (int i = 0; i < 4; ++i)
                bytes[2 + i] = static_cast<BYTE>(main >> (8 * i));
            break;
        }
        at += length;
    }
    return bytes;
}

// Assimp's import with no post-processing but the frame transforms applied.
// convert maps Assimp's corner to this engine's conventions.
template <class Convert>
bool SummariseWithAssimp(const std::vector<BYTE>& bytes, const char* hint, Convert convert, SSummary& s) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(bytes.data(), bytes.size(), aiProcess_PreTransformVertices, hint);
    if (scene == nullptr) {
        return false;
    }
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
            if (mesh.mFaces[f].mNumIndices != 3)
                continue;
            ++s.faces;
            for (int corner = 0; corner < 3; ++corner) {
                const unsigned int i = mesh.mFaces[f].mIndices[corner];
                const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][i] : aiVector3D();
                s.Add(convert(mesh.mVertices[i], uv, mesh.HasTextureCoords(0)));
            }
        }
    }
    return true;
}

// Whether a LightWave file has more than one UV map: each map overwrites the
// points' coordinates in turn, so the loader keeps the last one, while
// Assimp gives the one the surface uses.
bool HasSeveralUvMaps(const std::vector<BYTE>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    size_t count = 0;
    for (size_t at = text.find("VMAP"); at != std::string::npos; at = text.find("VMAP", at + 4)) {
        count += text.compare(at + 8, 4, "TXUV") == 0 ? 1 : 0;
    }
    return count > 1;
}

void ExpectSameGeometry(const SSummary& ours, const SSummary& theirs, bool compareTexCoords, const std::string& name) {
    EXPECT_EQ(ours.faces, theirs.faces) << name;
    const float tolerance = 1e-4f * theirs.Size();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(ours.min[i], theirs.min[i], tolerance) << name << " axis " << i;
        EXPECT_NEAR(ours.max[i], theirs.max[i], tolerance) << name << " axis " << i;
    }
    const float cell = 1e-3f * theirs.Size();
    EXPECT_EQ(ours.DistinctCorners(cell, compareTexCoords), theirs.DistinctCorners(cell, compareTexCoords)) << name;
}

// Loads each file (as prepare leaves it: the real file, or a copy in a
// temporary folder) and compares it with Assimp's import of assimpBytes(file).
template <class Loader, class Prepare, class ForAssimp, class Convert>
void SweepFiles(const std::vector<std::filesystem::path>& files, const char* hint, Prepare prepare,
                ForAssimp assimpBytes, Convert convert, int& loaded, int& refused) {
    for (const auto& original : files) {
        const std::filesystem::path path = prepare(original);
        CErrorCapture errors;
        std::unique_ptr<SMesh> mesh(Loader().Load(path.string(), nullptr));
        const std::string name = original.lexically_relative(kModels).string();
        std::cout << name << ": "
                  << (mesh ? "loaded, " + std::to_string(mesh->GetNumFaces()) + " faces"
                           : "refused: " + (errors.Count() > 0 ? errors.Texts().back() : std::string()))
                  << "\n";
        if (mesh == nullptr) {
            ++refused;
            ASSERT_EQ(errors.Count(), 1u) << name;
            EXPECT_TRUE(kConstructMessages.count(errors.Texts()[0]) == 1) << name << ": " << errors.Texts()[0];
            continue;
        }
        ++loaded;
        for (const std::string& text : errors.Texts()) {
            EXPECT_TRUE(kConstructMessages.count(text) == 1) << name << ": " << text;
        }
        SSummary theirs;
        ASSERT_TRUE(SummariseWithAssimp(assimpBytes(ReadBytes(path)), hint, convert, theirs)) << name;
        ExpectSameGeometry(Summarise(*mesh), theirs, !HasSeveralUvMaps(ReadBytes(path)), name);
    }
}

}  // namespace

TEST(RealMeshFiles, ThreeDSFilesLoadAsAssimpReadsThemOrAreRefused) {
    const auto files = FilesWithExtension(kModels / "3DS", ".3ds");
    if (files.empty()) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    int loaded = 0;
    int refused = 0;
    // Assimp turns 3D Studio's z-up into y-up as we do; texture v is the file's.
    SweepFiles<C3DSMeshLoader>(
        files, "3ds", [](const std::filesystem::path& path) { return path; }, WithoutKeyframer,
        [](const aiVector3D& p, const aiVector3D& uv, bool hasUv) {
            return SCorner{p.x, p.y, p.z, uv.x, hasUv ? 1.0f - uv.y : 0.0f};
        },
        loaded, refused);
    EXPECT_GT(loaded, 0);
    std::cout << loaded << " loaded, " << refused << " refused\n";
}

TEST(RealMeshFiles, BrokenFilesAreRefusedWithAMessage) {
    const std::filesystem::path invalid = kModels / "invalid";
    if (!std::filesystem::is_directory(invalid)) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    for (const auto& entry : std::filesystem::directory_iterator(invalid)) {
        const std::string ext = entry.path().extension().string();
        std::unique_ptr<CMeshLoader> loader;
        if (ext == ".3ds")
            loader = std::make_unique<C3DSMeshLoader>();
        if (ext == ".lwo")
            loader = std::make_unique<CLWOMeshLoader>();
        if (!loader)
            continue;
        CErrorCapture errors;
        EXPECT_EQ(loader->Load(entry.path().string(), nullptr), nullptr) << entry.path();
        EXPECT_GE(errors.Count(), 1u) << entry.path();
    }
}
