#include "platform/d3d8/CShaderDecoder.h"

#include <cstring>

namespace {

enum EOpcodeClass : std::uint8_t {
    kArithmetic,  // both kinds unless restricted below
    kTexture,     // pixel shader texture addressing
    kDefinition,  // def: destination and four raw floats
    kNoOperation
};

struct SOpcodeInfo {
    DWORD opcode;
    const char* mnemonic;
    unsigned sources;
    EOpcodeClass opcodeClass;
    bool vertex;
    bool pixel;
};

// clang-format off
constexpr SOpcodeInfo kOpcodes[] = {
    {D3DSIO_NOP, "nop", 0, kNoOperation, true, true},
    {D3DSIO_MOV, "mov", 1, kArithmetic, true, true},
    {D3DSIO_ADD, "add", 2, kArithmetic, true, true},
    {D3DSIO_SUB, "sub", 2, kArithmetic, true, true},
    {D3DSIO_MAD, "mad", 3, kArithmetic, true, true},
    {D3DSIO_MUL, "mul", 2, kArithmetic, true, true},
    {D3DSIO_RCP, "rcp", 1, kArithmetic, true, false},
    {D3DSIO_RSQ, "rsq", 1, kArithmetic, true, false},
    {D3DSIO_DP3, "dp3", 2, kArithmetic, true, true},
    {D3DSIO_DP4, "dp4", 2, kArithmetic, true, true},
    {D3DSIO_MIN, "min", 2, kArithmetic, true, false},
    {D3DSIO_MAX, "max", 2, kArithmetic, true, false},
    {D3DSIO_SLT, "slt", 2, kArithmetic, true, false},
    {D3DSIO_SGE, "sge", 2, kArithmetic, true, false},
    {D3DSIO_EXP, "exp", 1, kArithmetic, true, false},
    {D3DSIO_LOG, "log", 1, kArithmetic, true, false},
    {D3DSIO_LIT, "lit", 1, kArithmetic, true, false},
    {D3DSIO_DST, "dst", 2, kArithmetic, true, false},
    {D3DSIO_LRP, "lrp", 3, kArithmetic, true, true},
    {D3DSIO_FRC, "frc", 1, kArithmetic, true, false},
    {D3DSIO_M4x4, "m4x4", 2, kArithmetic, true, false},
    {D3DSIO_M4x3, "m4x3", 2, kArithmetic, true, false},
    {D3DSIO_M3x4, "m3x4", 2, kArithmetic, true, false},
    {D3DSIO_M3x3, "m3x3", 2, kArithmetic, true, false},
    {D3DSIO_M3x2, "m3x2", 2, kArithmetic, true, false},
    {D3DSIO_TEXCOORD, "texcoord", 0, kTexture, false, true},
    {D3DSIO_TEXKILL, "texkill", 0, kTexture, false, true},
    {D3DSIO_TEX, "tex", 0, kTexture, false, true},
    {D3DSIO_TEXBEM, "texbem", 1, kTexture, false, true},
    {D3DSIO_TEXBEML, "texbeml", 1, kTexture, false, true},
    {D3DSIO_TEXREG2AR, "texreg2ar", 1, kTexture, false, true},
    {D3DSIO_TEXREG2GB, "texreg2gb", 1, kTexture, false, true},
    {D3DSIO_TEXM3x2PAD, "texm3x2pad", 1, kTexture, false, true},
    {D3DSIO_TEXM3x2TEX, "texm3x2tex", 1, kTexture, false, true},
    {D3DSIO_TEXM3x3PAD, "texm3x3pad", 1, kTexture, false, true},
    {D3DSIO_TEXM3x3TEX, "texm3x3tex", 1, kTexture, false, true},
    {D3DSIO_TEXM3x3SPEC, "texm3x3spec", 2, kTexture, false, true},
    {D3DSIO_TEXM3x3VSPEC, "texm3x3vspec", 1, kTexture, false, true},
    {D3DSIO_EXPP, "expp", 1, kArithmetic, true, false},
    {D3DSIO_LOGP, "logp", 1, kArithmetic, true, false},
    {D3DSIO_CND, "cnd", 3, kArithmetic, false, true},
    {D3DSIO_DEF, "def", 0, kDefinition, true, true},
};
// clang-format on

constexpr unsigned kMaxVertexInstructions = 128;
constexpr unsigned kMaxPixelTextureInstructions = 8;
constexpr unsigned kMaxPixelArithmeticInstructions = 8;

const SOpcodeInfo* FindOpcode(DWORD opcode) {
    for (const SOpcodeInfo& info : kOpcodes)
        if (info.opcode == opcode)
            return &info;
    return nullptr;
}

// Rows the matrix macros read from consecutive registers.
unsigned MatrixRows(DWORD opcode) {
    switch (opcode) {
    case D3DSIO_M4x4:
    case D3DSIO_M3x4:
        return 4;
    case D3DSIO_M4x3:
    case D3DSIO_M3x3:
        return 3;
    case D3DSIO_M3x2:
        return 2;
    default:
        return 1;
    }
}

SShaderParameter DestinationFromToken(DWORD token) {
    SShaderParameter parameter;
    parameter.type = (token & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT;
    parameter.number = token & D3DSP_REGNUM_MASK;
    parameter.writeMask = (token & D3DSP_WRITEMASK_ALL) >> 16;
    parameter.saturate = (token & D3DSP_DSTMOD_MASK) == D3DSPDM_SATURATE;
    const DWORD shift = (token & D3DSP_DSTSHIFT_MASK) >> D3DSP_DSTSHIFT_SHIFT;
    parameter.shift = shift >= 8 ? static_cast<int>(shift) - 16 : static_cast<int>(shift);
    parameter.relative = (token & D3DVS_ADDRESSMODE_MASK) != 0;
    return parameter;
}

SShaderParameter SourceFromToken(DWORD token) {
    SShaderParameter parameter;
    parameter.type = (token & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT;
    parameter.number = token & D3DSP_REGNUM_MASK;
    parameter.swizzle = (token & D3DSP_SWIZZLE_MASK) >> D3DSP_SWIZZLE_SHIFT;
    parameter.sourceModifier = (token & D3DSP_SRCMOD_MASK) >> D3DSP_SRCMOD_SHIFT;
    parameter.relative = (token & D3DVS_ADDRESSMODE_MASK) != 0;
    return parameter;
}

bool IsTextureAddressing(const SOpcodeInfo& info) {
    return info.opcodeClass == kTexture;
}

// One pass over a token stream; the first failure wins.
class CDecodePass {
public:
    CDecodePass(const DWORD* tokens, std::size_t maxTokens, EShaderKind kind, SShaderProgram& program)
        : m_tokens(tokens), m_maxTokens(maxTokens), m_kind(kind), m_program(program) {}

    const char* Run();

private:
    bool Vertex() const { return m_kind == EShaderKind::Vertex; }
    const char* ReadVersion();
    const char* ReadInstruction(DWORD token);
    const char* ReadParameters(SShaderInstruction& instruction, const SOpcodeInfo& info);
    const char* ReadDefinition(SShaderInstruction& instruction);
    const char* CheckDestination(const SShaderInstruction& instruction, const SOpcodeInfo& info);
    const char* CheckVertexDestination(const SShaderInstruction& instruction) const;
    const char* CheckPixelDestination(const SShaderInstruction& instruction, const SOpcodeInfo& info) const;
    const char* CheckSource(const SShaderInstruction& instruction, const SOpcodeInfo& info, unsigned index) const;
    const char* CheckVertexSource(const SShaderInstruction& instruction, const SShaderParameter& source,
                                  unsigned index) const;
    const char* CheckPixelSource(const SShaderParameter& source, const SOpcodeInfo& info, unsigned index) const;
    const char* CheckSequence(const SShaderInstruction& instruction, const SOpcodeInfo& info);
    void Summarise(const SShaderInstruction& instruction);

    const DWORD* m_tokens;
    std::size_t m_maxTokens;
    std::size_t m_position = 0;
    EShaderKind m_kind;
    SShaderProgram& m_program;
    const SOpcodeInfo* m_previous = nullptr;
    bool m_previousCoissued = false;
    unsigned m_pendingPads = 0;  // texm3xNpad seen, waiting for the instruction that completes them
    DWORD m_padOpcode = 0;
    unsigned m_arithmeticCount = 0;
    unsigned m_textureCount = 0;
};

const char* CDecodePass::Run() {
    if (const char* reason = ReadVersion())
        return reason;
    while (true) {
        if (m_position >= m_maxTokens)
            return "no end token";
        const DWORD token = m_tokens[m_position];
        if (token == D3DVS_END()) {
            ++m_position;
            break;
        }
        if ((token & D3DSI_OPCODE_MASK) == D3DSIO_COMMENT && (token & D3DSP_PARAMETER_BIT) == 0) {
            const std::size_t length = (token & D3DSI_COMMENTSIZE_MASK) >> D3DSI_COMMENTSIZE_SHIFT;
            if (length >= m_maxTokens - m_position)
                return "comment runs past the end";
            m_position += 1 + length;
            continue;
        }
        if (const char* reason = ReadInstruction(token))
            return reason;
    }
    if (m_pendingPads != 0)
        return "texture matrix rows without the completing instruction";
    m_program.tokenCount = m_position;
    return nullptr;
}

const char* CDecodePass::ReadVersion() {
    if (m_tokens == nullptr || m_maxTokens == 0)
        return "no version token";
    const DWORD version = m_tokens[m_position++];
    const bool accepted = Vertex() ? version == D3DVS_VERSION(1, 0) || version == D3DVS_VERSION(1, 1)
                                   : version == D3DPS_VERSION(1, 0) || version == D3DPS_VERSION(1, 1);
    if (!accepted)
        return Vertex() ? "not a vs.1.0 or vs.1.1 version token" : "not a ps.1.0 or ps.1.1 version token";
    m_program.version = version;
    return nullptr;
}

const char* CDecodePass::ReadInstruction(DWORD token) {
    if ((token & D3DSP_PARAMETER_BIT) != 0)
        return "parameter token where an instruction was expected";
    const SOpcodeInfo* info = FindOpcode(token & D3DSI_OPCODE_MASK);
    if (info == nullptr || !(Vertex() ? info->vertex : info->pixel))
        return Vertex() ? "unknown vertex shader opcode" : "unknown pixel shader opcode";
    ++m_position;
    SShaderInstruction instruction;
    instruction.opcode = info->opcode;
    instruction.coissue = (token & D3DSI_COISSUE) != 0;
    const char* reason =
        info->opcodeClass == kDefinition ? ReadDefinition(instruction) : ReadParameters(instruction, *info);
    if (reason == nullptr)
        reason = CheckDestination(instruction, *info);
    for (unsigned i = 0; reason == nullptr && i < instruction.sourceCount; ++i)
        reason = CheckSource(instruction, *info, i);
    if (reason == nullptr)
        reason = CheckSequence(instruction, *info);
    if (reason != nullptr)
        return reason;
    Summarise(instruction);
    m_program.instructions.push_back(instruction);
    return nullptr;
}

const char* CDecodePass::ReadParameters(SShaderInstruction& instruction, const SOpcodeInfo& info) {
    const unsigned count = info.opcodeClass == kNoOperation ? 0 : 1 + info.sources;
    for (unsigned i = 0; i < count; ++i) {
        if (m_position >= m_maxTokens)
            return "instruction runs past the end";
        const DWORD token = m_tokens[m_position];
        if ((token & D3DSP_PARAMETER_BIT) == 0)
            return "too few parameter tokens";
        ++m_position;
        if (i == 0 && (token & D3DSP_DSTMOD_MASK) > D3DSPDM_SATURATE)
            return "unknown result modifier";
        if (i == 0)
            instruction.destination = DestinationFromToken(token);
        else
            instruction.sources[i - 1] = SourceFromToken(token);
    }
    instruction.hasDestination = count > 0;
    instruction.sourceCount = info.sources;
    if (m_position < m_maxTokens && (m_tokens[m_position] & D3DSP_PARAMETER_BIT) != 0)
        return "too many parameter tokens";
    return nullptr;
}

const char* CDecodePass::ReadDefinition(SShaderInstruction& instruction) {
    if (m_maxTokens - m_position < 5)
        return "instruction runs past the end";
    const DWORD token = m_tokens[m_position];
    if ((token & D3DSP_PARAMETER_BIT) == 0)
        return "too few parameter tokens";
    instruction.destination = DestinationFromToken(token);
    instruction.hasDestination = true;
    std::memcpy(instruction.values.data(), m_tokens + m_position + 1, sizeof(float) * 4);
    m_position += 5;
    return nullptr;
}

const char* CDecodePass::CheckDestination(const SShaderInstruction& instruction, const SOpcodeInfo& info) {
    if (!instruction.hasDestination)
        return nullptr;
    const SShaderParameter& destination = instruction.destination;
    if (destination.relative)
        return "relative addressing on a destination";
    if (info.opcodeClass == kDefinition) {
        const unsigned limit = Vertex() ? D3D8_VS_CONSTANT_REGISTERS : D3D8_PS_CONSTANT_REGISTERS;
        if (destination.type != D3DSPR_CONST || destination.number >= limit)
            return "def needs a constant register";
        return nullptr;
    }
    return Vertex() ? CheckVertexDestination(instruction) : CheckPixelDestination(instruction, info);
}

const char* CDecodePass::CheckVertexDestination(const SShaderInstruction& instruction) const {
    const SShaderParameter& destination = instruction.destination;
    if (destination.saturate || destination.shift != 0)
        return "result modifier in a vertex shader";
    switch (destination.type) {
    case D3DSPR_TEMP:
        return destination.number < D3D8_VS_TEMP_REGISTERS ? nullptr : "temporary register out of range";
    case D3DSPR_ADDR:
        if (destination.number != 0 || instruction.opcode != D3DSIO_MOV || (destination.writeMask & 1) == 0)
            return "a0.x is written by mov only";
        return nullptr;
    case D3DSPR_RASTOUT:
        return destination.number <= D3DSRO_POINT_SIZE ? nullptr : "unknown rasteriser output";
    case D3DSPR_ATTROUT:
        return destination.number < 2 ? nullptr : "colour output out of range";
    case D3DSPR_TEXCRDOUT:
        return destination.number < D3D8_VS_TEXCOORD_OUTPUTS ? nullptr : "texture coordinate output out of range";
    default:
        return "register not writable in a vertex shader";
    }
}

const char* CDecodePass::CheckPixelDestination(const SShaderInstruction& instruction, const SOpcodeInfo& info) const {
    const SShaderParameter& destination = instruction.destination;
    if (IsTextureAddressing(info)) {
        if (destination.type != D3DSPR_TEXTURE || destination.number >= D3D8_PS_TEXTURE_REGISTERS)
            return "texture instruction needs a texture register";
        if (destination.saturate || destination.shift != 0 || destination.writeMask != 0xF)
            return "texture instruction with a write mask or modifier";
        return nullptr;
    }
    if (destination.shift < -1 || destination.shift > 2)
        return "result shift not available in ps.1.1";
    if (destination.type == D3DSPR_TEMP)
        return destination.number < D3D8_PS_TEMP_REGISTERS ? nullptr : "temporary register out of range";
    if (destination.type == D3DSPR_TEXTURE)
        return destination.number < D3D8_PS_TEXTURE_REGISTERS ? nullptr : "texture register out of range";
    return "register not writable in a pixel shader";
}

const char* CDecodePass::CheckSource(const SShaderInstruction& instruction, const SOpcodeInfo& info,
                                     unsigned index) const {
    const SShaderParameter& source = instruction.sources[index];
    if (source.relative && (!Vertex() || source.type != D3DSPR_CONST))
        return "relative addressing outside vertex shader constants";
    return Vertex() ? CheckVertexSource(instruction, source, index) : CheckPixelSource(source, info, index);
}

const char* CDecodePass::CheckVertexSource(const SShaderInstruction& instruction, const SShaderParameter& source,
                                           unsigned index) const {
    if (source.sourceModifier != D3DSPSM_NONE >> D3DSP_SRCMOD_SHIFT &&
        source.sourceModifier != D3DSPSM_NEG >> D3DSP_SRCMOD_SHIFT)
        return "source modifier not available in a vertex shader";
    // The matrix macros read their second source as consecutive rows.
    const unsigned rows = index == 1 ? MatrixRows(instruction.opcode) : 1;
    unsigned limit = 0;
    switch (source.type) {
    case D3DSPR_TEMP:
        limit = D3D8_VS_TEMP_REGISTERS;
        break;
    case D3DSPR_INPUT:
        limit = D3D8_VS_INPUT_REGISTERS;
        break;
    case D3DSPR_CONST:
        limit = D3D8_VS_CONSTANT_REGISTERS;
        if (source.relative)
            return source.number < limit ? nullptr : "constant register out of range";
        break;
    default:
        return "register not readable in a vertex shader";
    }
    return source.number + rows <= limit ? nullptr : "source register out of range";
}

const char* CDecodePass::CheckPixelSource(const SShaderParameter& source, const SOpcodeInfo& info,
                                          unsigned index) const {
    if (IsTextureAddressing(info)) {
        if (source.sourceModifier != 0 || source.swizzle != 0xE4)
            return "texture instruction source with a modifier or swizzle";
        if (index == 1)  // texm3x3spec: the eye vector
            return source.type == D3DSPR_CONST && source.number < D3D8_PS_CONSTANT_REGISTERS
                       ? nullptr
                       : "texm3x3spec needs a constant eye vector";
        return source.type == D3DSPR_TEXTURE && source.number < D3D8_PS_TEXTURE_REGISTERS
                   ? nullptr
                   : "texture instruction needs a texture register source";
    }
    if (source.sourceModifier > (D3DSPSM_COMP >> D3DSP_SRCMOD_SHIFT))
        return "source modifier not available in ps.1.1";
    switch (source.type) {
    case D3DSPR_TEMP:
        return source.number < D3D8_PS_TEMP_REGISTERS ? nullptr : "temporary register out of range";
    case D3DSPR_INPUT:
        return source.number < D3D8_PS_INPUT_REGISTERS ? nullptr : "colour register out of range";
    case D3DSPR_CONST:
        return source.number < D3D8_PS_CONSTANT_REGISTERS ? nullptr : "constant register out of range";
    case D3DSPR_TEXTURE:
        return source.number < D3D8_PS_TEXTURE_REGISTERS ? nullptr : "texture register out of range";
    default:
        return "register not readable in a pixel shader";
    }
}

// Co-issue pairs, the rows of the texture matrix instructions, and the
// instruction counts.
const char* CDecodePass::CheckSequence(const SShaderInstruction& instruction, const SOpcodeInfo& info) {
    const bool arithmetic = info.opcodeClass == kArithmetic;
    if (instruction.coissue) {
        if (Vertex() || !arithmetic || m_previous == nullptr || m_previous->opcodeClass != kArithmetic ||
            m_previousCoissued)
            return "co-issue needs a preceding arithmetic instruction";
    }
    const DWORD opcode = instruction.opcode;
    if (opcode == D3DSIO_TEXM3x2PAD || opcode == D3DSIO_TEXM3x3PAD) {
        const unsigned allowed = opcode == D3DSIO_TEXM3x2PAD ? 1 : 2;
        if ((m_pendingPads != 0 && m_padOpcode != opcode) || m_pendingPads >= allowed)
            return "texture matrix rows out of order";
        m_padOpcode = opcode;
        ++m_pendingPads;
    } else if (opcode == D3DSIO_TEXM3x2TEX) {
        if (m_pendingPads != 1 || m_padOpcode != D3DSIO_TEXM3x2PAD)
            return "texm3x2tex needs one texm3x2pad before it";
        m_pendingPads = 0;
    } else if (opcode == D3DSIO_TEXM3x3TEX || opcode == D3DSIO_TEXM3x3SPEC || opcode == D3DSIO_TEXM3x3VSPEC) {
        if (m_pendingPads != 2 || m_padOpcode != D3DSIO_TEXM3x3PAD)
            return "texm3x3 needs two texm3x3pad before it";
        m_pendingPads = 0;
    } else if (m_pendingPads != 0) {
        return "texture matrix rows without the completing instruction";
    }
    if (Vertex() && info.opcodeClass == kArithmetic && ++m_arithmeticCount > kMaxVertexInstructions)
        return "too many instructions";
    if (!Vertex() && arithmetic && !instruction.coissue && ++m_arithmeticCount > kMaxPixelArithmeticInstructions)
        return "too many arithmetic instructions";
    if (IsTextureAddressing(info) && ++m_textureCount > kMaxPixelTextureInstructions)
        return "too many texture instructions";
    m_previous = &info;
    m_previousCoissued = instruction.coissue;
    return nullptr;
}

bool SamplesTexture(DWORD opcode) {
    switch (opcode) {
    case D3DSIO_TEX:
    case D3DSIO_TEXBEM:
    case D3DSIO_TEXBEML:
    case D3DSIO_TEXREG2AR:
    case D3DSIO_TEXREG2GB:
    case D3DSIO_TEXM3x2TEX:
    case D3DSIO_TEXM3x3TEX:
    case D3DSIO_TEXM3x3SPEC:
    case D3DSIO_TEXM3x3VSPEC:
        return true;
    default:
        return false;
    }
}

bool ReadsTextureCoordinates(DWORD opcode) {
    return opcode >= D3DSIO_TEXCOORD && opcode <= D3DSIO_TEXM3x3VSPEC && opcode != D3DSIO_TEXREG2AR &&
           opcode != D3DSIO_TEXREG2GB;
}

void CDecodePass::Summarise(const SShaderInstruction& instruction) {
    SShaderProgram& program = m_program;
    const SShaderParameter& destination = instruction.destination;
    if (instruction.opcode == D3DSIO_DEF) {
        program.constantsDefined.set(destination.number);
        return;
    }
    const std::uint32_t destinationBit = 1u << destination.number;  // below 12 for every other register
    if (instruction.hasDestination) {
        if (destination.type == D3DSPR_TEMP)
            program.temporariesUsed |= destinationBit;
        if (Vertex()) {
            program.textureCoordinates |= destination.type == D3DSPR_TEXCRDOUT ? destinationBit : 0;
            program.colorsWritten |= destination.type == D3DSPR_ATTROUT ? destinationBit : 0;
            program.usesAddressRegister |= destination.type == D3DSPR_ADDR;
            if (destination.type == D3DSPR_RASTOUT) {
                program.writesPosition |= destination.number == D3DSRO_POSITION;
                program.writesFog |= destination.number == D3DSRO_FOG;
                program.writesPointSize |= destination.number == D3DSRO_POINT_SIZE;
            }
        } else {
            program.textureCoordinates |= ReadsTextureCoordinates(instruction.opcode) ? destinationBit : 0;
            program.texturesSampled |= SamplesTexture(instruction.opcode) ? destinationBit : 0;
        }
    }
    for (unsigned i = 0; i < instruction.sourceCount; ++i) {
        const SShaderParameter& source = instruction.sources[i];
        if (source.type == D3DSPR_TEMP || source.type == D3DSPR_INPUT) {
            const unsigned rows = i == 1 ? MatrixRows(instruction.opcode) : 1;
            const std::uint32_t bits = ((1u << rows) - 1) << source.number;
            (source.type == D3DSPR_TEMP ? program.temporariesUsed : program.inputsRead) |= bits;
        }
        program.usesAddressRegister |= source.relative;
    }
}

}  // namespace

HRESULT CShaderDecoder::Decode(const DWORD* tokens, std::size_t maxTokens, EShaderKind kind, SShaderProgram& program,
                               std::string* error) {
    program = SShaderProgram{};
    program.kind = kind;
    CDecodePass pass(tokens, maxTokens, kind, program);
    if (const char* reason = pass.Run()) {
        if (error != nullptr)
            *error = reason;
        program = SShaderProgram{};
        program.kind = kind;
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

const char* CShaderDecoder::Mnemonic(DWORD opcode) {
    const SOpcodeInfo* info = FindOpcode(opcode);
    return info != nullptr ? info->mnemonic : "?";
}
