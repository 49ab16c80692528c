// Programmable shaders on the device: handles and their life, constants,
// and draws that mix a shader half with the fixed-function other half.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "D3D8TestDevice.h"
#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/d3dx8shader.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;

// Position and diffuse colour, read as v0 and v5.
constexpr DWORD kColorDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(D3DVSDE_POSITION, D3DVSDT_FLOAT3),
                                       D3DVSD_REG(D3DVSDE_DIFFUSE, D3DVSDT_D3DCOLOR), D3DVSD_END()};

struct SColorVertex {
    float x, y, z;
    DWORD color;
};

std::basic_string<DWORD> Assemble(const std::string& text) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT result = D3DXAssembleShader(text.data(), static_cast<UINT>(text.size()), 0, nullptr, &code, &errors);
    std::string message = errors ? static_cast<const char*>(errors->GetBufferPointer()) : "";
    if (errors)
        errors->Release();
    EXPECT_EQ(result, D3D_OK) << message << text;
    if (FAILED(result))
        return {};
    std::basic_string<DWORD> tokens(static_cast<const DWORD*>(code->GetBufferPointer()),
                                    code->GetBufferSize() / sizeof(DWORD));
    code->Release();
    return tokens;
}

DWORD CreateVertexShader(IDirect3DDevice8* device, const std::string& text,
                         const DWORD* declaration = kColorDeclaration) {
    const std::basic_string<DWORD> code = Assemble(text);
    DWORD handle = 0;
    EXPECT_EQ(device->CreateVertexShader(declaration, code.data(), &handle, 0), D3D_OK);
    return handle;
}

DWORD CreatePixelShader(IDirect3DDevice8* device, const std::string& text) {
    const std::basic_string<DWORD> code = Assemble(text);
    DWORD handle = 0;
    EXPECT_EQ(device->CreatePixelShader(code.data(), &handle), D3D_OK);
    return handle;
}

// Transforms by the transposed matrix in c0-c3, as effects do.
const std::string kTransform =
    "vs.1.1\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n";

void SetTransposedIdentity(IDirect3DDevice8* device) {
    const D3DMATRIX identity = IdentityMatrix();
    device->SetVertexShaderConstant(0, &identity, 4);
}

// A quad over the whole target at depth z, with one colour.
void DrawScreenQuad(IDirect3DDevice8* device, DWORD color, float z = 0.5f, float w = 1.0f) {
    const SColorVertex quad[4] = {{-w, -w, z, color}, {w, -w, z, color}, {-w, w, z, color}, {w, w, z, color}};
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SColorVertex)), D3D_OK);
}

}  // namespace

TEST(D3D8Shaders, VertexShaderHandlesAreOddDistinctAndDieWithDelete) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    const DWORD first = CreateVertexShader(device.Get(), kTransform + "mov oD0, v5\n");
    const DWORD second = CreateVertexShader(device.Get(), kTransform);
    EXPECT_TRUE(D3D8IsShaderHandle(first));
    EXPECT_TRUE(D3D8IsShaderHandle(second));
    EXPECT_NE(first, second);

    ASSERT_EQ(device->SetVertexShader(first), D3D_OK);
    DWORD current = 0;
    device->GetVertexShader(&current);
    EXPECT_EQ(current, first);

    EXPECT_EQ(device->DeleteVertexShader(second), D3D_OK);
    EXPECT_EQ(device->DeleteVertexShader(second), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetVertexShader(second), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetVertexShader(first | 0x100000u), D3DERR_INVALIDCALL);  // never created

    // A shader deleted while set draws nothing and breaks nothing.
    device.PlainState();
    SetTransposedIdentity(device.Get());
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawScreenQuad(device.Get(), 0xFFFF0000);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFFFF0000, 2);
    EXPECT_EQ(device->DeleteVertexShader(first), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    const SColorVertex quad[3] = {{-1, -1, 0.5f, 0xFF00FF00}, {0, 1, 0.5f, 0xFF00FF00}, {1, -1, 0.5f, 0xFF00FF00}};
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, quad, sizeof(SColorVertex)), D3DERR_INVALIDCALL);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), kBlack, 2);

    // Back to a flexible vertex format: the fixed-function path draws again.
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, quad, sizeof(SColorVertex)), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), 0xFF00FF00, 2);
}

