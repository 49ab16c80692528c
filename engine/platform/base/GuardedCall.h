#pragma once
// Runs `body`, turning a failed allocation into E_OUTOFMEMORY: whatever the
// input, a caller of the D3DX functions gets a result code, never an
// exception (a damaged file can ask for any size).

#include <new>
#include <stdexcept>

#include "platform/base/WinTypes.h"

template <typename Body>
HRESULT GuardedCall(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::length_error&) {
        return E_OUTOFMEMORY;
    }
}
