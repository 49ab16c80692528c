// Host threads create, fill and release resources while the GL thread draws.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "D3D8TestDevice.h"

namespace {

struct SVertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

}  // namespace

TEST(D3D8Threads, ResourcesMadeOnAnotherThreadDrawOnTheGLThread) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DVertexBuffer8* vb = nullptr;
    IDirect3DTexture8* texture = nullptr;
    HRESULT drawFromHost = D3D_OK;
    HRESULT clearFromHost = D3D_OK;
    std::thread host([&] {
        if (FAILED(device->CreateVertexBuffer(4 * sizeof(SVertex), D3DUSAGE_WRITEONLY, kFvf, D3DPOOL_MANAGED, &vb)))
            return;
        BYTE* data = nullptr;
        if (FAILED(vb->Lock(0, 0, &data, D3DLOCK_DISCARD)))
            return;
        const SVertex quad[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                 {63.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                                 {-0.5f, 63.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                                 {63.5f, 63.5f, 0.5f, 1, 0xFFFFFFFF, 1, 1}};
        std::memcpy(data, quad, sizeof quad);
        vb->Unlock();
        if (FAILED(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture)))
            return;
        D3DLOCKED_RECT locked{};
        if (FAILED(texture->LockRect(0, &locked, nullptr, 0)))
            return;
        *static_cast<std::uint32_t*>(locked.pBits) = 0xFF12C034;
        texture->UnlockRect(0);
        // States may be set from here; drawing needs the GL thread.
        device->SetTexture(0, texture);
        device->SetStreamSource(0, vb, sizeof(SVertex));
        drawFromHost = device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        clearFromHost = device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    });
    host.join();
    ASSERT_NE(vb, nullptr);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(drawFromHost, D3DERR_INVALIDCALL);
    EXPECT_EQ(clearFromHost, D3DERR_INVALIDCALL);

    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetVertexShader(kFvf);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(10, 50), 0xFF12C034u, 0);

    // Released on the host thread while bound elsewhere: the GL objects go
    // when the GL thread next draws, and drawing goes on unharmed.
    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0);
    std::thread releaser([&] {
        texture->Release();
        vb->Release();
    });
    releaser.join();
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device.FillRect(0, 0, 64, 64, 0xFF0000FF);
    EXPECT_COLOR_NEAR(device.Pixel(10, 50), 0xFF0000FFu, 0);
}

TEST(D3D8Threads, HostLocksWhileTheGLThreadDrawsStayConsistent) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(SVertex), 0, kFvf, D3DPOOL_MANAGED, &vb), D3D_OK);
    device->SetVertexShader(kFvf);
    device->SetStreamSource(0, vb, sizeof(SVertex));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        std::uint32_t color = 0xFF000000;
        while (!stop) {
            BYTE* data = nullptr;
            if (SUCCEEDED(vb->Lock(0, 0, &data, 0))) {
                auto* v = reinterpret_cast<SVertex*>(data);
                const float corners[4][2] = {{-0.5f, -0.5f}, {63.5f, -0.5f}, {-0.5f, 63.5f}, {63.5f, 63.5f}};
                for (int i = 0; i < 4; ++i)
                    v[i] = {corners[i][0], corners[i][1], 0.5f, 1, color, 0, 0};
                vb->Unlock();
            }
            color = 0xFF000000 | ((color + 0x010203) & 0x00FFFFFF);
        }
    });
    for (int frame = 0; frame < 100; ++frame) {
        EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    stop = true;
    writer.join();
    device->SetStreamSource(0, nullptr, 0);
    EXPECT_EQ(vb->Release(), 0u);
}
