#include "platform/d3dxshader/CShaderAssembler.h"

#include <cctype>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/CShaderLexer.h"
#include "platform/d3dxshader/CShaderSyntaxError.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

constexpr DWORD kRgbMask = D3DSP_WRITEMASK_0 | D3DSP_WRITEMASK_1 | D3DSP_WRITEMASK_2;
constexpr DWORD kAlphaMask = D3DSP_WRITEMASK_3;

}  // namespace

bool CShaderAssembler::Assemble(std::string_view text) {
    Reset();
    text = text.substr(0, text.find('\0'));
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        ++m_lineNumber;
        AssembleLine(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if ((!m_hasVersion && !m_errors.empty()) || end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (!m_hasVersion && m_errors.empty()) {
        AddError("the program has no version line ('vs.1.1' or 'ps.1.1')");
    }
    if (!m_errors.empty()) {
        m_tokens.clear();
        m_constants.clear();
        return false;
    }
    m_tokens.push_back(m_kind == EShaderKind::Vertex ? D3DVS_END() : D3DPS_END());
    return true;
}

std::string CShaderAssembler::ErrorText() const {
    std::string text;
    for (const std::string& error : m_errors) {
        text += error + "\n";
    }
    return text;
}

void CShaderAssembler::Reset() {
    *this = CShaderAssembler();
}

void CShaderAssembler::AssembleLine(std::string_view line) {
    const std::string_view trimmed = Trimmed(CShaderLexer::WithoutComment(line));
    if (trimmed.empty()) {
        return;
    }
    try {
        if (ReadVersion(trimmed)) {
            return;
        }
        const CShaderRegisterTable registers(m_kind);
        AssembleStatement(CShaderStatementParser(registers).Parse(CShaderLexer::Tokenize(trimmed)));
    } catch (const CShaderSyntaxError& error) {
        AddError(error.what());
        m_previousPairable = false;
    }
}

// True when the line is the version line, which must come first and once.
bool CShaderAssembler::ReadVersion(std::string_view trimmed) {
    const std::string lower = Lower(trimmed);
    const bool vertex = lower == "vs.1.1" || lower == "vs.1.0";
    const bool pixel = lower == "ps.1.1" || lower == "ps.1.0";
    if (m_hasVersion) {
        if (vertex || pixel) {
            throw CShaderSyntaxError("a second version line '" + std::string(trimmed) + "'");
        }
        return false;
    }
    if (!vertex && !pixel) {
        throw CShaderSyntaxError("expected the version line ('vs.1.1' or 'ps.1.1'), found '" + std::string(trimmed) +
                                 "'");
    }
    m_hasVersion = true;
    m_kind = vertex ? EShaderKind::Vertex : EShaderKind::Pixel;
    const DWORD minor = static_cast<DWORD>(lower.back() - '0');
    m_tokens.push_back(vertex ? D3DVS_VERSION(1, minor) : D3DPS_VERSION(1, minor));
    return true;
}

void CShaderAssembler::AssembleStatement(const SShaderStatement& statement) {
    CheckOrder(statement);
    CheckCoissue(statement);
    Emit(statement);
    const EShaderInstructionForm form = statement.instruction->form;
    m_sawArithmetic = m_sawArithmetic || form == EShaderInstructionForm::Arithmetic;
    m_previousPairable = form == EShaderInstructionForm::Arithmetic && !statement.coissue;
    m_previousWriteMask = statement.destination.writeMask;
}

void CShaderAssembler::CheckOrder(const SShaderStatement& statement) const {
    if (statement.instruction->form == EShaderInstructionForm::TextureAddress && m_sawArithmetic) {
        throw CShaderSyntaxError(std::string("texture address instruction '") + statement.instruction->name +
                                 "' after arithmetic instructions");
    }
}

// The pair runs at once in the colour and the alpha pipeline, so one of them
// writes .rgb and the other .a.
void CShaderAssembler::CheckCoissue(const SShaderStatement& statement) const {
    if (!statement.coissue) {
        return;
    }
    if (statement.instruction->form != EShaderInstructionForm::Arithmetic || !m_previousPairable) {
        throw CShaderSyntaxError(std::string("'+ ") + statement.instruction->name +
                                 "': only an arithmetic instruction may be co-issued, right after another one "
                                 "that is not co-issued");
    }
    const DWORD mask = statement.destination.writeMask;
    const bool complementary = (m_previousWriteMask == kRgbMask && mask == kAlphaMask) ||
                               (m_previousWriteMask == kAlphaMask && mask == kRgbMask);
    if (!complementary) {
        throw CShaderSyntaxError("co-issued instructions write .rgb and .a, one each; '+ " +
                                 std::string(statement.instruction->name) + "' writes '" + statement.destination.text +
                                 "'");
    }
}

void CShaderAssembler::Emit(const SShaderStatement& statement) {
    m_tokens.push_back(statement.instruction->opcode | (statement.coissue ? D3DSI_COISSUE : 0u));
    if (statement.hasDestination) {
        m_tokens.push_back(DestinationToken(statement));
    }
    for (const SShaderOperand& source : statement.sources) {
        m_tokens.push_back(SourceToken(source));
    }
    if (statement.instruction->form != EShaderInstructionForm::Define) {
        return;
    }
    m_tokens.insert(m_tokens.end(), statement.values.begin(), statement.values.end());
    if (m_kind == EShaderKind::Vertex) {
        m_constants.push_back(D3DVSD_CONST(statement.destination.reg.number, 1));
        m_constants.insert(m_constants.end(), statement.values.begin(), statement.values.end());
    }
}

DWORD CShaderAssembler::DestinationToken(const SShaderStatement& statement) {
    const SShaderOperand& destination = statement.destination;
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(destination.reg.registerClass->type) |
           (destination.reg.number & D3DSP_REGNUM_MASK) | destination.writeMask | statement.resultModifier |
           statement.shift;
}

DWORD CShaderAssembler::SourceToken(const SShaderOperand& source) {
    return D3DSP_PARAMETER_BIT | D3DSPR_REGTYPE(source.reg.registerClass->type) |
           (source.reg.number & D3DSP_REGNUM_MASK) | source.swizzle | source.modifier |
           (source.relative ? D3DVS_ADDRMODE_RELATIVE : D3DVS_ADDRMODE_ABSOLUTE);
}

void CShaderAssembler::AddError(const std::string& reason) {
    m_errors.push_back("line " + std::to_string(m_lineNumber) + ": " + reason);
}
