// The 3D Studio loader: axis change, texture coordinates, objects and
// materials combined into one mesh, and files it must refuse.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/common/MeshFiles.h"
#include "meshes/common/MeshTestSupport.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using meshfiles::Make3DS;
using meshfiles::S3DSMaterial;
using meshfiles::S3DSObject;
using testing::ElementsAre;

namespace {

const char* const kUnknown = "unknown error. unable to load the model";

// A quad of two triangles at height z (as stored in the file).
S3DSObject Quad(const std::string& name, float z, const std::string& material = "") {
    S3DSObject o;
    o.name = name;
    o.positions = {0, 0, z, 1, 0, z, 1, 1, z, 0, 1, z};
    o.faces = {0, 1, 2, 0, 2, 3};
    o.material = material;
    return o;
}

class ThreeDSLoader : public testing::Test {
protected:
    std::unique_ptr<SMesh> LoadFile(const std::string& name, const std::vector<BYTE>& bytes) {
        const std::string path = m_folder.Write(name, bytes);
        return std::unique_ptr<SMesh>(C3DSMeshLoader().Load(path, nullptr));
    }
    CTempFolder m_folder;
    CErrorCapture m_errors;
};

}  // namespace

TEST_F(ThreeDSLoader, TurnsZUpIntoYUpAndFlipsTextureV) {
    S3DSObject o;
    o.name = "tri";
    o.positions = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    o.faces = {0, 1, 2};
    o.texCoords = {0.25f, 0.25f, 1.0f, 0.0f, 0.5f, 1.0f};
    auto mesh = LoadFile("tri.3ds", Make3DS({}, {o}));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(m_errors.Count(), 0u) << "version 3 loads silently";
    ASSERT_EQ(mesh->GetNumVertices(), 3u);
    EXPECT_EQ(meshtest::PositionOf(*mesh, 0), (meshtest::SVec3{1, 3, -2}));
    EXPECT_EQ(meshtest::PositionOf(*mesh, 2), (meshtest::SVec3{7, 9, -8}));
    EXPECT_FLOAT_EQ(mesh->vertices[0].u, 0.25f);
    EXPECT_FLOAT_EQ(mesh->vertices[0].v, 0.75f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].v, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[2].v, 0.0f);
    EXPECT_THAT(meshtest::Face(*mesh, 0), ElementsAre(0, 1, 2));
}

TEST_F(ThreeDSLoader, WarnsOnceAboutVersionsAboveThreeAndStillLoads) {
    auto mesh = LoadFile("v4.3ds", Make3DS({}, {Quad("q", 0)}, 4));
    ASSERT_NE(mesh, nullptr);
    EXPECT_THAT(m_errors.Texts(), ElementsAre("This 3DS file is over version 3 so it may load incorrectly"));
    EXPECT_THAT(m_errors.Titles(), ElementsAre("Warning"));
    EXPECT_EQ(mesh->GetNumFaces(), 2u);
}

TEST_F(ThreeDSLoader, OffsetsFacesOfLaterObjectsAndGivesEachObjectItsMaterial) {
    S3DSObject four = Quad("four", 0, "red");
    four.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    S3DSObject six;
    six.name = "six";
    six.positions = {0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 2, 0, 1, 2, 1, 1};
    six.faces = {0, 1, 2, 1, 4, 5, 1, 5, 2};
    six.material = "blue";
    auto mesh = LoadFile("two.3ds", Make3DS({{"red", 255, 128, 0, ""}, {"blue", 0, 0, 255, ""}}, {four, six}));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumVertices(), 10u);
    EXPECT_EQ(mesh->GetNumFaces(), 5u);
    EXPECT_THAT(meshtest::Face(*mesh, 2), ElementsAre(4, 5, 6));
    EXPECT_THAT(meshtest::Face(*mesh, 4), ElementsAre(5, 9, 6));
    // The second object has no texture coordinates.
    EXPECT_FLOAT_EQ(mesh->vertices[9].u, 0.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[9].v, 0.0f);

    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(2, 5));
    const D3DMATERIAL8& red = mesh->materials[0].material;
    EXPECT_FLOAT_EQ(red.Diffuse.r, 0.99609375f);
    EXPECT_FLOAT_EQ(red.Diffuse.g, 0.5f);
    EXPECT_FLOAT_EQ(red.Diffuse.b, 0.0f);
    EXPECT_FLOAT_EQ(red.Diffuse.a, 1.0f);
    EXPECT_FLOAT_EQ(red.Ambient.r, 0.99609375f);
    EXPECT_FLOAT_EQ(red.Specular.g, 0.5f);
    EXPECT_FLOAT_EQ(red.Emissive.a, 1.0f);
    EXPECT_FLOAT_EQ(mesh->materials[1].material.Diffuse.b, 255.0f / 256.0f);
    EXPECT_TRUE(mesh->materials[0].texture.empty());
}

