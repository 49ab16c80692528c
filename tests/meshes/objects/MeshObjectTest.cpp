// The file mesh objects: loader choice, buffers and materials from the mesh,
// the vertex animation arithmetic, and their scene-file records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/CXMeshLoader.h"
#include "meshes/common/MeshFiles.h"
#include "meshes/common/MeshTestSupport.h"
#include "meshes/objects/MeshObjectSupport.h"
#include "scene/CObjectFactory.h"
#include "support/BmpFile.h"
#include "support/CErrorCapture.h"
#include "support/CHeadlessDevice.h"
#include "support/CTempFolder.h"

using namespace meshfiles;
using testing::ElementsAre;

namespace {

// A zigzag strip of n vertices along x at height z (3D Studio is z-up: the
// engine's y), with a triangle on every three consecutive vertices.
S3DSObject Strip(int n, float z, const std::string& material = "") {
    S3DSObject o;
    o.name = "strip";
    for (int i = 0; i < n; ++i) {
        o.positions.insert(o.positions.end(), {static_cast<float>(i), static_cast<float>(i % 2), z});
    }
    for (int i = 0; i + 2 < n; ++i) {
        o.faces.insert(o.faces.end(), {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1),
                                       static_cast<std::uint16_t>(i + 2)});
    }
    o.material = material;
    return o;
}

// A 2 x 2 grey BMP image, all grey after the header, row padding included
// (textures that fail to load are dropped).
std::vector<BYTE> Bmp() {
    return EncodeBmp24(2, 2, [](int, int) { return 0x808080u; }, {.recordsImageSize = true, .padding = 0x80});
}

class MeshObjects : public testing::Test {
protected:
    std::string Frame(const std::string& name, int vertices, float z) {
        return m_folder.Write(name, Make3DS({}, {Strip(vertices, z)}));
    }
    CHeadlessDevice m_device{32, 32};
    CTempFolder m_folder;
    CErrorCapture m_errors;
};

}  // namespace

TEST(MeshLoaderChoice, FollowsTheLowerCasedExtension) {
    auto kind = [](const char* name) -> std::string {
        std::unique_ptr<CMeshLoader> loader(CMeshLoader::Create(name, nullptr));
        if (dynamic_cast<C3DSMeshLoader*>(loader.get()))
            return "3ds";
        if (dynamic_cast<CLWOMeshLoader*>(loader.get()))
            return "lwo";
        if (dynamic_cast<CXMeshLoader*>(loader.get()))
            return "x";
        return loader ? "other" : "none";
    };
    EXPECT_EQ(kind("C:\\models\\CHAIR.3DS"), "3ds");
    EXPECT_EQ(kind("a/b.Lwo"), "lwo");
    EXPECT_EQ(kind("ship.X"), "x");
    EXPECT_EQ(kind("ship.x"), "x");
    EXPECT_EQ(kind("ship.obj"), "none");
    EXPECT_EQ(kind("max"), "none");
    EXPECT_EQ(kind(""), "none");
}

TEST_F(MeshObjects, FileMeshCopiesTheMeshIntoItsBuffers) {
    ASSERT_NE(m_device.Get(), nullptr);
    m_folder.Write("wood.jpg", Bmp());
    m_folder.Write("stone.jpg", Bmp());
    const std::string path =
        m_folder.Write("two.3ds", Make3DS({{"wood", 255, 0, 0, "wood.jpg"}, {"stone", 0, 255, 0, "stone.jpg"}},
                                          {Strip(4, 0, "wood"), Strip(5, 1, "stone")}));
    CTestableMesh<CFileMeshObject> mesh;
    mesh.SetFilename(path);
    EXPECT_EQ(mesh.GetDirectory(), m_folder.Path(""));
    ASSERT_TRUE(mesh.BuildOn(m_device.Get()));
    EXPECT_EQ(mesh.GetObjType(), "CFileMeshObject");
    EXPECT_EQ(mesh.GetObjDescription(), "Imported Mesh");
    EXPECT_EQ(mesh.GetNumberVertices(), 9);
    EXPECT_EQ(mesh.GetNumberFaces(), 5);
    EXPECT_EQ(mesh.GetNumberMaterials(), 2);
    EXPECT_EQ(mesh.GetMaterialIndex(0), 2);
    EXPECT_EQ(mesh.GetMaterialIndex(1), 5);
    EXPECT_EQ(mesh.GetTexture(0), m_folder.Path("wood.jpg"));
    EXPECT_EQ(mesh.GetTexture(1), m_folder.Path("stone.jpg"));
    EXPECT_THAT(IndicesOf(mesh), ElementsAre(0, 1, 2, 1, 2, 3, 4, 5, 6, 5, 6, 7, 6, 7, 8));
    const std::vector<S3DVERTEX> vertices = VerticesOf(mesh);
    ASSERT_EQ(vertices.size(), 9u);
    EXPECT_FLOAT_EQ(vertices[5].y, 1.0f) << "z up in the file is y up here";
    EXPECT_FLOAT_EQ(vertices[5].z, -1.0f);
}

