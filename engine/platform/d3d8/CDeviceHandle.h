#pragma once
// Owns one reference of a reference-counted device object (anything with AddRef
// and Release: buffers, textures, surfaces, state blocks, the device itself).
//
// The reference is released when the handle is destroyed, reset or receives a
// new object. Moving hands the reference over. Copying does NOT share it: a
// copy (constructed or assigned) is empty, because device resources belong to
// one owner; a copied object creates its own resources when it initialises.
// That makes classes holding handles copyable with the compiler's copy.

#include <utility>

template <class T>
class CDeviceHandle {
public:
    CDeviceHandle() = default;

    // Takes over one reference the caller already holds (no AddRef).
    explicit CDeviceHandle(T* owned) : m_pObject(owned) {}

    ~CDeviceHandle() { Reset(); }

    // A copy starts empty (see above).
    CDeviceHandle(const CDeviceHandle&) {}
    CDeviceHandle& operator=(const CDeviceHandle& other) {
        if (this != &other)
            Reset();
        return *this;
    }

    CDeviceHandle(CDeviceHandle&& other) noexcept : m_pObject(std::exchange(other.m_pObject, nullptr)) {}
    CDeviceHandle& operator=(CDeviceHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_pObject, nullptr));
        return *this;
    }

    T* Get() const { return m_pObject; }
    T* operator->() const { return m_pObject; }
    explicit operator bool() const { return m_pObject != nullptr; }

    // Releases the held object and takes over `owned` (a reference the caller
    // holds, no AddRef).
    void Reset(T* owned = nullptr) {
        T* old = std::exchange(m_pObject, owned);
        if (old != nullptr)
            old->Release();
    }

    // Releases the held object and returns the slot for a creation function
    // that writes a new object with one reference into a T**.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &m_pObject;
    }

    // Gives the held reference to the caller, who must release it.
    [[nodiscard]] T* Detach() { return std::exchange(m_pObject, nullptr); }

private:
    T* m_pObject = nullptr;
};
