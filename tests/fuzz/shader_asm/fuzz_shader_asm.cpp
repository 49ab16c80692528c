// Arbitrary bytes as vertex or pixel shader program text: assembly ends
// with code that runs from a version token to the end token, or with
// D3DXERR_INVALIDDATA and a zero-terminated report whose first line names a
// line of the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/d3dx8shader.h"

namespace {

void CheckCode(LPD3DXBUFFER code) {
    const DWORD size = code->GetBufferSize();
    if (size < 2 * sizeof(DWORD) || size % sizeof(DWORD) != 0) {
        std::abort();
    }
    const auto* tokens = static_cast<const DWORD*>(code->GetBufferPointer());
    const DWORD version = tokens[0] & 0xFFFFFF00u;
    if ((version != D3DVS_VERSION(1, 0) && version != D3DPS_VERSION(1, 0)) || tokens[size / 4 - 1] != D3DVS_END()) {
        std::abort();
    }
}

void CheckErrors(LPD3DXBUFFER errors) {
    const DWORD size = errors->GetBufferSize();
    const auto* text = static_cast<const char*>(errors->GetBufferPointer());
    if (size < 6 || text[size - 1] != '\0' || std::strncmp(text, "line ", 5) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXBUFFER constants = nullptr;
    LPD3DXBUFFER errors = nullptr;
    const HRESULT result = D3DXAssembleShader(data, static_cast<UINT>(size), 0, &constants, &code, &errors);
    if (result == D3D_OK) {
        if (code == nullptr || constants == nullptr || errors != nullptr) {
            std::abort();
        }
        CheckCode(code);
        code->Release();
        constants->Release();
    } else {
        if (result != D3DXERR_INVALIDDATA || code != nullptr || constants != nullptr || errors == nullptr) {
            std::abort();
        }
        CheckErrors(errors);
        errors->Release();
    }
    return 0;
}
