// The D3DX shader assembly functions: argument handling and buffers around
// CShaderAssembler.

#include "platform/d3dxshader/d3dx8shader.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/GuardedCall.h"
#include "platform/base/WholeFile.h"
#include "platform/d3dxmesh/CD3DXBuffer.h"
#include "platform/d3dxshader/CShaderAssembler.h"

namespace {

LPD3DXBUFFER BufferOf(const void* data, size_t size) {
    auto* buffer = new CD3DXBuffer(size);
    if (size > 0) {
        std::memcpy(buffer->GetBufferPointer(), data, size);
    }
    return buffer;
}

LPD3DXBUFFER BufferOf(const std::vector<DWORD>& tokens) {
    return BufferOf(tokens.data(), tokens.size() * sizeof(DWORD));
}

LPD3DXBUFFER BufferOf(const std::string& text) {
    return BufferOf(text.c_str(), text.size() + 1);  // with its terminating zero
}

void ClearOutputs(LPD3DXBUFFER* ppConstants, LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    for (LPD3DXBUFFER* output : {ppConstants, ppCompiledShader, ppCompilationErrors}) {
        if (output != nullptr) {
            *output = nullptr;
        }
    }
}

// Program texts are a few kilobytes; anything far larger is no program.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 20;

// Why a program file gave no text, for the error buffer.
const char* ReadFailure(EWholeFile result) {
    switch (result) {
    case EWholeFile::TooLarge:
        return "the file is too large for a shader program";
    default:
        return "the file cannot be read";
    }
}

HRESULT Assemble(std::string_view text, LPD3DXBUFFER* ppConstants, LPD3DXBUFFER* ppCompiledShader,
                 LPD3DXBUFFER* ppCompilationErrors) {
    CShaderAssembler assembler;
    if (!assembler.Assemble(text)) {
        if (ppCompilationErrors != nullptr) {
            *ppCompilationErrors = BufferOf(assembler.ErrorText());
        }
        return D3DXERR_INVALIDDATA;
    }
    *ppCompiledShader = BufferOf(assembler.Tokens());
    if (ppConstants != nullptr) {
        *ppConstants = BufferOf(assembler.Constants());
    }
    return D3D_OK;
}

}  // namespace

HRESULT D3DXAssembleShader(LPCVOID pSrcData, UINT SrcDataLen, DWORD /*Flags*/, LPD3DXBUFFER* ppConstants,
                           LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    ClearOutputs(ppConstants, ppCompiledShader, ppCompilationErrors);
    if (pSrcData == nullptr || ppCompiledShader == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        const std::string_view text(static_cast<const char*>(pSrcData), SrcDataLen);
        return Assemble(text, ppConstants, ppCompiledShader, ppCompilationErrors);
    });
}

HRESULT D3DXAssembleShaderFromFileA(LPCSTR pSrcFile, DWORD /*Flags*/, LPD3DXBUFFER* ppConstants,
                                    LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    ClearOutputs(ppConstants, ppCompiledShader, ppCompilationErrors);
    if (pSrcFile == nullptr || ppCompiledShader == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        std::vector<BYTE> bytes;
        const EWholeFile result = ReadWholeFile(pSrcFile, kMaxFileBytes, bytes);
        if (result != EWholeFile::Read) {
            if (ppCompilationErrors != nullptr) {
                *ppCompilationErrors = BufferOf(std::string(pSrcFile) + ": " + ReadFailure(result) + "\n");
            }
            return D3DXERR_INVALIDDATA;
        }
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return Assemble(text, ppConstants, ppCompiledShader, ppCompilationErrors);
    });
}
