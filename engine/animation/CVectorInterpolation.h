#pragma once
// A curve of 3D vectors: three scalar curves (x, y, z) that always receive
// the same keys, so that one keyframe has the same identifier in all three.

#include "animation/CInterpolation.h"
#include "platform/d3dx/d3dx8math.h"

class CVectorInterpolation {
public:
    CVectorInterpolation() = default;
    virtual ~CVectorInterpolation() = default;

    void Insert(const D3DXVECTOR3& v, float time, int id);
    void Insert(float x, float y, float z, float time, int id);
    void Update(const D3DXVECTOR3& v, float time, int id);
    void Update(float x, float y, float z, float time, int id);
    void Remove(int id);
    void RemoveAll();

    D3DXVECTOR3 GetValue(float t) const;
    D3DXVECTOR3 GetValue() const;  // at the scene clock's time
    D3DXVECTOR3 GetPointValue(int id) const;
    D3DXVECTOR3 GetPointValueFromIndex(int index) const;

    void SetMode(TInterpolationMode mode);
    void SetLoop(bool loop);
    // Mode, loop, count, times and identifiers are those of the x curve.
    TInterpolationMode GetMode() const { return m_X.GetMode(); }
    bool GetLoop() const { return m_X.GetLoop(); }
    int GetNumberPoints() const { return m_X.GetNumberPoints(); }
    float GetPointTime(int id) const { return m_X.GetPointTime(id); }
    float GetPointTimeFromIndex(int index) const { return m_X.GetPointTimeFromIndex(index); }
    int GetPointIDFromIndex(int index) const { return m_X.GetPointIDFromIndex(index); }
    int GetID(int index) const { return m_X.GetID(index); }

    // The x, y and z curves in that order.
    void Save(CSceneFile& file) const;
    void Load(CSceneFile& file);

private:
    CInterpolation m_X;
    CInterpolation m_Y;
    CInterpolation m_Z;
};
