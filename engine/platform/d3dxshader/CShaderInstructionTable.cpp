#include "platform/d3dxshader/CShaderInstructionTable.h"

#include <algorithm>
#include <iterator>

#include "platform/d3d8/D3D8ShaderTokens.h"

namespace {

using EForm = EShaderInstructionForm;

constexpr SShaderMnemonic kInstructions[] = {
    // both
    {"nop", D3DSIO_NOP, EForm::NoOperands, 0, true, true},
    {"mov", D3DSIO_MOV, EForm::Arithmetic, 1, true, true},
    {"add", D3DSIO_ADD, EForm::Arithmetic, 2, true, true},
    {"sub", D3DSIO_SUB, EForm::Arithmetic, 2, true, true},
    {"mul", D3DSIO_MUL, EForm::Arithmetic, 2, true, true},
    {"mad", D3DSIO_MAD, EForm::Arithmetic, 3, true, true},
    {"dp3", D3DSIO_DP3, EForm::Arithmetic, 2, true, true},
    {"def", D3DSIO_DEF, EForm::Define, 0, true, true},
    // vertex shaders
    {"dp4", D3DSIO_DP4, EForm::Arithmetic, 2, true, false},
    {"rcp", D3DSIO_RCP, EForm::Arithmetic, 1, true, false},
    {"rsq", D3DSIO_RSQ, EForm::Arithmetic, 1, true, false},
    {"min", D3DSIO_MIN, EForm::Arithmetic, 2, true, false},
    {"max", D3DSIO_MAX, EForm::Arithmetic, 2, true, false},
    {"slt", D3DSIO_SLT, EForm::Arithmetic, 2, true, false},
    {"sge", D3DSIO_SGE, EForm::Arithmetic, 2, true, false},
    {"exp", D3DSIO_EXP, EForm::Arithmetic, 1, true, false},
    {"expp", D3DSIO_EXPP, EForm::Arithmetic, 1, true, false},
    {"log", D3DSIO_LOG, EForm::Arithmetic, 1, true, false},
    {"logp", D3DSIO_LOGP, EForm::Arithmetic, 1, true, false},
    {"lit", D3DSIO_LIT, EForm::Arithmetic, 1, true, false},
    {"dst", D3DSIO_DST, EForm::Arithmetic, 2, true, false},
    {"frc", D3DSIO_FRC, EForm::Arithmetic, 1, true, false},
    {"m4x4", D3DSIO_M4x4, EForm::Arithmetic, 2, true, false},
    {"m4x3", D3DSIO_M4x3, EForm::Arithmetic, 2, true, false},
    {"m3x4", D3DSIO_M3x4, EForm::Arithmetic, 2, true, false},
    {"m3x3", D3DSIO_M3x3, EForm::Arithmetic, 2, true, false},
    {"m3x2", D3DSIO_M3x2, EForm::Arithmetic, 2, true, false},
    // pixel shaders
    {"lrp", D3DSIO_LRP, EForm::Arithmetic, 3, false, true},
    {"cnd", D3DSIO_CND, EForm::Arithmetic, 3, false, true},
    {"tex", D3DSIO_TEX, EForm::TextureAddress, 0, false, true},
    {"texcoord", D3DSIO_TEXCOORD, EForm::TextureAddress, 0, false, true},
    {"texkill", D3DSIO_TEXKILL, EForm::TextureAddress, 0, false, true},
    {"texbem", D3DSIO_TEXBEM, EForm::TextureAddress, 1, false, true},
    {"texbeml", D3DSIO_TEXBEML, EForm::TextureAddress, 1, false, true},
    {"texreg2ar", D3DSIO_TEXREG2AR, EForm::TextureAddress, 1, false, true},
    {"texreg2gb", D3DSIO_TEXREG2GB, EForm::TextureAddress, 1, false, true},
    {"texm3x2pad", D3DSIO_TEXM3x2PAD, EForm::TextureAddress, 1, false, true},
    {"texm3x2tex", D3DSIO_TEXM3x2TEX, EForm::TextureAddress, 1, false, true},
    {"texm3x3pad", D3DSIO_TEXM3x3PAD, EForm::TextureAddress, 1, false, true},
    {"texm3x3tex", D3DSIO_TEXM3x3TEX, EForm::TextureAddress, 1, false, true},
    {"texm3x3spec", D3DSIO_TEXM3x3SPEC, EForm::TextureAddress, 2, false, true},
    {"texm3x3vspec", D3DSIO_TEXM3x3VSPEC, EForm::TextureAddress, 1, false, true},
};

}  // namespace

const SShaderMnemonic* CShaderInstructionTable::Find(std::string_view lowerName) {
    const auto found = std::find_if(std::begin(kInstructions), std::end(kInstructions),
                                    [&](const SShaderMnemonic& instruction) { return lowerName == instruction.name; });
    return found == std::end(kInstructions) ? nullptr : &*found;
}
