#pragma once
// The GL side of the device: turns the device state into OpenGL state,
// programs and uniform values, and issues draws and clears. Runs only on the
// GL thread with the device's mutex held. Work is driven by dirty bits
// (D3D8DirtyFlags.h), so a draw after no state change issues nothing but
// the draw call itself.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/d3d8/CFvfLayout.h"
#include "platform/d3d8/CGLState.h"
#include "platform/d3d8/CProgramCache.h"
#include "platform/d3d8/CUniformRing.h"
#include "platform/d3d8/D3D8DirtyFlags.h"
#include "platform/d3d8/SFixedFunctionConstants.h"
#include "platform/d3d8/SShaderConstants.h"
#include "platform/d3d8/d3d8.h"

class CDirect3DDevice8;
class CTextureStorage;
struct SPixelShaderObject;
struct SVertexShaderObject;

class CGLRenderer8 {
public:
    // Kinds of GL objects deleted through the queue; for the two shader
    // kinds the name is the shader's handle and the programs linked from it go.
    enum class EObject {
        Texture,
        Buffer,
        Renderbuffer,
        VertexShader,
        PixelShader
    };

    explicit CGLRenderer8(CDirect3DDevice8& device);
    ~CGLRenderer8();
    CGLRenderer8(const CGLRenderer8&) = delete;
    CGLRenderer8& operator=(const CGLRenderer8&) = delete;

    // With the context current: reads the GL limits and creates the objects
    // every draw uses. Shutdown deletes everything the renderer owns.
    bool Initialise();
    void Shutdown();

    void MarkDirty(std::uint32_t bits) { m_dirty |= bits; }
    CGLState& State() { return m_gl; }
    int MaxTextureSize() const { return m_maxTextureSize; }
    float MaxPointSize() const { return m_maxPointSize; }
    UINT64 ReportedFreeTextureMemory() const { return m_reportedFreeMemory; }
    std::size_t ProgramCount() const { return m_programs.Size(); }

    HRESULT Draw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount);
    HRESULT DrawIndexed(D3DPRIMITIVETYPE type, UINT startIndex, UINT indexCount);
    HRESULT DrawUser(D3DPRIMITIVETYPE type, UINT vertexCount, const void* vertices, UINT stride, const void* indices,
                     UINT indexCount, UINT indexSize);
    void Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
    // Makes the back buffer current for the window's Present.
    void BeforePresent();

    void QueueDeletion(EObject kind, unsigned name) { m_deletions.push_back({kind, name}); }
    void DeleteNow(EObject kind, unsigned name);
    void FlushDeletions();

private:
    struct SFramebuffer {
        unsigned colorTexture, colorTarget, level, depth, framebuffer;
    };

    bool PrepareDraw(bool pointList);
    void ApplyTarget();
    unsigned FramebufferFor(CTextureStorage& storage, unsigned imageTarget, UINT level, unsigned depth);
    void ApplyProgram(bool pointList);
    void UseProgram(unsigned program, const SFixedFunctionKey& key);
    void ApplyConstants();
    void WritePixelShaderConstants();
    void WriteTransformConstants();
    void WriteFrameConstants();
    void WriteMaterialConstants();
    void WriteLightConstants();
    void WritePixelConstants();
    void ApplyBlend();
    void ApplyDepth();
    void ApplyRaster();
    void ApplyStencil();
    void ApplyViewport();
    void ApplyTextures();
    void ApplySamplers();
    unsigned SamplerFor(const DWORD* stageStates);
    void SetupAttributes(unsigned buffer, UINT stride, std::size_t offset);
    unsigned PointFvfAttributes(UINT stride, std::size_t offset);
    unsigned PointDeclaredAttributes(UINT stride, std::size_t offset);
    bool InputValid() const;
    UINT InputStride() const;
    bool PrepareStream0();
    void MarkTargetRendered();

    CDirect3DDevice8& m_device;
    CGLState m_gl;
    CProgramCache m_programs;
    std::uint32_t m_dirty = d3d8dirty::kAll;
    std::vector<std::pair<EObject, unsigned>> m_deletions;

    // limits
    int m_maxTextureSize = 2048;
    float m_maxPointSize = 64.0f;
    bool m_clipControl = false;
    UINT64 m_reportedFreeMemory = 0;

    // objects
    unsigned m_vao = 0;
    CUniformRing m_transformRing;
    CUniformRing m_vertexRing;
    CUniformRing m_pixelRing;
    CUniformRing m_vertexShaderRing;
    CUniformRing m_pixelShaderRing;
    unsigned m_streamVertices = 0;
    unsigned m_streamIndices = 0;
    std::size_t m_streamVertexCapacity = 0;
    std::size_t m_streamIndexCapacity = 0;
    std::vector<SFramebuffer> m_framebuffers;
    std::map<std::array<DWORD, 9>, unsigned> m_samplers;

    // what the GL side currently reflects
    STransformConstants m_transforms{};
    SVertexConstants m_vertexConstants{};
    SPixelConstants m_pixelConstants{};
    SVertexShaderConstants m_vertexShaderConstants{};
    SPixelShaderConstants m_pixelShaderConstants{};
    // The shaders of the current program (null: that half is fixed-function).
    std::shared_ptr<const SVertexShaderObject> m_vertexShader;
    std::shared_ptr<const SPixelShaderObject> m_pixelShader;
    SFixedFunctionKey m_key{};
    unsigned m_program = 0;
    std::uint64_t m_programShaders = 0;  // vertex and pixel handle of the program, 0 for fixed-function
    bool m_lastPointList = false;
    DWORD m_fvf = 0xFFFFFFFF;
    CFvfLayout m_layout;
    unsigned m_inputBuffer = 0;
    UINT m_inputStride = 0;
    std::size_t m_inputOffset = 0;
    DWORD m_inputFvf = 0xFFFFFFFF;
    unsigned m_enabledAttributes = 0;
    int m_targetWidth = 1;
    int m_targetHeight = 1;
    bool m_targetFlipped = false;
    CTextureStorage* m_targetStorage = nullptr;
    UINT m_targetFace = 0;
    UINT m_targetLevel = 0;
    CTextureStorage* m_stageStorage[D3D8_MAX_TEXTURE_STAGES] = {};
};
