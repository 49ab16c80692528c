// Device life: adapter and creation hooks, state blocks, device loss and
// reset, buffers and indexed draws, shaders not yet available.
#include <gtest/gtest.h>

#include <cstring>

#include "D3D8TestDevice.h"
#include "platform/d3d8/CFvfLayout.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;

DWORD GetState(CD3D8TestDevice& device, D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

}  // namespace

TEST(D3D8Adapter, ReportsDefaultOrHostModesAndArrangedFailures) {
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(Direct3DCreate8(120), nullptr);
    const UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT);
    ASSERT_GE(count, 5u);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, 0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 640u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, count, &mode), D3DERR_INVALIDCALL);
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1920u);
    EXPECT_EQ(mode.Height, 1080u);

    D3D8SetAdapterModes({{1024, 768, 60, D3DFMT_A8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}},
                        {1024, 768, 60, D3DFMT_X8R8G8B8});
    EXPECT_EQ(d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT), 2u);
    ASSERT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, 0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_A8R8G8B8);
    D3D8FailGetAdapterDisplayMode(true);
    EXPECT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3DERR_NOTAVAILABLE);
    D3D8FailGetAdapterDisplayMode(false);
    D3D8ResetAdapterModes();
    EXPECT_EQ(d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT), count);

    // Device creation failing once: the retry succeeds.
    CHeadlessWindow window(16, 16);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    IDirect3DDevice8* device = nullptr;
    D3D8FailCreateDevice(D3DERR_OUTOFVIDEOMEMORY, 1);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_MIXED_VERTEXPROCESSING, &parameters, &device),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window,
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &parameters, &device),
              D3D_OK);
    EXPECT_EQ(parameters.BackBufferWidth, 16u);  // the window's client size, written back
    D3DCAPS8 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.MaxTextureWidth, 2048u);
    EXPECT_EQ(caps.MaxActiveLights, 8u);
    EXPECT_GT(device->GetAvailableTextureMem(), 0u);
    D3DDEVICE_CREATION_PARAMETERS creation{};
    ASSERT_EQ(device->GetCreationParameters(&creation), D3D_OK);
    EXPECT_EQ(creation.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(creation.hFocusWindow, &window);
    EXPECT_EQ(creation.BehaviorFlags, D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED);
    EXPECT_EQ(device->Release(), 0u);

    D3D8FailDirect3DCreate(true);
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION), nullptr);
    D3D8FailDirect3DCreate(false);
    EXPECT_EQ(d3d->Release(), 0u);
}

TEST(D3D8StateBlock, RecordingCaptureAndApplyRestoreStates) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    // Defaults as Direct3D sets them.
    EXPECT_EQ(GetState(device, D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(GetState(device, D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_EQ(GetState(device, D3DRS_LIGHTING), static_cast<DWORD>(TRUE));

    // Recording sets nothing on the device.
    ASSERT_EQ(device->BeginStateBlock(), D3D_OK);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    DWORD block = 0;
    ASSERT_EQ(device->EndStateBlock(&block), D3D_OK);
    EXPECT_EQ(GetState(device, D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(GetState(device, D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));

    ASSERT_EQ(device->ApplyStateBlock(block), D3D_OK);
    EXPECT_EQ(GetState(device, D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(GetState(device, D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));

    // Capture takes the current values of the recorded states only.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    ASSERT_EQ(device->CaptureStateBlock(block), D3D_OK);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->ApplyStateBlock(block);
    EXPECT_EQ(GetState(device, D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CW));
    EXPECT_EQ(GetState(device, D3DRS_FOGENABLE), static_cast<DWORD>(FALSE));

    // A whole-device block brings back transforms, textures and lights.
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    device->SetTexture(0, texture);
    const D3DMATRIX moved = TranslationMatrix(1, 2, 3);
    device->SetTransform(D3DTS_WORLD, &moved);
    DWORD all = 0;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_ALL, &all), D3D_OK);
    const D3DMATRIX identity = IdentityMatrix();
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->ApplyStateBlock(all);
    D3DMATRIX world{};
    device->GetTransform(D3DTS_WORLD, &world);
    EXPECT_EQ(world._42, 2.0f);
    IDirect3DBaseTexture8* bound = nullptr;
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, texture);
    if (bound)
        bound->Release();
    EXPECT_EQ(GetState(device, D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(device->DeleteStateBlock(all), D3D_OK);
    EXPECT_EQ(device->DeleteStateBlock(all), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->ApplyStateBlock(12345), D3DERR_INVALIDCALL);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST(D3D8DeviceLoss, SimulatedLossNeedsAResetThatRefusesWhileDefaultPoolResourcesLive) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);

    IDirect3DIndexBuffer8* indices = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &indices), D3D_OK);
    IDirect3DVertexBuffer8* managed = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(40, 0, 0x212, D3DPOOL_MANAGED, &managed), D3D_OK);
    device->SetIndices(indices, 0);

    D3D8SimulateDeviceLost(device.Get());
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL);  // the index buffer still lives
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    EXPECT_EQ(indices->Release(), 0u);              // the binding went with the failed reset
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);  // managed resources may stay
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(parameters.BackBufferWidth, 64u);
    EXPECT_EQ(GetState(device, D3DRS_FOGENABLE), static_cast<DWORD>(FALSE));  // states back to defaults
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    EXPECT_COLOR_NEAR(device.Pixel(5, 5), kGreen, 0);
    managed->Release();
}

