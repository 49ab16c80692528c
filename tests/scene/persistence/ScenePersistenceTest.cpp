// Whole scenes written to scene files and packages and read back: settings,
// objects, curves, object references, the packed player image and trailer,
// and damaged files that must leave the current scene as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CBoxObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CMP3Player.h"
#include "scene/CObjectFactory.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/BmpFile.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

template <class TObject>
void EnsureFactoryKnows(const char* type) {
    std::unique_ptr<CObjects> probe(CObjectFactory::Get(type));
    if (!probe)
        CObjectFactory::Register(type, [] { return new TObject(); });
}

// A 2 x 2 24-bit BMP of one colour (0xRRGGBB).
std::vector<BYTE> Bmp(unsigned int rgb) {
    return EncodeBmp24(2, 2, [rgb](int, int) { return rgb; });
}

template <class T>
T* Find(CScene& scene, const char* name) {
    return dynamic_cast<T*>(scene.GetObjectA(CString(name)));
}

std::vector<std::string> ListOrder(CScene& scene) {
    std::vector<std::string> names;
    for (int i = 0; i < scene.GetObjectNumber(); ++i)
        names.push_back(scene.GetObjectA(i)->GetObjName());
    return names;
}

// The scene settings a file stores, as the screen holds them.
struct SScreenSettings {
    D3DCOLOR background;
    bool fog;
    float density, start, end;
    D3DCOLOR fogColor;
    float totalTime;
    bool loop;
    bool musicLoop, musicEnabled;

    static D3DCOLOR Packed(D3DCOLORVALUE c) {
        auto byte = [](float f) { return static_cast<D3DCOLOR>(std::clamp(f * 256.0f, 0.0f, 255.0f)); };
        return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
    }
    static SScreenSettings Now() {
        CScreen& s = CScreen::Instance();
        return {s.GetBackgroundColorARGB(),
                s.IsFogEnabled(),
                s.GetFogDensity(),
                s.GetFogStart(),
                s.GetFogEnd(),
                Packed(s.GetFogColor()),
                s.GetTotalTime(),
                s.IsLoop(),
                s.GetSound().GetLoop(),
                s.GetSound().GetEnable()};
    }
    bool operator==(const SScreenSettings&) const = default;
};

void SetScreenSettings(float shade, bool flags) {
    CScreen& s = CScreen::Instance();
    s.SetBackgroundColor(D3DCOLORVALUE{shade, shade / 2, shade / 4, 1.0f});
    s.EnableFog(flags);
    s.SetFogDensity(shade);
    s.SetFogStart(5.0f * shade);
    s.SetFogEnd(50.0f * shade);
    s.SetFogColor(D3DCOLORVALUE{shade / 4, shade / 2, shade, 1.0f});
    s.SetTotalTime(100.0f * shade);
    s.SetLoop(!flags);
    s.GetSound().SetEnable(false);
    s.GetSound().SetLoop(flags);
}

const char* const kFaces[6] = {"back.bmp", "front.bmp", "top.bmp", "bottom.bmp", "left.bmp", "right.bmp"};

