// Arbitrary bytes as the DWORD tokens of a vertex shader, a pixel shader and
// a vertex shader declaration. Whatever decodes must translate, under a few
// keys; nothing may read past the given tokens.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d8/CShaderDecoder.h"
#include "platform/d3d8/CShaderTranslator.h"
#include "platform/d3d8/CVertexDeclaration.h"

namespace {

SFixedFunctionKey KeyFromByte(std::uint8_t byte) {
    SFixedFunctionKey key{};
    key.flatShading = byte & 1;
    key.fogSource = static_cast<EFogSource>((byte >> 1) & 3);
    key.fogFormula = (byte >> 3) & 3;
    key.alphaFunc = (byte >> 5) & 7;
    for (unsigned stage = 0; stage < 4; ++stage)
        key.stages[stage].textureType = static_cast<ETextureType>((byte + stage) % 3);
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // An allocation of exactly the whole DWORDs, so that the sanitizer sees
    // any read beyond them.
    const size_t count = size / sizeof(DWORD);
    std::vector<DWORD> tokens(count);
    if (count > 0)
        std::memcpy(tokens.data(), data, count * sizeof(DWORD));
    const SFixedFunctionKey key = KeyFromByte(size > 0 ? data[size - 1] : 0);

    SShaderProgram program;
    std::string error;
    if (SUCCEEDED(CShaderDecoder::Decode(tokens.data(), tokens.size(), EShaderKind::Vertex, program, &error)))
        (void)CShaderTranslator::VertexShader(program, key);
    if (SUCCEEDED(CShaderDecoder::Decode(tokens.data(), tokens.size(), EShaderKind::Pixel, program, &error)))
        (void)CShaderTranslator::PixelShader(program, key);

    CVertexDeclaration declaration;
    (void)declaration.Parse(tokens.data(), tokens.size(), &error);
    return 0;
}
