// What real LightWave files hold: polygons of any size, lines and points,
// corner maps over point maps, polygon tags by number, long indices and
// several layers; and the refusal of subdivision patches.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "LwoWriter.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/common/MeshTestSupport.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using namespace meshfiles;
using testing::ElementsAre;

namespace {

const char* const kUnknown = "unknown error. unable to load the model";
const char* const kPatches =
    "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, metaballs or "
    "subdivision patches";

// An L in the z = 0 plane (the corner at (1, 1) points inwards) and a
// square next to it.
std::vector<float> LPoints() {
    return {0, 0, 0, 2, 0, 0, 2, 1, 0, 1, 1, 0, 1, 2, 0, 0, 2, 0};
}
std::vector<float> SquarePoints() {
    return {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
}

class LightWavePolygons : public testing::Test {
protected:
    template <class Body>
    std::unique_ptr<SMesh> Load(Body body) {
        m_errors.Clear();
        const std::string path = m_folder.Write("model.lwo", MakeLWO(body));
        return CLWOMeshLoader().Load(path, nullptr);
    }
    template <class Body>
    void ExpectRefused(Body body, const std::string& message) {
        EXPECT_EQ(Load(body), nullptr);
        EXPECT_THAT(m_errors.Texts(), ElementsAre(message));
    }
    // The face's corners as positions, and their texture coordinates.
    static std::vector<meshtest::SVec3> Corners(const SMesh& mesh, std::uint32_t face) {
        std::vector<meshtest::SVec3> corners;
        for (std::uint32_t vertex : meshtest::Face(mesh, face))
            corners.push_back(meshtest::PositionOf(mesh, vertex));
        return corners;
    }
    static float SignedAreaXY(const SMesh& mesh, std::uint32_t face) {
        const auto c = Corners(mesh, face);
        return 0.5f * ((c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[1].y - c[0].y) * (c[2].x - c[0].x));
    }

    CTempFolder m_folder;
    CErrorCapture m_errors;
};

}  // namespace

// The L's six corners give four triangles, wound as the polygon and covering
// its area of 3 exactly (a plain fan would turn one over and cover the
// notch); lines and single points add nothing and refuse nothing.
TEST_F(LightWavePolygons, PolygonsAreCutIntoTrianglesAndLinesAndPointsLeftOut) {
    auto mesh = Load([](CChunkWriter& w) {
        LwoPoints(w, LPoints());
        lwo::Polygons(w, {{0, 1}, {0, 1, 2, 3, 4, 5}, {4}, {3, 4, 5}});
    });
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    ASSERT_EQ(mesh->GetNumFaces(), 5u);
    float area = 0.0f;
    for (std::uint32_t face = 0; face < 4; ++face) {
        EXPECT_GT(SignedAreaXY(*mesh, face), 0.0f) << face;
        area += SignedAreaXY(*mesh, face);
    }
    EXPECT_FLOAT_EQ(area, 3.0f);
    EXPECT_THAT(Corners(*mesh, 4),
                ElementsAre(meshtest::SVec3{1, 1, 0}, meshtest::SVec3{1, 2, 0}, meshtest::SVec3{0, 2, 0}));
}

// A corner map entry gives one polygon's corner its own coordinates; the
// point keeps the point map's in the other polygon, and both triangles cut
// from the quad share the copy.
TEST_F(LightWavePolygons, CornerCoordinatesOverridePointCoordinatesForTheirPolygon) {
    auto mesh = Load([](CChunkWriter& w) {
        LwoPoints(w, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0});
        lwo::PointUvs(w, {{0, 0, 0}, {1, 0.5f, 0}, {2, 0.5f, 1}, {3, 0, 1}, {4, 1, 0}});
        lwo::Polygons(w, {{0, 1, 2, 3}, {1, 4, 2}});
        lwo::CornerUvs(w, {{3, 0, 0.75f, 0.25f}, {1, 0, 0.125f, 0.5f}});
    });
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetNumFaces(), 3u);
    std::set<std::uint32_t> copiesOfPoint1;
    for (std::uint32_t face = 0; face < 2; ++face) {
        for (std::uint32_t vertex : meshtest::Face(*mesh, face)) {
            const SMeshVertex& v = mesh->vertices[vertex];
            if (v.x == 0 && v.y == 1) {
                EXPECT_FLOAT_EQ(v.u, 0.75f);
                EXPECT_FLOAT_EQ(v.v, 0.75f);
            }
            if (v.x == 1 && v.y == 0) {
                EXPECT_FLOAT_EQ(v.u, 0.125f);
                copiesOfPoint1.insert(vertex);
            }
        }
    }
    EXPECT_EQ(copiesOfPoint1.size(), 1u) << "the quad's two triangles share the corner's copy";
    for (std::uint32_t vertex : meshtest::Face(*mesh, 2)) {
        const SMeshVertex& v = mesh->vertices[vertex];
        if (v.x == 1 && v.y == 0) {
            EXPECT_FLOAT_EQ(v.u, 0.5f) << "the other polygon keeps the point map's";
            EXPECT_FLOAT_EQ(v.v, 1.0f);
        }
    }
}