class ScenePersistence : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureFactoryKnows<CBoxObject>("CBoxObject");
        EnsureFactoryKnows<CSphereObject>("CSphereObject");
        EnsureFactoryKnows<CPlaneObject>("CPlaneObject");
        CScreen& screen = CScreen::Instance();
        screen.SetTime(0.0f);
        screen.GetSound().SetCommandSender([](const CString&) -> MCIERROR { return 0; });
        m_settings = SScreenSettings::Now();
    }

    // A box, a sphere, a plane, a camera looking at the box and a trajectory
    // carrying the sphere; a sky box with six pictures and a background image.
    void BuildFullScene(CScene& scene) {
        auto* box = new CBoxObject();
        box->SetObjName("Box");
        box->SetPosition(1.0f, 2.0f, 3.0f);
        box->SetCurrentKeyFrame(box->AddKeyFrame(2.0f));
        box->SetPosition(4.0f, 5.0f, 9.0f);
        box->SetColor(D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 1.0f}, 0);
        box->SetSize(1.0f, 2.0f, 3.0f);
        auto* sphere = new CSphereObject();
        sphere->SetObjName("Sphere");
        sphere->SetAlpha(0.5f);
        sphere->SetRadius(2.5f);
        auto* plane = new CPlaneObject();
        plane->SetObjName("Plane");
        plane->SetSize(2.0f, 3.0f);
        plane->SetProjectionMode(PM_PERSPECTIVE);
        auto* camera = new CCameraTrajectoryObject();
        camera->SetObjName("Camera");
        camera->SetInterpolationMode(IM_LINEAR);
        camera->SetPosition(D3DXVECTOR3(0.0f, 1.0f, -10.0f));
        camera->SetWeight(2);
        camera->SetCurrentKeyFrame(camera->AddKeyFrame(4.0f));
        camera->SetPosition(D3DXVECTOR3(8.0f, 1.0f, -10.0f));
        camera->SetZoom(1.5f);
        camera->SetWeight(3);
        camera->SetOrientation(OR_LOOK_AT_OBJECT);
        camera->SetLookAtObject(box);
        auto* path = new CTrajectoryObject();
        path->SetObjName("Path");
        path->GetPath().Insert(6.0f, 0.0f, 6.0f, 3.0f, -1);
        path->SetAssignedObject(sphere);
        path->SetOrientation(OR_FRONT);
        path->SetDisplayTraj(true);
        // Objects know their type once initialised, as in the editor.
        for (CObjects* object : std::initializer_list<CObjects*>{box, sphere, plane, camera, path})
            object->Init();
        // Trajectories last, so at the front of the list: saving still puts
        // them after the others.
        scene.AddObject(*box);
        scene.AddObject(*sphere);
        scene.AddObject(*plane);
        scene.AddObject(*path);
        scene.AddObject(*camera);

        CSkyBoxObject& sky = scene.GetSkyBox();
        sky.SetBackPicture(folder.Write(kFaces[0], Bmp(0x101010)));
        sky.SetFrontPicture(folder.Write(kFaces[1], Bmp(0x202020)));
        sky.SetTopPicture(folder.Write(kFaces[2], Bmp(0x303030)));
        sky.SetBottomPicture(folder.Write(kFaces[3], Bmp(0x404040)));
        sky.SetLeftPicture(folder.Write(kFaces[4], Bmp(0x505050)));
        sky.SetRightPicture(folder.Write(kFaces[5], Bmp(0x606060)));
        scene.GetBackgroundImage().SetTexture(folder.Write("background.bmp", Bmp(0x00FF00)), 0);
        scene.EnableSkyBox(true);
        scene.EnableBackgroundImage(false);
        *scene.GetDisplayFormat() = CDisplayFormat(2, 5, "My Saver");
        SetScreenSettings(0.5f, true);
    }

    // What BuildFullScene made, as read back from a file.
    void ExpectFullScene(CScene& scene) {
        // The file's order reversed; the scene was drawn before it was saved,
        // which put the transparent sphere after the opaque box.
        EXPECT_THAT(ListOrder(scene), ElementsAre("Path", "Camera", "Sphere", "Box", "Plane"));
        EXPECT_EQ(scene.GetCameraNumber(), 1);
        EXPECT_TRUE(scene.HasSkyBox());
        EXPECT_TRUE(scene.GetSkyBox().GetVisible());
        EXPECT_FALSE(scene.HasBackgroundImage());
        EXPECT_EQ(scene.GetSkyBox().GetBackPicture(), folder.Path(kFaces[0]));
        EXPECT_EQ(scene.GetSkyBox().GetRightPicture(), folder.Path(kFaces[5]));
        EXPECT_EQ(scene.GetBackgroundImage().GetTexture(0), folder.Path("background.bmp"));

        auto* box = Find<CBoxObject>(scene, "Box");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetKeyFrameNumber(), 2);
        EXPECT_EQ(box->GetCurrentPosition(0.0f), D3DXVECTOR3(1.0f, 2.0f, 3.0f));
        EXPECT_EQ(box->GetCurrentPosition(1.0f), m_boxAtOne);
        box->SetCurrentKeyFrame(box->GetKeyFrameID(1));
        EXPECT_EQ(box->GetDiffuseColor(0).r, 1.0f);
        float x = 0, y = 0, z = 0;
        box->GetSize(x, y, z);
        EXPECT_EQ(z, 3.0f);
        auto* sphere = Find<CSphereObject>(scene, "Sphere");
        ASSERT_NE(sphere, nullptr);
        EXPECT_EQ(sphere->GetAlpha(), 0.5f);
        EXPECT_EQ(sphere->GetRadius(), 2.5f);
        auto* plane = Find<CPlaneObject>(scene, "Plane");
        ASSERT_NE(plane, nullptr);
        float width = 0, height = 0;
        plane->GetSize(width, height);
        EXPECT_EQ(width, 2.0f);
        EXPECT_EQ(height, 3.0f);

        auto* camera = Find<CCameraTrajectoryObject>(scene, "Camera");
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(scene.GetCamera(0), camera);
        EXPECT_EQ(camera->GetKeyFrameNumber(), 2);
        EXPECT_EQ(camera->GetInterpolationMode(), IM_LINEAR);
        EXPECT_EQ(camera->GetWeight(), 2);
        EXPECT_EQ(camera->GetCurrentPosition(2.0f), D3DXVECTOR3(4.0f, 1.0f, -10.0f));
        camera->SetCurrentKeyFrame(camera->GetKeyFrameID(1));
        EXPECT_EQ(camera->GetWeight(), 3);
        EXPECT_EQ(camera->GetZoom(), 1.5f);
        EXPECT_EQ(camera->GetOrientation(), OR_LOOK_AT_OBJECT);
        EXPECT_EQ(camera->GetLookAtObject(), box);

        auto* path = Find<CTrajectoryObject>(scene, "Path");
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(path->GetAssignedObject(), sphere);
        EXPECT_EQ(path->GetLookAtObject(), nullptr);
        EXPECT_EQ(path->GetOrientation(), OR_FRONT);
        EXPECT_EQ(path->GetPath().GetNumberPoints(), 2);
        EXPECT_EQ(path->GetPath().GetPointValueFromIndex(1), D3DXVECTOR3(6.0f, 0.0f, 6.0f));
        EXPECT_TRUE(path->GetDisplayTraj());

        EXPECT_EQ(SScreenSettings::Now(), m_saved);
    }

    CTempFolder folder;
    SScreenSettings m_settings{};
    SScreenSettings m_saved{};
    D3DXVECTOR3 m_boxAtOne;
    CScreenStateGuard m_screenState;
};

