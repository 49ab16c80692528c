#include "objects/CBumpMapShader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/CScreen.h"
#include "objects/CBaseObject.h"

namespace {

const char kPixelProgram[] =
    "ps.1.1\n"
    "def c0, 0.01, 0.01, 0.01, 0.0\n"
    "def c1, 0.5, 0.5, 0.5, 1.0\n"
    "tex t0\n"
    "tex t1\n"
    "tex t2\n"
    ";dp3_sat r0, t0_bx2, v0_bx2\n"
    "dp3_sat r0.rgb, t1_bx2, v0_bx2\n"
    "+ mov r0.a, c1\n"
    "mad_sat r0, r0, c1, c0\n"
    "add_d2 r0,r0,t0";

const char kVertexProgram[] =
    "vs.1.1\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n"
    "dp3 r0.x, v9.xyz,  -c4\n"
    "dp3 r0.y, v10.xyz,  -c4\n"
    "dp3 r0.z, v11.xyz, -c4\n"
    "dp3 r0.w, r0, r0\n"
    "rsq r0.w, r0.w\n"
    "mul r0, r0, r0.w\n"
    "mad oD0, r0, c6.x, c6.x\n"
    "mov oT0, v7\n"
    "mov oT1, v8\n"
    "mov oT2, v7";

struct STangentFrame {
    D3DXVECTOR3 tangent;
    D3DXVECTOR3 binormal;
    D3DXVECTOR3 normal;
};

D3DCOLOR PackColor(const D3DCOLORVALUE& color) {
    // Clamped first: a colour beyond 0..1 would spill into the next channel.
    const auto channel = [](float value) { return static_cast<DWORD>(std::clamp(value, 0.0f, 1.0f) * 255.0f); };
    return 0xFF000000u | channel(color.r) << 16 | channel(color.g) << 8 | channel(color.b);
}

D3DXVECTOR3 Position(const S3DVERTEX& v) {
    return {v.x, v.y, v.z};
}

D3DXVECTOR3 Normal(const S3DVERTEX& v) {
    return {v.nx, v.ny, v.nz};
}

bool IsUsable(const D3DXVECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && D3DXVec3LengthSq(&v) > 1e-12f;
}

// Tangent (d position / du) and binormal (d position / dv) solved one
// coordinate at a time: the plane through the three corners in
// (coordinate, u, v) space has the normal n, and along it the coordinate
// changes by -n.y / n.x per unit of u and by -n.z / n.x per unit of v.
// n.x is the same for every coordinate: zero when the texture coordinates
// span no area, and then there is no such frame.
bool TextureSpaceFrame(const S3DVERTEX& a, const S3DVERTEX& b, const S3DVERTEX& c, STangentFrame& frame) {
    const D3DXVECTOR3 pa = Position(a), pb = Position(b), pc = Position(c);
    float tangent[3], binormal[3];
    for (int axis = 0; axis < 3; ++axis) {
        const D3DXVECTOR3 e1(pb[axis] - pa[axis], b.tu1 - a.tu1, b.tv1 - a.tv1);
        const D3DXVECTOR3 e2(pc[axis] - pa[axis], c.tu1 - a.tu1, c.tv1 - a.tv1);
        D3DXVECTOR3 n;
        D3DXVec3Cross(&n, &e1, &e2);
        if (n.x == 0.0f) {
            return false;
        }
        tangent[axis] = -n.y / n.x;
        binormal[axis] = -n.z / n.x;
    }
    const D3DXVECTOR3 rawTangent(tangent[0], tangent[1], tangent[2]);
    const D3DXVECTOR3 rawBinormal(binormal[0], binormal[1], binormal[2]);
    if (!IsUsable(rawTangent) || !IsUsable(rawBinormal)) {
        return false;  // corners at one place or on one line
    }
    D3DXVec3Normalize(&frame.tangent, &rawTangent);
    D3DXVec3Normalize(&frame.binormal, &rawBinormal);
    D3DXVec3Cross(&frame.normal, &frame.tangent, &frame.binormal);
    const D3DXVECTOR3 vertexNormal = Normal(a);
    if (D3DXVec3Dot(&frame.normal, &vertexNormal) < 0.0f) {
        frame.normal = -frame.normal;
    }
    return IsUsable(frame.tangent) && IsUsable(frame.binormal) && IsUsable(frame.normal);
}

// Some right-handed frame whose normal is the first corner's normal (else
// the face normal, else +z): lighting then follows the surface as if the
// normal map were flat.
STangentFrame FrameAroundNormal(const S3DVERTEX& a, const S3DVERTEX& b, const S3DVERTEX& c) {
    D3DXVECTOR3 normal = Normal(a);
    if (!IsUsable(normal)) {
        const D3DXVECTOR3 e1 = Position(b) - Position(a), e2 = Position(c) - Position(a);
        D3DXVec3Cross(&normal, &e1, &e2);
    }
    if (!IsUsable(normal)) {
        normal = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    }
    STangentFrame frame;
    D3DXVec3Normalize(&frame.normal, &normal);
    // The axis least parallel to the normal, made perpendicular to it.
    const D3DXVECTOR3 axis =
        std::fabs(frame.normal.x) < 0.9f ? D3DXVECTOR3(1.0f, 0.0f, 0.0f) : D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    const D3DXVECTOR3 across = axis - frame.normal * D3DXVec3Dot(&axis, &frame.normal);
    D3DXVec3Normalize(&frame.tangent, &across);
    D3DXVec3Cross(&frame.binormal, &frame.normal,
                  &frame.tangent);  // tangent x binormal = normal
    return frame;
}

SShaderVertexFrame ReadFrame(const S3DVERTEX_FORSHADER& vertex) {
    SShaderVertexFrame frame;
    std::memcpy(static_cast<void*>(&frame), &vertex.effect, sizeof(frame));
    return frame;
}

void WriteFrame(S3DVERTEX_FORSHADER& vertex, const SShaderVertexFrame& frame) {
    std::memcpy(&vertex.effect, &frame, sizeof(frame));
}

void WriteDiffuse(S3DVERTEX_FORSHADER* vertices, DWORD count, D3DCOLOR diffuse) {
    for (DWORD i = 0; i < count; ++i) {
        SShaderVertexFrame frame = ReadFrame(vertices[i]);
        frame.diffuse = diffuse;
        WriteFrame(vertices[i], frame);
    }
}

void WriteTangentFrames(S3DVERTEX_FORSHADER* vertices, DWORD count, const WORD* indices, DWORD faces) {
    for (DWORD face = 0; face < faces; ++face) {
        const WORD* corner = indices + 3 * face;
        if (corner[0] >= count || corner[1] >= count || corner[2] >= count) {
            continue;
        }
        const S3DVERTEX& a = vertices[corner[0]].vertex;
        const S3DVERTEX& b = vertices[corner[1]].vertex;
        const S3DVERTEX& c = vertices[corner[2]].vertex;
        STangentFrame frame;
        if (!TextureSpaceFrame(a, b, c, frame)) {
            frame = FrameAroundNormal(a, b, c);
        }
        for (int k = 0; k < 3; ++k) {
            S3DVERTEX_FORSHADER& vertex = vertices[corner[k]];
            SShaderVertexFrame packed = ReadFrame(vertex);
            packed.tangent = frame.tangent;
            packed.binormal = frame.binormal;
            packed.normal = frame.normal;
            WriteFrame(vertex, packed);
        }
    }
}

}  // namespace

