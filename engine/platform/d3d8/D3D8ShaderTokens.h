#pragma once
// The binary form of Direct3D 8 shaders: the DWORD tokens of vertex and pixel
// shader functions, and the tokens of vertex shader declarations. The values
// are Direct3D 8's own, so code assembled by any assembler for that API is
// accepted by CreateVertexShader / CreatePixelShader, and code assembled here
// runs there.
//
// A function is a version token, instructions, and the end token. An
// instruction token (bit 31 clear) holds the opcode in bits 0-15 and the
// co-issue flag in bit 30; its parameter tokens (bit 31 set) follow it: the
// destination first, then the sources. `def` is followed by its destination
// and four raw floats; a comment token is followed by its length in DWORDs of
// free text.

#include "platform/d3d8/d3d8types.h"

// --- version and end tokens (D3DVS_VERSION and D3DPS_VERSION: d3d8types.h) ----------------
constexpr DWORD D3DSHADER_VERSION_MAJOR(DWORD version) {
    return (version >> 8) & 0xFF;
}
constexpr DWORD D3DSHADER_VERSION_MINOR(DWORD version) {
    return version & 0xFF;
}
constexpr DWORD D3DVS_END() {
    return 0x0000FFFFu;
}
constexpr DWORD D3DPS_END() {
    return 0x0000FFFFu;
}

// --- instruction tokens ---------------------------------------------------------------
enum D3DSHADER_INSTRUCTION_OPCODE_TYPE : DWORD {
    D3DSIO_NOP = 0,
    D3DSIO_MOV = 1,
    D3DSIO_ADD = 2,
    D3DSIO_SUB = 3,
    D3DSIO_MAD = 4,
    D3DSIO_MUL = 5,
    D3DSIO_RCP = 6,
    D3DSIO_RSQ = 7,
    D3DSIO_DP3 = 8,
    D3DSIO_DP4 = 9,
    D3DSIO_MIN = 10,
    D3DSIO_MAX = 11,
    D3DSIO_SLT = 12,
    D3DSIO_SGE = 13,
    D3DSIO_EXP = 14,
    D3DSIO_LOG = 15,
    D3DSIO_LIT = 16,
    D3DSIO_DST = 17,
    D3DSIO_LRP = 18,
    D3DSIO_FRC = 19,
    D3DSIO_M4x4 = 20,
    D3DSIO_M4x3 = 21,
    D3DSIO_M3x4 = 22,
    D3DSIO_M3x3 = 23,
    D3DSIO_M3x2 = 24,

    D3DSIO_TEXCOORD = 64,
    D3DSIO_TEXKILL = 65,
    D3DSIO_TEX = 66,
    D3DSIO_TEXBEM = 67,
    D3DSIO_TEXBEML = 68,
    D3DSIO_TEXREG2AR = 69,
    D3DSIO_TEXREG2GB = 70,
    D3DSIO_TEXM3x2PAD = 71,
    D3DSIO_TEXM3x2TEX = 72,
    D3DSIO_TEXM3x3PAD = 73,
    D3DSIO_TEXM3x3TEX = 74,
    D3DSIO_TEXM3x3DIFF = 75,
    D3DSIO_TEXM3x3SPEC = 76,
    D3DSIO_TEXM3x3VSPEC = 77,
    D3DSIO_EXPP = 78,
    D3DSIO_LOGP = 79,
    D3DSIO_CND = 80,
    D3DSIO_DEF = 81,

    D3DSIO_COMMENT = 0xFFFE,
    D3DSIO_END = 0xFFFF
};

constexpr DWORD D3DSI_OPCODE_MASK = 0x0000FFFFu;
constexpr DWORD D3DSI_COISSUE = 0x40000000u;
constexpr DWORD D3DSI_COMMENTSIZE_SHIFT = 16;
constexpr DWORD D3DSI_COMMENTSIZE_MASK = 0x7FFF0000u;
constexpr DWORD D3DSHADER_COMMENT(DWORD dwordCount) {
    return ((dwordCount << D3DSI_COMMENTSIZE_SHIFT) & D3DSI_COMMENTSIZE_MASK) | D3DSIO_COMMENT;
}

