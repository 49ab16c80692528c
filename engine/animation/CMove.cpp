#include "animation/CMove.h"

#include <algorithm>
#include <string>

#include "animation/CInterpolation.h"
#include "animation/CMovePathFile.h"
#include "core/CScreen.h"
#include "objects/CBaseObject.h"
#include "platform/base/ErrorReport.h"
#include "platform/base/SceneTime.h"

namespace {

constexpr int kSamples = CMovePoint::kSamples;
// Knots per segment: the ten samples and the segment's end.
constexpr int kKnotsPerSegment = kSamples + 1;

TInterpolationMode CurveMode(tMoveMode mode) {
    switch (mode) {
    case MM_BSPLINE:
        return IM_BSPLINE;
    case MM_HSPLINE:
        return IM_HSPLINE;
    default:
        return IM_LINEAR;
    }
}

std::string FullTableText() {
    return "The path already holds " + std::to_string(CMove::kMaxPoints) + " points, as many as it can hold.";
}

}  // namespace

CMove::CMove() {
    m_Points.reserve(kMaxPoints);
    Reset();
}

// ==================================================================== points

CMovePoint CMove::MakePoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux, float uy,
                            float uz, float zoom) {
    CMovePoint point;
    point.m_vPosition = D3DXVECTOR3(px, py, pz);
    point.m_vDirection = D3DXVECTOR3(dx, dy, dz);
    point.m_vUp = D3DXVECTOR3(ux, uy, uz);
    point.m_fSpeed = speed;
    point.m_fZoom = zoom;
    return point;
}

void CMove::ReadPoint(const CMovePoint& point, float& px, float& py, float& pz, float& dx, float& dy, float& dz,
                      float& speed, float& ux, float& uy, float& uz, float& zoom) {
    px = point.m_vPosition.x;
    py = point.m_vPosition.y;
    pz = point.m_vPosition.z;
    dx = point.m_vDirection.x;
    dy = point.m_vDirection.y;
    dz = point.m_vDirection.z;
    speed = point.m_fSpeed;
    ux = point.m_vUp.x;
    uy = point.m_vUp.y;
    uz = point.m_vUp.z;
    zoom = point.m_fZoom;
}

bool CMove::IsValidIndex(int index) const {
    return index >= 0 && index < GetNumberPoints();
}

bool CMove::HasRoomForPoint() const {
    if (GetNumberPoints() < kMaxPoints) {
        return true;
    }
    ReportError(FullTableText() + " The point was not added.");
    return false;
}

