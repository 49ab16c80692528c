#include "platform/d3d8/CVertexShaderWriter.h"

#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/CGlslWriter.h"
#include "platform/d3d8/CShaderTranslator.h"

namespace {

// The scalar instructions and macros with edge cases GLSL's built-ins do not
// give: rcp and rsq keep 1 exact and give +infinity for 0, log gives
// -infinity for 0, logp splits exponent and mantissa bit-exactly.
const char* kHelpers = R"(float d3d_infinity() {
    return uintBitsToFloat(0x7F800000u);
}
vec4 d3d_rcp(float x) {
    if (x == 1.0) return vec4(1.0);
    if (x == 0.0) return vec4(d3d_infinity());
    return vec4(1.0 / x);
}
vec4 d3d_rsq(float x) {
    x = abs(x);
    if (x == 1.0) return vec4(1.0);
    if (x == 0.0) return vec4(d3d_infinity());
    return vec4(inversesqrt(x));
}
vec4 d3d_log(float x) {
    x = abs(x);
    return vec4(x != 0.0 ? log2(x) : -d3d_infinity());
}
vec4 d3d_logp(float x) {
    x = abs(x);
    if (x == 0.0) return vec4(-d3d_infinity(), 1.0, -d3d_infinity(), 1.0);
    uint bits = floatBitsToUint(x);
    float exponent = float(int(bits >> 23) - 127);
    float mantissa = uintBitsToFloat((bits & 0x007FFFFFu) | 0x3F800000u);
    return vec4(exponent, mantissa, log2(x), 1.0);
}
vec4 d3d_expp(float x) {
    float whole = floor(x);
    return vec4(exp2(whole), x - whole, exp2(x), 1.0);
}
vec4 d3d_lit(vec4 s) {
    float power = clamp(s.w, -127.9961, 127.9961);
    float specular = (s.x > 0.0 && s.y > 0.0) ? pow(s.y, power) : 0.0;
    return vec4(1.0, max(s.x, 0.0), specular, 1.0);
}
vec4 d3d_dst(vec4 a, vec4 b) {
    return vec4(1.0, a.y * b.y, a.z, b.w);
}
)";

// Components the matrix macros produce.
DWORD MatrixMask(DWORD opcode) {
    switch (opcode) {
    case D3DSIO_M4x3:
    case D3DSIO_M3x3:
        return 0x7;
    case D3DSIO_M3x2:
        return 0x3;
    default:
        return 0xF;
    }
}

}  // namespace

CVertexShaderWriter::CVertexShaderWriter(const SShaderProgram& program, const SFixedFunctionKey& key)
    : m_program(program), m_key(key) {}

std::string CVertexShaderWriter::Write() {
    WriteDeclarations();
    m_text << "void main() {\n";
    WriteRegisters();
    for (const SShaderInstruction& instruction : m_program.instructions)
        WriteInstruction(instruction);
    WriteOutputs();
    m_text << "}\n";
    return m_text.str();
}

void CVertexShaderWriter::WriteDeclarations() {
    m_text << "#version 330 core\n" << CFixedFunctionShaderGenerator::UniformBlocks();
    m_text << "layout(std140) uniform " << CShaderTranslator::VertexConstantBlockName() << " {\n    vec4 u_vsConstant["
           << std::to_string(D3D8_VS_CONSTANT_REGISTERS) << "];\n};\n";
    for (unsigned reg = 0; reg < D3D8_VS_INPUT_REGISTERS; ++reg)
        if (m_program.inputsRead & (1u << reg))
            m_text << "layout(location = " << std::to_string(reg) << ") in vec4 "
                   << CShaderTranslator::AttributeName(reg) << ";\n";
    const std::string interpolation = m_key.flatShading ? "flat " : "";
    m_text << interpolation << "out vec4 v_diffuse;\n" << interpolation << "out vec4 v_specular;\n";
    for (unsigned i = 0; i < D3D8_VS_TEXCOORD_OUTPUTS; ++i)
        m_text << "out vec4 v_texCoord" << std::to_string(i) << ";\n";
    m_text << "out float v_fog;\n" << kHelpers;
    if (m_program.usesAddressRegister)
        WriteConstantFunction();
}

// Relative reads go through a function: a def wins over the uniform block,
// and an index outside c0-c95 reads zero.
void CVertexShaderWriter::WriteConstantFunction() {
    m_text << "vec4 d3d_constant(int index) {\n";
    for (unsigned i = 0; i < D3D8_VS_CONSTANT_REGISTERS; ++i)
        if (m_program.constantsDefined.test(i))
            m_text << "    if (index == " << std::to_string(i) << ") return "
                   << CGlslWriter::Vec4Literal(*m_program.Definition(i)) << ";\n";
    m_text << "    return (index >= 0 && index < " << std::to_string(D3D8_VS_CONSTANT_REGISTERS)
           << ") ? u_vsConstant[index] : vec4(0.0);\n}\n";
}

