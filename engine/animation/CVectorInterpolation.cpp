#include "animation/CVectorInterpolation.h"

#include "platform/base/SceneTime.h"

void CVectorInterpolation::Insert(const D3DXVECTOR3& v, float time, int id) {
    Insert(v.x, v.y, v.z, time, id);
}

void CVectorInterpolation::Insert(float x, float y, float z, float time, int id) {
    m_X.Insert(x, time, id);
    m_Y.Insert(y, time, id);
    m_Z.Insert(z, time, id);
}

void CVectorInterpolation::Update(const D3DXVECTOR3& v, float time, int id) {
    Update(v.x, v.y, v.z, time, id);
}

void CVectorInterpolation::Update(float x, float y, float z, float time, int id) {
    m_X.Update(x, time, id);
    m_Y.Update(y, time, id);
    m_Z.Update(z, time, id);
}

void CVectorInterpolation::Remove(int id) {
    m_X.Remove(id);
    m_Y.Remove(id);
    m_Z.Remove(id);
}

void CVectorInterpolation::RemoveAll() {
    m_X.RemoveAll();
    m_Y.RemoveAll();
    m_Z.RemoveAll();
}

D3DXVECTOR3 CVectorInterpolation::GetValue(float t) const {
    return D3DXVECTOR3(m_X.GetValue(t), m_Y.GetValue(t), m_Z.GetValue(t));
}

D3DXVECTOR3 CVectorInterpolation::GetValue() const {
    // One clock reading for all three members.
    return GetValue(CurrentSceneTime());
}

D3DXVECTOR3 CVectorInterpolation::GetPointValue(int id) const {
    return D3DXVECTOR3(m_X.GetPointValue(id), m_Y.GetPointValue(id), m_Z.GetPointValue(id));
}

D3DXVECTOR3 CVectorInterpolation::GetPointValueFromIndex(int index) const {
    return D3DXVECTOR3(m_X.GetPointValueFromIndex(index), m_Y.GetPointValueFromIndex(index),
                       m_Z.GetPointValueFromIndex(index));
}

void CVectorInterpolation::SetMode(TInterpolationMode mode) {
    m_X.SetMode(mode);
    m_Y.SetMode(mode);
    m_Z.SetMode(mode);
}

void CVectorInterpolation::SetLoop(bool loop) {
    m_X.SetLoop(loop);
    m_Y.SetLoop(loop);
    m_Z.SetLoop(loop);
}

void CVectorInterpolation::Save(CSceneFile& file) const {
    m_X.Save(file);
    m_Y.Save(file);
    m_Z.Save(file);
}

void CVectorInterpolation::Load(CSceneFile& file) {
    m_X.Load(file);
    m_Y.Load(file);
    m_Z.Load(file);
}