// The player image a packed save copies in front, beside the test program.
// A real player built beside the tests is used as it is (other tests run it
// at the same time, so it is never replaced or removed); only where there is
// none a stub stands in for it during the test.
class CPlayerImageStub {
public:
    explicit CPlayerImageStub(std::vector<BYTE> bytes) {
        m_path = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "ScreenSaver.dat";
        if (std::filesystem::exists(m_path)) {
            m_bytes = CTempFolder::Read(m_path.string());
            return;
        }
        m_bytes = std::move(bytes);
        m_bOwned = true;
        std::ofstream out(m_path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()));
    }
    ~CPlayerImageStub() {
        if (m_bOwned)
            std::filesystem::remove(m_path);
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::filesystem::path m_path;
    std::vector<BYTE> m_bytes;
    bool m_bOwned = false;
};

}  // namespace

TEST_F(ScenePersistence, AFullSceneComesBackFromAPlainFileAndFromAPackage) {
    CHeadlessWindow window(32, 32);
    CScreenRunner runner(window);
    const bool ran = runner.RunFrames(1, [&](int) {
        const std::string plainPath = folder.Path("scene.bgs");
        const std::string packedPath = folder.Path("scene.exe");
        {
            CScene original;
            BuildFullScene(original);
            m_boxAtOne = Find<CBoxObject>(original, "Box")->GetCurrentPosition(1.0f);
            m_saved = SScreenSettings::Now();
            original.Render();  // initialised objects save the same
            ASSERT_TRUE(original.Save(plainPath, false));
            EXPECT_EQ(original.GetPath(), plainPath);
            CPlayerImageStub player(std::vector<BYTE>(3000, 0x90));
            ASSERT_TRUE(original.Save(packedPath, true));

            const std::vector<BYTE> package = CTempFolder::Read(packedPath);
            ASSERT_GT(package.size(), player.Bytes().size());
            EXPECT_TRUE(std::equal(player.Bytes().begin(), player.Bytes().end(), package.begin()));
            const std::vector<BYTE> plain = CTempFolder::Read(plainPath);
            EXPECT_EQ(plain.size() + player.Bytes().size() + 6 * Bmp(0).size() + 6 * 4 + Bmp(0).size() + 4,
                      package.size());  // seven pictures inside, each with its size
        }

        SetScreenSettings(0.25f, false);
        CScene loaded;
        ASSERT_TRUE(loaded.Load(plainPath, false));
        EXPECT_EQ(loaded.GetPath(), plainPath);
        EXPECT_EQ(loaded.GetSceneFile(), nullptr);
        ExpectFullScene(loaded);

        // The package needs none of the files it was made from.
        for (const char* face : kFaces)
            std::filesystem::remove(folder.Path(face));
        std::filesystem::remove(folder.Path("background.bmp"));
        SetScreenSettings(0.25f, false);
        ASSERT_TRUE(loaded.Load(packedPath, true));
        ExpectFullScene(loaded);
        for (int face = 0; face < 6; ++face)
            EXPECT_NE(loaded.GetSkyBox().GetTexturePointer(face), nullptr);
        EXPECT_NE(loaded.GetBackgroundImage().GetTexturePointer(0), nullptr);

        ASSERT_TRUE(loaded.LoadTOC(packedPath));
        EXPECT_EQ(loaded.GetDisplayFormat()->m_iResolution, 2);
        EXPECT_EQ(loaded.GetDisplayFormat()->m_iFlags, 5);
        EXPECT_EQ(loaded.GetDisplayFormat()->m_Name, "My Saver");
        loaded.RemoveAllObjects();
    });
    EXPECT_TRUE(ran);
    // The screen remembers the window of its last run; this one dies here.
    CScreen::Instance().SetWindow(nullptr);
}