void CVertexShaderWriter::WriteRegisters() {
    for (unsigned i = 0; i < D3D8_VS_TEMP_REGISTERS; ++i)
        if (m_program.temporariesUsed & (1u << i))
            m_text << "    vec4 r" << std::to_string(i) << " = vec4(0.0);\n";
    if (m_program.usesAddressRegister)
        m_text << "    int a0 = 0;\n";
    for (unsigned i = 0; i < D3D8_VS_CONSTANT_REGISTERS; ++i)
        if (m_program.constantsDefined.test(i))
            m_text << "    vec4 c" << std::to_string(i) << " = " << CGlslWriter::Vec4Literal(*m_program.Definition(i))
                   << ";\n";
    // Unwritten outputs: the diffuse colour is white and the specular one
    // black, as for a fixed-function vertex without colours, so that the
    // texture stages modulating by the diffuse colour show the texture;
    // texture coordinates are (0, 0, 0, 1).
    m_text << "    vec4 oPos = vec4(0.0, 0.0, 0.0, 1.0);\n"
              "    vec4 oFog = vec4(0.0);\n"
              "    vec4 oPts = vec4(0.0);\n"
              "    vec4 oD0 = vec4(1.0);\n"
              "    vec4 oD1 = vec4(0.0);\n";
    for (unsigned i = 0; i < D3D8_VS_TEXCOORD_OUTPUTS; ++i)
        if (m_program.textureCoordinates & (1u << i))
            m_text << "    vec4 oT" << std::to_string(i) << " = vec4(0.0, 0.0, 0.0, 1.0);\n";
}

void CVertexShaderWriter::WriteInstruction(const SShaderInstruction& instruction) {
    if (instruction.opcode == D3DSIO_NOP || instruction.opcode == D3DSIO_DEF)
        return;
    m_text << "    // " << CGlslWriter::Disassemble(instruction, EShaderKind::Vertex) << "\n";
    const SShaderParameter& destination = instruction.destination;
    if (destination.type == D3DSPR_ADDR) {
        m_text << "    a0 = int(floor((" << Source(instruction, 0) << ").x));\n";
        return;
    }
    m_text << CGlslWriter::MaskedAssignment(
        DestinationName(destination), destination.writeMask & MatrixMask(instruction.opcode), Operation(instruction));
}

std::string CVertexShaderWriter::Operation(const SShaderInstruction& instruction) const {
    auto s = [&](unsigned index) { return Source(instruction, index); };
    switch (instruction.opcode) {
    case D3DSIO_MOV:
        return s(0);
    case D3DSIO_ADD:
        return s(0) + " + " + s(1);
    case D3DSIO_SUB:
        return s(0) + " - " + s(1);
    case D3DSIO_MUL:
        return s(0) + " * " + s(1);
    case D3DSIO_MAD:
        return s(0) + " * " + s(1) + " + " + s(2);
    case D3DSIO_RCP:
        return "d3d_rcp(" + s(0) + ".w)";
    case D3DSIO_RSQ:
        return "d3d_rsq(" + s(0) + ".w)";
    case D3DSIO_DP3:
        return "vec4(dot(" + s(0) + ".xyz, " + s(1) + ".xyz))";
    case D3DSIO_DP4:
        return "vec4(dot(" + s(0) + ", " + s(1) + "))";
    case D3DSIO_MIN:
        return "min(" + s(0) + ", " + s(1) + ")";
    case D3DSIO_MAX:
        return "max(" + s(0) + ", " + s(1) + ")";
    case D3DSIO_SLT:
        return "vec4(lessThan(" + s(0) + ", " + s(1) + "))";
    case D3DSIO_SGE:
        return "vec4(greaterThanEqual(" + s(0) + ", " + s(1) + "))";
    case D3DSIO_EXP:
        return "vec4(exp2(" + s(0) + ".w))";
    case D3DSIO_EXPP:
        return "d3d_expp(" + s(0) + ".w)";
    case D3DSIO_LOG:
        return "d3d_log(" + s(0) + ".w)";
    case D3DSIO_LOGP:
        return "d3d_logp(" + s(0) + ".w)";
    case D3DSIO_LIT:
        return "d3d_lit(" + s(0) + ")";
    case D3DSIO_DST:
        return "d3d_dst(" + s(0) + ", " + s(1) + ")";
    case D3DSIO_LRP:
        return "mix(" + s(2) + ", " + s(1) + ", " + s(0) + ")";
    case D3DSIO_FRC:
        return s(0) + " - floor(" + s(0) + ")";
    case D3DSIO_M4x4:
        return MatrixOperation(instruction, 4, false);
    case D3DSIO_M4x3:
        return MatrixOperation(instruction, 3, false);
    case D3DSIO_M3x4:
        return MatrixOperation(instruction, 4, true);
    case D3DSIO_M3x3:
        return MatrixOperation(instruction, 3, true);
    case D3DSIO_M3x2:
        return MatrixOperation(instruction, 2, true);
    default:
        return "vec4(0.0)";
    }
}

