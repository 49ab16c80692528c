#include "scene/CScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "core/CScreen.h"
#include "core/CTools.h"
#include "objects/CBaseObject.h"
#include "scene/CMP3Player.h"
#include "scene/CObjects.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

namespace {

const char kTrajectoryType[] = "CTrajectoryObject";
const char kCameraType[] = "CCameraTrajectoryObject";

// A record is at least its type name's length and its own length.
constexpr unsigned int kMinimumRecordBytes = 8;

// The background image lies behind everything the overlays show.
const D3DXVECTOR3 kBackgroundImagePosition(0.0f, 0.0f, 100.0f);

bool IsTrajectoryType(const CString& type) {
    return type == kTrajectoryType || type == kCameraType;
}

CString Quoted(const CString& text) {
    return "\"" + text + "\"";
}

bool IsIdentity(const D3DXMATRIX& m) {
    static const D3DXMATRIX identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return m == identity;
}

// Where an object stands in the world: the origin of its last world matrix.
// An object not drawn yet (its world matrix is still the identity) stands at
// its position curve's value now.
D3DXVECTOR3 WorldPosition(CBaseObject& object) {
    const D3DXMATRIX& world = object.GetWorldMatrix();
    if (IsIdentity(world)) {
        return object.GetCurrentPosition();
    }
    return D3DXVECTOR3(world._41, world._42, world._43);
}

// NaN would break the ordering's strict weak order: such keys go last.
float OrderKey(float key) {
    return std::isnan(key) ? -std::numeric_limits<float>::infinity() : key;
}

// Reads a file reference of the scene settings. In plain mode a file that is
// not on disk has already been reported by the reader and leaves the name
// empty, as base objects do with their textures; damaged data (the reader
// did not even get past the name) still ends the load.
CString ReadSettingsFile(CSceneFile& file) {
    const size_t before = file.GetPosition();
    try {
        return file.ReadFile();
    } catch (const CSceneFileException&) {
        if (file.IsPacked() || file.GetPosition() == before) {
            throw;
        }
        return CString();
    }
}

}  // namespace

// What a scene file says about the scene itself, read before anything of the
// current scene changes.
struct CScene::SLoadedSettings {
    bool skyBox = false;
    bool backgroundImage = false;
    // back, front, top, bottom, left, right: the order of the file
    CString pictures[6];
    CString backgroundTexture;
    D3DCOLORVALUE backgroundColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool fogEnabled = false;
    float fogDensity = 0.0f;
    float fogStart = 0.0f;
    float fogEnd = 0.0f;
    D3DCOLORVALUE fogColor{0.0f, 0.0f, 0.0f, 1.0f};
    float totalTime = 0.0f;
    bool loop = false;
    bool musicLoop = false;
    bool musicEnabled = false;
    CString musicPath;
};

bool CScene::SOrderEntry::operator<(const SOrderEntry& other) const {
    // Far first, so that nearer objects blend over farther ones; equal keys
    // keep their former order.
    if (key != other.key) {
        return key > other.key;
    }
    return place < other.place;
}

CScene::CScene() : m_pDisplayFormat(std::make_unique<CDisplayFormat>(0, 0, "")) {
    m_SkyBox.SetVisible(false);
    m_BackgroundImage.SetVisible(false);
    m_BackgroundImage.SetPosition(kBackgroundImagePosition);
}

CScene::CScene(SStaging) : CScene() {
    m_bStaging = true;
}

CScene::~CScene() {
    if (m_bStaging) {
        DestroyAllObjects();
    } else {
        CleanUp();
    }
}

void CScene::Lock() {
    m_SceneLock.Lock();
}

void CScene::Unlock() {
    m_SceneLock.Unlock();
}

// ---------------------------------------------------------------- the list

void CScene::AddObject(CObjects& object) {
    InsertObject(object, 0);
}

void CScene::RemoveObject(const CString& name) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    TakeObject(name);  // destroyed on leaving
}

std::unique_ptr<CObjects> CScene::TakeObject(const CString& name) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    const auto found =
        std::find_if(m_Objects.begin(), m_Objects.end(), [&name](CObjects* o) { return o->GetObjName() == name; });
    if (found == m_Objects.end()) {
        return nullptr;
    }
    std::unique_ptr<CObjects> object(*found);
    m_Cameras.erase(std::remove(m_Cameras.begin(), m_Cameras.end(), object.get()), m_Cameras.end());
    if (m_pCurrentCamera == object.get()) {
        m_pCurrentCamera = nullptr;
    }
    m_Objects.erase(found);
    ForgetReferencesTo(*object);
    return object;
}

