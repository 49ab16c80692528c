#pragma once
// A mesh object made of given vertices and triangles, in the shader layout,
// on a device of the test's choosing, and the effect's half of its vertices.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "objects/CBaseObject.h"
#include "objects/CShaderEffect.h"

class CTestMesh : public CBaseObject {
public:
    CTestMesh(IDirect3DDevice8* device, bool shaderLayout) {
        m_pd3dDevice = device;
        UseShader(shaderLayout);
    }

    // Writes the buffers (normals as given) and reports the geometry change.
    void Build(const std::vector<S3DVERTEX>& vertices, const std::vector<WORD>& indices) {
        SetNumberVertices(static_cast<int>(vertices.size()));
        SetNumberFaces(static_cast<int>(indices.size() / 3));
        DWORD count = 0, faces = 0;
        S3DVERTEX* locked = LockVB(count);
        ASSERT_NE(locked, nullptr);
        for (DWORD i = 0; i < count; ++i) {
            *OffsetVertex(locked, static_cast<int>(i)) = vertices[i];
        }
        UnlockVB(false, false);
        WORD* lockedIndices = LockIB(faces);
        ASSERT_NE(lockedIndices, nullptr);
        std::memcpy(lockedIndices, indices.data(), indices.size() * sizeof(WORD));
        UnlockIB();
        GeometryChanged();
    }

    // The whole buffer, both halves of every vertex.
    std::vector<S3DVERTEX_FORSHADER> ShaderVertices() {
        std::vector<S3DVERTEX_FORSHADER> copy;
        DWORD count = 0;
        if (S3DVERTEX* locked = LockVB(count)) {
            const auto* vertices = reinterpret_cast<const S3DVERTEX_FORSHADER*>(locked);
            copy.assign(vertices, vertices + count);
            UnlockVB(false, false);
        }
        return copy;
    }
};

inline SShaderVertexFrame FrameOf(const S3DVERTEX_FORSHADER& vertex) {
    SShaderVertexFrame frame;
    std::memcpy(static_cast<void*>(&frame), &vertex.effect, sizeof(frame));
    return frame;
}
