#pragma once
// A keyed path that carries another object along it. Each frame the path is
// evaluated at the scene time; the assigned object is moved to that point and
// turned to face along the path, against it, towards a position or towards
// another object. In the editor the path shows itself with small box markers:
// one at every key and six between consecutive keys.
//
// The trajectory never owns the objects it points at. The scene clears those
// pointers when it destroys an object (ForgetObject).

#include "animation/CVectorInterpolation.h"
#include "animation/TOrientation.h"
#include "objects/CBoxObject.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CObjects.h"

class CBaseObject;

class CTrajectoryObject : public CObjects {
public:
    CTrajectoryObject();
    ~CTrajectoryObject() override;

    // Sets up and initialises the markers; type "CTrajectoryObject",
    // description "Trajectory".
    bool Init() override;
    // Releases the markers' device resources, then unregisters.
    void CleanUp() override;
    // Moves the assigned object along the path and draws the markers.
    void Render() override;
    // Display flags, orientation, the two object references by name, the
    // path, then the root part.
    void Save(CSceneFile& file) override;
    // References are resolved against the scene at once: an object that
    // comes later in the file is not found.
    bool Load(CSceneFile& file) override;

    CBaseObject* GetAssignedObject() const { return m_pAssignedObject; }
    void SetAssignedObject(CBaseObject* object) { m_pAssignedObject = object; }
    bool GetDisplayCtrl() const { return m_bDisplayCtrl; }
    void SetDisplayCtrl(bool display) { m_bDisplayCtrl = display; }
    bool GetDisplayTraj() const { return m_bDisplayTraj; }
    void SetDisplayTraj(bool display) { m_bDisplayTraj = display; }
    TOrientation GetOrientation() const { return m_Orientation; }
    void SetOrientation(TOrientation orientation) { m_Orientation = orientation; }
    CBaseObject* GetLookAtObject() const { return m_pLookAtObject; }
    void SetLookAtObject(CBaseObject* object) { m_pLookAtObject = object; }
    const D3DXVECTOR3& GetOrientationPosition() const { return m_OrientationPosition; }
    void SetOrientationPosition(const D3DXVECTOR3& position) { m_OrientationPosition = position; }

    // The keyed path; its keys come from Load or from whoever edits it here.
    CVectorInterpolation& GetPath() { return m_Path; }
    const CVectorInterpolation& GetPath() const { return m_Path; }

    // The path at the scene time, and the direction the orientation gives.
    // Orientation 0, and 2 without a look-at object, leave direction as the
    // caller passed it. Returns whether a direction was produced.
    bool GetCurrentFromAt(D3DXVECTOR3& position, D3DXVECTOR3& direction);

    // Drops every pointer to object (called before the scene destroys it).
    void ForgetObject(const CObjects& object);

protected:
    // Places a marker and draws it; overridable so that tests can watch.
    virtual void DrawMarker(CBoxObject& marker, const D3DXVECTOR3& position);

private:
    void CarryAssignedObject(const D3DXVECTOR3& position, const D3DXVECTOR3& direction, bool hasDirection);
    void DrawControlPoints();
    void DrawTrajectory();

    D3DXVECTOR3 m_FrameOrigin{0.0f, 0.0f, 0.0f};
    CVectorInterpolation m_Path;
    CBaseObject* m_pAssignedObject = nullptr;
    CBoxObject m_ControlPointMarker;
    CBoxObject m_TrajectoryMarker;
    bool m_bDisplayCtrl = true;
    bool m_bDisplayTraj = false;
    TOrientation m_Orientation = OR_FIXED;
    D3DXVECTOR3 m_OrientationPosition{0.0f, 0.0f, 0.0f};
    CBaseObject* m_pLookAtObject = nullptr;
    D3DXVECTOR3 m_CurrentPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_LookAheadPosition{0.0f, 0.0f, 0.0f};
};
