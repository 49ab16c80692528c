#include "animation/CCameraTrajectoryObject.h"

#include "animation/ObjectReference.h"
#include "core/CScreen.h"
#include "core/CTools.h"
#include "objects/CBaseObject.h"
#include "scene/CSceneFile.h"

namespace {

// How far ahead the path is sampled to find the way it goes.
constexpr float kLookAhead = 0.1f;
constexpr float kQuarterPi = 0.7853982f;
constexpr float kRadiansPerZoom = 0.1f;

bool IsZero(const D3DXVECTOR3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

D3DXVECTOR3 Transformed(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
    D3DXVECTOR4 result;
    D3DXVec3Transform(&result, &v, &m);
    return D3DXVECTOR3(result.x, result.y, result.z);
}

}  // namespace

CCameraTrajectoryObject::CCameraTrajectoryObject() {
    m_Weight.SetMode(IM_STEP);
    m_Zoom.Insert(1.0f, 0.0f, -1);
    m_Weight.Insert(0.0f, 0.0f, -1);
    m_Position.Insert(0.0f, 0.0f, 0.0f, 0.0f, -1);
    m_Direction.Insert(0.0f, 0.0f, 0.0f, 0.0f, -1);
    m_LookAt.Insert(0.0f, 0.0f, 1.0f, 0.0f, -1);
    // Known before Init, so that the scene recognises a camera at once.
    m_Type = "CCameraTrajectoryObject";
    m_Description = "Camera Trajectory";
}

CCameraTrajectoryObject::~CCameraTrajectoryObject() {
    CCameraTrajectoryObject::CleanUp();
}

bool CCameraTrajectoryObject::Init() {
    PreInit();
    CObjects::Init();
    m_BodyMarker.SetSize(0.3f, 0.6f, 0.8f);
    m_BodyMarker.SetColor(D3DCOLORVALUE{0.0f, 0.8f, 0.0f, 1.0f}, 0);
    m_LensMarker.SetPivot(0.0f, 0.0f, 0.4f);
    m_LensMarker.SetColor(D3DCOLORVALUE{0.8f, 0.8f, 0.0f, 1.0f}, 0);
    m_LensMarker.SetSize(0.2f, 0.2f, 0.6f);
    m_BodyMarker.Init();
    m_LensMarker.Init();
    m_Type = "CCameraTrajectoryObject";
    m_Description = "Camera Trajectory";
    return true;
}

void CCameraTrajectoryObject::CleanUp() {
    m_BodyMarker.CleanUp();
    m_LensMarker.CleanUp();
    CObjects::CleanUp();
}

// ---------------------------------------------------------------- keyframes

CKeyFrameCurves CCameraTrajectoryObject::KeyedCurves() {
    CKeyFrameCurves curves;
    curves.Add(m_Zoom).Add(m_Position).Add(m_Direction).Add(m_LookAt).Add(m_Weight);
    return curves;
}

int CCameraTrajectoryObject::AddKeyFrame(float time) {
    return KeyedCurves().AddKeyFrame(time);
}

void CCameraTrajectoryObject::DeleteKeyFrame(int id) {
    KeyedCurves().DeleteKeyFrame(id);
}

void CCameraTrajectoryObject::MoveKeyFrame(int id, float time) {
    KeyedCurves().MoveKeyFrame(id, time);
}

int CCameraTrajectoryObject::GetKeyFrameNumber() const {
    return m_Zoom.GetNumberPoints();
}

float CCameraTrajectoryObject::GetKeyFrameTime(int index) const {
    return m_Zoom.GetPointTimeFromIndex(index);
}

int CCameraTrajectoryObject::GetKeyFrameID(int index) const {
    return m_Zoom.GetPointIDFromIndex(index);
}

// ---------------------------------------------------------------- keyed values

void CCameraTrajectoryObject::SetZoom(float zoom) {
    m_Zoom.Update(zoom, m_Zoom.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

float CCameraTrajectoryObject::GetZoom() const {
    return m_Zoom.GetPointValue(m_iCurrentKeyFrame);
}

void CCameraTrajectoryObject::SetPosition(const D3DXVECTOR3& position) {
    m_Position.Update(position, m_Position.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

D3DXVECTOR3 CCameraTrajectoryObject::GetPosition() const {
    return m_Position.GetPointValue(m_iCurrentKeyFrame);
}

void CCameraTrajectoryObject::SetLookAtPosition(const D3DXVECTOR3& position) {
    m_LookAt.Update(position, m_LookAt.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

D3DXVECTOR3 CCameraTrajectoryObject::GetLookAtPosition() const {
    return m_LookAt.GetPointValue(m_iCurrentKeyFrame);
}

void CCameraTrajectoryObject::SetDirection(const D3DXVECTOR3& direction) {
    m_Direction.Update(direction, m_Direction.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

D3DXVECTOR3 CCameraTrajectoryObject::GetDirection() const {
    return m_Direction.GetPointValue(m_iCurrentKeyFrame);
}

void CCameraTrajectoryObject::SetWeight(int weight) {
    m_Weight.Update(static_cast<float>(weight), m_Weight.GetPointTime(m_iCurrentKeyFrame), m_iCurrentKeyFrame);
}

int CCameraTrajectoryObject::GetWeight() const {
    return static_cast<int>(m_Weight.GetPointValue(m_iCurrentKeyFrame));
}

// ---------------------------------------------------------------- values now

D3DXVECTOR3 CCameraTrajectoryObject::GetCurrentPosition() const {
    return m_Position.GetValue();
}

D3DXVECTOR3 CCameraTrajectoryObject::GetCurrentPosition(float t) const {
    return m_Position.GetValue(t);
}

D3DXVECTOR3 CCameraTrajectoryObject::GetCurrentLookAtPosition() const {
    return m_LookAt.GetValue();
}

D3DXVECTOR3 CCameraTrajectoryObject::GetCurrentDirection() const {
    return m_Direction.GetValue();
}

int CCameraTrajectoryObject::GetCurrentWeight() const {
    return static_cast<int>(m_Weight.GetValue());
}

float CCameraTrajectoryObject::GetCurrentZoom() const {
    return kQuarterPi - m_Zoom.GetValue() * kRadiansPerZoom + kRadiansPerZoom;
}

void CCameraTrajectoryObject::SetInterpolationMode(TInterpolationMode mode) {
    m_Zoom.SetMode(mode);
    m_Position.SetMode(mode);
    m_Direction.SetMode(mode);
    m_LookAt.SetMode(mode);
}

bool CCameraTrajectoryObject::GetCurrentFromAt(D3DXVECTOR3& eye, D3DXVECTOR3& direction, D3DXVECTOR3& up) {
    const float t = CScreen::Instance().GetTickCount();
    eye = m_Position.GetValue(t);
    m_CurrentPosition = eye;
    D3DXVECTOR3 forward = m_Position.GetValue(t + kLookAhead) - eye;
    if (IsZero(forward)) {
        forward = D3DXVECTOR3(0.0f, 0.0f, 1.0f);  // a camera at rest looks along +z
    }
    m_Forward = CTools::Normalize(forward);
    up = D3DXVECTOR3(0.0f, 1.0f, 0.0f);

    switch (m_Orientation) {
    case OR_FIXED: {
        const D3DXVECTOR3 angles = m_Direction.GetValue(t);
        D3DXMATRIX rotation;
        D3DXMatrixRotationYawPitchRoll(&rotation, angles.x, angles.y, angles.z);
        direction = Transformed(m_BaseForward, rotation);
        up = Transformed(m_BaseUp, rotation);
        return true;
    }
    case OR_LOOK_AT_POSITION:
        direction = m_LookAt.GetValue(t) - eye;
        if (IsZero(direction)) {
            direction = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
        }
        return true;
    case OR_LOOK_AT_OBJECT:
        if (m_pLookAtObject == nullptr) {
            return false;
        }
        direction = m_pLookAtObject->GetCurrentPosition() - eye;
        return true;
    case OR_FRONT:
        direction = m_Forward;
        return true;
    case OR_REAR:
        direction = -m_Forward;
        return true;
    default:
        return false;
    }
}

void CCameraTrajectoryObject::Render() {
    PreRender();
    if (!m_bDisplayCamera) {
        return;
    }
    D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 direction = m_Forward;
    D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    GetCurrentFromAt(eye, direction, up);
    DrawMarker(m_BodyMarker, eye, direction, up);
    DrawMarker(m_LensMarker, eye, direction, up);
}

void CCameraTrajectoryObject::DrawMarker(CBoxObject& marker, const D3DXVECTOR3& eye, const D3DXVECTOR3& direction,
                                         const D3DXVECTOR3& up) {
    marker.SetPosition(eye);
    marker.SetDirection(m_MarkerOrigin, direction, up);
    marker.Render();
}

void CCameraTrajectoryObject::ForgetObject(const CObjects& object) {
    if (m_pLookAtObject == &object) {
        m_pLookAtObject = nullptr;
    }
}

// ---------------------------------------------------------------- persistence

void CCameraTrajectoryObject::Save(CSceneFile& file) {
    m_Zoom.Save(file);
    m_Weight.Save(file);
    file.WriteUInt(static_cast<unsigned int>(m_Orientation));
    m_LookAt.Save(file);
    WriteObjectReference(file, m_pLookAtObject);
    m_Position.Save(file);
    m_Direction.Save(file);
    CObjects::Save(file);
}

bool CCameraTrajectoryObject::Load(CSceneFile& file) {
    m_Zoom.Load(file);
    m_Weight.Load(file);
    m_Orientation = static_cast<TOrientation>(file.ReadUInt());
    m_LookAt.Load(file);
    m_pLookAtObject = ReadObjectReference(file, GetScene());
    m_Position.Load(file);
    m_Direction.Load(file);
    return CObjects::Load(file);
}
