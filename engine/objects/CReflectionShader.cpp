#include "objects/CReflectionShader.h"

#include "core/CScreen.h"

namespace {

// Line 17 really ends with two tabs.
const char kVertexProgram[] =
    "vs.1.1\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n"
    "dp4 r0.x, v0, c4\n"
    "dp4 r0.y, v0, c5\n"
    "dp4 r0.z, v0, c6\n"
    "dp3 r1.x, v3, c4\n"
    "dp3 r1.y, v3, c5\n"
    "dp3 r1.z, v3, c6\n"
    "dp3 r1.w, r1, r1\n"
    "rsq r1.w, r1.w\n"
    "mul r1, r1, r1.w\n"
    "sub r2, r0.xyz, c8.xyz\n"
    "dp3 r2.w, r2, r2\n"
    "rsq r2.w, r2.w\t\t\n"
    "mul r2, r2, r2.w\n"
    "dp3 r3, r2, r1\n"
    "add r3, r3, r3\n"
    "mad oT0.xyz, r1, -r3, r2\n"
    "mul r1, r1, c10.xxxx\n"
    "dp3 r3, r2, r1\n"
    "add r3, r3, r3\n"
    "mad oT1.xyz, r1, -r3, r2";

}  // namespace

CReflectionShader::CReflectionShader(IDirect3DDevice8* device)
    : CShaderEffect(device != nullptr ? device : CScreen::Instance().GetD3DDevice()) {
    m_VertexCode = kVertexProgram;
}

void CReflectionShader::SetVariable(const D3DXMATRIX& world) {
    D3DXMATRIX transposedWorld;
    D3DXMatrixTranspose(&transposedWorld, &world);
    SetConstants(4, &transposedWorld, 4);
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    SetConstant(8, D3DXVECTOR4(eye.x, eye.y, eye.z, 0.0f));
    SetConstant(9, D3DXVECTOR4(1.0f, 1.0f, 0.0f, 0.0f));
    SetConstant(10, D3DXVECTOR4(0.4f, 0.0f, 0.0f, 0.0f));
}