bool CMove::AddPoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux, float uy,
                     float uz, float zoom) {
    return InsertPoint(GetNumberPoints(), px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

bool CMove::InsertPoint(int index, float px, float py, float pz, float dx, float dy, float dz, float speed, float ux,
                        float uy, float uz, float zoom) {
    if (index < 0 || index > GetNumberPoints() || !HasRoomForPoint()) {
        return false;
    }
    m_Points.insert(m_Points.begin() + index, MakePoint(px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom));
    RecomputeTables();
    return true;
}

void CMove::UpdatePoint(int index, float px, float py, float pz, float dx, float dy, float dz, float speed, float ux,
                        float uy, float uz, float zoom) {
    if (!IsValidIndex(index)) {
        return;
    }
    m_Points[static_cast<size_t>(index)] = MakePoint(px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
    RecomputeTables();
}

void CMove::ChangePoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux, float uy,
                        float uz, float zoom, int index) {
    UpdatePoint(index, px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

void CMove::DelPoint(int index) {
    if (!IsValidIndex(index)) {
        return;
    }
    m_Points.erase(m_Points.begin() + index);
    RecomputeTables();
}

void CMove::GetPoint(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed, float& ux,
                     float& uy, float& uz, float& zoom, int index) const {
    ReadPoint(IsValidIndex(index) ? m_Points[static_cast<size_t>(index)] : MakePoint(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
              px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

void CMove::SetSpeed(float speed, int index) {
    for (int i = 0; i < GetNumberPoints(); ++i) {
        if (index == -1 || index == i) {
            m_Points[static_cast<size_t>(i)].m_fSpeed = speed;
        }
    }
}

float CMove::GetSpeed(int index) const {
    return IsValidIndex(index) ? m_Points[static_cast<size_t>(index)].m_fSpeed : 0.0f;
}

void CMove::SetZoom(float zoom, int index) {
    for (int i = 0; i < GetNumberPoints(); ++i) {
        if (index == -1 || index == i) {
            m_Points[static_cast<size_t>(i)].m_fZoom = zoom;
        }
    }
}

float CMove::GetZoom(int index) const {
    return IsValidIndex(index) ? m_Points[static_cast<size_t>(index)].m_fZoom : 0.0f;
}

void CMove::SetMode(tMoveMode mode) {
    if (mode < MM_STEP || mode > MM_HSPLINE) {
        return;
    }
    m_Mode = mode;
    RecomputeTables();
}

void CMove::SetPositionToFollow(float x, float y, float z) {
    SetPositionToFollow(D3DXVECTOR3(x, y, z));
}

void CMove::SetPositionToFollow(const D3DXVECTOR3& position) {
    m_vPositionToFollow = position;
    m_bFollowPosition = true;
}

void CMove::SetObjectToFollow(CBaseObject& object) {
    m_pObjectToFollow = &object;
    m_bFollowObject = true;
}

// ================================================================== playback

void CMove::Reset() {
    m_fStartTime = CurrentSceneTime();
    m_fCurrentSpeed = 10.0f;
    m_fFrameDelta = 0.0f;
    m_fLastFrameTime = 0.0f;
    m_fDistance = 0.0f;
}

CMovePoint CMove::Advance() {
    if (CurrentSceneTime() - m_fStartTime < m_fLastFrameTime) {
        Reset();  // the scene clock went back: it has been reset
    }
    const float t = CurrentSceneTime() - m_fStartTime;
    m_fFrameDelta = t - m_fLastFrameTime;
    m_fLastFrameTime = t;
    m_fDistance += m_fPlayFactor * m_fCurrentSpeed * m_fFrameDelta;
    const CMovePoint current = Evaluate(m_fDistance);
    m_fCurrentSpeed = current.m_fSpeed;
    return current;
}

void CMove::GetCurrentPosition(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed,
                               float& ux, float& uy, float& uz, float& zoom) {
    ReadPoint(Advance(), px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

void CMove::GetCurrentPosition(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& ux, float& uy,
                               float& uz) {
    float speed = 0.0f;
    float zoom = 0.0f;
    GetCurrentPosition(px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

float CMove::GetCurrentZoom() {
    return Advance().m_fZoom;
}

// ================================================================ evaluation

void CMove::GetPosition(float distance, float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed,
                        float& ux, float& uy, float& uz, float& zoom) {
    ReadPoint(Evaluate(distance), px, py, pz, dx, dy, dz, speed, ux, uy, uz, zoom);
}

CMovePoint CMove::Evaluate(float distance) {
    if (!(distance > 0.0f)) {
        distance = 0.0f;  // also a distance that is not a number
    }
    const float total = GetTotalDistance();
    if (distance > total) {
        if (m_bLoop) {
            Reset();  // this frame shows the end, the next one the start
        }
        distance = total;
    }
    CMovePoint point = PointOnPath(distance);
    if (m_bAsCamera && !m_Points.empty()) {
        CScreen::Instance().SetFieldOfView(point.m_fZoom);
    }
    Follow(point);
    return point;
}

CMovePoint CMove::PointOnPath(float distance) const {
    if (m_Points.empty()) {
        return CMovePoint();  // the origin, looking along z, standing still
    }
    if (m_Points.size() == 1) {
        return m_Points.front();
    }
    int segment = 0;
    float u = 0.0f;
    Locate(distance, segment, u);
    return PointOnSegment(segment, u);
}

CMovePoint CMove::PointOnSegment(int segment, float u) const {
    int i0 = 0;
    int i2 = 0;
    int i3 = 0;
    CInterpolation::Neighbours(GetNumberPoints(), segment, i0, i2, i3);
    const CMovePoint& p0 = m_Points[static_cast<size_t>(i0)];
    const CMovePoint& p1 = m_Points[static_cast<size_t>(segment)];
    const CMovePoint& p2 = m_Points[static_cast<size_t>(i2)];
    const CMovePoint& p3 = m_Points[static_cast<size_t>(i3)];
    CMovePoint point;
    point.m_vPosition = Blend(u, p0.m_vPosition, p1.m_vPosition, p2.m_vPosition, p3.m_vPosition);
    point.m_vDirection = Blend(u, p0.m_vDirection, p1.m_vDirection, p2.m_vDirection, p3.m_vDirection);
    point.m_vUp = Blend(u, p0.m_vUp, p1.m_vUp, p2.m_vUp, p3.m_vUp);
    // Speed and zoom change linearly along a segment, whatever the mode.
    point.m_fSpeed = p1.m_fSpeed + (p2.m_fSpeed - p1.m_fSpeed) * u;
    point.m_fZoom = p1.m_fZoom + (p2.m_fZoom - p1.m_fZoom) * u;
    return point;
}

D3DXVECTOR3 CMove::PositionOnSegment(int segment, float u) const {
    int i0 = 0;
    int i2 = 0;
    int i3 = 0;
    CInterpolation::Neighbours(GetNumberPoints(), segment, i0, i2, i3);
    return Blend(u, m_Points[static_cast<size_t>(i0)].m_vPosition, m_Points[static_cast<size_t>(segment)].m_vPosition,
                 m_Points[static_cast<size_t>(i2)].m_vPosition, m_Points[static_cast<size_t>(i3)].m_vPosition);
}

D3DXVECTOR3 CMove::Blend(float u, const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                         const D3DXVECTOR3& p3) const {
    if (m_Mode == MM_STEP) {
        return p1;  // unlike a step curve, never switches to p2 near the segment's end
    }
    const TInterpolationMode mode = CurveMode(m_Mode);
    return D3DXVECTOR3(CInterpolation::Blend(mode, u, p0.x, p1.x, p2.x, p3.x),
                       CInterpolation::Blend(mode, u, p0.y, p1.y, p2.y, p3.y),
                       CInterpolation::Blend(mode, u, p0.z, p1.z, p2.z, p3.z));
}

void CMove::Follow(CMovePoint& point) const {
    if (m_bFollowPosition) {
        point.m_vDirection = m_vPositionToFollow - point.m_vPosition;
    }
    if (m_bFollowObject && m_pObjectToFollow != nullptr) {
        point.m_vDirection = m_pObjectToFollow->GetPosition() - point.m_vPosition;
    }
}

// ================================================================= distances

void CMove::RecomputeTables() {
    if (m_Points.size() < 2) {
        for (CMovePoint& point : m_Points) {
            std::fill(std::begin(point.m_fSamples), std::end(point.m_fSamples), 0.0f);
            point.m_fSegmentLength = 0.0f;
        }
        return;
    }
    // One running sum over every sample of every segment in order, so that
    // a jump between segments (step mode) counts as distance too.
    float sum = 0.0f;
    D3DXVECTOR3 previous = PositionOnSegment(0, 0.0f);
    for (int i = 0; i < GetNumberPoints(); ++i) {
        CMovePoint& point = m_Points[static_cast<size_t>(i)];
        for (int j = 0; j < kKnotsPerSegment; ++j) {
            const D3DXVECTOR3 position = PositionOnSegment(i, j == kSamples ? 1.0f : 0.1f * static_cast<float>(j));
            const D3DXVECTOR3 step = position - previous;
            sum += D3DXVec3Length(&step);
            previous = position;
            (j < kSamples ? point.m_fSamples[j] : point.m_fSegmentLength) = sum;
        }
    }
}

int CMove::KnotCount() const {
    // The segments that distances reach: those of points 0 .. count-2.
    return (GetNumberPoints() - 1) * kKnotsPerSegment;
}

float CMove::KnotLength(int knot) const {
    const CMovePoint& point = m_Points[static_cast<size_t>(knot / kKnotsPerSegment)];
    const int sample = knot % kKnotsPerSegment;
    return sample < kSamples ? point.m_fSamples[sample] : point.m_fSegmentLength;
}

void CMove::Locate(float distance, int& segment, float& u) const {
    // Binary search for the first knot beyond the distance; the knot before
    // it starts the step the distance lies in.
    int low = 0;
    int high = KnotCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (KnotLength(middle) <= distance) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    const int knot = std::max(low - 1, 0);
    segment = knot / kKnotsPerSegment;
    const int sample = knot % kKnotsPerSegment;
    if (sample == kSamples) {
        u = 1.0f;  // the segment's end (in step mode: waiting for the jump)
        return;
    }
    const float from = KnotLength(knot);
    const float to = KnotLength(knot + 1);
    const float fraction = to > from ? std::clamp((distance - from) / (to - from), 0.0f, 1.0f) : 0.0f;
    u = (static_cast<float>(sample) + fraction) * 0.1f;
}

int CMove::GetSegment(float distance) const {
    if (GetNumberPoints() < 2) {
        return 0;
    }
    int segment = 0;
    float u = 0.0f;
    Locate(std::clamp(distance > 0.0f ? distance : 0.0f, 0.0f, GetTotalDistance()), segment, u);
    return segment;
}

float CMove::GetDistance(int index) const {
    return IsValidIndex(index) ? m_Points[static_cast<size_t>(index)].m_fSegmentLength : 0.0f;
}

float CMove::GetTotalDistance() const {
    return GetNumberPoints() < 2 ? 0.0f : GetDistance(GetNumberPoints() - 2);
}

// ===================================================================== file

bool CMove::Save() const {
    CMovePathFile::SPath path;
    path.mode = m_Mode;
    path.loop = m_bLoop;
    path.points = m_Points;
    std::string error;
    if (!CMovePathFile::Write(m_Filename, path, error)) {
        ReportError(error);
        return false;
    }
    return true;
}

bool CMove::Load() {
    // Read into a path of its own first: a refused file changes nothing.
    CMovePathFile::SPath path;
    std::string error;
    if (!CMovePathFile::Read(m_Filename, kMaxPoints, path, error)) {
        ReportError(error);
        return false;
    }
    if (path.points.size() > static_cast<size_t>(kMaxPoints - GetNumberPoints())) {
        ReportError("The path file \"" + m_Filename + "\" adds " + std::to_string(path.points.size()) +
                    " points to the " + std::to_string(GetNumberPoints()) + " there are; a path holds at most " +
                    std::to_string(kMaxPoints) + ".");
        return false;
    }
    m_Mode = path.mode;
    m_bLoop = path.loop;
    m_Points.insert(m_Points.end(), path.points.begin(), path.points.end());
    RecomputeTables();
    return true;
}
