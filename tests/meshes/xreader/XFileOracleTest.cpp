// Every ".x" file of Debian's assimp-testmodels, read by our reader and by
// Assimp: where Assimp reads a file, ours agrees on the number of triangles,
// the bounding box, the triangles themselves and their texture coordinates;
// where Assimp refuses one, ours answers without crashing.
//
// Tolerances: positions within 1e-4 of the model's size (Assimp keeps
// single-precision transforms, we compose them in double), texture
// coordinates within 1e-4. Triangles are compared as sets of corners in
// order-independent form, since both may list faces and corners differently.

#include <gtest/gtest.h>

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "meshes/common/AssimpTestModels.h"
#include "platform/d3dxmesh/d3dx8mesh.h"

namespace {

using namespace testmodels;

struct SCorner {
    float p[3];
    float uv[2];
};
using Triangle = std::array<SCorner, 3>;

// Files of the package that are ".x" files, whatever their names end with.
std::vector<std::filesystem::path> XFiles() {
    return FilesBelow(kPackage, [](const std::filesystem::path& path) {
        char magic[4] = {};
        return std::ifstream(path, std::ios::binary).read(magic, 4) && std::memcmp(magic, "xof ", 4) == 0;
    });
}

bool Ours(const std::vector<BYTE>& bytes, std::vector<Triangle>& triangles) {
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXLoadMeshFromXInMemory(bytes.data(), static_cast<DWORD>(bytes.size()), D3DXMESH_32BIT, nullptr,
                                         nullptr, nullptr, nullptr, &mesh))) {
        return false;
    }
    ID3DXMesh* clone = nullptr;
    EXPECT_EQ(mesh->CloneMeshFVF(D3DXMESH_32BIT, D3DFVF_XYZ | D3DFVF_TEX1, nullptr, &clone), D3D_OK);
    mesh->Release();
    BYTE* vertices = nullptr;
    BYTE* indices = nullptr;
    clone->LockVertexBuffer(0, &vertices);
    clone->LockIndexBuffer(0, &indices);
    for (DWORD f = 0; f < clone->GetNumFaces(); ++f) {
        Triangle t;
        for (int c = 0; c < 3; ++c) {
            std::uint32_t index = 0;
            std::memcpy(&index, indices + (f * 3 + c) * 4, 4);
            std::memcpy(&t[c], vertices + index * 20, 20);
        }
        triangles.push_back(t);
    }
    clone->Release();
    return true;
}

// Assimp's triangles placed by their frames, turned back into the file's
// own conventions (left-handed, v down, clockwise).
bool Theirs(const std::vector<BYTE>& bytes, std::vector<Triangle>& triangles) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_Triangulate | aiProcess_ConvertToLeftHanded, "x");
    if (scene == nullptr || scene->mRootNode == nullptr) {
        return false;
    }
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending = {{scene->mRootNode, aiMatrix4x4()}};
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 global = parent * node->mTransformation;
        for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
            const aiMesh& mesh = *scene->mMeshes[node->mMeshes[i]];
            for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
                if (mesh.mFaces[f].mNumIndices != 3) {
                    continue;
                }
                Triangle t;
                for (int c = 0; c < 3; ++c) {
                    const unsigned int v = mesh.mFaces[f].mIndices[c];
                    const aiVector3D p = global * mesh.mVertices[v];
                    const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][v] : aiVector3D();
                    t[c] = SCorner{{p.x, p.y, p.z}, {uv.x, uv.y}};
                }
                triangles.push_back(t);
            }
        }
        for (unsigned int i = 0; i < node->mNumChildren; ++i) {
            pending.emplace_back(node->mChildren[i], global);
        }
    }
    return true;
}

// A triangle in a form that does not depend on which corner is listed
// first: rotated to start at its smallest corner, values on a grid.
using Key = std::array<long, 15>;
Key KeyOf(const Triangle& t, float cell) {
    std::array<std::array<long, 5>, 3> corners;
    for (int c = 0; c < 3; ++c) {
        corners[c] = {std::lround(t[c].p[0] / cell), std::lround(t[c].p[1] / cell), std::lround(t[c].p[2] / cell),
                      std::lround(t[c].uv[0] * 1e4f), std::lround(t[c].uv[1] * 1e4f)};
    }
    const int first = static_cast<int>(std::min_element(corners.begin(), corners.end()) - corners.begin());
    Key key;
    for (int c = 0; c < 3; ++c) {
        std::copy(corners[(first + c) % 3].begin(), corners[(first + c) % 3].end(), key.begin() + c * 5);
    }
    return key;
}

// The share of one side's triangles found on the other side; a value on the
// grid's edge may round either way, so a few may miss.
double Agreement(const std::vector<Triangle>& ours, const std::vector<Triangle>& theirs, float cell) {
    std::vector<Key> a;
    std::vector<Key> b;
    for (const Triangle& t : ours)
        a.push_back(KeyOf(t, cell));
    for (const Triangle& t : theirs)
        b.push_back(KeyOf(t, cell));
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<Key> common;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(common));
    return a.empty() ? 1.0 : static_cast<double>(common.size()) / a.size();
}

void BoundingBox(const std::vector<Triangle>& triangles, float min[3], float max[3]) {
    for (int i = 0; i < 3; ++i) {
        min[i] = INFINITY;
        max[i] = -INFINITY;
    }
    for (const Triangle& t : triangles) {
        for (const SCorner& c : t) {
            for (int i = 0; i < 3; ++i) {
                min[i] = std::min(min[i], c.p[i]);
                max[i] = std::max(max[i], c.p[i]);
            }
        }
    }
}

}  // namespace

TEST(XFileOracle, EveryPackageFileAgreesWithAssimp) {
    const std::vector<std::filesystem::path> files = XFiles();
    if (files.empty()) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    int both = 0;
    int oursOnly = 0;
    int theirsOnly = 0;
    int neither = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        const std::vector<BYTE> bytes = ReadBytes(path);
        std::vector<Triangle> ours;
        std::vector<Triangle> theirs;
        const bool weRead = Ours(bytes, ours);
        const bool theyRead = Theirs(bytes, theirs);
        both += weRead && theyRead;
        oursOnly += weRead && !theyRead;
        theirsOnly += !weRead && theyRead;
        neither += !weRead && !theyRead;
        EXPECT_FALSE(theyRead && !weRead) << "Assimp reads it, ours refuses it";
        if (!weRead || !theyRead) {
            continue;
        }
        ASSERT_EQ(ours.size(), theirs.size());
        float ourMin[3], ourMax[3], theirMin[3], theirMax[3];
        BoundingBox(ours, ourMin, ourMax);
        BoundingBox(theirs, theirMin, theirMax);
        const float size = std::max({ourMax[0] - ourMin[0], ourMax[1] - ourMin[1], ourMax[2] - ourMin[2], 1e-6f});
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(ourMin[i], theirMin[i], size * 1e-4f);
            EXPECT_NEAR(ourMax[i], theirMax[i], size * 1e-4f);
        }
        EXPECT_GE(Agreement(ours, theirs, size * 1e-4f), 0.99);
        EXPECT_GE(Agreement(theirs, ours, size * 1e-4f), 0.99);
    }
    std::cout << files.size() << " files: " << both << " read by both, " << oursOnly << " by ours only, " << theirsOnly
              << " by Assimp only, " << neither << " by neither\n";
    EXPECT_EQ(theirsOnly, 0);
}
