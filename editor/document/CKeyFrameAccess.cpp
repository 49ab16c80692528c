#include "document/CKeyFrameAccess.h"

#include "animation/CCameraTrajectoryObject.h"
#include "objects/CBaseObject.h"
#include "scene/CObjects.h"

CKeyFrameAccess::CKeyFrameAccess(CObjects* object)
    : m_pBase(dynamic_cast<CBaseObject*>(object)), m_pCamera(dynamic_cast<CCameraTrajectoryObject*>(object)) {}

int CKeyFrameAccess::Count() const {
    if (m_pBase != nullptr) {
        return m_pBase->GetKeyFrameNumber();
    }
    return m_pCamera != nullptr ? m_pCamera->GetKeyFrameNumber() : 0;
}

float CKeyFrameAccess::Time(int index) const {
    if (m_pBase != nullptr) {
        return m_pBase->GetKeyFrameTime(index);
    }
    return m_pCamera != nullptr ? m_pCamera->GetKeyFrameTime(index) : 0.0f;
}

int CKeyFrameAccess::Id(int index) const {
    if (m_pBase != nullptr) {
        return m_pBase->GetKeyFrameID(index);
    }
    return m_pCamera != nullptr ? m_pCamera->GetKeyFrameID(index) : -1;
}

int CKeyFrameAccess::CurrentKey() const {
    if (m_pBase != nullptr) {
        return m_pBase->GetCurrentKeyFrame();
    }
    return m_pCamera != nullptr ? m_pCamera->GetCurrentKeyFrame() : 0;
}

void CKeyFrameAccess::SetCurrentKey(int id) const {
    if (m_pBase != nullptr) {
        m_pBase->SetCurrentKeyFrame(id);
    } else if (m_pCamera != nullptr) {
        m_pCamera->SetCurrentKeyFrame(id);
    }
}

int CKeyFrameAccess::Add(float time) const {
    if (m_pBase != nullptr) {
        return m_pBase->AddKeyFrame(time);
    }
    return m_pCamera != nullptr ? m_pCamera->AddKeyFrame(time) : -1;
}

void CKeyFrameAccess::Move(int id, float time) const {
    if (m_pBase != nullptr) {
        m_pBase->MoveKeyFrame(id, time);
    } else if (m_pCamera != nullptr) {
        m_pCamera->MoveKeyFrame(id, time);
    }
}

void CKeyFrameAccess::Delete(int id) const {
    if (m_pBase != nullptr) {
        m_pBase->DeleteKeyFrame(id);
    } else if (m_pCamera != nullptr) {
        m_pCamera->DeleteKeyFrame(id);
    }
}

CKeyFrameSnapshot CKeyFrameAccess::Capture() const {
    if (m_pBase != nullptr) {
        return m_pBase->CaptureKeyFrames();
    }
    return m_pCamera != nullptr ? m_pCamera->CaptureKeyFrames() : CKeyFrameSnapshot();
}

void CKeyFrameAccess::Restore(const CKeyFrameSnapshot& snapshot) const {
    if (m_pBase != nullptr) {
        m_pBase->RestoreKeyFrames(snapshot);
    } else if (m_pCamera != nullptr) {
        m_pCamera->RestoreKeyFrames(snapshot);
    }
}