// --- parameter tokens --------------------------------------------------------------------
constexpr DWORD D3DSP_PARAMETER_BIT = 0x80000000u;  // set on every parameter token
constexpr DWORD D3DSP_REGNUM_MASK = 0x00000FFFu;

// Destination: write mask, result modifier, result shift.
constexpr DWORD D3DSP_WRITEMASK_0 = 0x00010000u;  // x or red
constexpr DWORD D3DSP_WRITEMASK_1 = 0x00020000u;  // y or green
constexpr DWORD D3DSP_WRITEMASK_2 = 0x00040000u;  // z or blue
constexpr DWORD D3DSP_WRITEMASK_3 = 0x00080000u;  // w or alpha
constexpr DWORD D3DSP_WRITEMASK_ALL = 0x000F0000u;
constexpr DWORD D3DSP_DSTMOD_SHIFT = 20;
constexpr DWORD D3DSP_DSTMOD_MASK = 0x00F00000u;
constexpr DWORD D3DSPDM_NONE = 0u << D3DSP_DSTMOD_SHIFT;
constexpr DWORD D3DSPDM_SATURATE = 1u << D3DSP_DSTMOD_SHIFT;
constexpr DWORD D3DSP_DSTSHIFT_SHIFT = 24;
constexpr DWORD D3DSP_DSTSHIFT_MASK = 0x0F000000u;  // signed 4 bits: 1 = _x2, 2 = _x4, 0xF = _d2

// Source: swizzle, source modifier, relative addressing (vertex shaders).
constexpr DWORD D3DVS_SWIZZLE_SHIFT = 16;
constexpr DWORD D3DVS_SWIZZLE_MASK = 0x00FF0000u;
constexpr DWORD D3DSP_SWIZZLE_SHIFT = 16;
constexpr DWORD D3DSP_SWIZZLE_MASK = 0x00FF0000u;
// Two bits per destination component name the source component it reads.
constexpr DWORD D3DSWIZZLE(DWORD x, DWORD y, DWORD z, DWORD w) {
    return (x | (y << 2) | (z << 4) | (w << 6)) << D3DVS_SWIZZLE_SHIFT;
}
constexpr DWORD D3DVS_NOSWIZZLE = D3DSWIZZLE(0, 1, 2, 3);
constexpr DWORD D3DSP_NOSWIZZLE = D3DVS_NOSWIZZLE;
constexpr DWORD D3DSP_REPLICATERED = D3DSWIZZLE(0, 0, 0, 0);
constexpr DWORD D3DSP_REPLICATEGREEN = D3DSWIZZLE(1, 1, 1, 1);
constexpr DWORD D3DSP_REPLICATEBLUE = D3DSWIZZLE(2, 2, 2, 2);
constexpr DWORD D3DSP_REPLICATEALPHA = D3DSWIZZLE(3, 3, 3, 3);

constexpr DWORD D3DSP_SRCMOD_SHIFT = 24;
constexpr DWORD D3DSP_SRCMOD_MASK = 0x0F000000u;
enum D3DSHADER_PARAM_SRCMOD_TYPE : DWORD {
    D3DSPSM_NONE = 0u << D3DSP_SRCMOD_SHIFT,
    D3DSPSM_NEG = 1u << D3DSP_SRCMOD_SHIFT,      // -r
    D3DSPSM_BIAS = 2u << D3DSP_SRCMOD_SHIFT,     // r_bias
    D3DSPSM_BIASNEG = 3u << D3DSP_SRCMOD_SHIFT,  // -r_bias
    D3DSPSM_SIGN = 4u << D3DSP_SRCMOD_SHIFT,     // r_bx2
    D3DSPSM_SIGNNEG = 5u << D3DSP_SRCMOD_SHIFT,  // -r_bx2
    D3DSPSM_COMP = 6u << D3DSP_SRCMOD_SHIFT,     // 1-r
    D3DSPSM_X2 = 7u << D3DSP_SRCMOD_SHIFT,       // r_x2 (later pixel shaders)
    D3DSPSM_X2NEG = 8u << D3DSP_SRCMOD_SHIFT,
    D3DSPSM_DZ = 9u << D3DSP_SRCMOD_SHIFT,
    D3DSPSM_DW = 10u << D3DSP_SRCMOD_SHIFT
};

