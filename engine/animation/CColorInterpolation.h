#pragma once
// A curve of colours: four scalar curves (r, g, b, a) that always receive the
// same keys. Colours blend linearly by default.

#include "animation/CInterpolation.h"
#include "platform/base/D3DTypes.h"

class CColorInterpolation {
public:
    CColorInterpolation();
    virtual ~CColorInterpolation() = default;

    void Insert(const D3DCOLORVALUE& c, float time, int id);
    void Insert(float r, float g, float b, float a, float time, int id);
    void Update(const D3DCOLORVALUE& c, float time, int id);
    void Update(float r, float g, float b, float a, float time, int id);
    void Remove(int id);
    void RemoveAll();

    D3DCOLORVALUE GetValue(float t) const;
    D3DCOLORVALUE GetValue() const;  // at the scene clock's time
    D3DCOLORVALUE GetPointValue(int id) const;
    D3DCOLORVALUE GetPointValueFromIndex(int index) const;

    void SetMode(TInterpolationMode mode);
    void SetLoop(bool loop);
    // Mode, loop, count, times and identifiers are those of the r curve.
    TInterpolationMode GetMode() const { return m_R.GetMode(); }
    bool GetLoop() const { return m_R.GetLoop(); }
    int GetNumberPoints() const { return m_R.GetNumberPoints(); }
    float GetPointTime(int id) const { return m_R.GetPointTime(id); }
    float GetPointTimeFromIndex(int index) const { return m_R.GetPointTimeFromIndex(index); }
    int GetPointIDFromIndex(int index) const { return m_R.GetPointIDFromIndex(index); }
    int GetID(int index) const { return m_R.GetID(index); }

    // The r, g, b and a curves in that order.
    void Save(CSceneFile& file) const;
    void Load(CSceneFile& file);

private:
    CInterpolation m_R;
    CInterpolation m_G;
    CInterpolation m_B;
    CInterpolation m_A;
};