TEST_F(MeshObjects, TextureChosenByTheUserSurvivesInit) {
    ASSERT_NE(m_device.Get(), nullptr);
    m_folder.Write("wood.jpg", Bmp());
    const std::string marble = m_folder.Write("marble.bmp", Bmp());
    const std::string path =
        m_folder.Write("one.3ds", Make3DS({{"wood", 255, 0, 0, "wood.jpg"}}, {Strip(4, 0, "wood")}));
    CTestableMesh<CFileMeshObject> mesh;
    mesh.SetFilename(path);
    mesh.SetTexture(CString(marble), 0);
    ASSERT_TRUE(mesh.BuildOn(m_device.Get()));
    EXPECT_EQ(mesh.GetTexture(0), marble);
    EXPECT_NE(mesh.GetTexturePointer(0), nullptr);
}

TEST_F(MeshObjects, FileMeshRefusesUnknownExtensionsAndUnreadableFiles) {
    CTestableMesh<CFileMeshObject> unknown;
    unknown.SetFilename(m_folder.Write("model.obj", std::string("v 0 0 0")));
    EXPECT_FALSE(unknown.BuildOn(m_device.Get()));
    EXPECT_EQ(m_errors.Count(), 0u);
    CTestableMesh<CFileMeshObject> missing;
    missing.SetFilename(m_folder.Path("missing.3ds"));
    EXPECT_FALSE(missing.BuildOn(m_device.Get()));
    EXPECT_EQ(m_errors.Count(), 2u);
}

// Frames A, B, A with the curve keyed 0 at time 0 and 4 at time 2.
TEST_F(MeshObjects, AnimationBlendsNeighbouringFramesOverAllButTheLast) {
    ASSERT_NE(m_device.Get(), nullptr);
    const std::string a = Frame("a.3ds", 4, 0.0f);
    const std::string b = Frame("b.3ds", 4, 2.0f);  // file z (up) 2: engine y 2
    CTestableMesh<CAnimFileMeshObject> anim;
    ASSERT_TRUE(anim.SetFilenames({a, b, a}));
    EXPECT_EQ(anim.GetLoadedCount(), 3u);
    ASSERT_TRUE(anim.BuildOn(m_device.Get()));
    EXPECT_EQ(anim.GetObjType(), "CAnimFileMeshObject");
    EXPECT_EQ(anim.GetObjDescription(), "Animated Mesh");

    anim.ShowFrame(0.5f);  // time 0.25
    EXPECT_FLOAT_EQ(VerticesOf(anim)[3].y, 1.0f);
    EXPECT_EQ(anim.GetCurrentFrame(), 0u);
    anim.ShowFrame(1.25f);
    EXPECT_FLOAT_EQ(VerticesOf(anim)[3].y, 1.5f);
    EXPECT_EQ(anim.GetCurrentFrame(), 1u);
    anim.ShowFrame(2.0f);  // time 1: 2 mod 2 = 0, A again
    EXPECT_FLOAT_EQ(VerticesOf(anim)[3].y, 0.0f);
    EXPECT_EQ(anim.GetCurrentFrame(), 0u);
    anim.ShowFrame(-3.0f);  // before the start: the first frame
    EXPECT_FLOAT_EQ(VerticesOf(anim)[0].y, 0.0f);

    // Four frames at heights 0, 1, 2, 3: 2.75 is 25 % of frame 2 and 75 % of
    // frame 0 (3 mod 3 = 0).
    CTestableMesh<CAnimFileMeshObject> four;
    ASSERT_TRUE(four.SetFilenames({a, Frame("h1.3ds", 4, 1), Frame("h2.3ds", 4, 2), Frame("h3.3ds", 4, 3)}));
    ASSERT_TRUE(four.BuildOn(m_device.Get()));
    four.ShowFrame(2.75f);
    EXPECT_FLOAT_EQ(VerticesOf(four)[1].y, 0.25f * 2.0f + 0.75f * 0.0f);
}

