#pragma once
// One scene: the objects in drawing and file order, the camera trajectories
// among them and the current camera, the selection, the scene's fixed
// background (a background image plane and a sky box) and its display
// settings. The editor's user-interface thread edits it while the render
// thread draws it; every list operation holds the scene lock (recursive, so
// that hosts may bracket several operations with Lock/Unlock).
//
// The scene owns the objects in its list: they are created with new (the
// factory does) and destroyed when they are removed, when the scene is
// emptied (CleanUp) or when it dies.
//
// Each frame, Render chooses the camera trajectory with the greatest current
// weight, points the screen's camera through it and draws the objects in an
// order that puts transparent objects last (ReorderList). Save and Load write
// and read whole scene files through CSceneFile; Load parses the whole file
// before it replaces anything, so a damaged file leaves the scene as it was.

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "objects/CPlaneObject.h"
#include "objects/CSkyBoxObject.h"
#include "platform/base/CMutex.h"
#include "platform/base/CString.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CDisplayFormat.h"

class CBaseObject;
class CCameraTrajectoryObject;
class CObjects;
class CSceneFile;

class CScene {
public:
    CScene();
    // Empties the scene (CleanUp), destroying the objects still in the list.
    virtual ~CScene();
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    void Lock();
    void Unlock();

    // Puts the object at the front of the list and takes ownership of it; a
    // camera trajectory also joins the cameras. Adding an object that is
    // already in the list does nothing.
    void AddObject(CObjects& object);
    // Destroys the first object with that name; unknown names are ignored.
    // Trajectories that pointed at it forget it.
    void RemoveObject(const CString& name);
    void RemoveAllObjects();
    // Takes the first object with that name out of the list without
    // destroying it: the caller owns it from then on (the editor keeps a
    // removed object for its undo). Trajectories that pointed at it forget
    // it, as with RemoveObject. Null for an unknown name.
    std::unique_ptr<CObjects> TakeObject(const CString& name);
    // Puts the object at that position of the list and, a camera trajectory,
    // at that position among the cameras (both clamped to their lists; -1
    // for the cameras: last), and takes ownership as AddObject does.
    void InsertObject(CObjects& object, int index, int cameraIndex = -1);

    // First object with exactly that name, or null.
    CObjects* GetObjectA(const CString& name);
    // Object at that position of the list (0 = front), or null.
    CObjects* GetObjectA(int index);
    bool IsObjectExisting(const CString& name);
    int GetObjectNumber();
    // Camera trajectories in the order they were added.
    int GetCameraNumber();
    CCameraTrajectoryObject* GetCamera(int index);

    // Name of the selected object; empty = none. Safe to call from the host
    // thread while the render thread reads it.
    void SetSelected(const CString& name);
    CString GetSelected() const;

    // The flag is also the visible flag of the embedded object.
    void EnableSkyBox(bool enable);
    void EnableBackgroundImage(bool enable);
    bool HasSkyBox() const { return m_bSkyBox; }
    bool HasBackgroundImage() const { return m_bBackgroundImage; }
    CSkyBoxObject& GetSkyBox() { return m_SkyBox; }
    CPlaneObject& GetBackgroundImage() { return m_BackgroundImage; }

    // true: the screen's own camera drives the view; false: the current camera
    // trajectory does.
    void SetFreeCamera(bool freeCamera) { m_bFreeCamera = freeCamera; }
    bool GetFreeCamera() const { return m_bFreeCamera; }
    // The camera trajectory chosen for the last frame; null before the first
    // frame and in scenes without camera trajectories.
    CCameraTrajectoryObject* GetCurrentCamera() const { return m_pCurrentCamera; }
    // Whether trajectories are shown after a load.
    void SetDisplayTrajectories(bool display) { m_bDisplayTrajectories = display; }
    bool GetDisplayTrajectories() const { return m_bDisplayTrajectories; }

    // The file being loaded, else null.
    CSceneFile* GetSceneFile() { return m_pSceneFile; }
    CDisplayFormat* GetDisplayFormat() { return m_pDisplayFormat.get(); }
    // File the scene was last loaded from or saved to.
    const CString& GetPath() const { return m_Path; }

    // Draws the scene (render thread, between BeginScene and EndScene).
    void Render();
    // Releases the device resources and empties the scene: the objects are
    // cleaned up and destroyed, the sky box and background image disabled
    // and emptied, the fog reset. Fog density, background colour, total
    // time, loop and music stay.
    void CleanUp();
    // Writes the scene (packed: every referenced file inside, the player in
    // front). False, after a message, when the file cannot be written. The
    // scene then belongs to path: its files are looked for beside it.
    virtual bool Save(CString path, bool packed);
    // The same file written elsewhere (an export, a recovery copy) without
    // the scene moving there: its files are still found where they were.
    bool SaveCopy(CString path, bool packed);
    // Replaces the scene by the file's content. False, after a message, when
    // the file cannot be read or is damaged; the scene is then unchanged.
    virtual bool Load(CString path, bool packed);
    // Reads only the trailer's display format. False when the file cannot be
    // read or has no trailer.
    bool LoadTOC(CString path);

private:
    struct SLoadedSettings;
    // A scene that a file is parsed into before it replaces a real one: its
    // death does not touch the screen's settings.
    struct SStaging {};
    explicit CScene(SStaging);

    // An object with the key it is ordered by and its place before ordering
    // (the tie-breaker that keeps equal keys in their former order).
    struct SOrderEntry {
        float key;
        size_t place;
        CObjects* object;
        bool operator<(const SOrderEntry& other) const;
    };

    void SelectCurrentCamera();
    void SetCamera();
    void ReorderList();
    void Outline(CObjects* object);
    // Draws the background image or the sky box while it is enabled.
    void RenderBackground(CBaseObject& object);
    D3DXVECTOR3 EyePosition();
    void ForgetReferencesTo(const CObjects& object);
    void DestroyAllObjects();
    bool IsSelected(const CObjects& object);

    void WriteSettings(CSceneFile& file);
    static void ReadSettings(CSceneFile& file, SLoadedSettings& settings);
    void ReadObjects(CSceneFile& file, CScene& staging) const;
    void ApplySettings(const SLoadedSettings& settings);
    void ApplyMusic(CSceneFile& file, const SLoadedSettings& settings);
    void TakeObjects(CScene& staging);

    bool m_bStaging = false;
    bool m_bSkyBox = false;
    bool m_bBackgroundImage = false;
    CCameraTrajectoryObject* m_pCurrentCamera = nullptr;
    std::vector<CCameraTrajectoryObject*> m_Cameras;
    bool m_bFreeCamera = true;
    CMutex m_SceneLock;
    mutable std::mutex m_SelectedMutex;
    CString m_SelectedName;
    std::deque<CObjects*> m_Objects;
    CSkyBoxObject m_SkyBox;
    CPlaneObject m_BackgroundImage;
    CSceneFile* m_pSceneFile = nullptr;
    std::unique_ptr<CDisplayFormat> m_pDisplayFormat;
    bool m_bDisplayTrajectories = true;
    CString m_Path;

    // Kept between frames so that drawing a scene allocates nothing once
    // the vectors have grown to the scene's size.
    CString m_FrameSelectedName;
    std::vector<CObjects*> m_OpaqueObjects;
    std::vector<SOrderEntry> m_OverlayObjects;
    std::vector<SOrderEntry> m_TransparentObjects;
    std::vector<CObjects*> m_OtherObjects;

    // Benchmarks time the ordering and the drawing of a frame apart.
    friend class CSceneFrameProbe;
};