void CScene::InsertObject(CObjects& object, int index, int cameraIndex) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    // A second insertion would make the scene destroy the object twice.
    if (std::find(m_Objects.begin(), m_Objects.end(), &object) != m_Objects.end()) {
        return;
    }
    const auto clamped = [](int wanted, size_t size) {
        return std::clamp<std::ptrdiff_t>(wanted, 0, static_cast<std::ptrdiff_t>(size));
    };
    m_Objects.insert(m_Objects.begin() + clamped(index, m_Objects.size()), &object);
    object.SetScene(*this);
    if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(&object)) {
        const int place = cameraIndex < 0 ? static_cast<int>(m_Cameras.size()) : cameraIndex;
        m_Cameras.insert(m_Cameras.begin() + clamped(place, m_Cameras.size()), camera);
    }
}

void CScene::RemoveAllObjects() {
    std::lock_guard<CMutex> guard(m_SceneLock);
    DestroyAllObjects();
}

void CScene::DestroyAllObjects() {
    for (CObjects* object : m_Objects) {
        delete object;
    }
    m_Objects.clear();
    m_Cameras.clear();
    m_pCurrentCamera = nullptr;
}

void CScene::ForgetReferencesTo(const CObjects& object) {
    for (CObjects* other : m_Objects) {
        if (auto* trajectory = dynamic_cast<CTrajectoryObject*>(other)) {
            trajectory->ForgetObject(object);
        } else if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(other)) {
            camera->ForgetObject(object);
        }
    }
}

CObjects* CScene::GetObjectA(const CString& name) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    const auto found =
        std::find_if(m_Objects.begin(), m_Objects.end(), [&name](CObjects* o) { return o->GetObjName() == name; });
    return found != m_Objects.end() ? *found : nullptr;
}

CObjects* CScene::GetObjectA(int index) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    if (index < 0 || index >= static_cast<int>(m_Objects.size())) {
        return nullptr;
    }
    return m_Objects[static_cast<size_t>(index)];
}

bool CScene::IsObjectExisting(const CString& name) {
    return GetObjectA(name) != nullptr;
}

int CScene::GetObjectNumber() {
    std::lock_guard<CMutex> guard(m_SceneLock);
    return static_cast<int>(m_Objects.size());
}

int CScene::GetCameraNumber() {
    std::lock_guard<CMutex> guard(m_SceneLock);
    return static_cast<int>(m_Cameras.size());
}

CCameraTrajectoryObject* CScene::GetCamera(int index) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    if (index < 0 || index >= static_cast<int>(m_Cameras.size())) {
        return nullptr;
    }
    return m_Cameras[static_cast<size_t>(index)];
}

void CScene::SetSelected(const CString& name) {
    // Its own small lock rather than the scene lock, so that selecting never
    // waits for a frame being drawn, yet the render thread never reads a
    // half-written name.
    std::lock_guard<std::mutex> guard(m_SelectedMutex);
    m_SelectedName = name;
}

CString CScene::GetSelected() const {
    std::lock_guard<std::mutex> guard(m_SelectedMutex);
    return m_SelectedName;
}

// ---------------------------------------------------------------- background

void CScene::EnableSkyBox(bool enable) {
    m_bSkyBox = enable;
    m_SkyBox.SetVisible(enable);
}

void CScene::EnableBackgroundImage(bool enable) {
    m_bBackgroundImage = enable;
    m_BackgroundImage.SetVisible(enable);
}

// ---------------------------------------------------------------- drawing

void CScene::Render() {
    std::lock_guard<CMutex> guard(m_SceneLock);
    // The camera is chosen before the view is set, so that even the first
    // frame of a scene looks through its camera trajectory.
    SelectCurrentCamera();
    SetCamera();
    RenderBackground(m_BackgroundImage);
    RenderBackground(m_SkyBox);
    ReorderList();
    {
        std::lock_guard<std::mutex> selected(m_SelectedMutex);
        m_FrameSelectedName = m_SelectedName;  // reuses its storage
    }
    for (CObjects* object : m_Objects) {
        object->Render();
        if (IsSelected(*object)) {
            Outline(object);
        }
    }
}

void CScene::RenderBackground(CBaseObject& object) {
    if (!object.GetVisible()) {
        return;
    }
    // CleanUp released the object's geometry; it is built again once the
    // scene shows it again, as after a device reset.
    if (object.GetVB() == nullptr && !object.NeedsInit() && CScreen::Instance().GetD3DDevice() != nullptr) {
        object.CleanUp();  // keeps its registration with the screen single
        object.Init();
    }
    object.Render();
}