TEST_F(ThreeDSLoader, FileWithoutMaterialsIsOneGreyMaterial) {
    auto mesh = LoadFile("grey.3ds", Make3DS({}, {Quad("a", 0), Quad("b", 1)}));
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->GetNumMaterials(), 1u);
    EXPECT_EQ(mesh->materials[0].endFace, 4u);
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.r, 0.5f);
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Emissive.g, 0.5f);
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Specular.a, 1.0f);
    EXPECT_TRUE(mesh->materials[0].texture.empty());
}

// Face ranges follow the face order: objects that share a material in a row
// make one range, objects without one are grey, and a material that comes
// back later gets a range of its own.
TEST_F(ThreeDSLoader, FaceRangesFollowTheObjectsThatUseEachMaterial) {
    auto mesh = LoadFile("mixed.3ds", Make3DS({{"red", 255, 0, 0, ""}, {"green", 0, 255, 0, ""}},
                                              {Quad("a", 0, "red"), Quad("b", 1, "red"), Quad("c", 2),
                                               Quad("d", 3, "green"), Quad("e", 4, "red")}));
    ASSERT_NE(mesh, nullptr);
    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(4, 6, 8, 10));
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.r, 255.0f / 256.0f);
    EXPECT_FLOAT_EQ(mesh->materials[1].material.Diffuse.r, 0.5f);
    EXPECT_FLOAT_EQ(mesh->materials[2].material.Diffuse.g, 255.0f / 256.0f);
    EXPECT_FLOAT_EQ(mesh->materials[3].material.Diffuse.r, 255.0f / 256.0f);
}

TEST_F(ThreeDSLoader, TexturePathsLieBesideTheModel) {
    const std::vector<BYTE> bytes = Make3DS({{"wood", 10, 20, 30, "wood.jpg"}, {"plain", 1, 2, 3, ""}},
                                            {Quad("a", 0, "wood"), Quad("b", 1, "plain")});
    auto mesh = LoadFile("chair.3ds", bytes);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->materials[0].texture, m_folder.Path("wood.jpg"));
    EXPECT_TRUE(mesh->materials[1].texture.empty());

    // A Windows path stored in a scene file splits at its last backslash.
    CScene scene;
    CSceneFile written(scene, true, "");
    const std::string path = m_folder.Write("chair2.3ds", bytes);
    written.WriteFile(path);
    std::vector<BYTE> data = written.GetData();
    // Rename the stored path (same length) to a Windows one.
    const std::string windows = "C:\\models\\" + std::string(path.size() - 10, 'x');
    std::copy(windows.begin(), windows.end(), data.begin() + 4);
    CSceneFile reading(scene, true, "");
    reading.LoadData(data);
    ASSERT_EQ(reading.ReadFile(), windows);
    C3DSMeshLoader loader;
    loader.SetSceneFile(&reading);
    std::unique_ptr<SMesh> fromScene(loader.Load(windows, nullptr));
    ASSERT_NE(fromScene, nullptr);
    EXPECT_EQ(fromScene->materials[0].texture, "C:\\models\\wood.jpg");
}

