#pragma once
// One instruction line, from its tokens to what its tokens will hold: the
// instruction, its modifiers ("mad_x2_sat"), the co-issue mark ("+ mov ..."),
// the operands, and def's four numbers. It checks everything that concerns
// the line alone: the operand count, which registers may be written or read
// and by whom, and how many constant and input registers one instruction
// may read. Rules that span lines are the assembler's.

#include <array>
#include <string>
#include <vector>

#include "platform/d3dxshader/CShaderInstructionTable.h"
#include "platform/d3dxshader/CShaderOperandParser.h"

struct SShaderStatement {
    const SShaderMnemonic* instruction = nullptr;
    bool coissue = false;
    DWORD resultModifier = 0;  // D3DSPDM_* bits
    DWORD shift = 0;           // D3DSP_DSTSHIFT bits
    bool hasDestination = false;
    SShaderOperand destination;
    std::vector<SShaderOperand> sources;
    std::array<DWORD, 4> values{};  // def's numbers as IEEE bits
};

class CShaderStatementParser {
public:
    explicit CShaderStatementParser(const CShaderRegisterTable& registers)
        : m_registers(registers), m_operands(registers) {}

    // tokens: a non-empty instruction line. Throws CShaderSyntaxError.
    SShaderStatement Parse(const std::vector<SShaderToken>& tokens) const;

private:
    const SShaderMnemonic& ParseMnemonic(const std::string& mnemonic, SShaderStatement& statement) const;
    void ApplyModifier(const std::string& mnemonic, const std::string& modifier, SShaderStatement& statement) const;
    void ParseOperands(const std::vector<std::vector<SShaderToken>>& operands, SShaderStatement& statement) const;
    void ParseDefinition(const std::vector<std::vector<SShaderToken>>& operands, SShaderStatement& statement) const;
    void CheckDestination(const SShaderStatement& statement) const;
    void CheckSources(const SShaderStatement& statement) const;
    void CheckTextureAddressOperands(const SShaderStatement& statement) const;
    void CheckReadLimits(const SShaderStatement& statement) const;
    static std::vector<std::vector<SShaderToken>> SplitOperands(const std::vector<SShaderToken>& tokens, size_t first);

    const CShaderRegisterTable& m_registers;
    CShaderOperandParser m_operands;
};
