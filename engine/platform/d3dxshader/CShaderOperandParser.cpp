#include "platform/d3dxshader/CShaderOperandParser.h"

#include <cctype>
#include <tuple>
#include <utility>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/CShaderSyntaxError.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Joined(const std::vector<SShaderToken>& tokens) {
    std::string text;
    for (const SShaderToken& token : tokens) {
        text += token.text;
    }
    return text;
}

// "t0_bx2" -> "t0" and "bx2"; a name without '_' has an empty suffix.
std::pair<std::string, std::string> SplitSuffix(const std::string& name) {
    const size_t underscore = name.find('_');
    if (underscore == std::string::npos) {
        return {name, ""};
    }
    return {name.substr(0, underscore), name.substr(underscore + 1)};
}

int ComponentOf(char letter) {
    switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'x':
    case 'r':
        return 0;
    case 'y':
    case 'g':
        return 1;
    case 'z':
    case 'b':
        return 2;
    case 'w':
    case 'a':
        return 3;
    default:
        return -1;
    }
}

bool At(const std::vector<SShaderToken>& tokens, size_t pos, EShaderToken type) {
    return pos < tokens.size() && tokens[pos].type == type;
}

const SShaderToken& Expect(const std::vector<SShaderToken>& tokens, size_t pos, EShaderToken type, const char* what) {
    if (!At(tokens, pos, type)) {
        const std::string found = pos < tokens.size() ? "'" + tokens[pos].text + "'" : "nothing";
        throw CShaderSyntaxError(std::string("expected ") + what + " in '" + Joined(tokens) + "', found " + found);
    }
    return tokens[pos];
}

void ExpectEnd(const std::vector<SShaderToken>& tokens, size_t pos) {
    if (pos < tokens.size()) {
        throw CShaderSyntaxError("unexpected '" + tokens[pos].text + "' after '" +
                                 Joined(std::vector<SShaderToken>(tokens.begin(), tokens.begin() + pos)) + "'");
    }
}

DWORD ParseOffset(const std::string& digits, const SShaderRegisterClass& constants) {
    if (digits.find_first_not_of("0123456789") != std::string::npos) {
        throw CShaderSyntaxError("relative address offset '" + digits + "' is not a whole number");
    }
    DWORD offset = 0;
    for (const char digit : digits) {
        offset = offset * 10 + static_cast<DWORD>(digit - '0');
        if (offset >= constants.count) {
            throw CShaderSyntaxError("relative address offset " + digits + " is out of range (" +
                                     CShaderRegisterTable::Range(constants) + ")");
        }
    }
    return offset;
}

// pos is at "a0"; vertex shader 1.1 addresses with its x component only.
void ExpectAddressComponent(const std::vector<SShaderToken>& tokens, size_t pos) {
    if (!At(tokens, pos + 1, EShaderToken::Dot) || !At(tokens, pos + 2, EShaderToken::Name) ||
        Lower(tokens[pos + 2].text) != "x") {
        throw CShaderSyntaxError("relative addressing reads a0.x, not '" + Joined(tokens) + "'");
    }
}

}  // namespace

SShaderOperand CShaderOperandParser::ParseDestination(const std::vector<SShaderToken>& tokens) const {
    const std::string& name = Expect(tokens, 0, EShaderToken::Name, "a destination register").text;
    const auto [registerName, suffix] = SplitSuffix(name);
    if (!suffix.empty()) {
        throw CShaderSyntaxError("destination '" + name + "' cannot take the modifier '_" + suffix + "'");
    }
    SShaderOperand operand;
    operand.reg = m_registers.Resolve(registerName);
    operand.writeMask = D3DSP_WRITEMASK_ALL;
    operand.swizzle = D3DSP_NOSWIZZLE;
    operand.modifier = D3DSPSM_NONE;
    operand.text = Joined(tokens);
    size_t pos = 1;
    if (At(tokens, pos, EShaderToken::Dot)) {
        operand.writeMask = WriteMask(Expect(tokens, pos + 1, EShaderToken::Name, "a write mask").text);
        pos += 2;
    }
    ExpectEnd(tokens, pos);
    return operand;
}

SShaderOperand CShaderOperandParser::ParseSource(const std::vector<SShaderToken>& tokens) const {
    size_t pos = 0;
    EPrefix prefix = EPrefix::None;
    if (At(tokens, 0, EShaderToken::Minus)) {
        prefix = EPrefix::Negate;
        pos = 1;
    } else if (At(tokens, 0, EShaderToken::Number) && tokens[0].text == "1" && At(tokens, 1, EShaderToken::Minus)) {
        prefix = EPrefix::Complement;
        pos = 2;
    }
    const std::string& name = Expect(tokens, pos, EShaderToken::Name, "a source register").text;
    SShaderOperand operand;
    std::string suffix;
    if (Lower(name) == "c" && At(tokens, pos + 1, EShaderToken::OpenBracket)) {
        operand = ParseRelative(tokens, pos);
    } else {
        std::string registerName;
        std::tie(registerName, suffix) = SplitSuffix(name);
        operand.reg = m_registers.Resolve(registerName);
        ++pos;
    }
    operand.writeMask = D3DSP_WRITEMASK_ALL;
    operand.swizzle = D3DSP_NOSWIZZLE;
    if (At(tokens, pos, EShaderToken::Dot)) {
        const auto [letters, swizzleSuffix] =
            SplitSuffix(Expect(tokens, pos + 1, EShaderToken::Name, "a swizzle").text);
        if (!swizzleSuffix.empty() && !suffix.empty()) {
            throw CShaderSyntaxError("source '" + Joined(tokens) + "' has two modifiers");
        }
        suffix += swizzleSuffix;
        operand.swizzle = Swizzle(letters);
        pos += 2;
    }
    ExpectEnd(tokens, pos);
    operand.modifier = SourceModifier(prefix, suffix);
    operand.text = Joined(tokens);
    return operand;
}