TEST_F(MeshObjects, AnimationMovesOnlyTheVerticesEveryFrameHas) {
    ASSERT_NE(m_device.Get(), nullptr);
    CTestableMesh<CAnimFileMeshObject> anim;
    ASSERT_TRUE(anim.SetFilenames({Frame("f0.3ds", 100, 0), Frame("f1.3ds", 98, 4), Frame("f2.3ds", 100, 0)}));
    EXPECT_EQ(anim.GetSharedVertexCount(), 98u);
    ASSERT_TRUE(anim.BuildOn(m_device.Get()));
    EXPECT_EQ(anim.GetNumberVertices(), 100);
    anim.ShowFrame(0.5f);
    const std::vector<S3DVERTEX> vertices = VerticesOf(anim);
    EXPECT_FLOAT_EQ(vertices[97].y, 2.0f);
    EXPECT_FLOAT_EQ(vertices[98].y, 0.0f) << "past the shared count: the first frame stays";
    EXPECT_FLOAT_EQ(vertices[99].y, 0.0f);
}

TEST_F(MeshObjects, AnimationWithOneOrTwoMeshesStaysOnTheFirst) {
    ASSERT_NE(m_device.Get(), nullptr);
    const std::string a = Frame("a.3ds", 4, 0.0f);
    const std::string b = Frame("b.3ds", 4, 2.0f);
    CTestableMesh<CAnimFileMeshObject> single;
    ASSERT_TRUE(single.SetFilenames({a}));
    ASSERT_TRUE(single.BuildOn(m_device.Get()));
    for (float f : {0.0f, 0.5f, 7.25f}) {
        single.ShowFrame(f);
        EXPECT_FLOAT_EQ(VerticesOf(single)[2].y, 0.0f);
    }
    CTestableMesh<CAnimFileMeshObject> pair;
    ASSERT_TRUE(pair.SetFilenames({a, b}));
    ASSERT_TRUE(pair.BuildOn(m_device.Get()));
    pair.ShowFrame(0.5f);
    EXPECT_FLOAT_EQ(VerticesOf(pair)[2].y, 0.0f);
}

TEST_F(MeshObjects, AnimationSkipsUnknownNamesAndStopsAtAFileThatFails) {
    const std::string a = Frame("a.3ds", 4, 0.0f);
    CTestableMesh<CAnimFileMeshObject> anim;
    EXPECT_TRUE(anim.SetFilenames({a, m_folder.Path("notes.txt"), a}));
    EXPECT_EQ(anim.GetLoadedCount(), 2u);
    EXPECT_FALSE(anim.SetFilenames({a, m_folder.Path("gone.3ds"), a}));
    EXPECT_EQ(anim.GetLoadedCount(), 1u);
    EXPECT_EQ(m_errors.Count(), 2u);

    CTestableMesh<CAnimFileMeshObject> empty;
    EXPECT_FALSE(empty.BuildOn(m_device.Get()));
    EXPECT_TRUE(empty.SetFilenames({m_folder.Path("notes.txt"), a}));
    EXPECT_FALSE(empty.BuildOn(m_device.Get())) << "the first slot is empty";
}

