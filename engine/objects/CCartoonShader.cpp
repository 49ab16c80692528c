#include "objects/CCartoonShader.h"

#include "core/CScreen.h"

namespace {

const char kVertexProgram[] =
    "vs.1.1\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n"
    "dp3 oT1.x, v3, -c4\n"
    "sub r1, c5, v0\n"
    "dp3 r1.w, r1, r1\n"
    "rsq r1.w, r1.w\n"
    "mul r1, r1, r1.w\n"
    "dp3 oT1.y, v3, r1\n"
    "mov oT0, v7";

}  // namespace

CCartoonShader::CCartoonShader(IDirect3DDevice8* device)
    : CShaderEffect(device != nullptr ? device : CScreen::Instance().GetD3DDevice()) {
    m_VertexCode = kVertexProgram;
}

void CCartoonShader::SetVariable(const D3DXMATRIX& world) {
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    D3DXMATRIX inverseWorld;
    D3DXMatrixInverse(&inverseWorld, nullptr, &world);
    const D3DXVECTOR4 camera(eye.x, eye.y, eye.z, 0.0f);
    D3DXVECTOR4 objectCamera;
    D3DXVec4Transform(&objectCamera, &camera, &inverseWorld);
    SetConstant(5, objectCamera);
}
