#pragma once
// IDirect3DDevice8 on OpenGL 3.3 core. The device keeps Direct3D's state
// (CDeviceState), checks and records calls, creates resources and hands the
// GL work to CGLRenderer8, which runs only on the thread that created the
// device (the GL thread). Every call takes the device's recursive mutex, so
// host threads may create, lock and release resources or set states while
// the GL thread draws.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/d3d8/CDeviceState.h"
#include "platform/d3d8/CGLRenderer8.h"
#include "platform/d3d8/CRefCounted8.h"
#include "platform/d3d8/CShaderRegistry.h"
#include "platform/d3d8/d3d8.h"

class CDirect3D8;
class CGLState;
class CStateBlock8;
class CSurface8;

class CDirect3DDevice8 final : public CRefCounted8<IDirect3DDevice8> {
public:
    CDirect3DDevice8(CDirect3D8& d3d, COutputWindow& window, const D3DDEVICE_CREATION_PARAMETERS& creation,
                     const D3DPRESENT_PARAMETERS& parameters);
    // Creates the GL context on the calling thread and everything that needs
    // it. On failure the device must be released.
    HRESULT Initialise();

    // --- IDirect3DDevice8 -----------------------------------------------------
    HRESULT TestCooperativeLevel() override;
    UINT GetAvailableTextureMem() override;
    HRESULT GetDirect3D(IDirect3D8** ppD3D8) override;
    HRESULT GetDeviceCaps(D3DCAPS8* pCaps) override;
    HRESULT GetDisplayMode(D3DDISPLAYMODE* pMode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion) override;
    HRESULT GetBackBuffer(UINT BackBuffer, D3DBACKBUFFER_TYPE Type, IDirect3DSurface8** ppBackBuffer) override;
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture8** ppTexture) override;
    HRESULT CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DCubeTexture8** ppCubeTexture) override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer8** ppVertexBuffer) override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer8** ppIndexBuffer) override;
    HRESULT CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                               BOOL Lockable, IDirect3DSurface8** ppSurface) override;
    HRESULT CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                                      IDirect3DSurface8** ppSurface) override;
    HRESULT CreateImageSurface(UINT Width, UINT Height, D3DFORMAT Format, IDirect3DSurface8** ppSurface) override;
    HRESULT CopyRects(IDirect3DSurface8* pSourceSurface, const RECT* pSourceRectsArray, UINT cRects,
                      IDirect3DSurface8* pDestinationSurface, const POINT* pDestPointsArray) override;
    HRESULT SetRenderTarget(IDirect3DSurface8* pRenderTarget, IDirect3DSurface8* pNewZStencil) override;
    HRESULT GetRenderTarget(IDirect3DSurface8** ppRenderTarget) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface8** ppZStencilSurface) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT SetViewport(const D3DVIEWPORT8* pViewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* pViewport) override;
    HRESULT SetMaterial(const D3DMATERIAL8* pMaterial) override;
    HRESULT GetMaterial(D3DMATERIAL8* pMaterial) override;
    HRESULT SetLight(DWORD Index, const D3DLIGHT8* pLight) override;
    HRESULT GetLight(DWORD Index, D3DLIGHT8* pLight) override;
    HRESULT LightEnable(DWORD Index, BOOL Enable) override;
    HRESULT GetLightEnable(DWORD Index, BOOL* pEnable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(DWORD* pToken) override;
    HRESULT ApplyStateBlock(DWORD Token) override;
    HRESULT CaptureStateBlock(DWORD Token) override;
    HRESULT DeleteStateBlock(DWORD Token) override;
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE Type, DWORD* pToken) override;
    HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture8** ppTexture) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) override;
    HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT ValidateDevice(DWORD* pNumPasses) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT MinIndex, UINT NumVertices, UINT StartIndex,
                                 UINT PrimitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount, const void* pVertexStreamZeroData,
                            UINT VertexStreamZeroStride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertexIndices,
                                   UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                   const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) override;
    HRESULT CreateVertexShader(const DWORD* pDeclaration, const DWORD* pFunction, DWORD* pHandle, DWORD Usage) override;
    HRESULT SetVertexShader(DWORD Handle) override;
    HRESULT GetVertexShader(DWORD* pHandle) override;
    HRESULT DeleteVertexShader(DWORD Handle) override;
    HRESULT SetVertexShaderConstant(DWORD Register, const void* pConstantData, DWORD ConstantCount) override;
    HRESULT GetVertexShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) override;
    HRESULT CreatePixelShader(const DWORD* pFunction, DWORD* pHandle) override;
    HRESULT SetPixelShader(DWORD Handle) override;
    HRESULT GetPixelShader(DWORD* pHandle) override;
    HRESULT DeletePixelShader(DWORD Handle) override;
    HRESULT SetPixelShaderConstant(DWORD Register, const void* pConstantData, DWORD ConstantCount) override;
    HRESULT GetPixelShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) override;
    HRESULT GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData, UINT* pStride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) override;
    HRESULT GetIndices(IDirect3DIndexBuffer8** ppIndexData, UINT* pBaseVertexIndex) override;

    // --- for the layer's own classes -------------------------------------------
    std::recursive_mutex& Mutex() { return m_mutex; }
    bool OnGLThread() const { return std::this_thread::get_id() == m_glThread; }
    CGLState& GLState();
    COutputWindow& Window() const { return m_window; }
    const CDeviceState& State() const { return m_state; }
    const CShaderRegistry& Shaders() const { return m_shaders; }
    CSurface8* RenderTarget() const { return m_renderTarget; }
    CSurface8* DepthStencil() const { return m_depthStencil; }
    UINT BackBufferWidth() const { return m_parameters.BackBufferWidth; }
    UINT BackBufferHeight() const { return m_parameters.BackBufferHeight; }
    unsigned BackBufferFramebufferName() const;

    // Every resource holds the device while it lives; default-pool resources
    // are counted because Reset refuses while any of them exists.
    void AttachResource(D3DPOOL pool, UINT64 bytes);
    void DetachResource(D3DPOOL pool, UINT64 bytes);
    // GL objects die on the GL thread: at once there, else at the next draw.
    void DeleteGLTexture(unsigned name);
    void DeleteGLBuffer(unsigned name);
    void DeleteGLRenderbuffer(unsigned name);

    void SimulateDeviceLost();
    // See D3D8FollowWindowSize.
    HRESULT FollowWindowSize(D3DPRESENT_PARAMETERS* parameters);