// c[a0.x + n], c[n + a0.x] or c[a0.x]; pos is at the "c" and ends after "]".
SShaderOperand CShaderOperandParser::ParseRelative(const std::vector<SShaderToken>& tokens, size_t& pos) const {
    const SShaderRegisterClass* constants = m_registers.FindNumbered("c");
    if (IsPixel() || constants == nullptr) {
        throw CShaderSyntaxError("relative addressing '" + Joined(tokens) + "' is only available in vertex shaders");
    }
    SShaderOperand operand;
    operand.reg.registerClass = constants;
    operand.relative = true;
    bool sawAddress = false;
    bool sawOffset = false;
    for (pos += 2;; ++pos) {
        if (pos >= tokens.size()) {
            throw CShaderSyntaxError("relative address '" + Joined(tokens) + "' lacks its ']'");
        }
        const SShaderToken& term = tokens[pos];
        if (term.type == EShaderToken::Number && !sawOffset) {
            operand.reg.number = ParseOffset(term.text, *constants);
            sawOffset = true;
            ++pos;
        } else if (term.type == EShaderToken::Name && Lower(term.text) == "a0" && !sawAddress) {
            ExpectAddressComponent(tokens, pos);
            sawAddress = true;
            pos += 3;
        } else {
            throw CShaderSyntaxError("unexpected '" + term.text + "' in relative address '" + Joined(tokens) + "'");
        }
        if (pos >= tokens.size()) {
            throw CShaderSyntaxError("relative address '" + Joined(tokens) + "' lacks its ']'");
        }
        if (tokens[pos].type == EShaderToken::CloseBracket) {
            break;
        }
        Expect(tokens, pos, EShaderToken::Plus, "'+' or ']'");
    }
    ++pos;
    if (!sawAddress) {
        throw CShaderSyntaxError("relative address '" + Joined(tokens) + "' does not read a0.x");
    }
    operand.reg.name = "c[" + std::to_string(operand.reg.number) + "]";
    return operand;
}

DWORD CShaderOperandParser::WriteMask(const std::string& letters) const {
    DWORD mask = 0;
    int previous = -1;
    for (const char letter : letters) {
        const int component = ComponentOf(letter);
        if (component <= previous) {
            throw CShaderSyntaxError("bad write mask '." + letters + "'");
        }
        mask |= D3DSP_WRITEMASK_0 << component;
        previous = component;
    }
    const bool pixelMask = mask == D3DSP_WRITEMASK_ALL || mask == D3DSP_WRITEMASK_3 ||
                           mask == (D3DSP_WRITEMASK_0 | D3DSP_WRITEMASK_1 | D3DSP_WRITEMASK_2);
    if (IsPixel() && !pixelMask) {
        throw CShaderSyntaxError("write mask '." + letters + "' is not available in pixel shaders (.rgb, .a, .rgba)");
    }
    return mask;
}

// Two bits per component; a short swizzle repeats its last letter.
DWORD CShaderOperandParser::Swizzle(const std::string& letters) const {
    if (letters.empty() || letters.size() > 4) {
        throw CShaderSyntaxError("bad swizzle '." + letters + "'");
    }
    DWORD components[4];
    for (size_t i = 0; i < 4; ++i) {
        const int component = ComponentOf(letters[i < letters.size() ? i : letters.size() - 1]);
        if (component < 0) {
            throw CShaderSyntaxError("bad swizzle '." + letters + "'");
        }
        components[i] = static_cast<DWORD>(component);
    }
    const DWORD swizzle = D3DSWIZZLE(components[0], components[1], components[2], components[3]);
    if (IsPixel() && swizzle != D3DSP_NOSWIZZLE && swizzle != D3DSP_REPLICATEALPHA && swizzle != D3DSP_REPLICATEBLUE) {
        throw CShaderSyntaxError("swizzle '." + letters + "' is not available in pixel shaders (.a, .b)");
    }
    return swizzle;
}

DWORD CShaderOperandParser::SourceModifier(EPrefix prefix, const std::string& suffix) const {
    const std::string lower = Lower(suffix);
    if (!IsPixel() && (prefix == EPrefix::Complement || !lower.empty())) {
        const std::string shown = prefix == EPrefix::Complement ? "1-" : "_" + suffix;
        throw CShaderSyntaxError("source modifier '" + shown + "' is not available in vertex shaders");
    }
    if (lower.empty()) {
        return prefix == EPrefix::None ? D3DSPSM_NONE : prefix == EPrefix::Negate ? D3DSPSM_NEG : D3DSPSM_COMP;
    }
    if (lower != "bias" && lower != "bx2") {
        throw CShaderSyntaxError("unknown source modifier '_" + suffix + "'");
    }
    if (prefix == EPrefix::Complement) {
        throw CShaderSyntaxError("'1-' cannot be combined with '_" + suffix + "'");
    }
    const bool negate = prefix == EPrefix::Negate;
    if (lower == "bias") {
        return negate ? D3DSPSM_BIASNEG : D3DSPSM_BIAS;
    }
    return negate ? D3DSPSM_SIGNNEG : D3DSPSM_SIGN;
}