TEST_F(ScenePersistence, LoadingWithTrajectoriesHiddenSwitchesTheirDisplayOff) {
    const std::string path = folder.Path("hidden.bgs");
    {
        CScene scene;
        BuildFullScene(scene);
        ASSERT_TRUE(scene.Save(path, false));
    }
    CScene scene;
    scene.SetDisplayTrajectories(false);
    ASSERT_TRUE(scene.Load(path, false));
    // Saved with the trajectories at the front of the list, read back with
    // them last in the file: the file's order reversed puts them first.
    EXPECT_THAT(ListOrder(scene), ElementsAre("Path", "Camera", "Box", "Sphere", "Plane"));
    auto* trajectory = Find<CTrajectoryObject>(scene, "Path");
    auto* camera = Find<CCameraTrajectoryObject>(scene, "Camera");
    ASSERT_NE(trajectory, nullptr);
    ASSERT_NE(camera, nullptr);
    EXPECT_FALSE(trajectory->GetDisplayCtrl());
    EXPECT_FALSE(trajectory->GetDisplayTraj());
    EXPECT_FALSE(camera->GetDisplayCamera());

    scene.SetDisplayTrajectories(true);
    ASSERT_TRUE(scene.Load(path, false));
    EXPECT_TRUE(Find<CTrajectoryObject>(scene, "Path")->GetDisplayCtrl());
}

TEST_F(ScenePersistence, AReferenceToAnObjectLaterInTheFileIsNotResolved) {
    // Written by hand: the trajectory's record before the box it carries.
    CScene scratch;
    auto* box = new CBoxObject();
    box->SetObjName("Box");
    auto* trajectory = new CTrajectoryObject();
    trajectory->SetObjName("Path");
    trajectory->SetAssignedObject(box);
    trajectory->SetLookAtObject(box);
    box->Init();
    trajectory->Init();
    scratch.AddObject(*box);
    scratch.AddObject(*trajectory);

    CSceneFile file(scratch, false, "");
    file.WriteHeader();
    file.WriteBool(false);
    file.WriteBool(false);
    for (int i = 0; i < 7; ++i)
        file.WriteFile("");
    file.WriteColor(D3DCOLORVALUE{0, 0, 0, 1});
    file.WriteBool(false);
    for (int i = 0; i < 3; ++i)
        file.WriteFloat(1.0f);
    file.WriteColor(D3DCOLORVALUE{0, 0, 0, 1});
    file.WriteFloat(30.0f);
    file.WriteBool(true);
    file.WriteBool(false);  // music loop
    file.WriteBool(false);  // music enabled
    file.WriteInt(2);
    file.Write(*trajectory);
    file.Write(*box);
    const std::string path = folder.Path("forward.bgs");
    ASSERT_TRUE(file.Save(path));

    CScene scene;
    ASSERT_TRUE(scene.Load(path, false));
    auto* loaded = Find<CTrajectoryObject>(scene, "Path");
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(Find<CBoxObject>(scene, "Box"), nullptr);
    EXPECT_EQ(loaded->GetAssignedObject(), nullptr);
    EXPECT_EQ(loaded->GetLookAtObject(), nullptr);
}

