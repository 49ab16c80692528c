#include "platform/d3d8/SFixedFunctionKey.h"

#include <cstring>

#include "platform/d3d8/CDeviceState.h"
#include "platform/d3d8/CFvfLayout.h"
#include "platform/d3d8/D3D8ShaderTokens.h"

namespace {

EColorSource ResolveColorSource(DWORD source, bool colorVertex, const CFvfLayout& layout) {
    if (!colorVertex)
        return EColorSource::Material;
    if (source == D3DMCS_COLOR1 && layout.Diffuse().present)
        return EColorSource::VertexDiffuse;
    if (source == D3DMCS_COLOR2 && layout.Specular().present)
        return EColorSource::VertexSpecular;
    return EColorSource::Material;
}

bool UsesArgument(DWORD op, DWORD arg1, DWORD arg2, DWORD arg0, DWORD which) {
    auto is = [which](DWORD arg) { return (arg & D3DTA_SELECTMASK) == which; };
    const bool threeArgs = op == D3DTOP_MULTIPLYADD || op == D3DTOP_LERP;
    return (op != D3DTOP_SELECTARG2 && is(arg1)) || (op != D3DTOP_SELECTARG1 && is(arg2)) || (threeArgs && is(arg0));
}

void BuildLighting(SFixedFunctionKey& key, const CDeviceState& state, const CFvfLayout& layout) {
    const DWORD* rs = state.renderStates;
    key.lighting = rs[D3DRS_LIGHTING] != 0 && !layout.IsPretransformed();
    if (!key.lighting)
        return;
    key.specular = rs[D3DRS_SPECULARENABLE] != 0;
    key.localViewer = key.specular && rs[D3DRS_LOCALVIEWER] != 0;
    key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] != 0;
    const bool colorVertex = rs[D3DRS_COLORVERTEX] != 0;
    key.diffuseSource = ResolveColorSource(rs[D3DRS_DIFFUSEMATERIALSOURCE], colorVertex, layout);
    key.ambientSource = ResolveColorSource(rs[D3DRS_AMBIENTMATERIALSOURCE], colorVertex, layout);
    key.specularSource = key.specular ? ResolveColorSource(rs[D3DRS_SPECULARMATERIALSOURCE], colorVertex, layout)
                                      : EColorSource::Material;
    key.emissiveSource = ResolveColorSource(rs[D3DRS_EMISSIVEMATERIALSOURCE], colorVertex, layout);
    for (const auto& [index, slot] : state.lights) {
        if (!slot.enabled || key.lightCount == 8)
            continue;
        key.lightTypes[key.lightCount++] = static_cast<std::uint8_t>(slot.light.Type);
    }
}

void BuildFog(SFixedFunctionKey& key, const CDeviceState& state, const CFvfLayout& layout) {
    const DWORD* rs = state.renderStates;
    if (!rs[D3DRS_FOGENABLE])
        return;
    if (rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE && rs[D3DRS_FOGTABLEMODE] <= D3DFOG_LINEAR) {
        key.fogSource = EFogSource::PixelDepth;
        key.fogFormula = static_cast<std::uint8_t>(rs[D3DRS_FOGTABLEMODE]);
    } else if (rs[D3DRS_FOGVERTEXMODE] != D3DFOG_NONE && rs[D3DRS_FOGVERTEXMODE] <= D3DFOG_LINEAR &&
               !layout.IsPretransformed()) {
        key.fogSource = EFogSource::VertexDepth;
        key.fogFormula = static_cast<std::uint8_t>(rs[D3DRS_FOGVERTEXMODE]);
    } else if (layout.Specular().present) {
        // Without a fog formula the vertex's specular alpha is the fog factor.
        key.fogSource = EFogSource::VertexSpecularAlpha;
    }
}

void BuildStageCoordinates(SStageKey& stage, const DWORD* ts, const CFvfLayout& layout);

void BuildStage(SStageKey& stage, const DWORD* ts, const CFvfLayout& layout, ETextureType texture, bool pointSprite) {
    stage.colorOp = static_cast<std::uint8_t>(ts[D3DTSS_COLOROP]);
    stage.colorArg0 = static_cast<std::uint8_t>(ts[D3DTSS_COLORARG0]);
    stage.colorArg1 = static_cast<std::uint8_t>(ts[D3DTSS_COLORARG1]);
    stage.colorArg2 = static_cast<std::uint8_t>(ts[D3DTSS_COLORARG2]);
    stage.alphaOp = static_cast<std::uint8_t>(ts[D3DTSS_ALPHAOP]);
    stage.alphaArg0 = static_cast<std::uint8_t>(ts[D3DTSS_ALPHAARG0]);
    stage.alphaArg1 = static_cast<std::uint8_t>(ts[D3DTSS_ALPHAARG1]);
    stage.alphaArg2 = static_cast<std::uint8_t>(ts[D3DTSS_ALPHAARG2]);
    stage.resultToTemp = (ts[D3DTSS_RESULTARG] & D3DTA_SELECTMASK) == D3DTA_TEMP;
    const bool samples =
        UsesArgument(ts[D3DTSS_COLOROP], ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2], ts[D3DTSS_COLORARG0],
                     D3DTA_TEXTURE) ||
        UsesArgument(ts[D3DTSS_ALPHAOP], ts[D3DTSS_ALPHAARG1], ts[D3DTSS_ALPHAARG2], ts[D3DTSS_ALPHAARG0],
                     D3DTA_TEXTURE) ||
        ts[D3DTSS_COLOROP] == D3DTOP_BLENDTEXTUREALPHA || ts[D3DTSS_COLOROP] == D3DTOP_BLENDTEXTUREALPHAPM ||
        ts[D3DTSS_ALPHAOP] == D3DTOP_BLENDTEXTUREALPHA || ts[D3DTSS_ALPHAOP] == D3DTOP_BLENDTEXTUREALPHAPM;
    stage.textureType = samples ? texture : ETextureType::None;
    if (stage.textureType == ETextureType::None || pointSprite) {
        stage.texCoordSet = 0xFF;
        return;
    }
    BuildStageCoordinates(stage, ts, layout);
}

