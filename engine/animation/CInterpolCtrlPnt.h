#pragma once
// One key of a curve: a value at a time of scene time, with the identifier
// that ties the same keyframe together across an object's curves.

class CInterpolCtrlPnt {
public:
    CInterpolCtrlPnt() = default;
    CInterpolCtrlPnt(float value, float time, int id, bool locked = false)
        : m_fValue(value), m_fTime(time), m_iID(id), m_bLocked(locked) {}
    virtual ~CInterpolCtrlPnt() = default;
    CInterpolCtrlPnt(const CInterpolCtrlPnt&) = default;
    CInterpolCtrlPnt& operator=(const CInterpolCtrlPnt&) = default;

    float GetValue() const { return m_fValue; }
    void SetValue(float value) { m_fValue = value; }
    float GetTime() const { return m_fTime; }
    void SetTime(float time) { m_fTime = time; }
    int GetID() const { return m_iID; }
    void SetID(int id) { m_iID = id; }
    // Carried with the key and stored; the engine attaches no behaviour to it.
    bool IsLocked() const { return m_bLocked; }
    void SetLocked(bool locked) { m_bLocked = locked; }

private:
    float m_fValue = 0.0f;
    float m_fTime = 0.0f;
    int m_iID = 0;
    bool m_bLocked = false;
};
