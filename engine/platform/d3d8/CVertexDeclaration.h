#pragma once
// A vertex shader declaration (the tokens of D3D8ShaderTokens.h passed to
// CreateVertexShader): which stream each input register reads, at which
// byte offset and in which data type, how many bytes each stream's vertex
// spans, and the constants loaded when the shader is set.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3d8/d3d8types.h"

// How the data of an element reaches the shader.
enum class EVertexElementKind : std::uint8_t {
    Float,         // FLOAT1-4: as given, missing components (0, 0, 0, 1)
    Color,         // D3DCOLOR: bytes B, G, R, A normalised to 0..1 (read as .rgba = R, G, B, A)
    UnsignedByte,  // UBYTE4: four bytes as 0..255, not normalised
    Short          // SHORT2 / SHORT4: signed shorts, not normalised
};

struct SVertexElement {
    DWORD stream = 0;
    DWORD reg = 0;   // input register v#
    DWORD type = 0;  // D3DVSDT_*
    DWORD offset = 0;
    unsigned components = 0;  // 1..4
    unsigned size = 0;        // bytes
    EVertexElementKind kind = EVertexElementKind::Float;
};

struct SVertexConstantLoad {
    DWORD address = 0;  // first constant register
    std::vector<std::array<float, 4>> values;
};

class CVertexDeclaration {
public:
    static constexpr unsigned kMaxStreams = 16;
    static constexpr unsigned kMaxRegisters = D3D8_VS_INPUT_REGISTERS;

    // Reads tokens up to D3DVSD_END(), never more than maxTokens. Returns
    // D3D_OK, or D3DERR_INVALIDCALL with a short reason in *error (and the
    // declaration left empty).
    HRESULT Parse(const DWORD* tokens, std::size_t maxTokens, std::string* error = nullptr);

    // In declaration order.
    const std::vector<SVertexElement>& Elements() const { return m_elements; }
    // The element that feeds register `reg`, or nullptr.
    const SVertexElement* ElementForRegister(DWORD reg) const;
    // Bytes the declared data of a stream spans (registers and skips).
    DWORD StreamStride(DWORD stream) const { return stream < kMaxStreams ? m_strides[stream] : 0; }
    // Bit n set: stream n is used by the declaration.
    std::uint32_t StreamMask() const { return m_streamMask; }
    // Bit n set: register v# n is declared.
    std::uint32_t RegisterMask() const { return m_registerMask; }
    const std::vector<SVertexConstantLoad>& ConstantLoads() const { return m_constants; }
    // DWORDs from the first token to D3DVSD_END(), both included.
    std::size_t TokenCount() const { return m_tokenCount; }

private:
    HRESULT Fail(const char* reason, std::string* error);
    bool AddRegister(DWORD token, DWORD stream, const char*& reason);

    std::vector<SVertexElement> m_elements;
    std::array<DWORD, kMaxStreams> m_strides{};
    std::uint32_t m_streamMask = 0;
    std::uint32_t m_registerMask = 0;
    std::vector<SVertexConstantLoad> m_constants;
    std::size_t m_tokenCount = 0;
};
