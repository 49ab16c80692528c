#include "animation/CBoolInterpolation.h"

#include <cmath>

CBoolInterpolation::CBoolInterpolation() {
    SetMode(IM_STEP);
}

int CBoolInterpolation::Insert(bool value, float time, int id) {
    return CInterpolation::Insert(value ? 1.0f : 0.0f, time, id);
}

void CBoolInterpolation::Update(bool value, float time, int id) {
    CInterpolation::Update(value ? 1.0f : 0.0f, time, id);
}

bool CBoolInterpolation::GetValue(float t) const {
    return ToBool(CInterpolation::GetValue(t));
}

bool CBoolInterpolation::GetValue() const {
    return ToBool(CInterpolation::GetValue());
}

bool CBoolInterpolation::GetPointValue(int id) const {
    return ToBool(CInterpolation::GetPointValue(id));
}

bool CBoolInterpolation::GetPointValueFromIndex(int index) const {
    return ToBool(CInterpolation::GetPointValueFromIndex(index));
}

bool CBoolInterpolation::ToBool(float value) {
    // Same as converting to int and testing for non-zero, without the
    // undefined conversion of huge values.
    return std::trunc(value) != 0.0f;
}
