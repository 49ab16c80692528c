#include "platform/d3dxshader/CShaderStatementParser.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <set>
#include <tuple>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/CShaderSyntaxError.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Quoted(const SShaderMnemonic& instruction) {
    return std::string("'") + instruction.name + "'";
}

std::string Joined(const std::vector<SShaderToken>& tokens) {
    std::string text;
    for (const SShaderToken& token : tokens) {
        text += token.text;
    }
    return text;
}

std::string OperandCount(size_t count) {
    return std::to_string(count) + (count == 1 ? " operand" : " operands");
}

// A def value: an optional sign and a number, nothing else.
DWORD ParseValue(const std::vector<SShaderToken>& tokens) {
    size_t pos = 0;
    std::string text;
    if (!tokens.empty() && (tokens[0].type == EShaderToken::Minus || tokens[0].type == EShaderToken::Plus)) {
        text = tokens[0].type == EShaderToken::Minus ? "-" : "";
        pos = 1;
    }
    if (tokens.size() != pos + 1 || tokens[pos].type != EShaderToken::Number) {
        throw CShaderSyntaxError("'" + Joined(tokens) + "' is not a number");
    }
    text += tokens[pos].text;
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw CShaderSyntaxError("'" + Joined(tokens) + "' is not a number a constant can hold");
    }
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

SShaderStatement CShaderStatementParser::Parse(const std::vector<SShaderToken>& tokens) const {
    SShaderStatement statement;
    size_t pos = 0;
    if (tokens[0].type == EShaderToken::Plus) {
        if (m_registers.Kind() == EShaderKind::Vertex) {
            throw CShaderSyntaxError("co-issue ('+') is only available in pixel shaders");
        }
        statement.coissue = true;
        pos = 1;
    }
    if (pos >= tokens.size() || tokens[pos].type != EShaderToken::Name) {
        const std::string found = pos < tokens.size() ? "'" + tokens[pos].text + "'" : "nothing";
        throw CShaderSyntaxError("expected an instruction, found " + found);
    }
    const SShaderMnemonic& instruction = ParseMnemonic(tokens[pos].text, statement);
    const auto operands = SplitOperands(tokens, pos + 1);
    if (instruction.form == EShaderInstructionForm::Define) {
        ParseDefinition(operands, statement);
    } else {
        ParseOperands(operands, statement);
    }
    return statement;
}

// "mad_x2_sat": the instruction, then its modifiers in any order.
const SShaderMnemonic& CShaderStatementParser::ParseMnemonic(const std::string& mnemonic,
                                                             SShaderStatement& statement) const {
    const std::string lower = Lower(mnemonic);
    const size_t underscore = lower.find('_');
    const SShaderMnemonic* instruction = CShaderInstructionTable::Find(lower.substr(0, underscore));
    if (instruction == nullptr) {
        throw CShaderSyntaxError("unknown instruction '" + mnemonic + "'");
    }
    if (!instruction->IsIn(m_registers.Kind())) {
        const char* kind = m_registers.Kind() == EShaderKind::Vertex ? "vertex" : "pixel";
        throw CShaderSyntaxError("instruction " + Quoted(*instruction) + " is not available in " + kind + " shaders");
    }
    statement.instruction = instruction;
    for (size_t start = underscore; start != std::string::npos;) {
        const size_t next = lower.find('_', start + 1);
        const size_t length = next == std::string::npos ? std::string::npos : next - start - 1;
        ApplyModifier(mnemonic, lower.substr(start + 1, length), statement);
        start = next;
    }
    return *instruction;
}

void CShaderStatementParser::ApplyModifier(const std::string& mnemonic, const std::string& modifier,
                                           SShaderStatement& statement) const {
    const SShaderMnemonic& instruction = *statement.instruction;
    if (m_registers.Kind() == EShaderKind::Vertex) {
        throw CShaderSyntaxError("instruction modifier '_" + modifier + "' is not available in vertex shaders");
    }
    if (instruction.form != EShaderInstructionForm::Arithmetic) {
        throw CShaderSyntaxError(Quoted(instruction) + " cannot take the modifier '_" + modifier + "'");
    }
    if (modifier == "sat") {
        if (statement.resultModifier != D3DSPDM_NONE) {
            throw CShaderSyntaxError("'" + mnemonic + "' names '_sat' twice");
        }
        statement.resultModifier = D3DSPDM_SATURATE;
        return;
    }
    const DWORD shift = modifier == "x2" ? 1u : modifier == "x4" ? 2u : modifier == "d2" ? 0xFu : 0u;
    if (shift == 0) {
        throw CShaderSyntaxError("unknown instruction modifier '_" + modifier + "'");
    }
    if (statement.shift != 0) {
        throw CShaderSyntaxError("'" + mnemonic + "' has more than one of _x2, _x4 and _d2");
    }
    statement.shift = shift << D3DSP_DSTSHIFT_SHIFT;
}

std::vector<std::vector<SShaderToken>> CShaderStatementParser::SplitOperands(const std::vector<SShaderToken>& tokens,
                                                                             size_t first) {
    std::vector<std::vector<SShaderToken>> operands;
    if (first == tokens.size()) {
        return operands;
    }
    operands.emplace_back();
    for (size_t i = first; i < tokens.size(); ++i) {
        if (tokens[i].type != EShaderToken::Comma) {
            operands.back().push_back(tokens[i]);
            continue;
        }
        if (operands.back().empty()) {
            throw CShaderSyntaxError("missing operand before ','");
        }
        operands.emplace_back();
    }
    if (operands.back().empty()) {
        throw CShaderSyntaxError("missing operand after ','");
    }
    return operands;
}

