#pragma once
// A vertex/pixel shader pair that replaces the fixed-function pipeline for
// one CBaseObject (attached with CBaseObject::SetShader, not owned by it).
//
// The programs are Direct3D 8 assembly (vs.1.1 / ps.1.1), read from a file
// or given as text; Init assembles them and creates the device shaders. The
// effect is told when the object's geometry changes (PrepareForUse) and
// receives the world matrix on every draw (SetVariable); the two device
// handles pick the shaders to bind (0 = none: the object draws with the
// shader layout's flexible vertex format, or without a pixel shader).
//
//   CShaderEffect effect(CScreen::Instance().GetD3DDevice());  // render thread
//   effect.SetVertexCode(program);
//   effect.Init();
//   object.UseShader(true);
//   object.SetShader(&effect);
//
// The effect deletes its device shaders when it is initialised again and
// when it goes, so it must go before its device does. (The effect is told
// its device rather than asking the screen: the screen reaches the base
// object, which reaches the effect.)

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"

class CBaseObject;

// The effect's half of an S3DVERTEX_FORSHADER (its second 40 bytes) as the
// vertex declaration reads it: v5, v9, v10, v11.
struct SShaderVertexFrame {
    D3DCOLOR diffuse;
    D3DXVECTOR3 tangent;
    D3DXVECTOR3 binormal;
    D3DXVECTOR3 normal;  // the tangent frame's normal, not the vertex normal
};
static_assert(sizeof(SShaderVertexFrame) == 40, "the effect's half of the shader layout is 40 bytes");

class CShaderEffect {
public:
    // The shaders are made on `device` (without one, Init creates nothing).
    explicit CShaderEffect(IDirect3DDevice8* device);
    CShaderEffect(const CShaderEffect&) = delete;  // the device handles are the effect's own
    CShaderEffect& operator=(const CShaderEffect&) = delete;

    // --- virtual operations, in slot order -------------------------------------
    // Deletes the device shaders.
    virtual ~CShaderEffect();
    // Deletes the shaders of an earlier Init, then creates the vertex shader
    // (from the vertex file if it is named, else from the vertex text if
    // there is one) and the pixel shader likewise. A program that cannot be
    // read, assembled or created leaves its handle 0, silently.
    virtual void Init();
    // Rebuilds whatever the effect keeps per vertex (the second slot of the
    // object's shader-layout vertices). Nothing to do for the plain effect.
    virtual void PrepareForUse(CBaseObject& /*object*/) {}
    // Sets the effect's own shader constants for one draw (after the base
    // object's c0-c4).
    virtual void SetVariable(const D3DXMATRIX& /*world*/) {}

    // Names and texts take effect at the next Init.
    void SetVertexFilename(const CString& name) { m_VertexFilename = name; }
    void SetPixelFilename(const CString& name) { m_PixelFilename = name; }
    void SetVertexCode(const CString& code) { m_VertexCode = code; }
    void SetPixelCode(const CString& code) { m_PixelCode = code; }
    const CString& GetVertexFilename() const { return m_VertexFilename; }
    const CString& GetPixelFilename() const { return m_PixelFilename; }
    const CString& GetVertexCode() const { return m_VertexCode; }
    const CString& GetPixelCode() const { return m_PixelCode; }

    DWORD GetVertexShaderID() const { return m_dwVertexShader; }
    DWORD GetPixelShaderID() const { return m_dwPixelShader; }
    IDirect3DDevice8* GetDevice() const { return m_pd3dDevice; }

    // Assembles a program, from a file or from text of the given length, and
    // creates a vertex shader with `declaration`, or a pixel shader when the
    // declaration is null. `handle` is the new shader, or 0 on failure; the
    // result is the failure of the first step that failed (reading,
    // assembling, creating), else 0.
    HRESULT CreateShader(const CString& filename, const DWORD* declaration, DWORD& handle);
    HRESULT CreateShader(const char* text, UINT length, const DWORD* declaration, DWORD& handle);

    // The declaration of the shader layout: stream 0, position v0, normal
    // v3, both texture pairs v7 and v8, then the effect's diffuse colour v5
    // and tangent frame v9, v10, v11.
    static const DWORD* VertexDeclaration();

protected:
    // Vertex shader constants from `first` on (four floats each), on the
    // effect's device; nothing before Init.
    void SetConstants(DWORD first, const void* data, DWORD count) const;
    void SetConstant(DWORD index, const D3DXVECTOR4& value) const { SetConstants(index, &value, 1); }

    CString m_VertexFilename;
    CString m_PixelFilename;
    DWORD m_dwPixelShader = 0;
    DWORD m_dwVertexShader = 0;
    CString m_VertexCode;
    CString m_PixelCode;
    IDirect3DDevice8* m_pd3dDevice = nullptr;

private:
    void DeleteShaders();
};
