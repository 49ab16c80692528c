#pragma once
// One scene: the objects in drawing and file order, the camera trajectories
// among them, the selection and the scene's display settings. The editor's
// user-interface thread edits it while the render thread draws it; every list
// operation holds the scene lock (recursive, so that hosts may bracket
// several operations with Lock/Unlock).
//
// The scene owns the objects in its list: they are created with new (the
// factory does) and destroyed when they are removed or the scene dies.

#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/CMutex.h"
#include "platform/base/CString.h"
#include "scene/CDisplayFormat.h"

class CObjects;
class CSceneFile;

class CScene {
public:
    CScene();
    // Destroys the objects still in the list.
    virtual ~CScene();
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    void Lock();
    void Unlock();

    // Puts the object at the front of the list and takes ownership of it; a
    // "CCameraTrajectoryObject" also joins the cameras. Adding an object that
    // is already in the list does nothing.
    void AddObject(CObjects& object);
    // Destroys the first object with that name; unknown names are ignored.
    void RemoveObject(const CString& name);
    void RemoveAllObjects();

    // First object with exactly that name, or null.
    CObjects* GetObjectA(const CString& name);
    // Object at that position of the list (0 = front), or null.
    CObjects* GetObjectA(int index);
    bool IsObjectExisting(const CString& name);
    int GetObjectNumber();
    // Camera trajectories in the order they were added.
    int GetCameraNumber();

    // Name of the selected object; empty = none. Safe to call from the host
    // thread while the render thread reads it.
    void SetSelected(const CString& name);
    CString GetSelected() const;

    // true: the screen's own camera drives the view; false: the current camera
    // trajectory does.
    void SetFreeCamera(bool freeCamera) { m_bFreeCamera = freeCamera; }
    bool GetFreeCamera() const { return m_bFreeCamera; }
    // Whether trajectories are shown after a load.
    void SetDisplayTrajectories(bool display) { m_bDisplayTrajectories = display; }
    bool GetDisplayTrajectories() const { return m_bDisplayTrajectories; }

    // The file being loaded, else null.
    CSceneFile* GetSceneFile() { return m_pSceneFile; }
    CDisplayFormat* GetDisplayFormat() { return m_pDisplayFormat.get(); }
    // File the scene was last loaded from or saved to.
    const CString& GetPath() const { return m_Path; }

private:
    CObjects* m_pCurrentCamera = nullptr;
    std::vector<CObjects*> m_Cameras;
    bool m_bFreeCamera = true;
    CMutex m_SceneLock;
    mutable std::mutex m_SelectedMutex;
    CString m_SelectedName;
    std::list<CObjects*> m_Objects;
    CSceneFile* m_pSceneFile = nullptr;
    std::unique_ptr<CDisplayFormat> m_pDisplayFormat;
    bool m_bDisplayTrajectories = true;
    CString m_Path;
};
