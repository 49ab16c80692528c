// Both mesh objects through whole scene files: saved plain or packed and
// loaded into a new scene, where they read their meshes from the scene file
// being loaded (packed: with the mesh files gone from the disk).

#include <gtest/gtest.h>

#include <filesystem>

#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "meshes/common/MeshFiles.h"
#include "scene/CScene.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using namespace meshfiles;

namespace {

std::vector<BYTE> Triangle(float height, BYTE red) {
    S3DSObject o;
    o.name = "t";
    o.positions = {0, 0, height, 1, 0, height, 0, 1, height};
    o.faces = {0, 1, 2};
    o.material = "paint";
    return Make3DS({{"paint", red, 0, 0, ""}}, {o});
}

}  // namespace

TEST(MeshObjectsInScenes, PlainAndPackedScenesBringBothObjectsBack) {
    for (const bool packed : {false, true}) {
        CTempFolder folder;
        const std::string a = folder.Write("a.3ds", Triangle(0, 128));
        const std::string b = folder.Write("b.3ds", Triangle(1, 64));
        const std::string scenePath = folder.Path(packed ? "packed.bgs" : "plain.bgs");
        {
            CScene scene;
            auto* statue = new CFileMeshObject;
            statue->SetObjName("statue");
            statue->SetFilename(a);
            ASSERT_TRUE(statue->Init());
            scene.AddObject(*statue);
            auto* wave = new CAnimFileMeshObject;
            wave->SetObjName("wave");
            ASSERT_TRUE(wave->SetFilenames({a, b, a}));
            ASSERT_TRUE(wave->Init());
            scene.AddObject(*wave);
            ASSERT_TRUE(scene.Save(scenePath, packed));
        }
        if (packed) {
            std::filesystem::remove(a);
            std::filesystem::remove(b);
        }

        CErrorCapture errors;
        CScene loaded;
        ASSERT_TRUE(loaded.Load(scenePath, packed)) << (packed ? "packed" : "plain");
        EXPECT_EQ(errors.Count(), 0u) << (errors.Count() ? errors.Texts()[0] : "");
        auto* statue = dynamic_cast<CFileMeshObject*>(loaded.GetObjectA("statue"));
        ASSERT_NE(statue, nullptr);
        EXPECT_EQ(statue->GetFilename(), a);
        EXPECT_EQ(statue->GetObjType(), "CFileMeshObject") << "Init read the mesh";
        EXPECT_FLOAT_EQ(statue->GetMaterial(0).Diffuse.r, 0.5f);
        auto* wave = dynamic_cast<CAnimFileMeshObject*>(loaded.GetObjectA("wave"));
        ASSERT_NE(wave, nullptr);
        EXPECT_EQ(wave->GetLoadedCount(), 3u);
        EXPECT_EQ(wave->GetObjType(), "CAnimFileMeshObject");
    }
}
