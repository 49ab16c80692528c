// The LightWave loader: surfaces and textures, the refusals of what it
// cannot draw, per-corner texture coordinates and the angle split.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "meshes/CLWOMeshLoader.h"
#include "meshes/common/MeshFiles.h"
#include "meshes/common/MeshTestSupport.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using namespace meshfiles;
using testing::ElementsAre;

namespace {

const char* const kUnknown = "unknown error. unable to load the model";

std::vector<float> TwoTrianglePoints() {
    return {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
}

class LightWaveLoader : public testing::Test {
protected:
    std::unique_ptr<SMesh> LoadFile(const std::vector<BYTE>& bytes, const SMesh* reference = nullptr) {
        const std::string path = m_folder.Write("model.lwo", bytes);
        return std::unique_ptr<SMesh>(CLWOMeshLoader().Load(path, const_cast<SMesh*>(reference)));
    }
    // Loads and expects a refusal with exactly this one message.
    void ExpectRefused(const std::vector<BYTE>& bytes, const std::string& message) {
        m_errors.Clear();
        EXPECT_EQ(LoadFile(bytes), nullptr);
        EXPECT_THAT(m_errors.Texts(), ElementsAre(message));
        EXPECT_THAT(m_errors.Titles(), ElementsAre("Mesh importer Error"));
    }
    CTempFolder m_folder;
    CErrorCapture m_errors;
};

}  // namespace

TEST_F(LightWaveLoader, SurfaceGivesColourAndTextureOfItsFaces) {
    auto mesh = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoTags(w, {"Wood"});
        LwoLayer(w);
        LwoPoints(w, TwoTrianglePoints());
        LwoUvMap(w, {{0, 0.25f, 0.25f}, {2, 1.0f, 1.0f}});
        LwoPolygons(w, {{0, 1, 2}, {0, 2, 3}});
        LwoPolygonTags(w, {0, 0});
        LwoClip(w, 7, "C:\\LightWave\\Images\\wood.png");
        LwoSurface(w, "Wood", 0.5f, 0.25f, 1.0f, 7);
    }));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    EXPECT_EQ(mesh->GetNumFaces(), 2u);
    EXPECT_EQ(mesh->GetNumVertices(), 4u) << "two coplanar triangles share their vertices";
    EXPECT_EQ(meshtest::PositionOf(*mesh, 1), (meshtest::SVec3{1, 0, 0})) << "no axis change";
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 0.25f);
    EXPECT_FLOAT_EQ(mesh->vertices[0].v, 0.75f);
    EXPECT_FLOAT_EQ(mesh->vertices[2].v, 0.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].v, 0.0f) << "points the map leaves out keep (0, 0)";
    ASSERT_EQ(mesh->GetNumMaterials(), 1u);
    EXPECT_EQ(mesh->materials[0].endFace, 2u);
    const D3DMATERIAL8& m = mesh->materials[0].material;
    EXPECT_FLOAT_EQ(m.Diffuse.g, 0.25f);
    EXPECT_FLOAT_EQ(m.Ambient.b, 1.0f);
    EXPECT_FLOAT_EQ(m.Specular.r, 0.5f);
    EXPECT_FLOAT_EQ(m.Emissive.a, 1.0f);
    EXPECT_EQ(mesh->materials[0].texture, m_folder.Path("wood.png"));
}

TEST_F(LightWaveLoader, GroupsFacesBySurfaceTag) {
    auto mesh = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoTags(w, {"Red", "Blue"});
        LwoPoints(w, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0});
        LwoPolygons(w, {{0, 1, 2}, {1, 4, 5}, {0, 2, 3}, {1, 5, 2}});
        LwoPolygonTags(w, {1, 0, 1, 0});
        LwoSurface(w, "Blue", 0, 0, 1);
        LwoSurface(w, "Red", 1, 0, 0);
    }));
    ASSERT_NE(mesh, nullptr);
    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(2, 4));
    EXPECT_THAT(meshtest::Face(*mesh, 0), ElementsAre(1, 4, 5));
    EXPECT_THAT(meshtest::Face(*mesh, 1), ElementsAre(1, 5, 2));
    EXPECT_THAT(meshtest::Face(*mesh, 2), ElementsAre(0, 1, 2));
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(mesh->materials[1].material.Diffuse.b, 1.0f);
}

