#include "platform/d3d8/CGlslWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/d3d8/CShaderDecoder.h"

namespace {

const char kComponents[] = "xyzw";

std::string Hex(std::uint32_t bits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08Xu", bits);
    return text;
}

std::string RegisterName(const SShaderParameter& parameter, EShaderKind kind) {
    const std::string number = std::to_string(parameter.number);
    switch (parameter.type) {
    case D3DSPR_TEMP:
        return "r" + number;
    case D3DSPR_INPUT:
        return "v" + number;
    case D3DSPR_CONST:
        return parameter.relative ? "c[a0.x + " + number + "]" : "c" + number;
    case D3DSPR_ADDR:  // D3DSPR_TEXTURE in pixel shaders
        return kind == EShaderKind::Vertex ? "a" + number : "t" + number;
    case D3DSPR_RASTOUT: {
        static const char* const kNames[] = {"oPos", "oFog", "oPts"};
        return parameter.number < 3 ? kNames[parameter.number] : "o?";
    }
    case D3DSPR_ATTROUT:
        return "oD" + number;
    case D3DSPR_TEXCRDOUT:
        return "oT" + number;
    default:
        return "?";
    }
}

std::string SourceText(const SShaderParameter& source, EShaderKind kind) {
    std::string name = RegisterName(source, kind) + CGlslWriter::SwizzleSuffix(source.swizzle);
    switch (source.sourceModifier << D3DSP_SRCMOD_SHIFT) {
    case D3DSPSM_NEG:
        return "-" + name;
    case D3DSPSM_BIAS:
        return name + "_bias";
    case D3DSPSM_BIASNEG:
        return "-" + name + "_bias";
    case D3DSPSM_SIGN:
        return name + "_bx2";
    case D3DSPSM_SIGNNEG:
        return "-" + name + "_bx2";
    case D3DSPSM_COMP:
        return "1-" + name;
    default:
        return name;
    }
}

std::string DestinationText(const SShaderInstruction& instruction, EShaderKind kind) {
    const SShaderParameter& destination = instruction.destination;
    return RegisterName(destination, kind) + CGlslWriter::MaskSuffix(destination.writeMask);
}

std::string ModifierSuffix(const SShaderParameter& destination) {
    std::string suffix;
    if (destination.shift == 1)
        suffix += "_x2";
    if (destination.shift == 2)
        suffix += "_x4";
    if (destination.shift == -1)
        suffix += "_d2";
    if (destination.saturate)
        suffix += "_sat";
    return suffix;
}

}  // namespace

std::string CGlslWriter::FloatLiteral(float value) {
    if (!std::isfinite(value) || (value != 0.0f && !std::isnormal(value))) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        return "uintBitsToFloat(" + Hex(bits) + ")";
    }
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof(text), value);
    std::string literal(text, result.ptr);
    if (literal.find_first_of(".e") == std::string::npos)
        literal += ".0";
    return literal;
}

std::string CGlslWriter::Vec4Literal(const std::array<float, 4>& values) {
    return "vec4(" + FloatLiteral(values[0]) + ", " + FloatLiteral(values[1]) + ", " + FloatLiteral(values[2]) + ", " +
           FloatLiteral(values[3]) + ")";
}

std::string CGlslWriter::SwizzleSuffix(DWORD swizzle) {
    if ((swizzle & 0xFF) == 0xE4)
        return "";
    std::string suffix = ".";
    for (unsigned i = 0; i < 4; ++i)
        suffix += kComponents[(swizzle >> (2 * i)) & 3];
    return suffix;
}

std::string CGlslWriter::MaskSuffix(DWORD writeMask) {
    if ((writeMask & 0xF) == 0xF)
        return "";
    std::string suffix = ".";
    for (unsigned i = 0; i < 4; ++i)
        if (writeMask & (1u << i))
            suffix += kComponents[i];
    return suffix;
}

std::string CGlslWriter::MaskedAssignment(const std::string& target, DWORD writeMask, const std::string& value) {
    if ((writeMask & 0xF) == 0)
        return "";
    const std::string mask = MaskSuffix(writeMask);
    if (mask.empty())
        return "    " + target + " = " + value + ";\n";
    return "    " + target + mask + " = (" + value + ")" + mask + ";\n";
}

std::string CGlslWriter::Disassemble(const SShaderInstruction& instruction, EShaderKind kind) {
    std::string text = instruction.coissue ? "+" : "";
    text += CShaderDecoder::Mnemonic(instruction.opcode);
    if (instruction.hasDestination)
        text += ModifierSuffix(instruction.destination) + " " + DestinationText(instruction, kind);
    if (instruction.opcode == D3DSIO_DEF) {
        for (float value : instruction.values)
            text += ", " + FloatLiteral(value);
        return text;
    }
    for (unsigned i = 0; i < instruction.sourceCount; ++i)
        text += ", " + SourceText(instruction.sources[i], kind);
    return text;
}