// Tags name their polygon: listed out of order, or some polygons left out
// (those are grey, after the tagged ones). Part, smoothing-group and colour
// tags and weight maps shape nothing and are passed over.
TEST_F(LightWavePolygons, PolygonTagsApplyToThePolygonTheyName) {
    auto mesh = Load([](CChunkWriter& w) {
        LwoTags(w, {"Red", "Blue"});
        LwoPoints(w, {0, 0, 0, 1, 0, 0, 1, 1, 0, 2, 0, 0, 2, 1, 0, 3, 0, 0});
        w.BeginChunk("VMAP").Id("WGHT").U16(1).Text("weight").U16(0).F32(1).End();
        lwo::Polygons(w, {{0, 1, 2}, {1, 3, 4}, {3, 5, 4}});
        lwo::Tags(w, {{0, 7}, {2, 7}}, "PART");
        lwo::Tags(w, {{2, 0}, {0, 1}});
        lwo::Tags(w, {{1, 3}}, "SMGP");
        lwo::Tags(w, {{1, 0}}, "COLR");
        LwoSurface(w, "Red", 1, 0, 0);
        LwoSurface(w, "Blue", 0, 0, 1);
    });
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(1, 2, 3));
    EXPECT_EQ(Corners(*mesh, 0)[0], (meshtest::SVec3{2, 0, 0})) << "polygon 2, tag 0";
    EXPECT_EQ(Corners(*mesh, 1)[0], (meshtest::SVec3{0, 0, 0})) << "polygon 0, tag 1";
    EXPECT_EQ(Corners(*mesh, 2)[0], (meshtest::SVec3{1, 0, 0})) << "polygon 1, untagged";
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(mesh->materials[1].material.Diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(mesh->materials[2].material.Diffuse.g, 0.5f);
}

// Numbers from 0xFF00 up take four bytes; smaller ones may too.
TEST_F(LightWavePolygons, FourByteIndicesAreRead) {
    const auto wide = Load([](CChunkWriter& w) {
        LwoPoints(w, SquarePoints());
        lwo::PointUvs(w, {{2, 0.25f, 0.5f}}, true);
        lwo::Polygons(w, {{0, 1, 2, 3}}, true);
        lwo::Tags(w, {{0, 0}}, "SURF", true);
        lwo::CornerUvs(w, {{0, 0, 1, 1}}, true);
    });
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    EXPECT_EQ(wide->GetNumFaces(), 2u);
    EXPECT_EQ(wide->GetNumVertices(), 5u) << "one copy for the corner map";
    EXPECT_FLOAT_EQ(wide->vertices[2].u, 0.25f);

    std::vector<float> many(0xFF10 * 3, 0.0f);
    many[0xFF05 * 3] = 7.0f;
    many[0xFF06 * 3 + 1] = 7.0f;
    const auto large = Load([&many](CChunkWriter& w) {
        LwoPoints(w, many);
        lwo::Polygons(w, {{0, 0xFF05, 0xFF06}});
    });
    ASSERT_NE(large, nullptr);
    EXPECT_THAT(meshtest::Face(*large, 0), ElementsAre(0, 0xFF05, 0xFF06));
}

