#include "animation/CInterpolation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "platform/base/SceneTime.h"
#include "scene/CSceneFile.h"

int CInterpolation::Insert(float value, float time, int id) {
    const int keyID = (id == -1) ? m_iNextID : id;
    // The counter moves on with every insertion, also for explicit
    // identifiers, so that an object's curves keep equal counters.
    AdvanceNextID(static_cast<long long>(m_iNextID) + 1);
    m_Points.emplace_back(value, time, keyID);
    ReOrder();
    return keyID;
}

void CInterpolation::Update(float value, float time, int id) {
    CInterpolCtrlPnt* point = FindPoint(id);
    if (point == nullptr) {
        return;
    }
    point->SetValue(value);
    point->SetTime(time);
    ReOrder();
}

void CInterpolation::Remove(int id) {
    const auto found =
        std::find_if(m_Points.begin(), m_Points.end(), [id](const CInterpolCtrlPnt& p) { return p.GetID() == id; });
    if (found != m_Points.end()) {
        m_Points.erase(found);
    }
}

void CInterpolation::RemoveAll() {
    m_Points.clear();
}

float CInterpolation::GetPointValue(int id) const {
    const CInterpolCtrlPnt* point = FindPoint(id);
    return point ? point->GetValue() : 0.0f;
}

float CInterpolation::GetPointTime(int id) const {
    const CInterpolCtrlPnt* point = FindPoint(id);
    return point ? point->GetTime() : 0.0f;
}

int CInterpolation::GetNumberPoints() const {
    return static_cast<int>(m_Points.size());
}

float CInterpolation::GetPointValueFromIndex(int index) const {
    return IsValidIndex(index) ? m_Points[index].GetValue() : 0.0f;
}

float CInterpolation::GetPointTimeFromIndex(int index) const {
    return IsValidIndex(index) ? m_Points[index].GetTime() : 0.0f;
}

int CInterpolation::GetPointIDFromIndex(int index) const {
    return IsValidIndex(index) ? m_Points[index].GetID() : 0;
}

bool CInterpolation::IsPointLockedFromIndex(int index) const {
    return IsValidIndex(index) && m_Points[index].IsLocked();
}

void CInterpolation::SetPointLockedFromIndex(int index, bool locked) {
    if (IsValidIndex(index)) {
        m_Points[index].SetLocked(locked);
    }
}

float CInterpolation::GetValue() const {
    return GetValue(CurrentSceneTime());
}

float CInterpolation::GetValue(float t) const {
    const int count = GetNumberPoints();
    if (count == 0) {
        return 0.0f;
    }
    if (count == 1) {
        return m_Points[0].GetValue();
    }

    const float lastTime = m_Points.back().GetTime();
    if (m_bLoop) {
        // The period is the time of the last key; trunc keeps negative times
        // negative (they then lie before the first key).
        if (lastTime != 0.0f) {
            t = t - lastTime * std::trunc(t / lastTime);
        }
    } else if (t >= lastTime) {
        t = lastTime - 0.001f;
    }

    const int next = FindFirstKeyAfter(t);
    if (next == 0) {
        return 0.0f;  // before the first key
    }
    if (next == count) {
        return m_Points[0].GetValue();
    }
    const int segment = next - 1;
    const float segmentStart = m_Points[segment].GetTime();
    const float u = (t - segmentStart) / (m_Points[next].GetTime() - segmentStart);
    return Curve(segment, u);
}

int CInterpolation::FindFirstKeyAfter(float t) const {
    // The keys are sorted by time, so a binary search finds the same key as a
    // walk from the front would.
    const auto found =
        std::upper_bound(m_Points.begin(), m_Points.end(), t,
                         [](float time, const CInterpolCtrlPnt& point) { return time < point.GetTime(); });
    return static_cast<int>(found - m_Points.begin());
}

void CInterpolation::Neighbours(int count, int segment, int& i0, int& i2, int& i3) {
    i0 = (segment == 0) ? (count > 2 ? count - 2 : count - 1) : segment - 1;
    i2 = (segment == count - 1) ? (count != 1 ? 1 : 0) : segment + 1;
    i3 = (segment == count - 1 || segment == count - 2) ? (count > 1 ? 1 : 0) : segment + 2;
}

float CInterpolation::Curve(int segment, float u) const {
    int i0 = 0;
    int i2 = 0;
    int i3 = 0;
    Neighbours(GetNumberPoints(), segment, i0, i2, i3);
    const float p0 = m_Points[i0].GetValue();
    const float p1 = m_Points[segment].GetValue();
    const float p2 = m_Points[i2].GetValue();
    const float p3 = m_Points[i3].GetValue();
    return Blend(m_Mode, u, p0, p1, p2, p3);
}

