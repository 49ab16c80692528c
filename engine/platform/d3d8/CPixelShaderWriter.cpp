#include "platform/d3d8/CPixelShaderWriter.h"

#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/CGlslWriter.h"
#include "platform/d3d8/CShaderTranslator.h"

namespace {

bool IsTextureInstruction(DWORD opcode) {
    return opcode >= D3DSIO_TEXCOORD && opcode <= D3DSIO_TEXM3x3VSPEC;
}

std::string Number(DWORD value) {
    return std::to_string(value);
}

std::string Coordinates(DWORD set) {
    return "v_texCoord" + Number(set);
}

std::string Register(DWORD type, DWORD number) {
    switch (type) {
    case D3DSPR_TEMP:
        return "r" + Number(number);
    case D3DSPR_INPUT:
        return "v" + Number(number);
    case D3DSPR_CONST:
        return "c" + Number(number);
    default:  // D3DSPR_TEXTURE
        return "t" + Number(number);
    }
}

// Source modifiers in Direct3D's order: the modifier, then the negation.
std::string Modified(const std::string& value, DWORD modifier) {
    switch (modifier << D3DSP_SRCMOD_SHIFT) {
    case D3DSPSM_NEG:
        return "(-" + value + ")";
    case D3DSPSM_BIAS:
        return "(" + value + " - 0.5)";
    case D3DSPSM_BIASNEG:
        return "(-(" + value + " - 0.5))";
    case D3DSPSM_SIGN:
        return "(2.0 * " + value + " - 1.0)";
    case D3DSPSM_SIGNNEG:
        return "(-(2.0 * " + value + " - 1.0))";
    case D3DSPSM_COMP:
        return "(1.0 - " + value + ")";
    default:
        return value;
    }
}

// _x2, _x4 and _d2 come before the clamp: to [0, 1] with _sat, else to
// ps.1.1's range [-1, 1].
std::string Result(const std::string& value, const SShaderParameter& destination) {
    std::string scaled = value;
    if (destination.shift == 1)
        scaled = "(" + value + ") * 2.0";
    if (destination.shift == 2)
        scaled = "(" + value + ") * 4.0";
    if (destination.shift == -1)
        scaled = "(" + value + ") * 0.5";
    return "clamp(" + scaled + (destination.saturate ? ", 0.0, 1.0)" : ", -1.0, 1.0)");
}

}  // namespace

CPixelShaderWriter::CPixelShaderWriter(const SShaderProgram& program, const SFixedFunctionKey& key)
    : m_program(program), m_key(key) {}

std::string CPixelShaderWriter::Write() {
    WriteDeclarations();
    m_text << "void main() {\n";
    WriteRegisters();
    const std::vector<SShaderInstruction>& instructions = m_program.instructions;
    for (std::size_t i = 0; i < instructions.size(); ++i) {
        const DWORD opcode = instructions[i].opcode;
        if (opcode == D3DSIO_NOP || opcode == D3DSIO_DEF)
            continue;
        if (IsTextureInstruction(opcode)) {
            WriteTextureInstruction(instructions[i]);
            continue;
        }
        const bool paired = i + 1 < instructions.size() && instructions[i + 1].coissue;
        WriteArithmetic(i, paired ? 2 : 1);
        i += paired ? 1 : 0;
    }
    m_text << "    vec4 current = clamp(r0, 0.0, 1.0);\n"
           << CFixedFunctionShaderGenerator::FogAndAlphaTest(m_key) << "    o_color = current;\n}\n";
    return m_text.str();
}

void CPixelShaderWriter::WriteDeclarations() {
    m_text << "#version 330 core\n" << CFixedFunctionShaderGenerator::UniformBlocks();
    m_text << "layout(std140) uniform " << CShaderTranslator::PixelConstantBlockName() << " {\n    vec4 u_psConstant["
           << Number(D3D8_PS_CONSTANT_REGISTERS) << "];\n    vec4 u_bumpMatrix[" << Number(D3D8_PS_TEXTURE_REGISTERS)
           << "];\n    vec4 u_bumpLuminance[" << Number(D3D8_PS_TEXTURE_REGISTERS) << "];\n};\n";
    const std::string interpolation = m_key.flatShading ? "flat " : "";
    m_text << interpolation << "in vec4 v_diffuse;\n" << interpolation << "in vec4 v_specular;\n";
    for (unsigned i = 0; i < D3D8_PS_TEXTURE_REGISTERS; ++i)
        if (m_program.textureCoordinates & (1u << i))
            m_text << "in vec4 " << Coordinates(i) << ";\n";
    if (m_key.fogSource != EFogSource::None)
        m_text << "in float v_fog;\n";
    for (unsigned i = 0; i < D3D8_PS_TEXTURE_REGISTERS; ++i) {
        if ((m_program.texturesSampled & (1u << i)) == 0 || StageType(i) == ETextureType::None)
            continue;
        m_text << "uniform " << (StageType(i) == ETextureType::Cube ? "samplerCube " : "sampler2D ")
               << CFixedFunctionShaderGenerator::SamplerName(i) << ";\n";
    }
    m_text << "layout(location = 0) out vec4 o_color;\n";
}

