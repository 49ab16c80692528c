#pragma once
// A keyed scalar curve: keys sorted by time, evaluated at any time with one of
// four interpolation modes. Vector, colour, boolean and string curves are
// built from it.

#include <vector>

#include "animation/CInterpolCtrlPnt.h"

class CSceneFile;

enum TInterpolationMode : int {
    IM_LINEAR = 0,   // "Linear"
    IM_BSPLINE = 1,  // "B-Spline" (uniform cubic, does not pass through the keys)
    IM_HSPLINE = 2,  // "Hermite Spline" (Catmull-Rom tangents)
    IM_STEP = 3,     // "Step" (changes at 99 % of a segment)
};

class CInterpolation {
public:
    CInterpolation() = default;
    virtual ~CInterpolation() = default;
    CInterpolation(const CInterpolation&) = default;
    CInterpolation& operator=(const CInterpolation&) = default;

    // Adds a key and returns its identifier: id, or the next automatic
    // identifier when id is -1. A key inserted at the time of existing keys
    // goes after them.
    int Insert(float value, float time, int id);
    // Changes value and time of the key with that identifier (then re-sorts).
    void Update(float value, float time, int id);
    void Remove(int id);
    // Removes every key; mode, loop and the identifier counter stay.
    void RemoveAll();

    // By identifier; 0 when there is no such key.
    float GetPointValue(int id) const;
    float GetPointTime(int id) const;

    // By index in time order; 0 for an index outside 0 .. count-1.
    int GetNumberPoints() const;
    float GetPointValueFromIndex(int index) const;
    float GetPointTimeFromIndex(int index) const;
    int GetPointIDFromIndex(int index) const;
    int GetID(int index) const { return GetPointIDFromIndex(index); }
    bool IsPointLockedFromIndex(int index) const;
    void SetPointLockedFromIndex(int index, bool locked);

    void SetMode(TInterpolationMode mode) { m_Mode = mode; }
    TInterpolationMode GetMode() const { return m_Mode; }
    void SetLoop(bool loop) { m_bLoop = loop; }
    bool GetLoop() const { return m_bLoop; }

    // The curve at scene time t; without argument at the scene clock's time.
    float GetValue(float t) const;
    float GetValue() const;

    // bool loop, uint mode, uint count, then per key: float value, float time,
    // uint ID, bool locked. Load may throw CSceneFileException on damaged data.
    void Save(CSceneFile& file) const;
    void Load(CSceneFile& file);

    // Bytes one key takes in a scene file.
    static constexpr unsigned int kKeyBytes = 4 + 4 + 4 + 1;

    // The mode's curve between p1 (u = 0) and p2 (u = 1), p0 and p3 being
    // the neighbours before and after; 0 for an unknown mode. The movement
    // controller blends its points with the same formulas.
    static float Blend(TInterpolationMode mode, float u, float p0, float p1, float p2, float p3);
    // The keys p0, p2 and p3 around key `segment` (p1) of `count` keys,
    // wrapping as if the first and the last key were the same point of a
    // closed loop, whether or not the curve loops.
    static void Neighbours(int count, int segment, int& i0, int& i2, int& i3);

private:
    void ReOrder();
    // Index of the first key later than t (count when there is none).
    int FindFirstKeyAfter(float t) const;
    const CInterpolCtrlPnt* FindPoint(int id) const;
    CInterpolCtrlPnt* FindPoint(int id);
    bool IsValidIndex(int index) const;
    void AdvanceNextID(long long past);

    float Curve(int segment, float u) const;
    static float Linear(float u, float p0, float p1, float p2, float p3);
    static float B_Spline(float u, float p0, float p1, float p2, float p3);
    static float H_Spline(float u, float p0, float p1, float p2, float p3);
    static float Step(float u, float p0, float p1, float p2, float p3);

    std::vector<CInterpolCtrlPnt> m_Points;
    TInterpolationMode m_Mode = IM_HSPLINE;
    bool m_bLoop = false;
    int m_iNextID = 0;
};
