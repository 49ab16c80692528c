#pragma once
// The unit the property pages show angles in, chosen by the "angles"
// setting: degrees, grads or radians. The engine keeps radians. The
// conversions use the same constants as the scene files written before, so
// that a value typed in and read back shows the same digits.

class CAngleUnits {
public:
    static constexpr int kDegrees = 0;
    static constexpr int kGrads = 1;
    static constexpr int kRadians = 2;

    // Radians -> the unit shown; an unknown unit shows radians.
    static double ToDisplay(double radians, int unit);
    // The unit shown -> radians.
    static double FromDisplay(double value, int unit);
    // What a spin arrow adds: a whole degree or grad, a tenth of a radian.
    static double Step(int unit);
};