TEST(D3D8Shaders, RefusesDamagedShadersAndDeclarations) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    const std::basic_string<DWORD> code = Assemble(kTransform);
    DWORD handle = 123;
    EXPECT_EQ(device->CreateVertexShader(kColorDeclaration, code.data(), nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateVertexShader(nullptr, code.data(), &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(handle, 0u);
    const DWORD secondStream[] = {D3DVSD_STREAM(1), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
    EXPECT_EQ(device->CreateVertexShader(secondStream, code.data(), &handle, 0), D3DERR_INVALIDCALL);
    // A pixel shader's code is not a vertex shader, and the reverse.
    const std::basic_string<DWORD> pixel = Assemble("ps.1.1\nmov r0, v0\n");
    EXPECT_EQ(device->CreateVertexShader(kColorDeclaration, pixel.data(), &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreatePixelShader(code.data(), &handle), D3DERR_INVALIDCALL);
    // An instruction token without its parameters, then garbage.
    const DWORD truncated[] = {D3DVS_VERSION(1, 1), D3DSIO_DP4, 0x12345678u, D3DVS_END()};
    EXPECT_EQ(device->CreateVertexShader(kColorDeclaration, truncated, &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(device->SetPixelShader(77), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DeletePixelShader(0), D3DERR_INVALIDCALL);
}

TEST(D3D8Shaders, ConstantsKeepTheirRegistersAndRefuseRangesOutside) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    const float values[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    float back[2][4] = {};
    EXPECT_EQ(device->SetVertexShaderConstant(94, values, 2), D3D_OK);
    EXPECT_EQ(device->GetVertexShaderConstant(94, back, 2), D3D_OK);
    EXPECT_EQ(std::memcmp(values, back, sizeof values), 0);
    EXPECT_EQ(device->SetVertexShaderConstant(95, values, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetVertexShaderConstant(0xFFFFFFFFu, values, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetPixelShaderConstant(6, values, 2), D3D_OK);
    EXPECT_EQ(device->GetPixelShaderConstant(7, back, 1), D3D_OK);
    EXPECT_EQ(std::memcmp(values[1], back[0], sizeof values[1]), 0);
    EXPECT_EQ(device->SetPixelShaderConstant(7, values, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetPixelShaderConstant(0, nullptr, 1), D3DERR_INVALIDCALL);

    // Constants in a declaration are loaded when its shader is set.
    const DWORD declaration[] = {D3DVSD_STREAM(0),
                                 D3DVSD_REG(D3DVSDE_POSITION, D3DVSDT_FLOAT3),
                                 D3DVSD_CONST(10, 1),
                                 0x3F800000u /* 1.0 */,
                                 0x40000000u /* 2.0 */,
                                 0,
                                 0,
                                 D3DVSD_END()};
    const DWORD shader = CreateVertexShader(device.Get(), kTransform, declaration);
    ASSERT_EQ(device->SetVertexShader(shader), D3D_OK);
    float loaded[4] = {};
    device->GetVertexShaderConstant(10, loaded, 1);
    EXPECT_EQ(loaded[0], 1.0f);
    EXPECT_EQ(loaded[1], 2.0f);
}

TEST(D3D8Shaders, VertexShaderFeedsTheFixedFunctionStagesAndFog) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    SetTransposedIdentity(device.Get());
    const float tint[4] = {0.25f, 0.5f, 1.0f, 1.0f};
    device->SetVertexShaderConstant(7, tint, 1);
    // The colour comes from a constant times the vertex colour; the stage
    // adds the texture factor.
    const DWORD tinted = CreateVertexShader(device.Get(), kTransform + "mul oD0, v5, c7\n");
    device->SetVertexShader(tinted);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF200000);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawScreenQuad(device.Get(), 0xFFFFFFFF);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF60 << 16 | 0x80 << 8 | 0xFF, 2);

    // A program that writes no oD0 leaves the diffuse colour white, so a
    // stage modulating by it shows what it modulates.
    device->SetVertexShader(CreateVertexShader(device.Get(), kTransform));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawScreenQuad(device.Get(), 0xFF000000);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF200000, 2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);

    // Linear vertex fog from the position's w when the shader writes no
    // oFog: half way from start to end is half fog.
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGCOLOR, 0xFF0000FF);
    device->SetRenderState(D3DRS_FOGSTART, FloatState(0.0f));
    device->SetRenderState(D3DRS_FOGEND, FloatState(2.0f));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    const float black[4] = {0, 0, 0, 1};
    device->SetVertexShaderConstant(7, black, 1);
    device->SetVertexShader(tinted);
    DrawScreenQuad(device.Get(), 0xFFFFFFFF);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF000080, 3);
}

TEST(D3D8Shaders, PixelShaderReadsTheFixedFunctionVertexHalfAndItsOwnConstants) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    // Texture coordinates of a pre-transformed quad reach t0 through texcoord:
    // u grows to the right, v downwards.
    struct SVertex {
        float x, y, z, rhw, u, v;
    };
    const SVertex quad[4] = {
        {0, 0, 0.5f, 1, 0, 0}, {64, 0, 0.5f, 1, 1, 0}, {0, 64, 0.5f, 1, 0, 1}, {64, 64, 0.5f, 1, 1, 1}};
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_TEX1);
    const DWORD coordinates = CreatePixelShader(device.Get(), "ps.1.1\ntexcoord t0\nmov r0, t0\n");
    ASSERT_EQ(device->SetPixelShader(coordinates), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex)), D3D_OK);
    EXPECT_LT(Red(device.Pixel(4, 32)), 24);
    EXPECT_GT(Red(device.Pixel(60, 32)), 230);
    EXPECT_LT(Green(device.Pixel(32, 4)), 24);
    EXPECT_GT(Green(device.Pixel(32, 60)), 230);

    // A def in the program wins over the constant the device holds.
    const float blue[4] = {0, 0, 1, 1};
    device->SetPixelShaderConstant(0, blue, 1);
    device->SetPixelShaderConstant(1, blue, 1);
    device->SetPixelShader(CreatePixelShader(device.Get(), "ps.1.1\ndef c0, 1.0, 0.0, 0.0, 1.0\nadd r0, c0, c1\n"));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex)), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFFFF00FF, 2);

    // A point sprite gives the pixel shader the coordinates across it: u to
    // the right, v downwards, whatever the vertex holds.
    device->SetPixelShader(coordinates);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_POINTSIZE, FloatState(16.0f));
    const SVertex point = {32, 32, 0.5f, 1, 0, 0};
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(SVertex)), D3D_OK);
    EXPECT_LT(Red(device.Pixel(25, 32)), 48);
    EXPECT_GT(Red(device.Pixel(38, 32)), 200);
    EXPECT_LT(Green(device.Pixel(32, 25)), 48);
    EXPECT_GT(Green(device.Pixel(32, 38)), 200);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);

    // Pixel shader 0 is the stage cascade again.
    device->SetPixelShader(0);
    device.FillRect(0, 0, 64, 64, 0xFF00FF00);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF00FF00, 2);
}