// Colour inputs arrive in 0..1; constants are held in [-1, 1] like the
// registers of ps.1.1 hardware, a def replacing the value set by the
// application.
void CPixelShaderWriter::WriteRegisters() {
    m_text << "    vec4 v0 = clamp(v_diffuse, 0.0, 1.0);\n"
              "    vec4 v1 = clamp(v_specular, 0.0, 1.0);\n"
              "    vec4 r0 = vec4(0.0);\n"
              "    vec4 r1 = vec4(0.0);\n"
              "    vec4 t0 = vec4(0.0);\n"
              "    vec4 t1 = vec4(0.0);\n"
              "    vec4 t2 = vec4(0.0);\n"
              "    vec4 t3 = vec4(0.0);\n";
    for (DWORD i = 0; i < D3D8_PS_CONSTANT_REGISTERS; ++i) {
        const std::array<float, 4>* definition = m_program.Definition(i);
        const std::string value =
            definition ? CGlslWriter::Vec4Literal(*definition) : "u_psConstant[" + Number(i) + "]";
        m_text << "    vec4 c" << Number(i) << " = clamp(" << value << ", -1.0, 1.0);\n";
    }
    // Point sprites give every stage the coordinates across the sprite.
    if (m_key.pointSprite)
        m_text << "    vec4 spriteCoordinates = vec4(gl_PointCoord, 0.0, 1.0);\n";
}

// Co-issued instructions read all their sources before either writes.
void CPixelShaderWriter::WriteArithmetic(std::size_t index, std::size_t count) {
    const SShaderInstruction* group = &m_program.instructions[index];
    for (std::size_t i = 0; i < count; ++i)
        m_text << "    // " << CGlslWriter::Disassemble(group[i], EShaderKind::Pixel) << "\n";
    if (count == 1) {
        const SShaderParameter& destination = group[0].destination;
        m_text << CGlslWriter::MaskedAssignment(Register(destination.type, destination.number), destination.writeMask,
                                                Arithmetic(group[0]));
        return;
    }
    m_text << "    {\n";
    for (std::size_t i = 0; i < count; ++i)
        m_text << "        vec4 result" << Number(i) << " = " << Arithmetic(group[i]) << ";\n";
    for (std::size_t i = 0; i < count; ++i) {
        const SShaderParameter& destination = group[i].destination;
        const std::string assignment = CGlslWriter::MaskedAssignment(Register(destination.type, destination.number),
                                                                     destination.writeMask, "result" + Number(i));
        m_text << (assignment.empty() ? "" : "    ") << assignment;
    }
    m_text << "    }\n";
}

std::string CPixelShaderWriter::Arithmetic(const SShaderInstruction& instruction) const {
    auto s = [&](unsigned index) { return Source(instruction, index); };
    std::string value;
    switch (instruction.opcode) {
    case D3DSIO_ADD:
        value = s(0) + " + " + s(1);
        break;
    case D3DSIO_SUB:
        value = s(0) + " - " + s(1);
        break;
    case D3DSIO_MUL:
        value = s(0) + " * " + s(1);
        break;
    case D3DSIO_MAD:
        value = s(0) + " * " + s(1) + " + " + s(2);
        break;
    case D3DSIO_DP3:
        value = "vec4(dot(" + s(0) + ".xyz, " + s(1) + ".xyz))";
        break;
    case D3DSIO_DP4:
        value = "vec4(dot(" + s(0) + ", " + s(1) + "))";
        break;
    case D3DSIO_LRP:
        value = "mix(" + s(2) + ", " + s(1) + ", " + s(0) + ")";
        break;
    case D3DSIO_CND:
        value = "(" + s(0) + ".a > 0.5 ? " + s(1) + " : " + s(2) + ")";
        break;
    default:  // D3DSIO_MOV
        value = s(0);
        break;
    }
    return Result(value, instruction.destination);
}

std::string CPixelShaderWriter::Source(const SShaderInstruction& instruction, unsigned index) const {
    const SShaderParameter& source = instruction.sources[index];
    return Modified(Register(source.type, source.number) + CGlslWriter::SwizzleSuffix(source.swizzle),
                    source.sourceModifier);
}

ETextureType CPixelShaderWriter::StageType(DWORD stage) const {
    return stage < D3D8_PS_TEXTURE_REGISTERS ? m_key.stages[stage].textureType : ETextureType::None;
}

// A stage without a texture samples as opaque black.
std::string CPixelShaderWriter::Sample(DWORD stage, const std::string& coordinates2D,
                                       const std::string& coordinates3D) const {
    const std::string sampler = CFixedFunctionShaderGenerator::SamplerName(stage);
    switch (StageType(stage)) {
    case ETextureType::Texture2D:
        return "clamp(texture(" + sampler + ", " + coordinates2D + "), -1.0, 1.0)";
    case ETextureType::Cube:
        return "clamp(texture(" + sampler + ", " + coordinates3D + "), -1.0, 1.0)";
    default:
        return "vec4(0.0, 0.0, 0.0, 1.0)";
    }
}