TEST_F(LightWaveLoader, RefusesWhatLiesOutsideItsSubset) {
    auto withPolygons = [](std::vector<std::vector<std::uint16_t>> polygons, const char* type = "FACE") {
        return MakeLWO([=](CChunkWriter& w) {
            LwoPoints(w, TwoTrianglePoints());
            LwoPolygons(w, polygons, type);
        });
    };
    ExpectRefused(withPolygons({{0, 1, 2}}, "PTCH"),
                  "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, "
                  "metaballs or subdivision patches");
    ExpectRefused(MakeLWO([](CChunkWriter& w) { LwoClip(w, 1, "movie.avi", "ANIM"); }),
                  "This loader supports only still image texture. it does not support animation as texture");
    ExpectRefused(MakeLWO([](CChunkWriter& w) {
                      w.BeginChunk("SURF").Text("Skin").Text("");
                      w.BeginSub("DIFF").F32(1).U16(0).End();
                      w.End();
                  }),
                  "Found another tag then COLR after SURF tag. Loading failed.");
    ExpectRefused({'F', 'O', 'R', 'M', 0, 0, 0, 4, 'L', 'W', 'O', 'B'},
                  "File is not LW 6.x - 7.x  model (can't find LWO2 chunk)");
    ExpectRefused({'R', 'I', 'F', 'F'}, "File is not LW model (can't find FORM chunk)");
    ExpectRefused({}, "File is not LW model (can't find FORM chunk)");
}

TEST_F(LightWaveLoader, AcceptsClipIndicesUpTo256) {
    auto clip = [](std::uint32_t index) {
        return MakeLWO([=](CChunkWriter& w) {
            LwoPoints(w, TwoTrianglePoints());
            LwoPolygons(w, {{0, 1, 2}});
            LwoClip(w, index, "a.png");
        });
    };
    EXPECT_NE(LoadFile(clip(256)), nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    ExpectRefused(clip(257),
                  "This loader supports only 256 textures... please reduce the number of textures of the model.");
}

// Counts and indices that point outside the file or the point list.
TEST_F(LightWaveLoader, RefusesChunksAndIndicesThatDoNotFit) {
    ExpectRefused(MakeLWO([](CChunkWriter& w) {
                      LwoPoints(w, TwoTrianglePoints());
                      LwoPolygons(w, {{0, 1, 4}});
                  }),
                  kUnknown);
    ExpectRefused(MakeLWO([](CChunkWriter& w) {
                      LwoPoints(w, TwoTrianglePoints());
                      LwoUvMap(w, {{9, 1, 1}});
                  }),
                  kUnknown);
    ExpectRefused(MakeLWO([](CChunkWriter& w) {
                      LwoPoints(w, TwoTrianglePoints());
                      LwoPolygons(w, {{0, 1, 2}});
                      LwoCornerUvMap(w, {{0, 3, 1, 1}});
                  }),
                  kUnknown);
    // A PNTS chunk whose size runs past the end of the file.
    std::vector<BYTE> cut = MakeLWO([](CChunkWriter& w) { LwoPoints(w, TwoTrianglePoints()); });
    cut.resize(cut.size() - 8);
    ExpectRefused(cut, kUnknown);
    // A tag name without its terminating zero.
    ExpectRefused(MakeLWO([](CChunkWriter& w) { w.BeginChunk("TAGS").Raw({'a', 'b'}).End(); }), kUnknown);
}

TEST_F(LightWaveLoader, ReportsMissingFilesWithTheErrorBox) {
    EXPECT_EQ(CLWOMeshLoader().Load(m_folder.Path("gone.lwo"), nullptr), nullptr);
    EXPECT_THAT(m_errors.Texts(), ElementsAre("Mesh loading: Unable to load mesh \"" + m_folder.Path("gone.lwo") +
                                              "\": not found in the disk."));
    EXPECT_THAT(m_errors.Icons(), ElementsAre(ErrorIcon::Error));
}

// Every corner of a cube meets faces of three sides at right angles: each of
// the 8 points becomes 3 vertices, one per side, while the two triangles of
// a side keep sharing theirs.
TEST_F(LightWaveLoader, SplitsVerticesAtSharpEdgesOnly) {
    auto cube = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoPoints(w, CubePoints());
        LwoPolygons(w, CubeTriangles());
    }));
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->GetNumVertices(), 24u);
    EXPECT_EQ(cube->GetNumFaces(), 12u);
    for (std::uint32_t side = 0; side < 6; ++side) {
        std::set<std::uint32_t> corners;
        for (std::uint32_t face = side * 2; face < side * 2 + 2; ++face) {
            for (std::uint32_t index : meshtest::Face(*cube, face))
                corners.insert(index);
        }
        EXPECT_EQ(corners.size(), 4u) << "side " << side;
    }
    // Each side has vertices of its own.
    std::set<std::uint32_t> used(cube->indices.begin(), cube->indices.end());
    EXPECT_EQ(used.size(), 24u);
    // Copies keep the position of their point.
    for (std::uint32_t face = 0; face < 12; ++face) {
        const auto original = CubeTriangles()[face];
        const auto loaded = meshtest::Face(*cube, face);
        for (int corner = 0; corner < 3; ++corner) {
            const std::vector<float> p = CubePoints();
            EXPECT_EQ(
                meshtest::PositionOf(*cube, loaded[corner]),
                (meshtest::SVec3{p[original[corner] * 3], p[original[corner] * 3 + 1], p[original[corner] * 3 + 2]}));
        }
    }

    // A shallow fold (10 degrees) stays smooth; a steep one (60 degrees) splits.
    auto fold = [&](float degrees) {
        const float angle = degrees * 3.14159265f / 180.0f;
        return LoadFile(MakeLWO([=](CChunkWriter& w) {
            LwoPoints(w, {0, 0, 0, 0, 1, 0, 1, 0, 0, -std::cos(angle), 0, std::sin(angle)});
            LwoPolygons(w, {{0, 1, 2}, {0, 3, 1}});
        }));
    };
    EXPECT_EQ(fold(10)->GetNumVertices(), 4u);
    EXPECT_EQ(fold(60)->GetNumVertices(), 6u);
}

