#pragma once
// A member value that a copy does not take over: a copied (or assigned) holder
// gets the value-initialised T (0, null) instead. For state that describes
// device resources a copy does not have yet (buffer sizes, a locked pointer),
// so that the holder's copy can stay the compiler's.
//
// It reads and writes like a plain T.

template <class T>
class CResetOnCopy {
public:
    CResetOnCopy() = default;
    CResetOnCopy(T value) : m_Value(value) {}

    CResetOnCopy(const CResetOnCopy&) {}
    CResetOnCopy& operator=(const CResetOnCopy& other) {
        if (this != &other)
            m_Value = T{};
        return *this;
    }
    CResetOnCopy& operator=(T value) {
        m_Value = value;
        return *this;
    }

    operator T() const { return m_Value; }

private:
    T m_Value{};
};
