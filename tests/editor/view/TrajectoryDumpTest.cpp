// The middle click's trajectory dump: the listing of a scene (name blocks,
// one line per key frame of the keyed objects and of camera paths, nothing
// more for other objects), numbers with a point in any locale, and the file:
// replaced whole, or left alone when it cannot be written.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "objects/CBoxObject.h"
#include "scene/CScene.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "view/CTrajectoryDump.h"

namespace {

const std::string kDashes = "-------------------------------------------";

std::string NameBlock(const std::string& name) {
    return kDashes + "\n" + "Name: " + name + "\n" + kDashes + "\n";
}

// The line of a key frame, formatted in the C locale.
std::string KeyFrameLine(int index, float time, const D3DXVECTOR3& position) {
    char line[256];
    std::snprintf(line, sizeof line, "Keyframe %d: time: %f  position X: %f position Y: %f position Z: %f\n", index,
                  static_cast<double>(time), static_cast<double>(position.x), static_cast<double>(position.y),
                  static_cast<double>(position.z));
    return line;
}

class TrajectoryDump : public testing::Test {
protected:
    CCameraTrajectoryObject& AddMainCamera() {
        auto* camera = new CCameraTrajectoryObject();
        camera->SetScene(m_scene);
        camera->Init();
        camera->SetCurrentKeyFrame(camera->GetKeyFrameID(0));
        camera->SetPosition(D3DXVECTOR3(0.0f, 1.0f, -10.0f));
        camera->SetWeight(1);
        camera->SetObjName("Main Camera");
        m_scene.AddObject(*camera);
        return *camera;
    }
    // A box at (1, 2, 3) at time 0 and near (-4, 0.5, 8) at time 2.5 (the
    // spline through the keys passes close by).
    CBoxObject& AddMovingBox(const char* name) {
        auto* box = new CBoxObject();
        box->SetScene(m_scene);
        box->Init();
        box->SetObjName(name);
        box->SetCurrentKeyFrame(box->GetKeyFrameID(0));
        box->SetPosition(1.0f, 2.0f, 3.0f);
        box->SetCurrentKeyFrame(box->AddKeyFrame(2.5f));
        box->SetPosition(-4.0f, 0.5f, 8.0f);
        m_scene.AddObject(*box);
        return *box;
    }
    std::string ObjectName(int index) { return m_scene.GetObjectA(index)->GetObjName(); }