bool CScene::IsSelected(const CObjects& object) {
    return !m_FrameSelectedName.empty() && m_FrameSelectedName == object.GetObjName();
}

void CScene::SelectCurrentCamera() {
    if (m_Cameras.empty()) {
        return;  // the current camera stays as it is
    }
    // The first camera with the greatest weight: later ones must beat it.
    CCameraTrajectoryObject* best = m_Cameras.front();
    int bestWeight = best->GetCurrentWeight();
    for (CCameraTrajectoryObject* camera : m_Cameras) {
        camera->SetDisplayCamera(m_bFreeCamera);
        const int weight = camera->GetCurrentWeight();
        if (weight > bestWeight) {
            best = camera;
            bestWeight = weight;
        }
    }
    m_pCurrentCamera = best;
}

void CScene::SetCamera() {
    CScreen& screen = CScreen::Instance();
    if (m_bFreeCamera) {
        screen.ResetFieldOfView();
        return;
    }
    if (m_pCurrentCamera == nullptr) {
        return;
    }
    D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 direction(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    m_pCurrentCamera->GetCurrentFromAt(eye, direction, up);
    screen.SetCamera(eye, direction, up);
    screen.SetFieldOfView(m_pCurrentCamera->GetCurrentZoom());
}

D3DXVECTOR3 CScene::EyePosition() {
    if (!m_bFreeCamera && m_pCurrentCamera != nullptr) {
        return m_pCurrentCamera->GetCurrentPosition();
    }
    D3DXVECTOR3 position(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 direction(0.0f, 0.0f, 1.0f);
    CScreen::Instance().GetCameraPosition(position, direction);
    return position;
}

void CScene::ReorderList() {
    // Scenes without camera trajectories keep their order: newest first.
    if (m_Cameras.empty()) {
        return;
    }
    const D3DXVECTOR3 eye = EyePosition();
    m_OpaqueObjects.clear();
    m_OverlayObjects.clear();
    m_TransparentObjects.clear();
    m_OtherObjects.clear();

    for (size_t place = 0; place < m_Objects.size(); ++place) {
        CObjects* object = m_Objects[place];
        if (!object->IsBaseObject()) {
            m_OtherObjects.push_back(object);
            continue;
        }
        auto& base = static_cast<CBaseObject&>(*object);
        if (base.GetProjectionMode() != PM_PERSPECTIVE) {
            m_OverlayObjects.push_back({OrderKey(WorldPosition(base).z), place, object});
        } else if (base.GetCurrentAlpha() == 1.0f) {
            m_OpaqueObjects.push_back(object);
        } else {
            const D3DXVECTOR3 offset = WorldPosition(base) - eye;
            m_TransparentObjects.push_back({OrderKey(D3DXVec3Length(&offset)), place, object});
        }
    }
    std::sort(m_OverlayObjects.begin(), m_OverlayObjects.end());
    std::sort(m_TransparentObjects.begin(), m_TransparentObjects.end());

    // Opaque 3D objects, overlays, transparent 3D objects, then the rest.
    auto next = m_Objects.begin();
    next = std::copy(m_OpaqueObjects.begin(), m_OpaqueObjects.end(), next);
    for (const SOrderEntry& entry : m_OverlayObjects) {
        *next++ = entry.object;
    }
    for (const SOrderEntry& entry : m_TransparentObjects) {
        *next++ = entry.object;
    }
    std::copy(m_OtherObjects.begin(), m_OtherObjects.end(), next);
}

void CScene::Outline(CObjects* object) {
    if (!object->IsBaseObject()) {
        return;
    }
    // Drawn again as a red wireframe, pulled in front of its own faces.
    auto& base = static_cast<CBaseObject&>(*object);
    base.SetSelected(true);
    base.SetZBias(1);
    base.Render();
    base.SetSelected(false);
    base.SetZBias(0);
}

// ---------------------------------------------------------------- emptying

void CScene::CleanUp() {
    CScreen& screen = CScreen::Instance();
    std::lock_guard<CMutex> guard(m_SceneLock);
    screen.Log("CScene::CleanUp() %d objects\n", static_cast<int>(m_Objects.size()));
    m_SkyBox.CleanUp();
    for (CObjects* object : m_Objects) {
        screen.Log("CScene::CleanUp() object:%s\n", object->GetObjName().c_str());
        object->CleanUp();
    }
    // Nothing else holds the objects once they are out of the list.
    DestroyAllObjects();

    EnableSkyBox(false);
    EnableBackgroundImage(false);
    m_SkyBox.SetBackPicture("");
    m_SkyBox.SetFrontPicture("");
    m_SkyBox.SetTopPicture("");
    m_SkyBox.SetBottomPicture("");
    m_SkyBox.SetLeftPicture("");
    m_SkyBox.SetRightPicture("");
    m_SkyBox.CleanUp();
    m_BackgroundImage.SetTexture("", 0);
    // Its device resources go too; Load initialises it again, and so does
    // the next frame that shows it.
    m_BackgroundImage.CleanUp();

    screen.EnableFog(false);
    screen.SetFogStart(10.0f);
    screen.SetFogEnd(20.0f);
    screen.SetFogColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
}

// ---------------------------------------------------------------- saving

bool CScene::Save(CString path, bool packed) {
    if (!SaveCopy(path, packed)) {
        return false;
    }
    m_Path = path;
    return true;
}

bool CScene::SaveCopy(CString path, bool packed) {
    CSceneFile file(*this, packed, m_Path);
    file.GetDisplayFormat() = *m_pDisplayFormat;
    file.WriteHeader();
    {
        std::lock_guard<CMutex> guard(m_SceneLock);
        WriteSettings(file);
        file.WriteInt(static_cast<int>(m_Objects.size()));
        // Trajectories go last, so that the objects they refer to by name
        // already exist when they are read back.
        for (CObjects* object : m_Objects) {
            if (!IsTrajectoryType(object->GetObjType())) {
                file.Write(*object);
            }
        }
        for (CObjects* object : m_Objects) {
            if (IsTrajectoryType(object->GetObjType())) {
                file.Write(*object);
            }
        }
    }
    return file.Save(path);
}

void CScene::WriteSettings(CSceneFile& file) {
    CScreen& screen = CScreen::Instance();
    file.WriteBool(m_bSkyBox);
    file.WriteBool(m_bBackgroundImage);
    file.WriteFile(m_SkyBox.GetBackPicture());
    file.WriteFile(m_SkyBox.GetFrontPicture());
    file.WriteFile(m_SkyBox.GetTopPicture());
    file.WriteFile(m_SkyBox.GetBottomPicture());
    file.WriteFile(m_SkyBox.GetLeftPicture());
    file.WriteFile(m_SkyBox.GetRightPicture());
    file.WriteFile(m_BackgroundImage.GetTexture(0));
    file.WriteColor(screen.GetBackgroundColor());
    file.WriteBool(screen.IsFogEnabled());
    file.WriteFloat(screen.GetFogDensity());
    file.WriteFloat(screen.GetFogStart());
    file.WriteFloat(screen.GetFogEnd());
    file.WriteColor(screen.GetFogColor());
    file.WriteFloat(screen.GetTotalTime());
    file.WriteBool(screen.IsLoop());
    screen.GetSound().Save(file);
}

// ---------------------------------------------------------------- loading

bool CScene::Load(CString path, bool packed) {
    // The whole file is read into a scene of its own first; only a file that
    // was read to the end replaces the current content.
    CScene staging{SStaging{}};
    CSceneFile file(staging, packed, "");
    if (!file.Load(path)) {
        return false;  // reported by the reader
    }
    SLoadedSettings settings;
    try {
        if (!file.ReadHeader()) {
            CTools::Error("Unable to load " + Quoted(path) + ": it is not a scene file.");
            return false;
        }
        staging.m_pSceneFile = &file;
        ReadSettings(file, settings);
        ReadObjects(file, staging);
        file.ExpectEndOfData();
        staging.m_pSceneFile = nullptr;
    } catch (const CSceneFileException& e) {
        staging.m_pSceneFile = nullptr;
        CTools::Error("Unable to load " + Quoted(path) + ": " + e.GetMessage());
        return false;
    }

    std::lock_guard<CMutex> guard(m_SceneLock);
    CleanUp();
    m_pSceneFile = &file;  // the pictures and the music come from the file
    ApplySettings(settings);
    ApplyMusic(file, settings);
    TakeObjects(staging);
    m_pSceneFile = nullptr;
    m_Path = path;
    return true;
}

void CScene::ReadSettings(CSceneFile& file, SLoadedSettings& settings) {
    settings.skyBox = file.ReadBool();
    settings.backgroundImage = file.ReadBool();
    for (CString& picture : settings.pictures) {
        picture = ReadSettingsFile(file);
    }
    settings.backgroundTexture = ReadSettingsFile(file);
    settings.backgroundColor = file.ReadColor();
    settings.fogEnabled = file.ReadBool();
    settings.fogDensity = file.ReadFloat();
    settings.fogStart = file.ReadFloat();
    settings.fogEnd = file.ReadFloat();
    settings.fogColor = file.ReadColor();
    settings.totalTime = file.ReadFloat();
    settings.loop = file.ReadBool();
    // The music player's part: loop, enabled and, when enabled, the file.
    settings.musicLoop = file.ReadBool();
    settings.musicEnabled = file.ReadBool();
    if (settings.musicEnabled) {
        settings.musicPath = ReadSettingsFile(file);
    }
}

void CScene::ReadObjects(CSceneFile& file, CScene& staging) const {
    const unsigned int count = file.ReadCount(kMinimumRecordBytes);
    for (unsigned int i = 0; i < count; ++i) {
        std::unique_ptr<CObjects> object = file.Read();
        if (object == nullptr) {
            continue;  // unknown type, or its data could not be used
        }
        object->SetScene(staging);
        object->Init();
        if (!m_bDisplayTrajectories) {
            if (auto* trajectory = dynamic_cast<CTrajectoryObject*>(object.get())) {
                trajectory->SetDisplayCtrl(false);
                trajectory->SetDisplayTraj(false);
            } else if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(object.get())) {
                camera->SetDisplayCamera(false);
            }
        }
        staging.AddObject(*object.release());  // the scene owns its objects from here on
    }
}

void CScene::ApplySettings(const SLoadedSettings& settings) {
    EnableSkyBox(settings.skyBox);
    EnableBackgroundImage(settings.backgroundImage);
    m_SkyBox.SetScene(*this);
    m_SkyBox.Init();
    m_SkyBox.SetBackPicture(settings.pictures[0]);
    m_SkyBox.SetFrontPicture(settings.pictures[1]);
    m_SkyBox.SetTopPicture(settings.pictures[2]);
    m_SkyBox.SetBottomPicture(settings.pictures[3]);
    m_SkyBox.SetLeftPicture(settings.pictures[4]);
    m_SkyBox.SetRightPicture(settings.pictures[5]);
    m_BackgroundImage.SetScene(*this);
    m_BackgroundImage.Init();
    m_BackgroundImage.SetTexture(settings.backgroundTexture, 0);

    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(settings.backgroundColor);
    screen.EnableFog(settings.fogEnabled);
    screen.SetFogDensity(settings.fogDensity);
    screen.SetFogStart(settings.fogStart);
    screen.SetFogEnd(settings.fogEnd);
    screen.SetFogColor(settings.fogColor);
    screen.SetTotalTime(settings.totalTime);
    screen.SetLoop(settings.loop);
}

void CScene::ApplyMusic(CSceneFile& file, const SLoadedSettings& settings) {
    // The music player reads its own part of a scene file and acts on it at
    // once (stops, closes, opens the new file). It gets that part again,
    // rebuilt from what was read, now that the file is known to be sound.
    CSceneFile part(*this, false, "");
    part.WriteBool(settings.musicLoop);
    part.WriteBool(settings.musicEnabled);
    BYTE* data = nullptr;
    int size = 0;
    if (settings.musicEnabled) {
        part.WriteString(settings.musicPath);
        if (file.IsPacked() && !settings.musicPath.empty()) {
            size = file.GetFile(settings.musicPath, data);
            part.WriteUInt(static_cast<unsigned int>(size));
        }
    }
    std::vector<BYTE> bytes = part.GetData();
    if (size > 0) {
        bytes.insert(bytes.end(), data, data + size);
    }
    // Zeros where a trailer would be: the music data must not pass for one.
    bytes.resize(bytes.size() + CSceneFile::kTrailerSize, 0);

    CSceneFile reader(*this, file.IsPacked(), "");
    if (reader.LoadData(std::move(bytes))) {
        CScreen::Instance().GetSound().Load(reader);
    }
}

void CScene::TakeObjects(CScene& staging) {
    m_Objects = std::move(staging.m_Objects);
    m_Cameras = std::move(staging.m_Cameras);
    staging.m_Objects.clear();
    staging.m_Cameras.clear();
    staging.m_pCurrentCamera = nullptr;
    m_pCurrentCamera = nullptr;
    for (CObjects* object : m_Objects) {
        object->SetScene(*this);
    }
}

bool CScene::LoadTOC(CString path) {
    CSceneFile file(*this, false, "");
    if (!file.Load(path) || !file.ReadTOC()) {
        return false;
    }
    *m_pDisplayFormat = file.GetDisplayFormat();
    return true;
}
