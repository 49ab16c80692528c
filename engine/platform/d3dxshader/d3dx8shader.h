#pragma once
// D3DX 8's shader assembler: vertex shader 1.1 and pixel shader 1.1 program
// text in, the Direct3D 8 function tokens out (D3D8ShaderTokens.h), ready
// for CreateVertexShader / CreatePixelShader. What the text may hold is
// described in CShaderAssembler.h.
//
// Outputs, each set to null first when its pointer is given:
//   ppCompiledShader   the function's DWORDs, version token to end token.
//   ppConstants        (may be null) for vertex shaders the def constants as
//                      declaration tokens, D3DVSD_CONST(n, 1) and four values
//                      each, without D3DVSD_END (to go before the end of a
//                      declaration); an empty buffer when there are none and
//                      for pixel shaders.
//   ppCompilationErrors (may be null) on failure: zero-terminated text, one
//                      "line N: reason" line per mistake.
// Result codes: D3D_OK; null pSrcData, pSrcFile or ppCompiledShader
// D3DERR_INVALIDCALL; text with mistakes D3DXERR_INVALIDDATA; a file that
// cannot be read D3DXERR_INVALIDDATA too, its error text naming the file.
// Flags are accepted and ignored.

#include "platform/base/WinTypes.h"
#include "platform/d3dxmesh/d3dx8mesh.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

constexpr DWORD D3DXASM_DEBUG = 1u << 0;
constexpr DWORD D3DXASM_SKIPVALIDATION = 1u << 2;

HRESULT D3DXAssembleShader(LPCVOID pSrcData, UINT SrcDataLen, DWORD Flags, LPD3DXBUFFER* ppConstants,
                           LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors);
HRESULT D3DXAssembleShaderFromFileA(LPCSTR pSrcFile, DWORD Flags, LPD3DXBUFFER* ppConstants,
                                    LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors);