    CScreenStateGuard m_screenState;
    CScene m_scene;
};

// --- the listing ------------------------------------------------------------------

TEST_F(TrajectoryDump, ASceneWithOnlyTheMainCameraListsItsOneKeyFrame) {
    AddMainCamera();
    EXPECT_EQ(CTrajectoryDump::Text(m_scene),
              "Dump of the trajectories\n" + NameBlock("Main Camera") +
                  "Keyframe 0: time: 0.000000  position X: 0.000000 position Y: 1.000000 position Z: -10.000000\n");
}

TEST_F(TrajectoryDump, KeyedObjectsListEveryKeyFrameWithThePositionAtItsTime) {
    const CBoxObject& box = AddMovingBox("Box");
    const D3DXVECTOR3 second = box.GetCurrentPosition(2.5f);
    EXPECT_NEAR(second.x, -4.0f, 0.01f);
    EXPECT_EQ(CTrajectoryDump::Text(m_scene),
              "Dump of the trajectories\n" + NameBlock("Box") +
                  "Keyframe 0: time: 0.000000  position X: 1.000000 position Y: 2.000000 position Z: 3.000000\n" +
                  KeyFrameLine(1, 2.5f, second));
}

TEST_F(TrajectoryDump, CameraPathsListTheirKeyFramesInTimeOrder) {
    CCameraTrajectoryObject& camera = AddMainCamera();
    camera.SetCurrentKeyFrame(camera.AddKeyFrame(4.0f));
    camera.SetPosition(D3DXVECTOR3(6.0f, 1.0f, 0.0f));
    camera.SetCurrentKeyFrame(camera.AddKeyFrame(1.0f));
    camera.SetPosition(D3DXVECTOR3(0.0f, 3.0f, -5.0f));
    // The keys lie on the path (to float rounding).
    EXPECT_NEAR(camera.GetCurrentPosition(1.0f).z, -5.0f, 1e-4f);
    EXPECT_NEAR(camera.GetCurrentPosition(4.0f).x, 6.0f, 1e-4f);
    EXPECT_EQ(CTrajectoryDump::Text(m_scene), "Dump of the trajectories\n" + NameBlock("Main Camera") +
                                                  KeyFrameLine(0, 0.0f, camera.GetCurrentPosition(0.0f)) +
                                                  KeyFrameLine(1, 1.0f, camera.GetCurrentPosition(1.0f)) +
                                                  KeyFrameLine(2, 4.0f, camera.GetCurrentPosition(4.0f)));
}

TEST_F(TrajectoryDump, ObjectsWithoutKeyFramesGetOnlyTheirNameInSceneOrder) {
    auto* path = new CTrajectoryObject();
    path->SetScene(m_scene);
    path->Init();
    path->SetObjName("Path");
    m_scene.AddObject(*path);
    const CBoxObject& box = AddMovingBox("Box");
    AddMainCamera();

    const std::string text = CTrajectoryDump::Text(m_scene);
    std::string expected = "Dump of the trajectories\n";
    for (int index = 0; index < m_scene.GetObjectNumber(); ++index) {
        const std::string name = ObjectName(index);
        expected += NameBlock(name);
        if (name == "Box") {
            expected += KeyFrameLine(0, 0.0f, D3DXVECTOR3(1.0f, 2.0f, 3.0f)) +
                        KeyFrameLine(1, 2.5f, box.GetCurrentPosition(2.5f));
        } else if (name == "Main Camera") {
            expected +=
                "Keyframe 0: time: 0.000000  position X: 0.000000 position Y: 1.000000 position Z: -10.000000\n";
        }
    }
    EXPECT_EQ(text, expected);
    EXPECT_NE(text.find(NameBlock("Path")), std::string::npos);
}

TEST_F(TrajectoryDump, NumbersKeepTheirPointUnderAGermanLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            german = name;
            break;
        }
    }
    if (german == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    AddMovingBox("Box");
    const std::string text = CTrajectoryDump::Text(m_scene);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_NE(text.find("Keyframe 0: time: 0.000000  position X: 1.000000 position Y: 2.000000 position Z: 3.000000"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Keyframe 1: time: 2.500000  position X: -3.99"), std::string::npos) << text;
    EXPECT_EQ(text.find(','), std::string::npos) << text;
}

// --- the file -------------------------------------------------------------------------

TEST_F(TrajectoryDump, WritingReplacesAPreviousDumpWhole) {
    CTempFolder folder;
    const std::string path = folder.Write(CTrajectoryDump::kFileName, std::string(5000, 'x'));
    AddMainCamera();
    std::string error;
    ASSERT_TRUE(CTrajectoryDump::Write(m_scene, path, &error)) << error;
    const std::vector<BYTE> bytes = CTempFolder::Read(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), CTrajectoryDump::Text(m_scene));
}

TEST_F(TrajectoryDump, AFileThatCannotBeWrittenIsReportedAndNothingIsLeftBehind) {
    CTempFolder folder;
    const std::string path = folder.Path("missing/" + std::string(CTrajectoryDump::kFileName));
    std::string error;
    EXPECT_FALSE(CTrajectoryDump::Write(m_scene, path, &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(TrajectoryDump, TheFileLivesInTheHomeFolder) {
    const char* previous = std::getenv("HOME");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(CTrajectoryDump::DefaultPath(), "/home/someone/brennox_trajectories.txt");
    setenv("HOME", "/home/someone/", 1);
    EXPECT_EQ(CTrajectoryDump::DefaultPath(), "/home/someone/brennox_trajectories.txt");
    if (previous != nullptr) {
        setenv("HOME", saved.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

}  // namespace
