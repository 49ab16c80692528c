#include "scene/CScene.h"

#include <algorithm>

#include "scene/CObjects.h"

namespace {

const char kCameraType[] = "CCameraTrajectoryObject";

}  // namespace

CScene::CScene() : m_pDisplayFormat(std::make_unique<CDisplayFormat>(0, 0, "")) {}

CScene::~CScene() {
    RemoveAllObjects();
}

void CScene::Lock() {
    m_SceneLock.Lock();
}

void CScene::Unlock() {
    m_SceneLock.Unlock();
}

void CScene::AddObject(CObjects& object) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    // A second add would make the scene destroy the object twice.
    if (std::find(m_Objects.begin(), m_Objects.end(), &object) != m_Objects.end()) {
        return;
    }
    m_Objects.push_front(&object);
    object.SetScene(*this);
    if (object.GetObjType() == kCameraType) {
        m_Cameras.push_back(&object);
    }
}

void CScene::RemoveObject(const CString& name) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    const auto found = std::find_if(m_Objects.begin(), m_Objects.end(),
                                    [&name](CObjects* o) { return o->GetObjName() == name; });
    if (found == m_Objects.end()) {
        return;
    }
    CObjects* object = *found;
    if (object->GetObjType() == kCameraType) {
        const auto camera = std::find_if(m_Cameras.begin(), m_Cameras.end(),
                                         [&name](CObjects* c) { return c->GetObjName() == name; });
        if (camera != m_Cameras.end()) {
            m_Cameras.erase(camera);
        }
    }
    // The camera list was matched by name; never leave it pointing at the
    // object about to be destroyed.
    m_Cameras.erase(std::remove(m_Cameras.begin(), m_Cameras.end(), object), m_Cameras.end());
    if (m_pCurrentCamera == object) {
        m_pCurrentCamera = nullptr;
    }
    m_Objects.erase(found);
    delete object;
}

void CScene::RemoveAllObjects() {
    std::lock_guard<CMutex> guard(m_SceneLock);
    for (CObjects* object : m_Objects) {
        delete object;
    }
    m_Objects.clear();
    m_Cameras.clear();
    m_pCurrentCamera = nullptr;
}

CObjects* CScene::GetObjectA(const CString& name) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    const auto found = std::find_if(m_Objects.begin(), m_Objects.end(),
                                    [&name](CObjects* o) { return o->GetObjName() == name; });
    return found != m_Objects.end() ? *found : nullptr;
}

CObjects* CScene::GetObjectA(int index) {
    std::lock_guard<CMutex> guard(m_SceneLock);
    if (index < 0 || index >= static_cast<int>(m_Objects.size())) {
        return nullptr;
    }
    return *std::next(m_Objects.begin(), index);
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