TEST(D3D8Buffers, IndexedDrawsUseBaseVertexStartIndexAndBothIndexSizes) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    struct SVertex {
        float x, y, z, rhw;
        DWORD color;
    };
    // Two quads: left red (vertices 0-3), right green (vertices 4-7).
    const SVertex vertices[8] = {{0, 0, 0.5f, 1, kRed},     {32, 0, 0.5f, 1, kRed},   {0, 64, 0.5f, 1, kRed},
                                 {32, 64, 0.5f, 1, kRed},   {32, 0, 0.5f, 1, kGreen}, {64, 0, 0.5f, 1, kGreen},
                                 {32, 64, 0.5f, 1, kGreen}, {64, 64, 0.5f, 1, kGreen}};
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                                         D3DPOOL_MANAGED, &vb),
              D3D_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices, sizeof vertices);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->Lock(4, sizeof vertices, &data, 0), D3DERR_INVALIDCALL);  // past the end

    const WORD indices16[12] = {9, 9, 9, 9, 9, 9, 0, 1, 2, 1, 3, 2};
    IDirect3DIndexBuffer8* ib16 = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(sizeof indices16, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib16), D3D_OK);
    ASSERT_EQ(ib16->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, indices16, sizeof indices16);
    ib16->Unlock();

    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->SetStreamSource(0, vb, sizeof(SVertex));
    device->SetIndices(ib16, 4);  // base vertex 4: the green quad
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 6, 2), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(48, 32), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), kBlack, 0);

    const DWORD indices32[6] = {0, 1, 2, 1, 3, 2};
    IDirect3DIndexBuffer8* ib32 = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(sizeof indices32, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &ib32), D3D_OK);
    ASSERT_EQ(ib32->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, indices32, sizeof indices32);
    ib32->Unlock();
    device->SetIndices(ib32, 0);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), kRed, 0);

    // Partial no-overwrite update of the red quad's colours, then a plain draw.
    ASSERT_EQ(vb->Lock(0, 4 * sizeof(SVertex), &data, D3DLOCK_NOOVERWRITE), D3D_OK);
    for (int i = 0; i < 4; ++i)
        reinterpret_cast<SVertex*>(data)[i].color = 0xFF0000FF;
    vb->Unlock();
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), 0xFF0000FFu, 0);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 6, 2), D3DERR_INVALIDCALL);  // past the buffer

    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(vb->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, sizeof vertices);
    EXPECT_EQ(desc.FVF, static_cast<DWORD>(D3DFVF_XYZRHW | D3DFVF_DIFFUSE));
    device->SetStreamSource(0, nullptr, 0);
    device->SetIndices(nullptr, 0);
    vb->Release();
    ib16->Release();
    ib32->Release();
}

TEST(D3D8Buffers, FlexibleVertexFormatsLayOutElementsInDirect3DOrder) {
    const CFvfLayout s3d(0x212);  // XYZ | NORMAL | TEX2: the engine's 40-byte vertex
    EXPECT_TRUE(s3d.IsValid());
    EXPECT_EQ(s3d.Stride(), 40u);
    EXPECT_EQ(s3d.Normal().offset, 12u);
    EXPECT_EQ(s3d.TexCoord(1).offset, 32u);
    const CFvfLayout shader(0x452);  // XYZ | NORMAL | DIFFUSE | TEX4
    EXPECT_EQ(shader.Diffuse().offset, 24u);
    EXPECT_EQ(shader.TexCoord(3).offset, 52u);
    EXPECT_EQ(shader.Stride(), 60u);
    const CFvfLayout overlay(0x144);  // XYZRHW | DIFFUSE | TEX1: 28 bytes
    EXPECT_TRUE(overlay.IsPretransformed());
    EXPECT_EQ(overlay.Stride(), 28u);
    EXPECT_EQ(overlay.TexCoord(0).offset, 20u);
    const CFvfLayout particle(0x62);  // XYZ | PSIZE | DIFFUSE: 20 bytes
    EXPECT_EQ(particle.PointSize().offset, 12u);
    EXPECT_EQ(particle.Diffuse().offset, 16u);
    EXPECT_EQ(particle.Stride(), 20u);
    EXPECT_EQ(CFvfLayout(0x142).Stride(), 24u);
    EXPECT_EQ(CFvfLayout(0x112).Stride(), 32u);
    EXPECT_EQ(CFvfLayout(0xC2).Specular().offset, 16u);
    EXPECT_EQ(CFvfLayout(D3DFVF_XYZ | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0)).Stride(), 24u);
    EXPECT_FALSE(CFvfLayout(D3DFVF_DIFFUSE).IsValid());  // no position
}