constexpr DWORD D3DVS_ADDRESSMODE_SHIFT = 13;
constexpr DWORD D3DVS_ADDRESSMODE_MASK = 1u << D3DVS_ADDRESSMODE_SHIFT;
constexpr DWORD D3DVS_ADDRMODE_ABSOLUTE = 0u;
constexpr DWORD D3DVS_ADDRMODE_RELATIVE = 1u << D3DVS_ADDRESSMODE_SHIFT;  // c[a0.x + n]

constexpr DWORD D3DSP_REGTYPE_SHIFT = 28;
constexpr DWORD D3DSP_REGTYPE_MASK = 0x70000000u;
enum D3DSHADER_PARAM_REGISTER_TYPE : DWORD {
    D3DSPR_TEMP = 0,       // r#
    D3DSPR_INPUT = 1,      // v#: vertex input registers, or the pixel shader's colour inputs
    D3DSPR_CONST = 2,      // c#
    D3DSPR_ADDR = 3,       // a0 in vertex shaders
    D3DSPR_TEXTURE = 3,    // t# in pixel shaders
    D3DSPR_RASTOUT = 4,    // oPos, oFog, oPts
    D3DSPR_ATTROUT = 5,    // oD0, oD1
    D3DSPR_TEXCRDOUT = 6,  // oT#
};
constexpr DWORD D3DSPR_REGTYPE(DWORD type) {
    return (type << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK;
}

// Register numbers of D3DSPR_RASTOUT.
enum D3DVS_RASTOUT_OFFSETS : DWORD {
    D3DSRO_POSITION = 0,
    D3DSRO_FOG = 1,
    D3DSRO_POINT_SIZE = 2
};

// --- vertex shader declarations -------------------------------------------------------------
// A declaration is a list of tokens ending with D3DVSD_END(): which stream
// the following registers read, the registers with their data types in
// vertex order, skipped DWORDs, and constants loaded when the shader is set.
constexpr DWORD D3DVSD_TOKENTYPESHIFT = 29;
constexpr DWORD D3DVSD_TOKENTYPEMASK = 7u << D3DVSD_TOKENTYPESHIFT;
enum D3DVSD_TOKENTYPE : DWORD {
    D3DVSD_TOKEN_NOP = 0,
    D3DVSD_TOKEN_STREAM = 1,
    D3DVSD_TOKEN_STREAMDATA = 2,
    D3DVSD_TOKEN_TESSELLATOR = 3,
    D3DVSD_TOKEN_CONSTMEM = 4,
    D3DVSD_TOKEN_EXT = 5,
    D3DVSD_TOKEN_END = 7
};
constexpr DWORD D3DVSD_STREAMNUMBERSHIFT = 0;
constexpr DWORD D3DVSD_STREAMNUMBERMASK = 0xFu;
constexpr DWORD D3DVSD_DATALOADTYPESHIFT = 28;
constexpr DWORD D3DVSD_DATALOADTYPEMASK = 1u << D3DVSD_DATALOADTYPESHIFT;  // 1: skip
constexpr DWORD D3DVSD_DATATYPESHIFT = 16;
constexpr DWORD D3DVSD_DATATYPEMASK = 0xFu << D3DVSD_DATATYPESHIFT;
constexpr DWORD D3DVSD_SKIPCOUNTSHIFT = 16;
constexpr DWORD D3DVSD_SKIPCOUNTMASK = 0xFu << D3DVSD_SKIPCOUNTSHIFT;
constexpr DWORD D3DVSD_VERTEXREGSHIFT = 0;
constexpr DWORD D3DVSD_VERTEXREGMASK = 0x1Fu;
constexpr DWORD D3DVSD_CONSTCOUNTSHIFT = 25;
constexpr DWORD D3DVSD_CONSTCOUNTMASK = 0xFu << D3DVSD_CONSTCOUNTSHIFT;
constexpr DWORD D3DVSD_CONSTADDRESSSHIFT = 0;
constexpr DWORD D3DVSD_CONSTADDRESSMASK = 0x7Fu;

constexpr DWORD D3DVSD_STREAM(DWORD stream) {
    return (D3DVSD_TOKEN_STREAM << D3DVSD_TOKENTYPESHIFT) | stream;
}
constexpr DWORD D3DVSD_REG(DWORD vertexRegister, DWORD type) {
    return (D3DVSD_TOKEN_STREAMDATA << D3DVSD_TOKENTYPESHIFT) | (type << D3DVSD_DATATYPESHIFT) | vertexRegister;
}
constexpr DWORD D3DVSD_SKIP(DWORD dwordCount) {
    return (D3DVSD_TOKEN_STREAMDATA << D3DVSD_TOKENTYPESHIFT) | 0x10000000u | (dwordCount << D3DVSD_SKIPCOUNTSHIFT);
}
// Followed by 4 x count DWORDs: the values of the constants from `address` on.
constexpr DWORD D3DVSD_CONST(DWORD address, DWORD count) {
    return (D3DVSD_TOKEN_CONSTMEM << D3DVSD_TOKENTYPESHIFT) | (count << D3DVSD_CONSTCOUNTSHIFT) | address;
}
constexpr DWORD D3DVSD_NOP() {
    return 0x00000000u;
}
constexpr DWORD D3DVSD_END() {
    return 0xFFFFFFFFu;
}

// Data types of declared registers.
constexpr DWORD D3DVSDT_FLOAT1 = 0x00;
constexpr DWORD D3DVSDT_FLOAT2 = 0x01;
constexpr DWORD D3DVSDT_FLOAT3 = 0x02;
constexpr DWORD D3DVSDT_FLOAT4 = 0x03;
constexpr DWORD D3DVSDT_D3DCOLOR = 0x04;  // 4 bytes B, G, R, A, each read as 0..1
constexpr DWORD D3DVSDT_UBYTE4 = 0x05;    // 4 unsigned bytes, read as 0..255
constexpr DWORD D3DVSDT_SHORT2 = 0x06;    // 2 signed shorts, read as (x, y, 0, 1)
constexpr DWORD D3DVSDT_SHORT4 = 0x07;

// Register names of the fixed-function vertex layout, for declarations that
// match a flexible vertex format.
constexpr DWORD D3DVSDE_POSITION = 0;
constexpr DWORD D3DVSDE_BLENDWEIGHT = 1;
constexpr DWORD D3DVSDE_BLENDINDICES = 2;
constexpr DWORD D3DVSDE_NORMAL = 3;
constexpr DWORD D3DVSDE_PSIZE = 4;
constexpr DWORD D3DVSDE_DIFFUSE = 5;
constexpr DWORD D3DVSDE_SPECULAR = 6;
constexpr DWORD D3DVSDE_TEXCOORD0 = 7;
constexpr DWORD D3DVSDE_TEXCOORD1 = 8;
constexpr DWORD D3DVSDE_TEXCOORD2 = 9;
constexpr DWORD D3DVSDE_TEXCOORD3 = 10;
constexpr DWORD D3DVSDE_TEXCOORD4 = 11;
constexpr DWORD D3DVSDE_TEXCOORD5 = 12;
constexpr DWORD D3DVSDE_TEXCOORD6 = 13;
constexpr DWORD D3DVSDE_TEXCOORD7 = 14;

// Register counts of vertex shader 1.1 and pixel shader 1.1.
constexpr unsigned D3D8_VS_TEMP_REGISTERS = 12;
constexpr unsigned D3D8_VS_INPUT_REGISTERS = 16;
constexpr unsigned D3D8_VS_CONSTANT_REGISTERS = 96;
constexpr unsigned D3D8_VS_TEXCOORD_OUTPUTS = 8;
constexpr unsigned D3D8_PS_TEMP_REGISTERS = 2;
constexpr unsigned D3D8_PS_TEXTURE_REGISTERS = 4;
constexpr unsigned D3D8_PS_INPUT_REGISTERS = 2;
constexpr unsigned D3D8_PS_CONSTANT_REGISTERS = 8;
