#pragma once
// A range of values: minimum and maximum, in that order. Particle emitters
// draw random values from such ranges; lens flares fade between the two ends.

template <class T>
class CMinMax {
public:
    CMinMax() = default;
    CMinMax(T minimum, T maximum) : m_Min(minimum), m_Max(maximum) {}

    T m_Min{};
    T m_Max{};
};
