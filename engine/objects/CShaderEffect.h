#pragma once
// A vertex/pixel shader pair that replaces the fixed-function pipeline for
// one CBaseObject (attached with CBaseObject::SetShader, not owned by it).
//
// This header carries what the base object calls: the effect is told when
// the object's geometry changes (PrepareForUse) and receives the world
// matrix on every draw (SetVariable); the two device handles pick the
// shaders to bind (0 = none). Assembling and creating the programs, and the
// built-in effects, live beside it.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "platform/d3dx/d3dx8math.h"

class CBaseObject;

class CShaderEffect {
public:
    CShaderEffect() = default;
    virtual ~CShaderEffect() = default;

    // Rebuilds whatever the effect keeps per vertex (the second slot of the
    // object's shader-layout vertices). Nothing to do for the plain effect.
    virtual void PrepareForUse(CBaseObject& /*object*/) {}
    // Sets the effect's own shader constants for one draw.
    virtual void SetVariable(const D3DXMATRIX& /*world*/) {}

    DWORD GetVertexShaderID() const { return m_dwVertexShader; }
    DWORD GetPixelShaderID() const { return m_dwPixelShader; }

protected:
    CString m_VertexFilename;
    CString m_PixelFilename;
    DWORD m_dwPixelShader = 0;
    DWORD m_dwVertexShader = 0;
    CString m_VertexCode;
    CString m_PixelCode;
};
