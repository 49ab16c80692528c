#pragma once
// A quad of about two by two pixels on a 64 x 64 headless Direct3D 8 device,
// in a vertex and an index buffer, with identity transforms (also in vertex
// shader constants c0-c3), lighting off and the vertex colour through stage
// 0; the target is cleared and a scene begun. The draw benchmarks time the
// layer's CPU cost on it: the rasteriser's share stays small.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstring>

#include "platform/d3d8/d3d8.h"
#include "support/CHeadlessDevice.h"

namespace benchquad {

constexpr int kSize = 64;
// Draws queued before the benchmark waits for the GPU.
constexpr int kDrawsBetweenFinishes = 1024;

struct SVertex {
    float x, y, z;
    DWORD color;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr SVertex kQuad[4] = {{-0.05f, -0.05f, 0.5f, 0xFFFF0000},
                              {0.05f, -0.05f, 0.5f, 0xFF00FF00},
                              {-0.05f, 0.05f, 0.5f, 0xFF0000FF},
                              {0.05f, 0.05f, 0.5f, 0xFFFFFFFF}};
constexpr WORD kIndices[6] = {0, 1, 2, 1, 3, 2};

inline D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

}  // namespace benchquad

class CD3D8QuadScene {
public:
    CD3D8QuadScene() {
        if (!m_device)
            return;
        using namespace benchquad;
        BYTE* data = nullptr;
        m_device->CreateVertexBuffer(sizeof kQuad, D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_MANAGED, &m_vb);
        m_vb->Lock(0, 0, &data, 0);
        std::memcpy(data, kQuad, sizeof kQuad);
        m_vb->Unlock();
        m_device->CreateIndexBuffer(sizeof kIndices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &m_ib);
        m_ib->Lock(0, 0, &data, 0);
        std::memcpy(data, kIndices, sizeof kIndices);
        m_ib->Unlock();
        const D3DMATRIX identity = Identity();
        m_device->SetTransform(D3DTS_WORLD, &identity);
        m_device->SetTransform(D3DTS_VIEW, &identity);
        m_device->SetTransform(D3DTS_PROJECTION, &identity);
        m_device->SetVertexShaderConstant(0, &identity, 4);
        m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        m_device->SetVertexShader(kFvf);
        m_device->SetStreamSource(0, m_vb, sizeof(SVertex));
        m_device->SetIndices(m_ib, 0);
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        m_device->BeginScene();
    }
    ~CD3D8QuadScene() {
        if (!m_device)
            return;
        m_device->EndScene();
        m_device->SetStreamSource(0, nullptr, 0);
        m_device->SetIndices(nullptr, 0);
        m_vb->Release();
        m_ib->Release();
    }
    CD3D8QuadScene(const CD3D8QuadScene&) = delete;
    CD3D8QuadScene& operator=(const CD3D8QuadScene&) = delete;

    // Null when no device could be made on the headless surface.
    IDirect3DDevice8* Device() const { return m_device; }

    // Times drawing the quad over and over with the state as it is; the
    // first draw, which builds the program, is not timed.
    void DrawRepeatedly(benchmark::State& state) const {
        if (FAILED(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2))) {
            state.SkipWithError("the draw was refused");
            return;
        }
        glFinish();
        int sinceFinish = 0;
        for (auto _ : state) {
            benchmark::DoNotOptimize(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2));
            if (++sinceFinish == benchquad::kDrawsBetweenFinishes) {
                glFinish();
                sinceFinish = 0;
            }
        }
        glFinish();
    }

private:
    CHeadlessDevice m_headless{benchquad::kSize, benchquad::kSize};
    IDirect3DDevice8* m_device = m_headless.Get();
    IDirect3DVertexBuffer8* m_vb = nullptr;
    IDirect3DIndexBuffer8* m_ib = nullptr;
};