void CShaderStatementParser::ParseOperands(const std::vector<std::vector<SShaderToken>>& operands,
                                           SShaderStatement& statement) const {
    const SShaderMnemonic& instruction = *statement.instruction;
    const bool hasDestination = instruction.form != EShaderInstructionForm::NoOperands;
    const size_t expected = hasDestination ? 1 + instruction.sources : 0;
    if (operands.size() != expected) {
        throw CShaderSyntaxError(Quoted(instruction) + " takes " + OperandCount(expected) + ", found " +
                                 std::to_string(operands.size()));
    }
    if (!hasDestination) {
        return;
    }
    statement.hasDestination = true;
    statement.destination = m_operands.ParseDestination(operands[0]);
    for (size_t i = 1; i < operands.size(); ++i) {
        statement.sources.push_back(m_operands.ParseSource(operands[i]));
    }
    if (instruction.form == EShaderInstructionForm::TextureAddress) {
        CheckTextureAddressOperands(statement);
        return;
    }
    CheckDestination(statement);
    CheckSources(statement);
    CheckReadLimits(statement);
}

// def cN, a, b, c, d
void CShaderStatementParser::ParseDefinition(const std::vector<std::vector<SShaderToken>>& operands,
                                             SShaderStatement& statement) const {
    if (operands.size() != 5) {
        throw CShaderSyntaxError("'def' takes a constant register and 4 numbers, found " +
                                 OperandCount(operands.size()));
    }
    statement.hasDestination = true;
    statement.destination = m_operands.ParseDestination(operands[0]);
    const SShaderOperand& constant = statement.destination;
    if (!constant.reg.Is(D3DSPR_CONST) || constant.writeMask != D3DSP_WRITEMASK_ALL) {
        throw CShaderSyntaxError("'def' defines a whole constant register, not '" + constant.text + "'");
    }
    for (size_t i = 0; i < 4; ++i) {
        statement.values[i] = ParseValue(operands[i + 1]);
    }
}

void CShaderStatementParser::CheckDestination(const SShaderStatement& statement) const {
    const SShaderOperand& destination = statement.destination;
    if (!destination.reg.registerClass->writable) {
        throw CShaderSyntaxError("register '" + destination.reg.name + "' cannot be written");
    }
    const bool addressRegister = m_registers.Kind() == EShaderKind::Vertex && destination.reg.Is(D3DSPR_ADDR);
    if (addressRegister &&
        (statement.instruction->opcode != D3DSIO_MOV || destination.writeMask != D3DSP_WRITEMASK_0)) {
        throw CShaderSyntaxError("a0 is written only by 'mov a0.x, ...', not by " + Quoted(*statement.instruction) +
                                 " to '" + destination.text + "'");
    }
}

void CShaderStatementParser::CheckSources(const SShaderStatement& statement) const {
    for (const SShaderOperand& source : statement.sources) {
        if (source.reg.registerClass->readable) {
            continue;
        }
        if (m_registers.Kind() == EShaderKind::Vertex && source.reg.Is(D3DSPR_ADDR)) {
            throw CShaderSyntaxError("a0 is read only as c[a0.x + n], not as '" + source.text + "'");
        }
        throw CShaderSyntaxError("register '" + source.reg.name + "' cannot be read");
    }
}

// Vertex shader 1.1 reads one constant and one input register per
// instruction (the same one any number of times); pixel shader 1.1 two
// constants.
void CShaderStatementParser::CheckReadLimits(const SShaderStatement& statement) const {
    std::set<std::tuple<bool, DWORD>> constants;
    std::set<DWORD> inputs;
    for (const SShaderOperand& source : statement.sources) {
        if (source.reg.Is(D3DSPR_CONST)) {
            constants.emplace(source.relative, source.reg.number);
        } else if (source.reg.Is(D3DSPR_INPUT)) {
            inputs.insert(source.reg.number);
        }
    }
    const bool vertex = m_registers.Kind() == EShaderKind::Vertex;
    const size_t constantLimit = vertex ? 1 : 2;
    if (constants.size() > constantLimit) {
        throw CShaderSyntaxError(Quoted(*statement.instruction) + " reads " + std::to_string(constants.size()) +
                                 " constant registers; the limit is " + std::to_string(constantLimit));
    }
    if (vertex && inputs.size() > 1) {
        throw CShaderSyntaxError(Quoted(*statement.instruction) + " reads " + std::to_string(inputs.size()) +
                                 " input registers; the limit is 1");
    }
}

// tN, then texture registers (texm3x3spec: a constant last), all plain.
void CShaderStatementParser::CheckTextureAddressOperands(const SShaderStatement& statement) const {
    const SShaderMnemonic& instruction = *statement.instruction;
    const SShaderOperand& destination = statement.destination;
    if (!destination.reg.Is(D3DSPR_TEXTURE) || destination.writeMask != D3DSP_WRITEMASK_ALL) {
        throw CShaderSyntaxError(Quoted(instruction) + " writes a whole texture register, not '" + destination.text +
                                 "'");
    }
    for (size_t i = 0; i < statement.sources.size(); ++i) {
        const SShaderOperand& source = statement.sources[i];
        const bool constantSlot = instruction.opcode == D3DSIO_TEXM3x3SPEC && i == 1;
        if (!source.reg.Is(constantSlot ? D3DSPR_CONST : D3DSPR_TEXTURE)) {
            throw CShaderSyntaxError(Quoted(instruction) + " reads a " + (constantSlot ? "constant" : "texture") +
                                     " register there, not '" + source.text + "'");
        }
        if (source.modifier != D3DSPSM_NONE || source.swizzle != D3DSP_NOSWIZZLE) {
            throw CShaderSyntaxError(Quoted(instruction) + " takes no source modifier or swizzle: '" + source.text +
                                     "'");
        }
    }
}