// The LightWave frames of an animation are split like the first one, so
// that every frame has the same vertices.
TEST_F(MeshObjects, LightWaveFramesAreSplitLikeTheFirst) {
    std::vector<float> flat = CubePoints();
    for (size_t i = 1; i < flat.size(); i += 3)
        flat[i] = 0.0f;
    const std::string cube = m_folder.Write("cube.lwo", MakeLWO([](CChunkWriter& w) {
                                                LwoPoints(w, CubePoints());
                                                LwoPolygons(w, CubeTriangles());
                                            }));
    const std::string squashed = m_folder.Write("flat.lwo", MakeLWO([&](CChunkWriter& w) {
                                                    LwoPoints(w, flat);
                                                    LwoPolygons(w, CubeTriangles());
                                                }));
    CTestableMesh<CAnimFileMeshObject> anim;
    ASSERT_TRUE(anim.SetFilenames({cube, squashed, cube}));
    EXPECT_EQ(anim.GetSharedVertexCount(), 24u);
}

TEST_F(MeshObjects, KeyedFramePositionFollowsTheCurrentKeyFrame) {
    CAnimFileMeshObject anim;
    EXPECT_FLOAT_EQ(anim.GetSpeed(), 0.0f);
    const int later = anim.AddKeyFrame(2.0f);
    anim.SetCurrentKeyFrame(later);
    anim.SetSpeed(4.0f);
    EXPECT_FLOAT_EQ(anim.GetSpeed(), 4.0f);
    anim.SetCurrentKeyFrame(anim.GetKeyFrameID(0));
    EXPECT_FLOAT_EQ(anim.GetSpeed(), 0.0f);
}

// Records in plain and packed scene files: the file names come back, and a
// packed record carries the mesh files themselves.
TEST_F(MeshObjects, BothObjectsReadBackTheirRecords) {
    const std::string a = Frame("a.3ds", 4, 0.0f);
    const std::string b = Frame("b.3ds", 4, 2.0f);
    for (const bool packed : {false, true}) {
        CScene scene;
        CFileMeshObject file;
        file.SetObjName("statue");
        file.SetFilename(a);
        CAnimFileMeshObject anim;
        anim.SetObjName("wave");
        anim.SetCurrentKeyFrame(anim.AddKeyFrame(2.0f));
        anim.SetSpeed(4.0f);
        anim.SetFilenames({a, b, a});

        CSceneFile out(scene, packed, "");
        file.Save(out);
        anim.Save(out);
        CSceneFile in(scene, packed, "");
        ASSERT_TRUE(in.LoadData(out.GetData()));
        CFileMeshObject fileCopy;
        CAnimFileMeshObject animCopy;
        fileCopy.SetScene(scene);
        animCopy.SetScene(scene);
        ASSERT_TRUE(fileCopy.Load(in));
        ASSERT_TRUE(animCopy.Load(in));
        EXPECT_EQ(fileCopy.GetFilename(), a);
        EXPECT_EQ(fileCopy.GetDirectory(), m_folder.Path(""));
        EXPECT_EQ(fileCopy.GetObjName(), "statue");
        EXPECT_THAT(animCopy.GetFilenames(), ElementsAre(a, b, a));
        EXPECT_EQ(animCopy.GetLoadedCount(), 3u);
        EXPECT_EQ(animCopy.GetObjName(), "wave");
        ASSERT_EQ(animCopy.GetKeyFrameNumber(), 2);
        animCopy.SetCurrentKeyFrame(animCopy.GetKeyFrameID(1));
        EXPECT_FLOAT_EQ(animCopy.GetSpeed(), 4.0f);
        // The scene file being read holds the mesh files (packed: from the
        // record itself; plain: read from the disk) for the loaders.
        BYTE* data = nullptr;
        EXPECT_GT(in.GetFile(b, data), 0);
    }

    // A record cut short is refused, never read past.
    CScene scene;
    CSceneFile out(scene, true, "");
    CFileMeshObject file;
    file.SetFilename(a);
    file.Save(out);
    std::vector<BYTE> cut = out.GetData();
    cut.resize(cut.size() / 3);
    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(cut));
    CFileMeshObject copy;
    EXPECT_FALSE(copy.Load(in));
}

TEST(MeshObjectFactory, CreatesBothMeshObjects) {
    std::unique_ptr<CObjects> file(CObjectFactory::Get("CFileMeshObject"));
    std::unique_ptr<CObjects> anim(CObjectFactory::Get("CAnimFileMeshObject"));
    EXPECT_NE(dynamic_cast<CFileMeshObject*>(file.get()), nullptr);
    EXPECT_NE(dynamic_cast<CAnimFileMeshObject*>(anim.get()), nullptr);
}
