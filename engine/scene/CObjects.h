#pragma once
// The root of every scene object: name, type and description, the links to
// the screen, the device and the scene, and lazy initialisation (an object is
// initialised at its first render).

#include "platform/base/CString.h"

class CScene;
class CSceneFile;
class CScreen;
class IDirect3DDevice8;

class CObjects {
public:
    CObjects();
    CObjects(const CObjects& other);
    CObjects& operator=(const CObjects& other);
    // Also removes the object from the screen's registered objects, so that a
    // device reset never reaches a destroyed object.
    virtual ~CObjects();

    // Sets type "CObjects" and description "Object" (derived classes set their
    // own afterwards), registers with the screen and clears needs-init.
    virtual bool Init();
    // Unregisters from the screen.
    virtual void CleanUp();
    virtual void Render();
    virtual bool IsBaseObject();
    // Writes description, type and name (three strings).
    virtual void Save(CSceneFile& file);
    // Reads them back in the same order.
    virtual bool Load(CSceneFile& file);
    virtual void SetScene(CScene& scene);

    const CString& GetObjName() const { return m_Name; }
    void SetObjName(const CString& name) { m_Name = name; }
    const CString& GetObjType() const { return m_Type; }
    const CString& GetObjDescription() const { return m_Description; }
    CScene* GetScene() const { return m_pScene; }
    bool NeedsInit() const { return m_bNeedsInit; }

protected:
    // Takes the screen and its current device.
    void PreInit();
    // Initialises the object the first time it is rendered.
    void PreRender();

    IDirect3DDevice8* m_pd3dDevice = nullptr;
    CScreen* m_pScreen = nullptr;
    CString m_Name = "No name";
    CString m_Type;
    CString m_Description;
    CScene* m_pScene = nullptr;
    bool m_bNeedsInit = true;
};