TEST_F(ThreeDSLoader, RefusesMissingAndForeignFiles) {
    EXPECT_EQ(C3DSMeshLoader().Load(m_folder.Path("none.3ds"), nullptr), nullptr);
    EXPECT_THAT(m_errors.Texts(), ElementsAre("Unable to find the file: " + m_folder.Path("none.3ds") + "!", kUnknown));
    EXPECT_THAT(m_errors.Titles(), ElementsAre("Error", "Mesh importer Error"));
    m_errors.Clear();

    EXPECT_EQ(LoadFile("text.3ds", std::vector<BYTE>(40, 'A')), nullptr);
    EXPECT_THAT(m_errors.Texts(),
                ElementsAre("Unable to load PRIMARY chuck from file: " + m_folder.Path("text.3ds") + "!", kUnknown));
    m_errors.Clear();

    EXPECT_EQ(LoadFile("empty.3ds", {}), nullptr);
    EXPECT_EQ(m_errors.Count(), 2u);
}

// Lengths, counts and indices that do not fit the file are refused instead of
// being read past the data.
TEST_F(ThreeDSLoader, RefusesStructuresThatDoNotFitTheData) {
    const std::vector<BYTE> good = Make3DS({}, {Quad("q", 0)});

    std::vector<BYTE> truncated(good.begin(), good.begin() + static_cast<long>(good.size() - 30));
    EXPECT_EQ(LoadFile("cut.3ds", truncated), nullptr);

    S3DSObject badIndex = Quad("q", 0);
    badIndex.faces[4] = 4;  // one past the last vertex
    EXPECT_EQ(LoadFile("index.3ds", Make3DS({}, {badIndex})), nullptr);

    // A vertex count that claims more vertices than the chunk holds.
    CChunkWriter w(CChunkWriter::EOrder::LittleEndian);
    w.Begin3DS(0x4D4D).Begin3DS(0x4000).Text("o").Begin3DS(0x4100).Begin3DS(0x4110).U16(5000);
    w.F32(1).F32(2).F32(3).End().End().End().End();
    EXPECT_EQ(LoadFile("count.3ds", w.Bytes()), nullptr);

    // A child chunk longer than its parent.
    CChunkWriter longer(CChunkWriter::EOrder::LittleEndian);
    longer.Begin3DS(0x4D4D).Begin3DS(0xAFFF).U16(0xA000).U32(1000).Raw({'n', 0}).End().End();
    EXPECT_EQ(LoadFile("long.3ds", longer.Bytes()), nullptr);

    // Triangle meshes nested thousands deep.
    CChunkWriter deep(CChunkWriter::EOrder::LittleEndian);
    deep.Begin3DS(0x4D4D).Begin3DS(0x4000).Text("o");
    for (int i = 0; i < 5000; ++i)
        deep.Begin3DS(0x4100);
    for (int i = 0; i < 5000; ++i)
        deep.End();
    deep.End().End();
    EXPECT_EQ(LoadFile("deep.3ds", deep.Bytes()), nullptr);

    EXPECT_THAT(m_errors.Texts(), ElementsAre(kUnknown, kUnknown, kUnknown, kUnknown, kUnknown));
    EXPECT_THAT(m_errors.Titles(), testing::Each("Mesh importer Error"));
}

// 16-bit indices address at most 65,535 vertices.
TEST_F(ThreeDSLoader, RefusesMeshesWithMoreVerticesThanSixteenBitIndicesReach) {
    S3DSObject big;
    big.name = "big";
    big.positions.assign(3 * 40000, 0.5f);
    big.faces = {0, 1, 2};
    S3DSObject second = big;
    second.name = "second";
    EXPECT_EQ(LoadFile("big.3ds", Make3DS({}, {big, second})), nullptr);
    EXPECT_THAT(m_errors.Texts(), ElementsAre(CMeshLoader::TooManyVerticesMessage()));

    m_errors.Clear();
    auto one = LoadFile("one.3ds", Make3DS({}, {big}));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->GetNumVertices(), 40000u);
    EXPECT_EQ(m_errors.Count(), 0u);
}