// A reference mesh decides the split, so that every frame of an animation
// is split alike even where its own faces are flat.
TEST_F(LightWaveLoader, ReferenceMeshDecidesTheSplit) {
    auto cube = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoPoints(w, CubePoints());
        LwoPolygons(w, CubeTriangles());
    }));
    ASSERT_NE(cube, nullptr);
    // The same topology squashed flat: every face normal is parallel or
    // degenerate, yet it must be split as the cube is.
    std::vector<float> flat = CubePoints();
    for (size_t i = 2; i < flat.size(); i += 3)
        flat[i] = 0.0f;
    const auto frame = LoadFile(MakeLWO([&](CChunkWriter& w) {
                                    LwoPoints(w, flat);
                                    LwoPolygons(w, CubeTriangles());
                                }),
                                cube.get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetNumVertices(), 24u);
    EXPECT_EQ(frame->indices, cube->indices);
}

// Per-corner coordinates copy the point for the one polygon they name, also
// after the faces were regrouped by surface.
TEST_F(LightWaveLoader, CornerTextureCoordinatesCopyThePointForOnePolygon) {
    auto mesh = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoTags(w, {"A", "B"});
        LwoPoints(w, TwoTrianglePoints());
        LwoUvMap(w, {{0, 0.5f, 0.5f}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}});
        LwoPolygons(w, {{0, 1, 2}, {0, 2, 3}});
        LwoPolygonTags(w, {1, 0});  // polygon 0 moves to the second place
        LwoCornerUvMap(w, {{0, 0, 0.25f, 0.0f}});
        LwoCornerUvMap(w, {{1, 1, 0.9f, 0.9f}});  // polygon 1 does not use point 1: nothing to do
    }));
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetNumVertices(), 5u);
    EXPECT_THAT(meshtest::Face(*mesh, 1), ElementsAre(4, 1, 2)) << "file polygon 0, now second";
    EXPECT_THAT(meshtest::Face(*mesh, 0), ElementsAre(0, 2, 3)) << "the other polygon keeps the point";
    EXPECT_EQ(meshtest::PositionOf(*mesh, 4), meshtest::PositionOf(*mesh, 0));
    EXPECT_FLOAT_EQ(mesh->vertices[4].u, 0.25f);
    EXPECT_FLOAT_EQ(mesh->vertices[4].v, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 0.5f);
}

// Tags need not run from 0 without gaps; faces without tags or surfaces
// are grey.
TEST_F(LightWaveLoader, SparseTagsAndUntaggedFacesGetMaterials) {
    auto sparse = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoTags(w, {"a", "b", "c", "d", "e", "f"});
        LwoPoints(w, TwoTrianglePoints());
        LwoPolygons(w, {{0, 1, 2}, {0, 2, 3}});
        LwoPolygonTags(w, {5, 2});
        LwoSurface(w, "f", 0, 1, 0);
    }));
    ASSERT_NE(sparse, nullptr);
    EXPECT_THAT(meshtest::EndFaces(*sparse), ElementsAre(1, 2));
    EXPECT_FLOAT_EQ(sparse->materials[0].material.Diffuse.r, 0.5f) << "tag 2 has no surface";
    EXPECT_FLOAT_EQ(sparse->materials[1].material.Diffuse.g, 1.0f);

    auto untagged = LoadFile(MakeLWO([](CChunkWriter& w) {
        LwoPoints(w, TwoTrianglePoints());
        LwoPolygons(w, {{0, 1, 2}, {0, 2, 3}});
    }));
    ASSERT_NE(untagged, nullptr);
    EXPECT_THAT(meshtest::EndFaces(*untagged), ElementsAre(2));
    EXPECT_FLOAT_EQ(untagged->materials[0].material.Diffuse.b, 0.5f);
}
