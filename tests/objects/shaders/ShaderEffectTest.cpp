// Creating an effect's programs on a device (which source wins, failures),
// deleting them, and the constants that depend on the world and the camera.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/CScreen.h"
#include "objects/CBumpMapShader.h"
#include "objects/CCartoonShader.h"
#include "objects/CReflectionShader.h"
#include "support/CErrorCapture.h"
#include "support/CHeadlessDevice.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

namespace {

const char kVertexProgram[] = "vs.1.1\ndp4 oPos.x, v0, c0\ndp4 oPos.y, v0, c1\ndp4 oPos.z, v0, c2\ndp4 oPos.w, v0, c3";
const char kPixelProgram[] = "ps.1.1\ntex t0\nmov r0, t0";
const char kNotAProgram[] = "vs.1.1\nfrobnicate r0, v0";

class ShaderEffects : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Valid()); }

    void ExpectConstant(DWORD index, float x, float y, float z, float w) const {
        D3DXVECTOR4 c(-7.0f, -7.0f, -7.0f, -7.0f);
        ASSERT_EQ(device->GetVertexShaderConstant(index, &c, 1), D3D_OK);
        EXPECT_TRUE(std::fabs(c.x - x) < 1e-5f && std::fabs(c.y - y) < 1e-5f && std::fabs(c.z - z) < 1e-5f &&
                    std::fabs(c.w - w) < 1e-5f)
            << "c" << index << " = " << c.x << ", " << c.y << ", " << c.z << ", " << c.w;
    }

    CHeadlessDevice device;
    CScreenStateGuard screenState;  // the camera the effects read
    CTempFolder folder;
};

}  // namespace

TEST_F(ShaderEffects, OnlyTheProgramsGivenAreCreatedAndFailuresLeaveZeroSilently) {
    CErrorCapture errors;
    CShaderEffect pixelOnly(device.Get());
    pixelOnly.SetPixelCode(kPixelProgram);
    pixelOnly.Init();
    EXPECT_NE(pixelOnly.GetPixelShaderID(), 0u);
    EXPECT_EQ(pixelOnly.GetVertexShaderID(), 0u);

    CShaderEffect broken(device.Get());
    broken.SetVertexCode(kNotAProgram);
    broken.SetPixelCode(kVertexProgram);  // a vertex program is no pixel program
    broken.Init();
    EXPECT_EQ(broken.GetVertexShaderID() | broken.GetPixelShaderID(), 0u);
    DWORD handle = 123;
    EXPECT_TRUE(FAILED(broken.CreateShader(kNotAProgram, static_cast<UINT>(std::strlen(kNotAProgram)),
                                           CShaderEffect::VertexDeclaration(), handle)));
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(errors.Count(), 0u);
}

TEST_F(ShaderEffects, AProgramFileWinsOverProgramText) {
    CShaderEffect fromFile(device.Get());
    fromFile.SetVertexFilename(folder.Write("good.vsh", std::string(kVertexProgram)));
    fromFile.SetVertexCode(kNotAProgram);
    fromFile.SetPixelFilename(folder.Write("good.psh", std::string(kPixelProgram)));
    fromFile.SetPixelCode(kNotAProgram);
    fromFile.Init();
    EXPECT_NE(fromFile.GetVertexShaderID(), 0u);
    EXPECT_NE(fromFile.GetPixelShaderID(), 0u);

    // A named file that is missing: the good text is not taken instead.
    CShaderEffect missingFile(device.Get());
    missingFile.SetVertexFilename(folder.Path("missing.vsh"));
    missingFile.SetVertexCode(kVertexProgram);
    missingFile.SetPixelFilename(folder.Path("missing.psh"));
    missingFile.SetPixelCode(kPixelProgram);
    missingFile.Init();
    EXPECT_EQ(missingFile.GetVertexShaderID() | missingFile.GetPixelShaderID(), 0u);
}

// The device refuses handles it no longer knows.
TEST_F(ShaderEffects, TheEffectDeletesItsShadersOnReInitAndWhenItGoes) {
    DWORD first[2] = {}, second[2] = {};
    {
        CBumpMapShader effect(device.Get());
        effect.Init();
        first[0] = effect.GetVertexShaderID(), first[1] = effect.GetPixelShaderID();
        effect.Init();
        second[0] = effect.GetVertexShaderID(), second[1] = effect.GetPixelShaderID();
        ASSERT_TRUE(first[0] && first[1] && second[0] && second[1]);
        EXPECT_EQ(device->SetVertexShader(first[0]), D3DERR_INVALIDCALL);
        EXPECT_EQ(device->SetPixelShader(first[1]), D3DERR_INVALIDCALL);
        EXPECT_EQ(device->SetVertexShader(second[0]), D3D_OK);
        device->SetVertexShader(D3DFVF_XYZ);
    }
    EXPECT_EQ(device->SetVertexShader(second[0]), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetPixelShader(second[1]), D3DERR_INVALIDCALL);
}

TEST_F(ShaderEffects, TheCartoonGetsTheCameraTurnedButNotMovedIntoTheObjectsFrame) {
    CScreen::Instance().SetCamera(D3DXVECTOR3(0.0f, 0.0f, -5.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    CCartoonShader effect(device.Get());
    effect.Init();
    D3DXMATRIX turn, move, world;
    D3DXMatrixRotationY(&turn, D3DX_PI / 2.0f);  // object +x -> world -z
    D3DXMatrixTranslation(&move, 10.0f, 0.0f, 0.0f);
    effect.SetVariable(*D3DXMatrixMultiply(&world, &turn, &move));
    ExpectConstant(5, 5.0f, 0.0f, 0.0f, 0.0f);
}

TEST_F(ShaderEffects, TheReflectionGetsTheTransposedWorldAndTheCamera) {
    CScreen::Instance().SetCamera(D3DXVECTOR3(1.0f, 2.0f, -5.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    CReflectionShader effect(device.Get());
    effect.Init();
    D3DXMATRIX world;
    D3DXMatrixRotationYawPitchRoll(&world, 0.3f, 0.2f, 0.1f);
    world._41 = 7.0f, world._42 = 8.0f, world._43 = 9.0f;
    effect.SetVariable(world);
    for (DWORD row = 0; row < 4; ++row) {  // row i of the transpose: column i of the world
        ExpectConstant(4 + row, world(0, row), world(1, row), world(2, row), world(3, row));
    }
    ExpectConstant(8, 1.0f, 2.0f, -5.0f, 0.0f);
    ExpectConstant(10, 0.4f, 0.0f, 0.0f, 0.0f);
}
