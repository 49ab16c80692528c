#include "animation/CKeyFrameCurves.h"

int CKeyFrameCurves::AddKeyFrame(float time) const {
    int id = -1;
    for (std::size_t i = 0; i < m_Curves.size(); ++i) {
        const int inserted = m_Curves[i].insertOwnValue(m_Curves[i].curve, time);
        if (i == 0) {
            id = inserted;
        }
    }
    return id;
}

void CKeyFrameCurves::DeleteKeyFrame(int id) const {
    for (const SCurve& curve : m_Curves) {
        curve.remove(curve.curve, id);
    }
}

void CKeyFrameCurves::MoveKeyFrame(int id, float time) const {
    for (const SCurve& curve : m_Curves) {
        curve.moveKey(curve.curve, id, time);
    }
}

CKeyFrameSnapshot CKeyFrameCurves::Capture() const {
    CKeyFrameSnapshot snapshot;
    for (const SCurve& curve : m_Curves) {
        snapshot.m_Copies.push_back(curve.copy(curve.curve));
    }
    return snapshot;
}

void CKeyFrameCurves::Restore(const CKeyFrameSnapshot& snapshot) const {
    if (snapshot.m_Copies.size() != m_Curves.size()) {
        return;
    }
    for (std::size_t i = 0; i < m_Curves.size(); ++i) {
        m_Curves[i].assign(m_Curves[i].curve, snapshot.m_Copies[i].get());
    }
}
