#include "platform/d3d8/CVertexDeclaration.h"

#include <cstring>

namespace {

constexpr DWORD kStreamTessellatorBit = 1u << 28;

struct STypeInfo {
    unsigned components;
    unsigned size;
    EVertexElementKind kind;
};

bool TypeInfo(DWORD type, STypeInfo& info) {
    switch (type) {
    case D3DVSDT_FLOAT1:
    case D3DVSDT_FLOAT2:
    case D3DVSDT_FLOAT3:
    case D3DVSDT_FLOAT4:
        info = {type + 1, 4 * (type + 1), EVertexElementKind::Float};
        return true;
    case D3DVSDT_D3DCOLOR:
        info = {4, 4, EVertexElementKind::Color};
        return true;
    case D3DVSDT_UBYTE4:
        info = {4, 4, EVertexElementKind::UnsignedByte};
        return true;
    case D3DVSDT_SHORT2:
        info = {2, 4, EVertexElementKind::Short};
        return true;
    case D3DVSDT_SHORT4:
        info = {4, 8, EVertexElementKind::Short};
        return true;
    default:
        return false;
    }
}

DWORD TokenType(DWORD token) {
    return (token & D3DVSD_TOKENTYPEMASK) >> D3DVSD_TOKENTYPESHIFT;
}

}  // namespace

HRESULT CVertexDeclaration::Fail(const char* reason, std::string* error) {
    *this = CVertexDeclaration{};
    if (error != nullptr)
        *error = reason;
    return D3DERR_INVALIDCALL;
}

HRESULT CVertexDeclaration::Parse(const DWORD* tokens, std::size_t maxTokens, std::string* error) {
    *this = CVertexDeclaration{};
    if (tokens == nullptr)
        return Fail("no declaration", error);
    bool haveStream = false;
    DWORD stream = 0;
    std::size_t position = 0;
    const char* reason = nullptr;
    while (true) {
        if (position >= maxTokens)
            return Fail("no D3DVSD_END", error);
        const DWORD token = tokens[position++];
        switch (TokenType(token)) {
        case D3DVSD_TOKEN_NOP:
            break;
        case D3DVSD_TOKEN_STREAM:
            stream = token & D3DVSD_STREAMNUMBERMASK;
            if ((token & kStreamTessellatorBit) != 0)
                return Fail("tessellator streams are not supported", error);
            haveStream = true;
            m_streamMask |= 1u << stream;
            break;
        case D3DVSD_TOKEN_STREAMDATA:
            if (!haveStream)
                return Fail("stream data before D3DVSD_STREAM", error);
            if ((token & D3DVSD_DATALOADTYPEMASK) != 0)
                m_strides[stream] += 4 * ((token & D3DVSD_SKIPCOUNTMASK) >> D3DVSD_SKIPCOUNTSHIFT);
            else if (!AddRegister(token, stream, reason))
                return Fail(reason, error);
            break;
        case D3DVSD_TOKEN_CONSTMEM: {
            const DWORD address = (token & D3DVSD_CONSTADDRESSMASK) >> D3DVSD_CONSTADDRESSSHIFT;
            const DWORD count = (token & D3DVSD_CONSTCOUNTMASK) >> D3DVSD_CONSTCOUNTSHIFT;
            if (address + count > D3D8_VS_CONSTANT_REGISTERS)
                return Fail("constants out of range", error);
            if (maxTokens - position < 4 * static_cast<std::size_t>(count))
                return Fail("constant values run past the end", error);
            SVertexConstantLoad load;
            load.address = address;
            load.values.resize(count);
            if (count > 0)
                std::memcpy(load.values.data(), tokens + position, sizeof(float) * 4 * count);
            position += 4 * count;
            m_constants.push_back(std::move(load));
            break;
        }
        case D3DVSD_TOKEN_END:
            if (token != D3DVSD_END())
                return Fail("unknown declaration token", error);
            m_tokenCount = position;
            return D3D_OK;
        case D3DVSD_TOKEN_TESSELLATOR:
            return Fail("tessellator tokens are not supported", error);
        default:
            return Fail("unknown declaration token", error);
        }
    }
}

bool CVertexDeclaration::AddRegister(DWORD token, DWORD stream, const char*& reason) {
    SVertexElement element;
    element.stream = stream;
    element.reg = (token & D3DVSD_VERTEXREGMASK) >> D3DVSD_VERTEXREGSHIFT;
    element.type = (token & D3DVSD_DATATYPEMASK) >> D3DVSD_DATATYPESHIFT;
    STypeInfo info{};
    if (element.reg >= kMaxRegisters) {
        reason = "input register out of range";
        return false;
    }
    if (!TypeInfo(element.type, info)) {
        reason = "unknown data type";
        return false;
    }
    if ((m_registerMask & (1u << element.reg)) != 0) {
        reason = "input register declared twice";
        return false;
    }
    element.components = info.components;
    element.size = info.size;
    element.kind = info.kind;
    element.offset = m_strides[stream];
    m_strides[stream] += info.size;
    m_registerMask |= 1u << element.reg;
    m_elements.push_back(element);
    return true;
}

const SVertexElement* CVertexDeclaration::ElementForRegister(DWORD reg) const {
    for (const SVertexElement& element : m_elements)
        if (element.reg == reg)
            return &element;
    return nullptr;
}
