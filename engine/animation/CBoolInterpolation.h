#pragma once
// An on/off curve: a step-mode scalar curve holding 0 (false) and 1 (true),
// so that a switch happens at 99 % of a segment.

#include "animation/CInterpolation.h"

class CBoolInterpolation : public CInterpolation {
public:
    CBoolInterpolation();

    int Insert(bool value, float time, int id);
    void Update(bool value, float time, int id);

    // The scalar result truncated toward zero: true when non-zero.
    bool GetValue(float t) const;
    bool GetValue() const;  // at the scene clock's time
    bool GetPointValue(int id) const;
    bool GetPointValueFromIndex(int index) const;

private:
    static bool ToBool(float value);
};