// Each layer numbers its points and polygons from 0; its pivot is where it
// turns, not where its points are.
TEST_F(LightWavePolygons, LayersMergeIntoOneMeshWithTheirOwnNumbers) {
    auto mesh = Load([](CChunkWriter& w) {
        LwoTags(w, {"First", "Second"});
        lwo::Layer(w, 0, 5, 0, 0);
        LwoPoints(w, SquarePoints());
        lwo::Polygons(w, {{0, 1, 2}});
        lwo::Tags(w, {{0, 1}});
        lwo::Layer(w, 1, -3, 2, 1);
        LwoPoints(w, {10, 0, 0, 11, 0, 0, 11, 1, 0});
        lwo::PointUvs(w, {{1, 0.5f, 0.5f}});
        lwo::Polygons(w, {{0, 1, 2}, {2, 1, 0}});
        lwo::Tags(w, {{1, 1}, {0, 0}});
        lwo::CornerUvs(w, {{2, 1, 0.25f, 0.25f}});
        LwoSurface(w, "First", 1, 0, 0);
    });
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(1, 3));
    EXPECT_THAT(Corners(*mesh, 0),
                ElementsAre(meshtest::SVec3{10, 0, 0}, meshtest::SVec3{11, 0, 0}, meshtest::SVec3{11, 1, 0}));
    EXPECT_FLOAT_EQ(mesh->vertices[meshtest::Face(*mesh, 0)[1]].u, 0.5f) << "the second layer's point 1";
    EXPECT_THAT(Corners(*mesh, 1),
                ElementsAre(meshtest::SVec3{0, 0, 0}, meshtest::SVec3{1, 0, 0}, meshtest::SVec3{1, 1, 0}));
    EXPECT_FLOAT_EQ(mesh->vertices[meshtest::Face(*mesh, 1)[1]].u, 0.0f) << "the first layer's point 1";
    EXPECT_FLOAT_EQ(mesh->vertices[meshtest::Face(*mesh, 2)[0]].u, 0.25f) << "second layer's polygon 1";
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.r, 1.0f);
}

TEST_F(LightWavePolygons, SubdivisionPatchesAndOtherCurvedTypesAreRefused) {
    for (const char* type : {"SUBD", "PTCH", "CURV", "BONE", "MBAL"}) {
        ExpectRefused(
            [type](CChunkWriter& w) {
                LwoPoints(w, SquarePoints());
                lwo::Polygons(w, {{0, 1, 2, 3}}, false, type);
            },
            kPatches);
    }
    // Even after faces.
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            lwo::Polygons(w, {{0, 1, 2}});
            lwo::Polygons(w, {{0, 1, 2, 3}}, false, "SUBD");
        },
        kPatches);
}

// Numbers that name no point or polygon of their layer, and counts larger
// than the chunk, refuse the file.
TEST_F(LightWavePolygons, NumbersOutsideTheirLayerRefuseTheFile) {
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            lwo::Polygons(w, {{0, 1, 2}});
            lwo::Tags(w, {{1, 0}});
        },
        kUnknown);
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            lwo::Layer(w, 1, 0, 0, 0);
            LwoPoints(w, {0, 0, 0, 1, 0, 0});
            lwo::Polygons(w, {{0, 1, 2}});  // point 2 is the first layer's
        },
        kUnknown);
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            lwo::Polygons(w, {{0, 1, 2}});
            lwo::Layer(w, 1, 0, 0, 0);
            lwo::CornerUvs(w, {{0, 0, 1, 1}});  // the new layer has no points or polygons yet
        },
        kUnknown);
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            w.BeginChunk("POLS").Id("FACE").U16(200).U16(0).U16(1).U16(2).End();
        },
        kUnknown);
    ExpectRefused(
        [](CChunkWriter& w) {
            LwoPoints(w, SquarePoints());
            w.BeginChunk("POLS").Id("FACE").U16(3).U16(0).U16(1).Raw({0xFF, 0, 0}).End();
        },
        kUnknown);
}
