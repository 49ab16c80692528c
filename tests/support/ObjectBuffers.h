#pragma once
// Copies of an object's vertex and index buffers, read through the object's
// own lock functions: what the tests compare geometry on. Header only (like
// CHeadlessDevice.h), so that the support library does not link the engine.

#include <vector>

#include "objects/CBaseObject.h"

inline std::vector<S3DVERTEX> VerticesOf(CBaseObject& object) {
    DWORD count = 0;
    S3DVERTEX* locked = object.LockVB(count);
    std::vector<S3DVERTEX> copy;
    if (!locked) {
        return copy;
    }
    for (DWORD i = 0; i < count; ++i) {
        copy.push_back(*object.OffsetVertex(locked, static_cast<int>(i)));
    }
    object.UnlockVB(false, false);
    return copy;
}

inline std::vector<WORD> IndicesOf(CBaseObject& object) {
    DWORD faces = 0;
    WORD* locked = object.LockIB(faces);
    std::vector<WORD> copy;
    if (!locked) {
        return copy;
    }
    copy.assign(locked, locked + 3 * faces);
    object.UnlockIB();
    return copy;
}