TEST(D3D8Shaders, ShaderPairPassesCoordinatesFromVertexToPixelShader) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    SetTransposedIdentity(device.Get());
    // oT1 carries a constant colour; the pixel shader mixes it with v0 by
    // the constant it defines.
    const float green[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    device->SetVertexShaderConstant(20, green, 1);
    device->SetVertexShader(CreateVertexShader(device.Get(), kTransform + "mov oD0, v5\nmov oT1, c20\n"));
    device->SetPixelShader(CreatePixelShader(device.Get(),
                                             "ps.1.1\ndef c2, 0.5, 0.5, 0.5, 0.5\n"
                                             "texcoord t1\nlrp r0, c2, t1, v0\n"));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawScreenQuad(device.Get(), 0xFFFF0000);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF808000, 3);
}

TEST(D3D8Shaders, StateBlocksKeepShaderConstants) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    const float saved[4] = {1, 2, 3, 4}, other[4] = {9, 9, 9, 9};
    float back[4] = {};
    device->SetVertexShaderConstant(5, saved, 1);
    DWORD vertexState = 0;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_VERTEXSTATE, &vertexState), D3D_OK);
    device->SetVertexShaderConstant(5, other, 1);
    device->ApplyStateBlock(vertexState);
    device->GetVertexShaderConstant(5, back, 1);
    EXPECT_EQ(std::memcmp(back, saved, sizeof saved), 0);

    // A recorded constant is not set while recording, and is set by Apply.
    device->SetPixelShaderConstant(2, other, 1);
    device->BeginStateBlock();
    device->SetPixelShaderConstant(2, saved, 1);
    DWORD recorded = 0;
    ASSERT_EQ(device->EndStateBlock(&recorded), D3D_OK);
    device->GetPixelShaderConstant(2, back, 1);
    EXPECT_EQ(std::memcmp(back, other, sizeof other), 0);
    device->ApplyStateBlock(recorded);
    device->GetPixelShaderConstant(2, back, 1);
    EXPECT_EQ(std::memcmp(back, saved, sizeof saved), 0);
}

