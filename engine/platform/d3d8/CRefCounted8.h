#pragma once
// Reference counting shared by every Direct3D object of this layer.

#include <atomic>

#include "platform/base/WinTypes.h"

template <class Interface>
class CRefCounted8 : public Interface {
public:
    ULONG AddRef() override { return ++m_refCount; }

    ULONG Release() override {
        const ULONG remaining = --m_refCount;
        if (remaining == 0)
            OnFinalRelease();
        return remaining;
    }

    ULONG RefCount() const { return m_refCount; }

protected:
    // Called when the last reference goes; objects with extra teardown rules
    // (the device) override it.
    virtual void OnFinalRelease() { delete this; }

private:
    std::atomic<ULONG> m_refCount{1};
};
