// Where the mesh bytes come from: while a scene file is being read, every
// loader takes the file from it (packed or plain) and reports a name it does
// not hold instead of reading the disk; otherwise the disk.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/CXMeshLoader.h"
#include "meshes/common/MeshFiles.h"
#include "meshes/common/MeshTestSupport.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using namespace meshfiles;
using testing::ElementsAre;

namespace {

const char* const kQuadX = R"(xof 0302txt 0064
Mesh M {
  4;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  1.0;1.0;0.0;,
  0.0;1.0;0.0;;
  2;
  3;0,1,2;,
  3;0,2,3;;
}
)";

struct SFormat {
    const char* name;
    std::vector<BYTE> bytes;
    std::function<CMeshLoader*(CScene*)> loader;
};

std::vector<SFormat> Formats() {
    S3DSObject quad;
    quad.name = "q";
    quad.positions = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    quad.faces = {0, 1, 2, 0, 2, 3};
    quad.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    const std::string x = kQuadX;
    return {
        {"model.3ds", Make3DS({{"m", 1, 2, 3, "t.png"}}, {quad}),
         [](CScene* scene) { return new C3DSMeshLoader(scene); }},
        {"model.lwo", MakeLWO([](CChunkWriter& w) {
             LwoPoints(w, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
             LwoPolygons(w, {{0, 1, 2}, {0, 2, 3}});
         }),
         [](CScene* scene) { return new CLWOMeshLoader(scene); }},
        {"model.x", std::vector<BYTE>(x.begin(), x.end()), [](CScene* scene) { return new CXMeshLoader(scene); }},
    };
}

void ExpectSameMesh(const SMesh& a, const SMesh& b, const std::string& what) {
    ASSERT_EQ(a.GetNumVertices(), b.GetNumVertices()) << what;
    for (std::uint32_t i = 0; i < a.GetNumVertices(); ++i) {
        EXPECT_EQ(meshtest::PositionOf(a, i), meshtest::PositionOf(b, i)) << what;
    }
    EXPECT_EQ(a.indices, b.indices) << what;
    EXPECT_EQ(meshtest::EndFaces(a), meshtest::EndFaces(b)) << what;
}

}  // namespace

TEST(MeshSource, SceneFileBeingReadServesTheMeshPackedAndPlain) {
    for (const SFormat& format : Formats()) {
        for (const bool packed : {true, false}) {
            CTempFolder folder;
            CScene scene;
            const std::string path = folder.Write(format.name, format.bytes);
            std::unique_ptr<CMeshLoader> diskLoader(format.loader(&scene));
            std::unique_ptr<SMesh> fromDisk(diskLoader->Load(path, nullptr));
            ASSERT_NE(fromDisk, nullptr) << format.name;

            auto sceneFile = meshtest::SceneFileWith(scene, packed, {path});
            std::filesystem::remove(path);  // only the scene file has it now
            std::unique_ptr<CMeshLoader> loader(format.loader(&scene));
            loader->SetSceneFile(sceneFile.get());
            CErrorCapture errors;
            std::unique_ptr<SMesh> fromScene(loader->Load(path, nullptr));
            ASSERT_NE(fromScene, nullptr) << format.name << (packed ? " packed" : " plain");
            EXPECT_EQ(errors.Count(), 0u);
            ExpectSameMesh(*fromDisk, *fromScene, format.name);

            // Without the scene file the loader goes to the disk, where the file is gone.
            loader->SetSceneFile(nullptr);
            std::unique_ptr<SMesh> gone(loader->Load(path, nullptr));
            EXPECT_EQ(gone, nullptr) << format.name;
        }
    }
}

TEST(MeshSource, NameMissingFromTheSceneFileIsReportedNotReadFromDisk) {
    CTempFolder folder;
    CScene scene;
    const std::string other = folder.Write("other.bin", std::string("unrelated"));
    auto sceneFile = meshtest::SceneFileWith(scene, true, {other});
    for (const SFormat& format : Formats()) {
        const std::string path = folder.Write(format.name, format.bytes);  // on disk, not in the scene file
        std::unique_ptr<CMeshLoader> loader(format.loader(&scene));
        loader->SetSceneFile(sceneFile.get());
        CErrorCapture errors;
        EXPECT_EQ(loader->Load(path, nullptr), nullptr) << format.name;
        if (std::string(format.name) == "model.3ds") {
            EXPECT_THAT(errors.Texts(), ElementsAre("Unable to find the file in packed data!",
                                                    "unknown error. unable to load the model"));
            EXPECT_THAT(errors.Titles(), ElementsAre("Error", "Mesh importer Error"));
        } else {
            EXPECT_THAT(errors.Texts(),
                        ElementsAre("Mesh loading: Unable to load mesh \"" + path + "\": not found in the archive."));
        }
    }

    // An embedded file that is not a 3D Studio file names the packed data.
    C3DSMeshLoader loader;
    loader.SetSceneFile(sceneFile.get());
    CErrorCapture errors;
    EXPECT_EQ(loader.Load(other, nullptr), nullptr);
    EXPECT_THAT(errors.Texts(), ElementsAre("Unable to load PRIMARY chuck from file in packed data!",
                                            "unknown error. unable to load the model"));
}

// A loader made for a scene reads the disk while no scene load is running
// (the scene has no current scene file).
TEST(MeshSource, LoaderOfASceneThatIsNotLoadingReadsTheDisk) {
    CTempFolder folder;
    CScene scene;
    ASSERT_EQ(scene.GetSceneFile(), nullptr);
    for (const SFormat& format : Formats()) {
        std::unique_ptr<CMeshLoader> loader(format.loader(&scene));
        EXPECT_EQ(loader->GetScene(), &scene);
        std::unique_ptr<SMesh> mesh(loader->Load(folder.Write(format.name, format.bytes), nullptr));
        EXPECT_NE(mesh, nullptr) << format.name;
    }
}
