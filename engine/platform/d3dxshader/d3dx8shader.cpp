// The D3DX shader assembly functions: argument handling and buffers around
// CShaderAssembler.

#include "platform/d3dxshader/d3dx8shader.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/GuardedCall.h"
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

// False when the file cannot be opened or read (a folder opens but cannot be read).
bool ReadFile(const char* path, std::string& text) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    char chunk[4096];
    size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, read);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
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
        std::string text;
        if (!ReadFile(pSrcFile, text)) {
            if (ppCompilationErrors != nullptr) {
                *ppCompilationErrors = BufferOf(std::string(pSrcFile) + ": the file cannot be read\n");
            }
            return D3DXERR_INVALIDDATA;
        }
        return Assemble(text, ppConstants, ppCompiledShader, ppCompilationErrors);
    });
}