TEST_F(ScenePersistence, ADamagedFileLeavesTheCurrentSceneUntouched) {
    // A small scene: no pictures, no music, one box and one camera.
    const std::string goodPath = folder.Path("good.bgs");
    {
        CScene small;
        auto* box = new CBoxObject();
        box->SetObjName("Small box");
        box->Init();
        small.AddObject(*box);
        small.AddObject(*new CCameraTrajectoryObject());
        SetScreenSettings(0.75f, true);
        ASSERT_TRUE(small.Save(goodPath, false));
    }
    const std::vector<BYTE> good = CTempFolder::Read(goodPath);
    // Header 40, flags 2, seven empty file names 28, colour 16, fog 1 + 12
    // + 16, total time 4, loop 1, music 2: the object count is at 122.
    constexpr size_t kCountAt = 122;
    ASSERT_GT(good.size(), kCountAt + 4);
    ASSERT_EQ(good[kCountAt], 2);

    CScene scene;
    auto* mine = new CBoxObject();
    mine->SetObjName("Mine");
    scene.AddObject(*mine);
    auto* camera = new CCameraTrajectoryObject();
    scene.AddObject(*camera);
    scene.EnableBackgroundImage(true);
    const std::string currentPath = folder.Path("current.bgs");
    ASSERT_TRUE(scene.Save(currentPath, false));
    scene.Render();
    SetScreenSettings(0.25f, false);
    const SScreenSettings before = SScreenSettings::Now();
    const std::vector<CObjects*> objects = {scene.GetObjectA(0), scene.GetObjectA(1)};

    struct SDamage {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<SDamage> damaged;
    damaged.push_back({"truncated", std::vector<BYTE>(good.begin(), good.begin() + good.size() * 2 / 3)});
    damaged.push_back({"bad header", good});
    damaged.back().bytes[4] = 'X';
    damaged.push_back({"bad count", good});
    for (int i = 0; i < 4; ++i)
        damaged.back().bytes[kCountAt + i] = 0x7F;
    damaged.push_back({"record past the end", good});
    // The first record's length follows its type name "CBoxObject".
    damaged.back().bytes[kCountAt + 4 + 4 + 10 + 3] = 0x7F;
    damaged.push_back({"empty", {}});

    for (const SDamage& damage : damaged) {
        SCOPED_TRACE(damage.what);
        const std::string path = folder.Write("damaged.bgs", damage.bytes);
        CErrorCapture errors;
        EXPECT_FALSE(scene.Load(path, false));
        ASSERT_EQ(errors.Count(), 1u);
        EXPECT_THAT(errors.Texts()[0], HasSubstr("damaged.bgs"));
        EXPECT_EQ(scene.GetObjectNumber(), 2);
        EXPECT_EQ(scene.GetObjectA(0), objects[0]);
        EXPECT_EQ(scene.GetObjectA(1), objects[1]);
        EXPECT_EQ(scene.GetObjectA(CString("Mine")), mine);
        EXPECT_EQ(scene.GetCurrentCamera(), camera);
        EXPECT_TRUE(scene.HasBackgroundImage());
        EXPECT_EQ(scene.GetPath(), currentPath);
        EXPECT_EQ(SScreenSettings::Now(), before);
    }

    CErrorCapture errors;
    EXPECT_FALSE(scene.Load(folder.Path("missing.bgs"), false));
    EXPECT_EQ(errors.Count(), 1u);
    EXPECT_EQ(scene.GetObjectNumber(), 2);

    // The undamaged file replaces everything.
    ASSERT_TRUE(scene.Load(goodPath, false));
    EXPECT_THAT(ListOrder(scene), ElementsAre("No name", "Small box"));
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
    EXPECT_FALSE(scene.HasBackgroundImage());
    EXPECT_FLOAT_EQ(CScreen::Instance().GetFogDensity(), 0.75f);
}

TEST_F(ScenePersistence, AFileCutAnywhereIsRefusedUnlessNothingOfTheSceneIsMissing) {
    const std::string wholePath = folder.Path("whole.bgs");
    {
        CScene original;
        auto* box = new CBoxObject();
        box->SetObjName("Box");
        auto* sphere = new CSphereObject();
        sphere->SetObjName("Sphere");
        auto* camera = new CCameraTrajectoryObject();
        camera->SetObjName("Camera");
        camera->SetOrientation(OR_LOOK_AT_OBJECT);
        camera->SetLookAtObject(box);
        auto* path = new CTrajectoryObject();
        path->SetObjName("Path");
        path->SetAssignedObject(sphere);
        for (CObjects* object : std::initializer_list<CObjects*>{box, sphere, camera, path}) {
            object->Init();
            original.AddObject(*object);
        }
        *original.GetDisplayFormat() = CDisplayFormat(2, 5, "Cut");
        SetScreenSettings(0.5f, true);
        ASSERT_TRUE(original.Save(wholePath, false));
    }
    const std::vector<BYTE> whole = CTempFolder::Read(wholePath);
    const size_t sceneDataEnd = whole.size() - CSceneFile::kTrailerSize;
    auto expectWholeScene = [](CScene& scene) {
        EXPECT_THAT(ListOrder(scene), ElementsAre("Camera", "Path", "Box", "Sphere"));
        auto* camera = Find<CCameraTrajectoryObject>(scene, "Camera");
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(camera->GetLookAtObject(), scene.GetObjectA(CString("Box")));
    };

    CScene scene;
    auto* mine = new CBoxObject();
    mine->SetObjName("Mine");
    scene.AddObject(*mine);
    SetScreenSettings(0.25f, false);
    const SScreenSettings before = SScreenSettings::Now();
    for (size_t length = 0; length < whole.size(); ++length) {
        if (length == sceneDataEnd) {
            continue;
        }
        SCOPED_TRACE(length);
        const std::string path = folder.Write(
            "cut.bgs", std::vector<BYTE>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        CErrorCapture errors;
        ASSERT_FALSE(scene.Load(path, false));
        ASSERT_EQ(errors.Count(), 1u);
        ASSERT_THAT(errors.Texts()[0], HasSubstr("cut.bgs"));
        ASSERT_EQ(scene.GetObjectNumber(), 1);
        ASSERT_EQ(SScreenSettings::Now(), before);
    }

    // Cut right before its trailer the file is a scene file without one,
    // which the format allows: all of the scene is there, and the missing
    // display format is known to be missing.
    const std::string withoutTrailer = folder.Write(
        "no trailer.bgs", std::vector<BYTE>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(sceneDataEnd)));
    ASSERT_TRUE(scene.Load(withoutTrailer, false));
    expectWholeScene(scene);
    *scene.GetDisplayFormat() = CDisplayFormat(0, 0, "unchanged");
    EXPECT_FALSE(scene.LoadTOC(withoutTrailer));
    EXPECT_EQ(scene.GetDisplayFormat()->m_Name, "unchanged");

    ASSERT_TRUE(scene.Load(wholePath, false));
    expectWholeScene(scene);
    ASSERT_TRUE(scene.LoadTOC(wholePath));
    EXPECT_EQ(scene.GetDisplayFormat()->m_Name, "Cut");
    EXPECT_EQ(scene.GetDisplayFormat()->m_iFlags, 5);
}

TEST_F(ScenePersistence, SavingWhereNoFileCanBeWrittenFailsWithAMessage) {
    CScene scene;
    scene.AddObject(*new CBoxObject());
    CErrorCapture errors;
    EXPECT_FALSE(scene.Save(folder.Path("no such folder/scene.bgs"), false));
    EXPECT_EQ(errors.Count(), 1u);
    EXPECT_EQ(scene.GetPath(), "");

    // A file without a trailer has no display format to read.
    const std::string path = folder.Write("plain.txt", std::string(200, 'x'));
    *scene.GetDisplayFormat() = CDisplayFormat(1, 2, "kept");
    EXPECT_FALSE(scene.LoadTOC(path));
    EXPECT_EQ(scene.GetDisplayFormat()->m_Name, "kept");
}
