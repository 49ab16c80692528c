#include "properties/CAngleUnits.h"

namespace {

constexpr double kOneOverTwoPi = 0.15915494309189535;
constexpr double kHalfDegree = 0.008726646259971648;  // π / 360
constexpr double kHalfGrad = 0.007853981633974483;    // π / 400
constexpr double kTwoPi = 6.283185307179586;

}  // namespace

double CAngleUnits::ToDisplay(double radians, int unit) {
    switch (unit) {
    case kDegrees:
        return radians * 360.0 * kOneOverTwoPi;
    case kGrads:
        return radians * 400.0 / kTwoPi;
    default:
        return radians;
    }
}

double CAngleUnits::FromDisplay(double value, int unit) {
    switch (unit) {
    case kDegrees:
        return value * 2.0 * kHalfDegree;
    case kGrads:
        return value * 2.0 * kHalfGrad;
    default:
        return value;
    }
}

double CAngleUnits::Step(int unit) {
    return unit == kDegrees || unit == kGrads ? 1.0 : 0.1;
}