void CPixelShaderWriter::WriteTextureInstruction(const SShaderInstruction& instruction) {
    const DWORD n = instruction.destination.number;
    const std::string destination = "t" + Number(n);
    const std::string coordinates = m_key.pointSprite ? "spriteCoordinates" : Coordinates(n);
    const std::string source = instruction.sourceCount > 0 ? Source(instruction, 0) : "";
    m_text << "    // " << CGlslWriter::Disassemble(instruction, EShaderKind::Pixel) << "\n";
    switch (instruction.opcode) {
    case D3DSIO_TEXCOORD:
        m_text << "    " << destination << " = vec4(clamp(" << coordinates << ".xyz, 0.0, 1.0), 1.0);\n";
        break;
    case D3DSIO_TEXKILL:
        m_text << "    if (any(lessThan(" << coordinates << ".xyz, vec3(0.0)))) discard;\n";
        break;
    case D3DSIO_TEX:
        m_text << "    " << destination << " = " << Sample(n, coordinates + ".xy", coordinates + ".xyz") << ";\n";
        break;
    case D3DSIO_TEXBEM:
    case D3DSIO_TEXBEML: {
        // (u, v) += the stage's 2x2 matrix applied to the (du, dv) of the source.
        const std::string matrix = "u_bumpMatrix[" + Number(n) + "]";
        const std::string luminance = "u_bumpLuminance[" + Number(n) + "]";
        m_text << "    {\n        vec2 coordinates = " << coordinates << ".xy + vec2(" << matrix << ".x * " << source
               << ".r + " << matrix << ".z * " << source << ".g, " << matrix << ".y * " << source << ".r + " << matrix
               << ".w * " << source << ".g);\n";
        if (instruction.opcode == D3DSIO_TEXBEML)
            m_text << "        float luminance = clamp(" << source << ".b * " << luminance << ".x + " << luminance
                   << ".y, 0.0, 1.0);\n";
        m_text << "        " << destination << " = "
               << Sample(n, "coordinates", "vec3(coordinates, " + coordinates + ".z)") << ";\n";
        if (instruction.opcode == D3DSIO_TEXBEML)
            m_text << "        " << destination << ".rgb *= luminance;\n";
        m_text << "    }\n";
        break;
    }
    case D3DSIO_TEXREG2AR:
        m_text << "    " << destination << " = "
               << Sample(n, "vec2(" + source + ".a, " + source + ".r)", "vec3(" + source + ".a, " + source + ".r, 0.0)")
               << ";\n";
        break;
    case D3DSIO_TEXREG2GB:
        m_text << "    " << destination << " = "
               << Sample(n, "vec2(" + source + ".g, " + source + ".b)", "vec3(" + source + ".g, " + source + ".b, 0.0)")
               << ";\n";
        break;
    default: {
        // The texture matrix instructions: one row per instruction, the dot
        // product of its coordinates with the source's colour.
        const std::string row = "dot(" + coordinates + ".xyz, " + source + ".rgb)";
        WriteMatrixInstruction(instruction, row);
        break;
    }
    }
}

void CPixelShaderWriter::WriteMatrixInstruction(const SShaderInstruction& instruction, const std::string& row) {
    const DWORD n = instruction.destination.number;
    const std::string destination = "t" + Number(n);
    if (instruction.opcode == D3DSIO_TEXM3x2PAD || instruction.opcode == D3DSIO_TEXM3x3PAD) {
        const std::string name = "row" + Number(static_cast<DWORD>(&instruction - m_program.instructions.data()));
        m_text << "    float " << name << " = " << row << ";\n";
        m_rows.push_back({name, n});
        return;
    }
    m_text << "    {\n";
    if (instruction.opcode == D3DSIO_TEXM3x2TEX) {
        m_text << "        vec2 coordinates = vec2(" << m_rows[0].value << ", " << row << ");\n";
        m_text << "        " << destination << " = " << Sample(n, "coordinates", "vec3(coordinates, 0.0)") << ";\n";
    } else {
        m_text << "        vec3 coordinates = vec3(" << m_rows[0].value << ", " << m_rows[1].value << ", " << row
               << ");\n";
        if (instruction.opcode != D3DSIO_TEXM3x3TEX) {
            // Reflect the eye vector about the normal the matrix produced.
            const std::string eye = instruction.opcode == D3DSIO_TEXM3x3SPEC
                                        ? Source(instruction, 1) + ".xyz"
                                        : "vec3(" + Coordinates(m_rows[0].coordinates) + ".w, " +
                                              Coordinates(m_rows[1].coordinates) + ".w, " + Coordinates(n) + ".w)";
            m_text << "        vec3 eye = " << eye << ";\n"
                   << "        coordinates = 2.0 * coordinates * dot(coordinates, eye) / "
                      "max(dot(coordinates, coordinates), 1e-30) - eye;\n";
        }
        m_text << "        " << destination << " = " << Sample(n, "coordinates.xy", "coordinates") << ";\n";
    }
    m_text << "    }\n";
    m_rows.clear();
}