// Which coordinates a stage reads, generated or from which set, and their transform.
void BuildStageCoordinates(SStageKey& stage, const DWORD* ts, const CFvfLayout& layout) {
    const DWORD tci = ts[D3DTSS_TEXCOORDINDEX];
    stage.texGen = static_cast<std::uint8_t>((tci >> 16) & 0x3);
    const DWORD set = tci & 0xFFFF;
    stage.texCoordSet = (stage.texGen == 0 && set < layout.TexCoordCount()) ? static_cast<std::uint8_t>(set) : 0xFF;
    const DWORD flags = ts[D3DTSS_TEXTURETRANSFORMFLAGS];
    if (!layout.IsPretransformed() && (flags & 0xFF) >= D3DTTFF_COUNT1 && (flags & 0xFF) <= D3DTTFF_COUNT4) {
        stage.transformCount = static_cast<std::uint8_t>(flags & 0xFF);
        stage.projected = (flags & D3DTTFF_PROJECTED) != 0;
    }
}

}  // namespace

SFixedFunctionKey SFixedFunctionKey::Build(const CDeviceState& state, const CFvfLayout& layout, DWORD fvf,
                                           bool pointList, const ETextureType* textureTypes, bool depthRemap) {
    SFixedFunctionKey key;
    std::memset(&key, 0, sizeof key);
    const DWORD* rs = state.renderStates;
    key.fvf = fvf;
    key.depthRemap = depthRemap;
    key.pointList = pointList;
    key.pointSprite = pointList && rs[D3DRS_POINTSPRITEENABLE] != 0;
    key.pointScale = pointList && rs[D3DRS_POINTSCALEENABLE] != 0 && !layout.IsPretransformed();
    key.flatShading = rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS && rs[D3DRS_ALPHAFUNC] >= D3DCMP_NEVER &&
        rs[D3DRS_ALPHAFUNC] <= D3DCMP_ALWAYS)
        key.alphaFunc = static_cast<std::uint8_t>(rs[D3DRS_ALPHAFUNC]);
    key.specular = rs[D3DRS_SPECULARENABLE] != 0;
    BuildLighting(key, state, layout);
    BuildFog(key, state, layout);
    for (DWORD i = 0; i < D3D8_MAX_TEXTURE_STAGES; ++i) {
        const DWORD* ts = state.stageStates[i];
        if (ts[D3DTSS_COLOROP] == D3DTOP_DISABLE || ts[D3DTSS_COLOROP] > D3DTOP_LERP)
            break;
        BuildStage(key.stages[i], ts, layout, textureTypes[i], key.pointSprite);
        key.stageCount = static_cast<std::uint8_t>(i + 1);
    }
    return key;
}

SFixedFunctionKey SFixedFunctionKey::BuildForShaders(const CDeviceState& state, const CFvfLayout& layout, DWORD fvf,
                                                     bool pointList, const ETextureType* textureTypes, bool depthRemap,
                                                     bool vertexShader, bool pixelShader) {
    SFixedFunctionKey key = Build(state, layout, vertexShader ? 0 : fvf, pointList, textureTypes, depthRemap);
    if (vertexShader) {
        // The program transforms, lights and writes the coordinates itself;
        // stage n reads its output oTn.
        key.lighting = key.localViewer = key.normalizeNormals = key.pointScale = 0;
        key.diffuseSource = key.ambientSource = key.specularSource = key.emissiveSource = EColorSource::Material;
        key.lightCount = 0;
        std::memset(key.lightTypes, 0, sizeof key.lightTypes);
        key.specular = state.renderStates[D3DRS_SPECULARENABLE] != 0;
        for (SStageKey& stage : key.stages) {
            stage.texCoordSet = 0;
            stage.texGen = stage.transformCount = stage.projected = 0;
        }
    }
    if (pixelShader) {
        // The program replaces the stage cascade: what remains is the texture
        // type bound to each of its four stages and, for a fixed-function
        // vertex half, the coordinates of every stage.
        key.stageCount = D3D8_PS_TEXTURE_REGISTERS;
        key.allStageCoordinates = 1;
        key.specular = 0;
        for (DWORD i = 0; i < D3D8_MAX_TEXTURE_STAGES; ++i) {
            SStageKey& stage = key.stages[i];
            stage = SStageKey{};
            if (i >= D3D8_PS_TEXTURE_REGISTERS)
                continue;
            stage.textureType = textureTypes[i];
            stage.texCoordSet = 0xFF;
            if (!vertexShader && !key.pointSprite)
                BuildStageCoordinates(stage, state.stageStates[i], layout);
        }
    }
    return key;
}

bool SFixedFunctionKey::operator==(const SFixedFunctionKey& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
}

std::size_t SFixedFunctionKeyHash::operator()(const SFixedFunctionKey& key) const {
    // FNV-1a over the bytes; keys are zero-filled, so padding is stable.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&key);
    std::size_t hash = 1469598103934665603ull;
    for (std::size_t i = 0; i < sizeof key; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}
