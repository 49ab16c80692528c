// CPU cost of one indexed draw through a translated vertex shader (alone and
// with a pixel shader) next to the same draw through the fixed-function
// path, state unchanged between draws, on the headless surface; and the time
// a shader pair takes from assembled tokens to its first draw (translation
// and link). The quad covers a few pixels so that the rasteriser's share is
// small and equal on every side. Last, the engine's three built-in effects
// from their program text to their first draw.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstring>
#include <string>

#include "bench/common/CD3D8QuadScene.h"
#include "objects/CBumpMapShader.h"
#include "objects/CCartoonShader.h"
#include "objects/CReflectionShader.h"
#include "objects/ObjectTypes.h"
#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dxshader/d3dx8shader.h"

namespace {

using namespace benchquad;
constexpr DWORD kDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(D3DVSDE_POSITION, D3DVSDT_FLOAT3),
                                  D3DVSD_REG(D3DVSDE_DIFFUSE, D3DVSDT_D3DCOLOR), D3DVSD_END()};

// What the fixed-function path computes for this quad: transform, colour.
const char* const kVertexProgram =
    "vs.1.1\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n"
    "mov oD0, v5\n";
const char* const kPixelProgram =
    "ps.1.1\n"
    "mov r0, v0\n";

// Assembled tokens of a program text (empty on failure).
std::basic_string<DWORD> Assemble(const char* text) {
    ID3DXBuffer* code = nullptr;
    if (FAILED(D3DXAssembleShader(text, static_cast<UINT>(std::strlen(text)), 0, nullptr, &code, nullptr)))
        return {};
    std::basic_string<DWORD> tokens(static_cast<const DWORD*>(code->GetBufferPointer()),
                                    code->GetBufferSize() / sizeof(DWORD));
    code->Release();
    return tokens;
}

// The quad scene with the programs above at hand.
class CQuadScene : public CD3D8QuadScene {
public:
    // Vertex and pixel shader handles of the programs above (0 on failure).
    DWORD CreateVertexShader() const {
        const std::basic_string<DWORD> code = Assemble(kVertexProgram);
        DWORD handle = 0;
        return code.empty() || FAILED(Device()->CreateVertexShader(kDeclaration, code.data(), &handle, 0)) ? 0 : handle;
    }
    DWORD CreatePixelShader() const {
        const std::basic_string<DWORD> code = Assemble(kPixelProgram);
        DWORD handle = 0;
        return code.empty() || FAILED(Device()->CreatePixelShader(code.data(), &handle)) ? 0 : handle;
    }
};

void BM_FixedFunctionDraw(benchmark::State& state) {
    CQuadScene scene;
    if (!scene.Device()) {
        state.SkipWithError("no Direct3D device on the headless surface");
        return;
    }
    scene.Device()->SetVertexShader(kFvf);
    scene.DrawRepeatedly(state);
}
BENCHMARK(BM_FixedFunctionDraw);

void BM_VertexShaderDraw(benchmark::State& state) {
    CQuadScene scene;
    const DWORD vertexShader = scene.Device() ? scene.CreateVertexShader() : 0;
    if (!vertexShader) {
        state.SkipWithError("no vertex shader on the headless device");
        return;
    }
    scene.Device()->SetVertexShader(vertexShader);
    scene.DrawRepeatedly(state);
}
BENCHMARK(BM_VertexShaderDraw);

void BM_ShaderPairDraw(benchmark::State& state) {
    CQuadScene scene;
    const DWORD vertexShader = scene.Device() ? scene.CreateVertexShader() : 0;
    const DWORD pixelShader = scene.Device() ? scene.CreatePixelShader() : 0;
    if (!vertexShader || !pixelShader) {
        state.SkipWithError("no shaders on the headless device");
        return;
    }
    scene.Device()->SetVertexShader(vertexShader);
    scene.Device()->SetPixelShader(pixelShader);
    scene.DrawRepeatedly(state);
}
BENCHMARK(BM_ShaderPairDraw);

// From tokens to the first draw: decoding, translation to GLSL, compile and
// link of the pair (new handles every time, so nothing is cached).
void BM_CreateAndFirstDraw(benchmark::State& state) {
    CQuadScene scene;
    IDirect3DDevice8* device = scene.Device();
    const std::basic_string<DWORD> vertexCode = Assemble(kVertexProgram);
    const std::basic_string<DWORD> pixelCode = Assemble(kPixelProgram);
    if (!device || vertexCode.empty() || pixelCode.empty()) {
        state.SkipWithError("no device or no assembled code");
        return;
    }
    for (auto _ : state) {
        DWORD vertexShader = 0, pixelShader = 0;
        device->CreateVertexShader(kDeclaration, vertexCode.data(), &vertexShader, 0);
        device->CreatePixelShader(pixelCode.data(), &pixelShader);
        device->SetVertexShader(vertexShader);
        device->SetPixelShader(pixelShader);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2);
        glFinish();
        device->SetVertexShader(kFvf);
        device->SetPixelShader(0);
        device->DeleteVertexShader(vertexShader);
        device->DeletePixelShader(pixelShader);
    }
}
BENCHMARK(BM_CreateAndFirstDraw)->Unit(benchmark::kMillisecond);

// Draws one triangle of the 80-byte shader layout through an effect's pair.
void DrawThrough(IDirect3DDevice8* device, const CShaderEffect& effect) {
    S3DVERTEX_FORSHADER triangle[3] = {};
    triangle[1].vertex.x = triangle[2].vertex.y = 0.1f;
    device->SetVertexShader(effect.GetVertexShaderID());
    device->SetPixelShader(effect.GetPixelShaderID());
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(S3DVERTEX_FORSHADER));
}

// The three built-in effects from program text to their first draw:
// assembly, decoding, translation, compile and link.
void BM_BuiltInEffectsToFirstDraw(benchmark::State& state) {
    CQuadScene scene;
    IDirect3DDevice8* device = scene.Device();
    if (!device) {
        state.SkipWithError("no Direct3D device on the headless surface");
        return;
    }
    for (auto _ : state) {
        CBumpMapShader bump(device);
        CCartoonShader cartoon(device);
        CReflectionShader reflection(device);
        for (CShaderEffect* effect : {static_cast<CShaderEffect*>(&bump), static_cast<CShaderEffect*>(&cartoon),
                                      static_cast<CShaderEffect*>(&reflection)}) {
            effect->Init();
            DrawThrough(device, *effect);
        }
        glFinish();
        device->SetVertexShader(kFvf);
        device->SetPixelShader(0);
    }
}
BENCHMARK(BM_BuiltInEffectsToFirstDraw)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
