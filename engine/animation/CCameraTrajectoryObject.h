#pragma once
// A keyed camera. Eye position, look-at position, fixed-angle direction, zoom
// and weight are keyframed together; each frame the scene makes the camera
// with the greatest current weight the active one and passes its eye,
// direction, up vector and field of view to the screen. In the editor the
// camera shows itself as a green body with a yellow lens.
//
// Keyed setters edit the key of the current keyframe; GetCurrent... evaluate
// the curves at the scene time. The camera never owns its look-at object; the
// scene clears the pointer when it destroys that object (ForgetObject).

#include "animation/CInterpolation.h"
#include "animation/CKeyFrameCurves.h"
#include "animation/CVectorInterpolation.h"
#include "animation/TOrientation.h"
#include "objects/CBoxObject.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CObjects.h"

class CBaseObject;

class CCameraTrajectoryObject : public CObjects {
public:
    CCameraTrajectoryObject();
    ~CCameraTrajectoryObject() override;

    // Sets up and initialises the markers; type "CCameraTrajectoryObject",
    // description "Camera Trajectory".
    bool Init() override;
    void CleanUp() override;
    // Draws the markers at the eye, turned the way the camera looks (only
    // while the camera is displayed).
    void Render() override;
    // Zoom, weight, orientation, look-at curve, look-at object by name,
    // position and direction curves, then the root part. The current
    // keyframe and the display flag are not stored.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // --- keyframes (one key in each of the five curves) -------------------------
    // Inserts a key at time into every curve holding the curve's own value
    // there; returns the new identifier.
    int AddKeyFrame(float time);
    void DeleteKeyFrame(int id);
    void MoveKeyFrame(int id, float time);
    int GetKeyFrameNumber() const;
    // By index in time order; 0 outside 0 .. count-1.
    float GetKeyFrameTime(int index) const;
    int GetKeyFrameID(int index) const;
    void SetCurrentKeyFrame(int id) { m_iCurrentKeyFrame = id; }
    int GetCurrentKeyFrame() const { return m_iCurrentKeyFrame; }
    // Every keyed curve as it stands, and back (the editor's undo).
    CKeyFrameSnapshot CaptureKeyFrames() { return KeyedCurves().Capture(); }
    void RestoreKeyFrames(const CKeyFrameSnapshot& snapshot) { KeyedCurves().Restore(snapshot); }

    // --- keyed values of the current keyframe -----------------------------------
    void SetZoom(float zoom);
    float GetZoom() const;
    void SetPosition(const D3DXVECTOR3& position);
    D3DXVECTOR3 GetPosition() const;
    void SetLookAtPosition(const D3DXVECTOR3& position);
    D3DXVECTOR3 GetLookAtPosition() const;
    // Yaw, pitch, roll in radians, used by the fixed orientation.
    void SetDirection(const D3DXVECTOR3& direction);
    D3DXVECTOR3 GetDirection() const;
    // Stored as a float, read back truncated.
    void SetWeight(int weight);
    int GetWeight() const;

    // --- values now (or at t) ---------------------------------------------------
    D3DXVECTOR3 GetCurrentPosition() const;
    D3DXVECTOR3 GetCurrentPosition(float t) const;
    D3DXVECTOR3 GetCurrentLookAtPosition() const;
    D3DXVECTOR3 GetCurrentDirection() const;
    // The weight curve now, truncated to an integer.
    int GetCurrentWeight() const;
    // The field of view in radians: 0.7853982 - zoom * 0.1 + 0.1 (zoom 1
    // gives pi/4; each unit of zoom narrows the view by 0.1 radian).
    float GetCurrentZoom() const;

    // Zoom, position, direction and look-at curves; the weight stays in steps.
    void SetInterpolationMode(TInterpolationMode mode);
    TInterpolationMode GetInterpolationMode() const { return m_Zoom.GetMode(); }

    void SetOrientation(TOrientation orientation) { m_Orientation = orientation; }
    TOrientation GetOrientation() const { return m_Orientation; }
    void SetLookAtObject(CBaseObject* object) { m_pLookAtObject = object; }
    CBaseObject* GetLookAtObject() const { return m_pLookAtObject; }
    // The scene sets it to its free-camera flag every frame.
    void SetDisplayCamera(bool display) { m_bDisplayCamera = display; }
    bool GetDisplayCamera() const { return m_bDisplayCamera; }

    // Eye, viewing direction (relative to the eye, not a point) and up vector
    // at the scene time. Orientation 2 without a look-at object leaves
    // direction as the caller passed it; returns whether it was set.
    bool GetCurrentFromAt(D3DXVECTOR3& eye, D3DXVECTOR3& direction, D3DXVECTOR3& up);

    // Drops the look-at pointer when it is object.
    void ForgetObject(const CObjects& object);

private:
    // The five curves, zoom first (its identifiers are the keyframes').
    CKeyFrameCurves KeyedCurves();
    void DrawMarker(CBoxObject& marker, const D3DXVECTOR3& eye, const D3DXVECTOR3& direction, const D3DXVECTOR3& up);

    CInterpolation m_Zoom;
    CInterpolation m_Weight;
    CVectorInterpolation m_Position;
    CVectorInterpolation m_Direction;
    CBoxObject m_BodyMarker;
    CBoxObject m_LensMarker;
    bool m_bDisplayCamera = true;
    int m_iCurrentKeyFrame = 0;
    TOrientation m_Orientation = OR_FIXED;
    CBaseObject* m_pLookAtObject = nullptr;
    D3DXVECTOR3 m_CurrentPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_Forward{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_MarkerOrigin{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_BaseForward{0.0f, 0.0f, 1.0f};
    D3DXVECTOR3 m_BaseUp{0.0f, 1.0f, 0.0f};
    CVectorInterpolation m_LookAt;
};