// dp3 or dp4 of the first source with `rows` consecutive registers from the
// second; the components not produced stay zero (the write mask drops them).
std::string CVertexShaderWriter::MatrixOperation(const SShaderInstruction& instruction, unsigned rows,
                                                 bool threeComponents) const {
    const std::string vector = Source(instruction, 0) + (threeComponents ? ".xyz" : "");
    std::string text = "vec4(";
    for (unsigned row = 0; row < 4; ++row) {
        if (row > 0)
            text += ", ";
        if (row < rows)
            text += "dot(" + vector + ", " + Source(instruction, 1, row) + (threeComponents ? ".xyz" : "") + ")";
        else
            text += "0.0";
    }
    return text + ")";
}

std::string CVertexShaderWriter::Source(const SShaderInstruction& instruction, unsigned index, unsigned row) const {
    const SShaderParameter& source = instruction.sources[index];
    const DWORD number = source.number + row;
    std::string name;
    switch (source.type) {
    case D3DSPR_TEMP:
        name = "r" + std::to_string(number);
        break;
    case D3DSPR_INPUT:
        name = CShaderTranslator::AttributeName(number);
        break;
    default:  // D3DSPR_CONST
        if (source.relative)
            name = "d3d_constant(a0 + " + std::to_string(number) + ")";
        else if (m_program.constantsDefined.test(number))
            name = "c" + std::to_string(number);
        else
            name = "u_vsConstant[" + std::to_string(number) + "]";
        break;
    }
    name += CGlslWriter::SwizzleSuffix(source.swizzle);
    if (source.sourceModifier == (D3DSPSM_NEG >> D3DSP_SRCMOD_SHIFT))
        return "(-" + name + ")";
    return name;
}

std::string CVertexShaderWriter::DestinationName(const SShaderParameter& destination) const {
    const std::string number = std::to_string(destination.number);
    switch (destination.type) {
    case D3DSPR_TEMP:
        return "r" + number;
    case D3DSPR_RASTOUT:
        return destination.number == D3DSRO_POSITION ? "oPos" : (destination.number == D3DSRO_FOG ? "oFog" : "oPts");
    case D3DSPR_ATTROUT:
        return "oD" + number;
    default:  // D3DSPR_TEXCRDOUT
        return "oT" + number;
    }
}

void CVertexShaderWriter::WriteOutputs() {
    // Direct3D saturates the colour outputs.
    m_text << "    vec4 clip = oPos;\n"
              "    v_diffuse = clamp(oD0, 0.0, 1.0);\n"
              "    v_specular = clamp(oD1, 0.0, 1.0);\n";
    for (unsigned i = 0; i < D3D8_VS_TEXCOORD_OUTPUTS; ++i) {
        const std::string n = std::to_string(i);
        m_text << "    v_texCoord" << n << " = "
               << ((m_program.textureCoordinates & (1u << i)) ? "oT" + n : "vec4(0.0, 0.0, 0.0, 1.0)") << ";\n";
    }
    switch (m_key.fogSource) {
    case EFogSource::None:
        m_text << "    v_fog = 1.0;\n";
        break;
    case EFogSource::PixelDepth:
        m_text << "    v_fog = clip.w;\n";
        break;
    default:
        if (m_program.writesFog)
            m_text << "    v_fog = oFog.x;\n";
        else
            m_text << "    v_fog = clamp(" << CFixedFunctionShaderGenerator::FogFactor(m_key.fogFormula, "clip.w")
                   << ", 0.0, 1.0);\n";
        break;
    }
    m_text << (m_program.writesPointSize ? "    gl_PointSize = max(oPts.x, 1.0);\n" : "    gl_PointSize = 1.0;\n");
    m_text << CFixedFunctionShaderGenerator::PositionOutput(m_key);
}
