#include "animation/CColorInterpolation.h"

#include "platform/base/SceneTime.h"

CColorInterpolation::CColorInterpolation() {
    SetMode(IM_LINEAR);
}

void CColorInterpolation::Insert(const D3DCOLORVALUE& c, float time, int id) {
    Insert(c.r, c.g, c.b, c.a, time, id);
}

void CColorInterpolation::Insert(float r, float g, float b, float a, float time, int id) {
    m_R.Insert(r, time, id);
    m_G.Insert(g, time, id);
    m_B.Insert(b, time, id);
    m_A.Insert(a, time, id);
}

void CColorInterpolation::Update(const D3DCOLORVALUE& c, float time, int id) {
    Update(c.r, c.g, c.b, c.a, time, id);
}

void CColorInterpolation::Update(float r, float g, float b, float a, float time, int id) {
    m_R.Update(r, time, id);
    m_G.Update(g, time, id);
    m_B.Update(b, time, id);
    m_A.Update(a, time, id);
}

void CColorInterpolation::Remove(int id) {
    m_R.Remove(id);
    m_G.Remove(id);
    m_B.Remove(id);
    m_A.Remove(id);
}

void CColorInterpolation::RemoveAll() {
    m_R.RemoveAll();
    m_G.RemoveAll();
    m_B.RemoveAll();
    m_A.RemoveAll();
}

D3DCOLORVALUE CColorInterpolation::GetValue(float t) const {
    return D3DCOLORVALUE{m_R.GetValue(t), m_G.GetValue(t), m_B.GetValue(t), m_A.GetValue(t)};
}

D3DCOLORVALUE CColorInterpolation::GetValue() const {
    // One clock reading for all four members.
    return GetValue(CurrentSceneTime());
}

D3DCOLORVALUE CColorInterpolation::GetPointValue(int id) const {
    return D3DCOLORVALUE{m_R.GetPointValue(id), m_G.GetPointValue(id), m_B.GetPointValue(id), m_A.GetPointValue(id)};
}

D3DCOLORVALUE CColorInterpolation::GetPointValueFromIndex(int index) const {
    return D3DCOLORVALUE{m_R.GetPointValueFromIndex(index), m_G.GetPointValueFromIndex(index),
                         m_B.GetPointValueFromIndex(index), m_A.GetPointValueFromIndex(index)};
}

void CColorInterpolation::SetMode(TInterpolationMode mode) {
    m_R.SetMode(mode);
    m_G.SetMode(mode);
    m_B.SetMode(mode);
    m_A.SetMode(mode);
}

void CColorInterpolation::SetLoop(bool loop) {
    m_R.SetLoop(loop);
    m_G.SetLoop(loop);
    m_B.SetLoop(loop);
    m_A.SetLoop(loop);
}

void CColorInterpolation::Save(CSceneFile& file) const {
    m_R.Save(file);
    m_G.Save(file);
    m_B.Save(file);
    m_A.Save(file);
}

void CColorInterpolation::Load(CSceneFile& file) {
    m_R.Load(file);
    m_G.Load(file);
    m_B.Load(file);
    m_A.Load(file);
}