private:
    ~CDirect3DDevice8() override;
    void OnFinalRelease() override;
    void ReleaseInternal();
    void ResolveBackBufferSize(D3DPRESENT_PARAMETERS& parameters) const;
    void CreateImplicitSurfaces();
    void ResetState();
    D3DVIEWPORT8 FullViewport(const CSurface8& target) const;
    void FillCaps();
    bool NeedsGLThread() const;
    HRESULT CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount) const;
    void MarkDirty(std::uint32_t bits);
    void MarkTextureChanged(DWORD stage, IDirect3DBaseTexture8* oldTexture, IDirect3DBaseTexture8* newTexture);
    void LoadDeclaredConstants(const CVertexDeclaration& declaration);
    void ForgetShaderPrograms(CGLRenderer8::EObject kind, DWORD handle);

    CDirect3D8& m_d3d;
    COutputWindow& m_window;
    D3DDEVICE_CREATION_PARAMETERS m_creation;
    D3DPRESENT_PARAMETERS m_parameters;
    std::thread::id m_glThread;
    std::recursive_mutex m_mutex;
    CDeviceState m_state;
    CShaderRegistry m_shaders;
    std::unique_ptr<CGLRenderer8> m_renderer;
    std::unique_ptr<CStateBlock8> m_recording;
    std::map<DWORD, std::unique_ptr<CStateBlock8>> m_stateBlocks;
    DWORD m_nextStateBlock = 1;
    CSurface8* m_backBuffer = nullptr;
    CSurface8* m_autoDepth = nullptr;
    CSurface8* m_renderTarget = nullptr;
    CSurface8* m_depthStencil = nullptr;
    D3DCAPS8 m_caps{};
    UINT64 m_textureMemoryBudget = 0;
    bool m_contextCreated = false;
    bool m_inScene = false;
    bool m_lost = false;
    std::atomic<bool> m_publicReleased{false};
    std::atomic<int> m_internalRefs{0};
    std::atomic<int> m_defaultPoolResources{0};
    std::atomic<UINT64> m_allocatedBytes{0};
};
