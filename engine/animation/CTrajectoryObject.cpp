#include "animation/CTrajectoryObject.h"

#include "animation/ObjectReference.h"
#include "core/CScreen.h"
#include "core/CTools.h"
#include "objects/CBaseObject.h"
#include "scene/CSceneFile.h"

namespace {

// How far ahead the path is sampled to find the way it goes.
constexpr float kLookAhead = 0.1f;
// Six markers split each segment into sevenths.
constexpr float kOneSeventh = 0.14285715f;
constexpr int kMarkersPerSegment = 6;

}  // namespace

CTrajectoryObject::CTrajectoryObject() {
    m_Path.Insert(0.0f, 0.0f, 0.0f, 0.0f, -1);
    // Known before Init, so that the scene recognises a trajectory at once.
    m_Type = "CTrajectoryObject";
    m_Description = "Trajectory";
}

CTrajectoryObject::~CTrajectoryObject() {
    CTrajectoryObject::CleanUp();
}

bool CTrajectoryObject::Init() {
    PreInit();
    CObjects::Init();
    m_ControlPointMarker.SetSize(0.2f, 0.2f, 0.2f);
    m_ControlPointMarker.SetColor(D3DCOLORVALUE{0.7f, 0.0f, 0.0f, 1.0f}, 0);
    m_TrajectoryMarker.SetSize(0.1f, 0.1f, 0.1f);
    m_TrajectoryMarker.SetColor(D3DCOLORVALUE{0.7f, 0.0f, 0.7f, 1.0f}, 0);
    m_ControlPointMarker.Init();
    m_TrajectoryMarker.Init();
    m_Type = "CTrajectoryObject";
    m_Description = "Trajectory";
    return true;
}

void CTrajectoryObject::CleanUp() {
    m_ControlPointMarker.CleanUp();
    m_TrajectoryMarker.CleanUp();
    CObjects::CleanUp();
}

bool CTrajectoryObject::GetCurrentFromAt(D3DXVECTOR3& position, D3DXVECTOR3& direction) {
    const float t = CScreen::Instance().GetTickCount();
    position = m_Path.GetValue(t);
    const D3DXVECTOR3 ahead = m_Path.GetValue(t + kLookAhead);
    m_CurrentPosition = position;
    m_LookAheadPosition = ahead;
    const D3DXVECTOR3 forward = CTools::Normalize(ahead - position);

    switch (m_Orientation) {
    case OR_LOOK_AT_POSITION:
        direction = m_OrientationPosition - position;
        return true;
    case OR_LOOK_AT_OBJECT:
        if (m_pLookAtObject == nullptr) {
            return false;
        }
        direction = m_pLookAtObject->GetPosition() - position;
        return true;
    case OR_FRONT:
        direction = forward;
        return true;
    case OR_REAR:
        direction = -forward;
        return true;
    case OR_FIXED:
    default:
        return false;
    }
}

void CTrajectoryObject::Render() {
    PreRender();
    D3DXVECTOR3 position(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 direction(0.0f, 0.0f, 1.0f);
    const bool hasDirection = GetCurrentFromAt(position, direction);
    CarryAssignedObject(position, direction, hasDirection);
    if (m_bDisplayCtrl) {
        DrawControlPoints();
    }
    if (m_bDisplayTraj) {
        DrawTrajectory();
    }
}

void CTrajectoryObject::CarryAssignedObject(const D3DXVECTOR3& position, const D3DXVECTOR3& direction,
                                            bool hasDirection) {
    if (m_pAssignedObject == nullptr) {
        return;
    }
    m_pAssignedObject->SetPosition(position);
    // Without a direction (fixed orientation, or no object to look at) the
    // carried object keeps the way it was facing.
    if (hasDirection) {
        m_pAssignedObject->SetDirection(m_FrameOrigin, direction);
    }
}

void CTrajectoryObject::DrawControlPoints() {
    // By index in time order: after keys were removed and loaded again the
    // identifiers need not run from 0 to count-1.
    const int count = m_Path.GetNumberPoints();
    for (int i = 0; i < count; ++i) {
        DrawMarker(m_ControlPointMarker, m_Path.GetPointValueFromIndex(i));
    }
}

void CTrajectoryObject::DrawTrajectory() {
    const int count = m_Path.GetNumberPoints();
    float segmentStart = 0.0f;
    for (int i = 0; i < count; ++i) {
        const float keyTime = m_Path.GetPointTimeFromIndex(i);
        const float step = (keyTime - segmentStart) * kOneSeventh;
        for (int k = 1; k <= kMarkersPerSegment; ++k) {
            DrawMarker(m_TrajectoryMarker, m_Path.GetValue(segmentStart + static_cast<float>(k) * step));
        }
        segmentStart = keyTime;
    }
}

void CTrajectoryObject::DrawMarker(CBoxObject& marker, const D3DXVECTOR3& position) {
    marker.SetPosition(position);
    marker.Render();
}

void CTrajectoryObject::ForgetObject(const CObjects& object) {
    if (m_pAssignedObject == &object) {
        m_pAssignedObject = nullptr;
    }
    if (m_pLookAtObject == &object) {
        m_pLookAtObject = nullptr;
    }
}

void CTrajectoryObject::Save(CSceneFile& file) {
    file.WriteBool(m_bDisplayCtrl);
    file.WriteBool(m_bDisplayTraj);
    file.WriteUInt(static_cast<unsigned int>(m_Orientation));
    file.WriteVector(m_OrientationPosition);
    WriteObjectReference(file, m_pAssignedObject);
    WriteObjectReference(file, m_pLookAtObject);
    m_Path.Save(file);
    CObjects::Save(file);
}

bool CTrajectoryObject::Load(CSceneFile& file) {
    m_bDisplayCtrl = file.ReadBool();
    m_bDisplayTraj = file.ReadBool();
    m_Orientation = static_cast<TOrientation>(file.ReadUInt());
    m_OrientationPosition = file.ReadVector();
    m_pAssignedObject = ReadObjectReference(file, GetScene());
    m_pLookAtObject = ReadObjectReference(file, GetScene());
    m_Path.Load(file);
    return CObjects::Load(file);
}