CBumpMapShader::CBumpMapShader(IDirect3DDevice8* device)
    : CShaderEffect(device != nullptr ? device : CScreen::Instance().GetD3DDevice()) {
    m_PixelCode = kPixelProgram;
    m_VertexCode = kVertexProgram;
}

void CBumpMapShader::PrepareForUse(CBaseObject& object) {
    ComputeBuffers(object);
}

void CBumpMapShader::SetVariable(const D3DXMATRIX& /*world*/) {
    SetConstant(6, D3DXVECTOR4(0.5f, 0.0f, 0.0f, 0.0f));
    SetConstant(5, D3DXVECTOR4(1.0f, 0.1f, 0.1f, 1.0f));
}

void CBumpMapShader::ComputeBuffers(CBaseObject& object) {
    if (!object.IsUsingShader()) {
        return;  // no second slot to write into
    }
    DWORD count = 0;
    S3DVERTEX* locked = object.LockVB(count);
    if (locked == nullptr) {
        return;
    }
    // The shader layout puts two S3DVERTEX slots per vertex.
    auto* vertices = reinterpret_cast<S3DVERTEX_FORSHADER*>(locked);
    WriteDiffuse(vertices, count, PackColor(object.GetMaterial(0).Diffuse));
    DWORD faces = 0;
    if (const WORD* indices = object.LockIB(faces)) {
        WriteTangentFrames(vertices, count, indices, faces);
        object.UnlockIB();
    }
    object.UnlockVB(false, false);
}
