#pragma once
// Assembles vertex shader 1.1 and pixel shader 1.1 program text into the
// Direct3D 8 function tokens (D3D8ShaderTokens.h): the version token, each
// instruction token with its parameter tokens, and the end token; no comment
// tokens.
//
// The text: the first line that is not blank or a comment is the version
// ("vs.1.1", "vs.1.0", "ps.1.1", "ps.1.0"); then one instruction a line.
// Lines end with "\n" (a "\r" before it is a space); an embedded zero byte
// ends the text. Mnemonics and registers are read in any case.
//
// Rules across lines: pixel shader texture address instructions (tex,
// texbem, ...) come before arithmetic ones, and a co-issued instruction
// ("+ mov r0.a, c1") follows one that is not, the pair writing .rgb and .a.
//
// Every line with a mistake is reported as "line N: reason" and assembly
// goes on to report the next one; a program with any mistake gives no
// tokens. Without a version line nothing else is read.

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3dxshader/CShaderStatementParser.h"

class CShaderAssembler {
public:
    // False when the text has mistakes; Errors() then lists them.
    bool Assemble(std::string_view text);

    // The function tokens of the last successful Assemble.
    const std::vector<DWORD>& Tokens() const { return m_tokens; }
    // The vertex shader's def constants as declaration tokens: per def
    // D3DVSD_CONST(n, 1) and the four values, with no D3DVSD_END, ready to go
    // before the end of a declaration. Empty for pixel shaders.
    const std::vector<DWORD>& Constants() const { return m_constants; }
    // "line N: reason", one per mistake.
    const std::vector<std::string>& Errors() const { return m_errors; }
    // The errors, each ended by "\n".
    std::string ErrorText() const;

private:
    void Reset();
    void AssembleLine(std::string_view line);
    bool ReadVersion(std::string_view trimmed);
    void AssembleStatement(const SShaderStatement& statement);
    void CheckOrder(const SShaderStatement& statement) const;
    void CheckCoissue(const SShaderStatement& statement) const;
    void Emit(const SShaderStatement& statement);
    static DWORD DestinationToken(const SShaderStatement& statement);
    static DWORD SourceToken(const SShaderOperand& source);
    void AddError(const std::string& reason);

    std::vector<DWORD> m_tokens;
    std::vector<DWORD> m_constants;
    std::vector<std::string> m_errors;
    unsigned m_lineNumber = 0;
    bool m_hasVersion = false;
    EShaderKind m_kind = EShaderKind::Vertex;
    bool m_sawArithmetic = false;
    // The previous instruction, for co-issue: an arithmetic one that is not
    // co-issued itself may pair with the next, by its write mask.
    bool m_previousPairable = false;
    DWORD m_previousWriteMask = 0;
};
