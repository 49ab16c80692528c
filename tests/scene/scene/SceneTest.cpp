// The scene's object list, the root object's lifecycle, the factory, the
// screen's registered objects and log, and the vector helpers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "core/CTools.h"
#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CErrorCapture.h"

namespace {

// Counts destructions so that ownership can be checked.
class CTrackedObject : public CObjects {
public:
    CTrackedObject(const char* name, int* destroyed, const char* type = "CTrackedObject") : m_destroyed(destroyed) {
        m_Name = name;
        m_Type = type;
    }
    ~CTrackedObject() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

// A camera trajectory that counts its destruction.
class CTrackedCamera : public CCameraTrajectoryObject {
public:
    CTrackedCamera(const char* name, int* destroyed) : m_destroyed(destroyed) { m_Name = name; }
    ~CTrackedCamera() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

}  // namespace

TEST(Scene, AddsAtTheFrontAndFindsByNameAndIndex) {
    int destroyed = 0;
    CScene scene;
    EXPECT_TRUE(scene.GetFreeCamera());
    EXPECT_TRUE(scene.GetDisplayTrajectories());
    EXPECT_EQ(scene.GetSceneFile(), nullptr);
    EXPECT_EQ(scene.GetDisplayFormat()->m_iFlags, 0);

    auto* first = new CTrackedObject("a", &destroyed);
    auto* second = new CTrackedObject("b", &destroyed);
    scene.AddObject(*first);
    scene.AddObject(*second);
    scene.AddObject(*second);  // already there: ignored
    EXPECT_EQ(scene.GetObjectNumber(), 2);
    EXPECT_EQ(scene.GetObjectA(0), second);
    EXPECT_EQ(scene.GetObjectA(1), first);
    EXPECT_EQ(scene.GetObjectA(2), nullptr);
    EXPECT_EQ(scene.GetObjectA(-1), nullptr);
    EXPECT_EQ(scene.GetObjectA(CString("a")), first);
    EXPECT_EQ(scene.GetObjectA(CString("A")), nullptr);
    EXPECT_TRUE(scene.IsObjectExisting("b"));
    EXPECT_FALSE(scene.IsObjectExisting("c"));
    EXPECT_EQ(first->GetScene(), &scene);
    EXPECT_EQ(scene.GetCameraNumber(), 0);
}

TEST(Scene, RemovingDestroysOnlyTheFirstMatch) {
    int destroyed = 0;
    {
        CScene scene;
        auto* older = new CTrackedObject("twin", &destroyed);
        auto* newer = new CTrackedObject("twin", &destroyed);
        scene.AddObject(*older);
        scene.AddObject(*newer);
        scene.AddObject(*new CTrackedCamera("cam", &destroyed));
        EXPECT_EQ(scene.GetCameraNumber(), 1);

        scene.RemoveObject("twin");
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(scene.GetObjectA(CString("twin")), older);
        scene.RemoveObject("nobody");
        EXPECT_EQ(destroyed, 1);

        scene.RemoveObject("cam");
        EXPECT_EQ(destroyed, 2);
        EXPECT_EQ(scene.GetCameraNumber(), 0);

        scene.AddObject(*new CTrackedCamera("cam2", &destroyed));
        scene.RemoveAllObjects();
        EXPECT_EQ(destroyed, 4);
        EXPECT_EQ(scene.GetObjectNumber(), 0);
        EXPECT_EQ(scene.GetCameraNumber(), 0);

        scene.AddObject(*new CTrackedObject("left over", &destroyed));
    }
    EXPECT_EQ(destroyed, 5);  // the scene destroys what it still holds
}

TEST(Scene, LockIsRecursiveAndHoldsOtherThreadsBack) {
    CScene scene;
    std::atomic<bool> done{false};
    scene.Lock();
    scene.Lock();
    std::thread other([&] {
        scene.GetObjectNumber();
        done = true;
    });
    scene.Unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done);
    EXPECT_EQ(scene.GetObjectNumber(), 0);  // same thread: no deadlock
    scene.Unlock();
    other.join();
    EXPECT_TRUE(done);