float CInterpolation::Blend(TInterpolationMode mode, float u, float p0, float p1, float p2, float p3) {
    switch (mode) {
    case IM_LINEAR:
        return Linear(u, p0, p1, p2, p3);
    case IM_BSPLINE:
        return B_Spline(u, p0, p1, p2, p3);
    case IM_HSPLINE:
        return H_Spline(u, p0, p1, p2, p3);
    case IM_STEP:
        return Step(u, p0, p1, p2, p3);
    }
    return 0.0f;
}

float CInterpolation::Linear(float u, float, float p1, float p2, float) {
    return p1 + (p2 - p1) * u;
}

float CInterpolation::Step(float u, float, float p1, float p2, float) {
    return u < 0.99f ? p1 : p2;
}

float CInterpolation::H_Spline(float u, float p0, float p1, float p2, float p3) {
    const float u2 = u * u;
    const float u3 = u2 * u;
    const float m1 = ((p1 - p0) + (p2 - p1)) * 0.5f;
    const float m2 = ((p2 - p1) + (p3 - p2)) * 0.5f;
    return p1 * (2.0f * u3 - 3.0f * u2 + 1.0f) + p2 * (-2.0f * u3 + 3.0f * u2) + m1 * (u3 - 2.0f * u2 + u) +
           m2 * (u3 - u2);
}

float CInterpolation::B_Spline(float u, float p0, float p1, float p2, float p3) {
    const float u2 = u * u;
    const float u3 = u2 * u;
    const float oneMinusUCubed = 3.0f * u2 - u3 - 3.0f * u + 1.0f;
    return (oneMinusUCubed * p0 + (3.0f * u3 - 6.0f * u2 + 4.0f) * p1 +
            (-3.0f * u3 + 3.0f * u2 + 3.0f * u + 1.0f) * p2 + u3 * p3) *
           0.16666667f;
}

void CInterpolation::ReOrder() {
    // Stable insertion sort by time: keys of equal time keep their order (so
    // a new key goes after the existing ones), a single displaced key costs
    // one pass, and a key whose time is NaN cannot upset the sort.
    for (size_t j = 1; j < m_Points.size(); ++j) {
        for (size_t k = j; k > 0 && m_Points[k].GetTime() < m_Points[k - 1].GetTime(); --k) {
            std::swap(m_Points[k], m_Points[k - 1]);
        }
    }
}

const CInterpolCtrlPnt* CInterpolation::FindPoint(int id) const {
    const auto found =
        std::find_if(m_Points.begin(), m_Points.end(), [id](const CInterpolCtrlPnt& p) { return p.GetID() == id; });
    return found != m_Points.end() ? &*found : nullptr;
}

CInterpolCtrlPnt* CInterpolation::FindPoint(int id) {
    return const_cast<CInterpolCtrlPnt*>(std::as_const(*this).FindPoint(id));
}

bool CInterpolation::IsValidIndex(int index) const {
    return index >= 0 && index < GetNumberPoints();
}

void CInterpolation::AdvanceNextID(long long past) {
    // Never backwards, and never past the largest identifier there is.
    m_iNextID = static_cast<int>(std::clamp<long long>(past, m_iNextID, INT_MAX));
}

void CInterpolation::Save(CSceneFile& file) const {
    file.WriteBool(m_bLoop);
    file.WriteUInt(static_cast<unsigned int>(m_Mode));
    file.WriteUInt(static_cast<unsigned int>(m_Points.size()));
    for (const CInterpolCtrlPnt& point : m_Points) {
        file.WriteFloat(point.GetValue());
        file.WriteFloat(point.GetTime());
        file.WriteUInt(static_cast<unsigned int>(point.GetID()));
        file.WriteBool(point.IsLocked());
    }
}

void CInterpolation::Load(CSceneFile& file) {
    RemoveAll();
    m_bLoop = file.ReadBool();
    m_Mode = static_cast<TInterpolationMode>(static_cast<int>(file.ReadUInt()));
    const unsigned int count = file.ReadCount(kKeyBytes);
    long long largestID = -1;
    for (unsigned int i = 0; i < count; ++i) {
        const float value = file.ReadFloat();
        const float time = file.ReadFloat();
        const int id = static_cast<int>(file.ReadUInt());
        const bool locked = file.ReadBool();
        Insert(value, time, id);
        SetPointLockedFromIndex(static_cast<int>(i), locked);
        largestID = std::max<long long>(largestID, id);
    }
    // Keys keep their stored identifiers; later automatic identifiers must
    // not repeat one of them (keys removed before saving leave gaps).
    AdvanceNextID(largestID + 1);
}