namespace {

IDirect3DTexture8* MakeTexture(IDirect3DDevice8* device, UINT width, const std::uint32_t* texels) {
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(width, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    std::memcpy(locked.pBits, texels, width * sizeof(std::uint32_t));
    texture->UnlockRect(0);
    return texture;
}

}  // namespace

// texbem offsets the second stage's lookup by the first stage's texel through
// the stage's bump matrix; a new matrix takes effect at the next draw.
TEST(D3D8Shaders, BumpMatrixStatesReachThePixelShader) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    const std::uint32_t offset[1] = {0xFFFF0000};  // du = 1
    const std::uint32_t redGreen[2] = {0xFFFF0000, 0xFF00FF00};
    IDirect3DTexture8* bump = MakeTexture(device.Get(), 1, offset);
    IDirect3DTexture8* colours = MakeTexture(device.Get(), 2, redGreen);
    device->SetTexture(0, bump);
    device->SetTexture(1, colours);
    device->SetTextureStageState(1, D3DTSS_MINFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(1, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(1, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    device->SetPixelShader(CreatePixelShader(device.Get(), "ps.1.1\ntex t0\ntexbem t1, t0\nmov r0, t1\n"));
    struct SVertex {
        float x, y, z, rhw, u0, v0, u1, v1;
    };
    const SVertex quad[4] = {{0, 0, 0.5f, 1, 0.5f, 0.5f, 0.25f, 0.5f},
                             {64, 0, 0.5f, 1, 0.5f, 0.5f, 0.25f, 0.5f},
                             {0, 64, 0.5f, 1, 0.5f, 0.5f, 0.25f, 0.5f},
                             {64, 64, 0.5f, 1, 0.5f, 0.5f, 0.25f, 0.5f}};
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_TEX2);
    for (const float m00 : {0.0f, 0.5f}) {
        device->SetTextureStageState(1, D3DTSS_BUMPENVMAT00, FloatState(m00));
        device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex)), D3D_OK);
        EXPECT_COLOR_NEAR(device.Pixel(32, 32), m00 == 0.0f ? 0xFFFF0000 : 0xFF00FF00, 2) << "m00 " << m00;
    }
    device->SetTexture(0, nullptr);
    device->SetTexture(1, nullptr);
    bump->Release();
    colours->Release();
}