    scene.SetSelected("box");
    EXPECT_EQ(scene.GetSelected(), "box");
}

TEST(Objects, InitRegistersWithTheScreenUntilCleanUpOrDestruction) {
    CScreen& screen = CScreen::Instance();
    const int before = screen.GetRegisteredObjectNumber();
    {
        CObjects object;
        EXPECT_EQ(object.GetObjName(), "No name");
        EXPECT_TRUE(object.GetObjType().empty());
        EXPECT_TRUE(object.NeedsInit());
        EXPECT_FALSE(object.IsBaseObject());

        EXPECT_TRUE(object.Init());
        EXPECT_EQ(object.GetObjType(), "CObjects");
        EXPECT_EQ(object.GetObjDescription(), "Object");
        EXPECT_FALSE(object.NeedsInit());
        EXPECT_TRUE(screen.IsObjectRegistered(object));
        object.CleanUp();
        EXPECT_FALSE(screen.IsObjectRegistered(object));

        object.Init();
        object.Init();  // registered twice
        EXPECT_EQ(screen.GetRegisteredObjectNumber(), before + 2);
    }
    // A destroyed object is never left behind for a device reset to reach.
    EXPECT_EQ(screen.GetRegisteredObjectNumber(), before);
}

TEST(Objects, SaveWritesDescriptionTypeAndName) {
    CScene scene;
    CObjects object;
    object.Init();
    object.SetObjName("Thing");
    CSceneFile out(scene, false, "");
    object.Save(out);
    CSceneFile in(scene, false, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_EQ(in.ReadString(), "Object");
    EXPECT_EQ(in.ReadString(), "CObjects");
    EXPECT_EQ(in.ReadString(), "Thing");

    CSceneFile again(scene, false, "");
    ASSERT_TRUE(again.LoadData(out.GetData()));
    CObjects copy;
    EXPECT_TRUE(copy.Load(again));
    EXPECT_EQ(copy.GetObjName(), "Thing");
    EXPECT_EQ(copy.GetObjType(), "CObjects");
    EXPECT_EQ(copy.GetObjDescription(), "Object");
    object.CleanUp();
}

TEST(ObjectFactory, CreatesRegisteredTypesByExactName) {
    EXPECT_EQ(CObjectFactory::Get("CNoSuchObject"), nullptr);
    EXPECT_TRUE(CObjectFactory::Register("CPlainObject", [] { return new CObjects(); }));
    EXPECT_FALSE(CObjectFactory::Register("CPlainObject", [] { return new CObjects(); }));
    std::unique_ptr<CObjects> made(CObjectFactory::Get("CPlainObject"));
    EXPECT_NE(made, nullptr);
    EXPECT_EQ(CObjectFactory::Get("cplainobject"), nullptr);
    CObjectFactory::Unregister("CPlainObject");
    EXPECT_EQ(CObjectFactory::Get("CPlainObject"), nullptr);
}

// The log is opened in the current directory when the screen is created, so
// this runs in a fresh process (a "threadsafe" death test re-runs the test
// binary) whose current directory is a folder of its own: other test
// processes sharing the build folder cannot truncate the file under it.
TEST(Screen, LogWritesFormattedLinesFromAnyThread) {
    const char* inherited = std::getenv("LVX_LOG_TEST_FOLDER");
    std::string folder = inherited ? inherited : "";
    if (folder.empty()) {
        folder = (std::filesystem::temp_directory_path() / "lvx-log-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        ::setenv("LVX_LOG_TEST_FOLDER", folder.c_str(), 1);
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::filesystem::current_path(folder);
            CScreen& screen = CScreen::Instance();
            std::vector<std::thread> threads;
            for (int t = 0; t < 4; ++t) {
                threads.emplace_back([&screen, t] {
                    for (int i = 0; i < 50; ++i) {
                        screen.Log("worker %d line %d\n", t, i);
                    }
                });
            }
            for (std::thread& thread : threads) {
                thread.join();
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    ::unsetenv("LVX_LOG_TEST_FOLDER");

    std::ifstream log(folder + "/log.txt");
    std::stringstream text;
    text << log.rdbuf();
    std::filesystem::remove_all(folder);
    std::istringstream lines(text.str());
    std::string line;
    int workerLines = 0;
    while (std::getline(lines, line)) {
        EXPECT_THAT(line, testing::MatchesRegex("worker [0-3] line [0-9]+"));
        ++workerLines;
    }
    EXPECT_EQ(workerLines, 200);
    for (int t = 0; t < 4; ++t) {
        EXPECT_THAT(text.str(), testing::HasSubstr("worker " + std::to_string(t) + " line 49\n"));
    }
}

TEST(Screen, ClockDefaultsAndReset) {
    CScreen& screen = CScreen::Instance();
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetTotalTime(), 60.0f);
    EXPECT_TRUE(screen.IsLoop());
    screen.SetTotalTime(12.5f);
    screen.SetLoop(false);
    EXPECT_FLOAT_EQ(screen.GetTotalTime(), 12.5f);
    EXPECT_FALSE(screen.IsLoop());
    screen.SetTotalTime(60.0f);
    screen.SetLoop(true);
    screen.ResetTime();
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 0.0f);
    EXPECT_EQ(screen.GetD3DDevice(), nullptr);
}

TEST(Tools, VectorHelpers) {
    const D3DXVECTOR3 x(1.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 y(0.0f, 1.0f, 0.0f);
    const D3DXVECTOR3 z = CTools::CrossProduct(x, y);
    EXPECT_FLOAT_EQ(z.z, 1.0f);
    EXPECT_FLOAT_EQ(CTools::VectorLength(D3DXVECTOR3(3.0f, 4.0f, 12.0f)), 13.0f);
    const D3DXVECTOR3 unit = CTools::Normalize(D3DXVECTOR3(0.0f, 0.0f, -5.0f));
    EXPECT_FLOAT_EQ(unit.z, -1.0f);
    // No zero check: a zero vector gives NaN, without crashing.
    EXPECT_TRUE(std::isnan(CTools::Normalize(D3DXVECTOR3(0.0f, 0.0f, 0.0f)).x));

    const D3DXVECTOR3 normal = CTools::GetFaceNormal(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 0, 0), D3DXVECTOR3(0, 2, 0));
    EXPECT_FLOAT_EQ(normal.z, 1.0f);
    EXPECT_FLOAT_EQ(CTools::AngleBetweenVectors(x, y), static_cast<float>(M_PI / 2));
    // Parallel vectors whose rounded cosine exceeds 1 still give 0, not NaN.
    const D3DXVECTOR3 slanted = CTools::Normalize(D3DXVECTOR3(0.1f, 0.7f, 0.3f));
    EXPECT_FLOAT_EQ(CTools::AngleBetweenVectors(slanted * 3.0f, slanted), 0.0f);
}

TEST(Tools, ErrorGoesThroughTheErrorHookWithTheErrorIcon) {
    CErrorCapture errors;
    CTools::Error("Something broke");
    EXPECT_THAT(errors.Texts(), testing::ElementsAre("Something broke"));
    EXPECT_THAT(errors.Icons(), testing::ElementsAre(ErrorIcon::Error));
}
