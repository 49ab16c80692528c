// Every LightWave 6/7 object of Debian's assimp-testmodels (read where the
// package installs it) either loads and agrees with Assimp's triangulated
// import of the same file, or is refused because it holds subdivision
// patches.

#include <gtest/gtest.h>

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "meshes/CLWOMeshLoader.h"
#include "meshes/common/AssimpTestModels.h"
#include "support/CErrorCapture.h"

namespace {

using namespace testmodels;

const char* const kPatchMessage =
    "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, metaballs or "
    "subdivision patches";

// The package's LWO2 files (its older LWOB files are another format).
std::vector<std::filesystem::path> Lwo2Files() {
    return FilesBelow(kModels, [](const std::filesystem::path& path) {
        if (LowerExtension(path) != ".lwo") {
            return false;
        }
        const std::vector<BYTE> bytes = ReadBytes(path);
        return bytes.size() >= 12 && std::string(bytes.begin(), bytes.begin() + 4) == "FORM" &&
               std::string(bytes.begin() + 8, bytes.begin() + 12) == "LWO2";
    });
}

using STriangle = std::array<std::array<float, 3>, 3>;

// What is compared: the triangles (corner positions), their bounding box and
// their total area.
struct SGeometry {
    std::vector<STriangle> triangles;
    std::array<float, 3> min{INFINITY, INFINITY, INFINITY};
    std::array<float, 3> max{-INFINITY, -INFINITY, -INFINITY};
    double area = 0.0;

    void Add(const STriangle& t) {
        for (const auto& corner : t) {
            for (int i = 0; i < 3; ++i) {
                min[i] = std::min(min[i], corner[i]);
                max[i] = std::max(max[i], corner[i]);
            }
        }
        const double a[3] = {t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
        const double b[3] = {t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
        area += 0.5 * std::sqrt(std::pow(a[1] * b[2] - a[2] * b[1], 2) + std::pow(a[2] * b[0] - a[0] * b[2], 2) +
                                std::pow(a[0] * b[1] - a[1] * b[0], 2));
        triangles.push_back(t);
    }
    float Size() const { return std::max({max[0] - min[0], max[1] - min[1], max[2] - min[2], 1e-6f}); }
};

SGeometry OurGeometry(const SMesh& mesh) {
    SGeometry g;
    for (std::uint32_t face = 0; face < mesh.GetNumFaces(); ++face) {
        STriangle t;
        for (int c = 0; c < 3; ++c) {
            const SMeshVertex& v = mesh.vertices[mesh.indices[face * 3 + c]];
            t[c] = {v.x, v.y, v.z};
        }
        g.Add(t);
    }
    return g;
}

// Assimp's import, cut into triangles, with the nodes' transforms applied.
// Assimp turns LightWave's left-handed space right-handed by negating z.
bool AssimpGeometry(const std::filesystem::path& path, SGeometry& g) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.string(), aiProcess_Triangulate | aiProcess_PreTransformVertices);
    if (scene == nullptr) {
        return false;
    }
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
            if (mesh.mFaces[f].mNumIndices != 3)
                continue;  // lines and points
            STriangle t;
            for (int c = 0; c < 3; ++c) {
                const aiVector3D& p = mesh.mVertices[mesh.mFaces[f].mIndices[c]];
                t[c] = {p.x, p.y, -p.z};
            }
            g.Add(t);
        }
    }
    return true;
}

// The triangles of `ours` that `theirs` does not have (corners compared as
// a set, on a grid of a thousandth of the model's size).
size_t Unmatched(const SGeometry& ours, const SGeometry& theirs) {
    const float cell = 1e-3f * theirs.Size();
    auto key = [cell](const STriangle& t) {
        std::array<std::array<long, 3>, 3> k;
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 3; ++i)
                k[c][i] = std::lround(t[c][i] / cell);
        std::sort(k.begin(), k.end());
        return k;
    };
    std::multiset<std::array<std::array<long, 3>, 3>> remaining;
    for (const STriangle& t : theirs.triangles)
        remaining.insert(key(t));
    size_t unmatched = 0;
    for (const STriangle& t : ours.triangles) {
        const auto found = remaining.find(key(t));
        if (found == remaining.end())
            ++unmatched;
        else
            remaining.erase(found);
    }
    return unmatched;
}

// The package's own cases of polygons that cross themselves or are far from
// flat: no cut of them is right, and Assimp leaves part of each out.
bool HasNonSimplePolygon(const std::string& name) {
    return name.find("concave_self_intersecting") != std::string::npos ||
           name.find("nonplanar_polygon") != std::string::npos;
}

// Tolerances: the bounding box to a ten-thousandth of the model's size; the
// total area to a thousandth (quads that are not quite flat have two areas,
// one per diagonal). The triangles themselves, corner for corner, for all
// but an eighth: polygons of more than four points have many right cuts and
// the two importers pick different ones; quads, which most files consist
// of, are cut on the same diagonal. The package's concave polygons are cut
// ear by ear in a different order, so only their area is held: a triangle
// outside the outline would add to it.
void ExpectAgreement(const SGeometry& ours, const SGeometry& theirs, const std::string& name) {
    const float tolerance = 1e-4f * theirs.Size();
    if (HasNonSimplePolygon(name)) {
        EXPECT_GT(ours.triangles.size(), theirs.triangles.size()) << name;
        for (int i = 0; i < 3; ++i) {
            EXPECT_LE(ours.min[i], theirs.min[i] + tolerance) << name << " axis " << i;
            EXPECT_GE(ours.max[i], theirs.max[i] - tolerance) << name << " axis " << i;
        }
        return;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(ours.min[i], theirs.min[i], tolerance) << name << " axis " << i;
        EXPECT_NEAR(ours.max[i], theirs.max[i], tolerance) << name << " axis " << i;
    }
    EXPECT_EQ(ours.triangles.size(), theirs.triangles.size()) << name;
    EXPECT_NEAR(ours.area, theirs.area, 1e-3 * theirs.area) << name;
    if (name.find("concave_polygon") == std::string::npos) {
        EXPECT_LE(Unmatched(ours, theirs), ours.triangles.size() / 8) << name;
    }
}

}  // namespace

TEST(LightWaveRealFiles, LoadAndAgreeWithAssimpOrAreRefusedForPatches) {
    const std::vector<std::filesystem::path> files = Lwo2Files();
    if (files.empty()) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    int agreeing = 0;
    int patches = 0;
    for (const auto& path : files) {
        const std::string name = path.lexically_relative(kModels).string();
        CErrorCapture errors;
        std::unique_ptr<SMesh> mesh = CLWOMeshLoader().Load(path.string(), nullptr);
        if (mesh == nullptr) {
            ASSERT_EQ(errors.Count(), 1u) << name;
            EXPECT_EQ(errors.Texts()[0], kPatchMessage) << name;
            ++patches;
            std::cout << name << ": refused\n";
            continue;
        }
        EXPECT_EQ(errors.Count(), 0u) << name;
        const SGeometry ours = OurGeometry(*mesh);
        SGeometry theirs;
        ASSERT_TRUE(AssimpGeometry(path, theirs)) << name;
        ExpectAgreement(ours, theirs, name);
        ++agreeing;
    }
    std::cout << agreeing << " load and agree, " << patches << " refused for patches\n";
    EXPECT_EQ(agreeing + patches, static_cast<int>(files.size()));
    EXPECT_GT(agreeing, 30);
}
