#include "platform/d3d8/CFixedFunctionShaderGenerator.h"

#include <sstream>

namespace {

const char* kUniformBlock = R"(struct Light {
    vec4 diffuse;
    vec4 specular;
    vec4 ambient;
    vec4 position;
    vec4 direction;
    vec4 attenuation;
    vec4 spot;
};
layout(std140) uniform FixedFunctionTransforms {
    mat4 u_worldView;
    mat4 u_projection;
    mat4 u_normalMatrix;
    vec4 u_viewportTransform;
    vec4 u_positionFixup;
};
layout(std140) uniform FixedFunctionVertex {
    mat4 u_textureMatrix[8];
    vec4 u_materialDiffuse;
    vec4 u_materialAmbient;
    vec4 u_materialSpecular;
    vec4 u_materialEmissive;
    vec4 u_materialPower;
    vec4 u_globalAmbient;
    vec4 u_pointParams;
    vec4 u_pointScale;
    Light u_lights[8];
};
layout(std140) uniform FixedFunctionPixel {
    vec4 u_fogColor;
    vec4 u_fogParams;
    vec4 u_textureFactor;
    vec4 u_alphaReference;
};
)";

bool HasFvf(const SFixedFunctionKey& key, DWORD bits) {
    return (key.fvf & bits) != 0;
}
bool Pretransformed(const SFixedFunctionKey& key) {
    return (key.fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
}
unsigned TexCoordCount(const SFixedFunctionKey& key) {
    return (key.fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
}

unsigned TexCoordComponents(const SFixedFunctionKey& key, unsigned set) {
    switch ((key.fvf >> (set * 2 + 16)) & 3) {
    case D3DFVF_TEXTUREFORMAT1:
        return 1;
    case D3DFVF_TEXTUREFORMAT3:
        return 3;
    case D3DFVF_TEXTUREFORMAT4:
        return 4;
    default:
        return 2;
    }
}

const char* Interpolation(const SFixedFunctionKey& key) {
    return key.flatShading ? "flat " : "";
}

std::string ColorSource(EColorSource source, const char* material) {
    switch (source) {
    case EColorSource::VertexDiffuse:
        return "a_diffuse";
    case EColorSource::VertexSpecular:
        return "a_specular";
    default:
        return material;
    }
}

// --- vertex shader -------------------------------------------------------------

void WriteVertexInputs(std::ostringstream& s, const SFixedFunctionKey& key) {
    s << "layout(location = 0) in vec4 a_position;\n";
    if (HasFvf(key, D3DFVF_NORMAL))
        s << "layout(location = 1) in vec3 a_normal;\n";
    if (HasFvf(key, D3DFVF_PSIZE))
        s << "layout(location = 2) in float a_pointSize;\n";
    if (HasFvf(key, D3DFVF_DIFFUSE))
        s << "layout(location = 3) in vec4 a_diffuse;\n";
    if (HasFvf(key, D3DFVF_SPECULAR))
        s << "layout(location = 4) in vec4 a_specular;\n";
    for (unsigned set = 0; set < TexCoordCount(key) && set < 8; ++set)
        s << "layout(location = " << 5 + set << ") in vec4 a_texCoord" << set << ";\n";
}

// Whether stage i's coordinates pass from the vertex to the fragment half.
bool WritesCoordinates(const SFixedFunctionKey& key, unsigned i) {
    if (key.allStageCoordinates)
        return true;  // (0, 0, 0, 0) for point sprites: a pixel shader reads them all the same
    return !key.pointSprite && key.stages[i].textureType != ETextureType::None;
}

void WriteVaryings(std::ostringstream& s, const SFixedFunctionKey& key, const char* direction) {
    s << Interpolation(key) << direction << " vec4 v_diffuse;\n";
    s << Interpolation(key) << direction << " vec4 v_specular;\n";
    if (key.fogSource != EFogSource::None)
        s << direction << " float v_fog;\n";
    for (unsigned i = 0; i < key.stageCount; ++i)
        if (WritesCoordinates(key, i))
            s << direction << " vec4 v_texCoord" << i << ";\n";
}

void WriteLight(std::ostringstream& s, const SFixedFunctionKey& key, unsigned i) {
    const unsigned type = key.lightTypes[i];
    s << "    {\n        Light light = u_lights[" << i << "];\n";
    if (type == D3DLIGHT_DIRECTIONAL) {
        s << "        vec3 L = -light.direction.xyz;\n        float atten = 1.0;\n";
    } else {
        s << "        vec3 toLight = light.position.xyz - eyePosition;\n"
             "        float dist = length(toLight);\n"
             "        vec3 L = dist > 0.0 ? toLight / dist : vec3(0.0, 0.0, -1.0);\n"
             "        float atten = dist <= light.position.w ? 1.0 / max(light.attenuation.x + light.attenuation.y * "
             "dist + light.attenuation.z * dist * dist, 1e-6) : 0.0;\n";
        if (type == D3DLIGHT_SPOT) {
            s << "        float rho = dot(-L, light.direction.xyz);\n"
                 "        float spot = rho > light.spot.x ? 1.0 : (rho <= light.spot.y ? 0.0 : "
                 "pow(max((rho - light.spot.y) / max(light.spot.x - light.spot.y, 1e-6), 0.0), light.direction.w));\n"
                 "        atten *= spot;\n";
        }
    }
    s << "        ambientLight += light.ambient.rgb * atten;\n"
         "        float NdotL = max(dot(N, L), 0.0);\n"
         "        diffuseLight += light.diffuse.rgb * NdotL * atten;\n";
    if (key.specular)
        s << "        if (NdotL > 0.0) {\n"
             "            vec3 H = normalize(L + V);\n"
             "            float NdotH = max(dot(N, H), 0.0);\n"
             "            if (NdotH > 0.0) specularLight += light.specular.rgb * pow(NdotH, u_materialPower.x) * "
             "atten;\n"
             "        }\n";
    s << "    }\n";
}

void WriteLighting(std::ostringstream& s, const SFixedFunctionKey& key) {
    if (!key.lighting) {
        s << "    v_diffuse = " << (HasFvf(key, D3DFVF_DIFFUSE) ? "a_diffuse" : "vec4(1.0)") << ";\n";
        s << "    v_specular = " << (HasFvf(key, D3DFVF_SPECULAR) ? "a_specular" : "vec4(0.0)") << ";\n";
        return;
    }
    if (HasFvf(key, D3DFVF_NORMAL)) {
        s << "    vec3 N = mat3(u_normalMatrix) * a_normal;\n";
        if (key.normalizeNormals)
            s << "    N = normalize(N);\n";
    } else {
        s << "    vec3 N = vec3(0.0);\n";
    }
    s << "    vec3 V = " << (key.localViewer ? "normalize(-eyePosition)" : "vec3(0.0, 0.0, -1.0)") << ";\n";
    s << "    vec3 ambientLight = u_globalAmbient.rgb;\n"
         "    vec3 diffuseLight = vec3(0.0);\n"
         "    vec3 specularLight = vec3(0.0);\n";
    for (unsigned i = 0; i < key.lightCount; ++i)
        WriteLight(s, key, i);
    s << "    vec4 matDiffuse = " << ColorSource(key.diffuseSource, "u_materialDiffuse") << ";\n"
      << "    vec4 matAmbient = " << ColorSource(key.ambientSource, "u_materialAmbient") << ";\n"
      << "    vec4 matSpecular = " << ColorSource(key.specularSource, "u_materialSpecular") << ";\n"
      << "    vec4 matEmissive = " << ColorSource(key.emissiveSource, "u_materialEmissive") << ";\n";
    s << "    v_diffuse = vec4(clamp(matEmissive.rgb + matAmbient.rgb * ambientLight + matDiffuse.rgb * "
         "diffuseLight, 0.0, 1.0), clamp(matDiffuse.a, 0.0, 1.0));\n";
    s << "    v_specular = vec4(clamp(matSpecular.rgb * specularLight, 0.0, 1.0), clamp(matSpecular.a, 0.0, 1.0));\n";
}

void WriteFogAndPointSize(std::ostringstream& s, const SFixedFunctionKey& key) {
    if (key.fogSource == EFogSource::PixelDepth)
        s << "    v_fog = eyeDepth;\n";
    if (key.fogSource == EFogSource::VertexDepth)
        s << "    v_fog = clamp(" << CFixedFunctionShaderGenerator::FogFactor(key.fogFormula, "eyeDepth")
          << ", 0.0, 1.0);\n";
    if (key.fogSource == EFogSource::VertexSpecularAlpha)
        s << "    v_fog = a_specular.a;\n";
    if (!key.pointList) {
        s << "    gl_PointSize = 1.0;\n";
        return;
    }
    s << "    float pointSize = " << (HasFvf(key, D3DFVF_PSIZE) ? "a_pointSize" : "u_pointParams.x") << ";\n";
    if (key.pointScale)
        s << "    float De = length(eyePosition);\n"
             "    pointSize = u_pointParams.w * pointSize * inversesqrt(max(u_pointScale.x + u_pointScale.y * De + "
             "u_pointScale.z * De * De, 1e-12));\n";
    s << "    gl_PointSize = max(clamp(pointSize, u_pointParams.y, u_pointParams.z), 1.0);\n";
}

// The coordinate vector a stage starts from, padded the Direct3D way: after the
// last given component comes 1, then zeros (so 2D coordinates read (u, v, 1, 0)
// and a texture matrix keeps its translation in the third row).
std::string StageCoordinateSource(const SFixedFunctionKey& key, const SStageKey& stage) {
    switch (stage.texGen) {
    case D3DTSS_TCI_CAMERASPACENORMAL >> 16:
        return "vec4(N, 1.0)";
    case D3DTSS_TCI_CAMERASPACEPOSITION >> 16:
        return "vec4(eyePosition, 1.0)";
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR >> 16:
        return "vec4(reflect(normalize(eyePosition), N), 1.0)";
    default:
        break;
    }
    if (stage.texCoordSet == 0xFF)
        return "vec4(0.0, 0.0, 0.0, 0.0)";
    const std::string a = "a_texCoord" + std::to_string(stage.texCoordSet);
    switch (TexCoordComponents(key, stage.texCoordSet)) {
    case 1:
        return "vec4(" + a + ".x, 1.0, 0.0, 0.0)";
    case 3:
        return "vec4(" + a + ".xyz, 1.0)";
    case 4:
        return a;
    default:
        return "vec4(" + a + ".xy, 1.0, 0.0)";
    }
}

void WriteTexCoords(std::ostringstream& s, const SFixedFunctionKey& key) {
    for (unsigned i = 0; i < key.stageCount; ++i) {
        const SStageKey& stage = key.stages[i];
        if (!WritesCoordinates(key, i))
            continue;
        s << "    v_texCoord" << i << " = " << StageCoordinateSource(key, stage) << ";\n";
        if (stage.transformCount)
            s << "    v_texCoord" << i << " = u_textureMatrix[" << i << "] * v_texCoord" << i << ";\n";
    }
}

bool NeedsNormal(const SFixedFunctionKey& key) {
    if (key.lighting)
        return true;
    for (unsigned i = 0; i < key.stageCount; ++i)
        if (key.stages[i].texGen == (D3DTSS_TCI_CAMERASPACENORMAL >> 16) ||
            key.stages[i].texGen == (D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR >> 16))
            return true;
    return false;
}

// --- fragment shader -------------------------------------------------------------

std::string Argument(unsigned arg, unsigned stage) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        value = "diffuse";
        break;
    case D3DTA_CURRENT:
        value = "current";
        break;
    case D3DTA_TEXTURE:
        value = "tex" + std::to_string(stage);
        break;
    case D3DTA_TFACTOR:
        value = "u_textureFactor";
        break;
    case D3DTA_SPECULAR:
        value = "specular";
        break;
    case D3DTA_TEMP:
        value = "temp";
        break;
    default:
        value = "current";
        break;
    }
    if (arg & D3DTA_ALPHAREPLICATE)
        value = "vec4(" + value + ".a)";
    if (arg & D3DTA_COMPLEMENT)
        value = "(vec4(1.0) - " + value + ")";
    return value;
}

// The result of a texture operation on the channels `c` ("rgb" or "a") of
// the arguments x0, x1, x2 (vec4 variables).
std::string Operation(unsigned op, const std::string& c, const std::string& texture) {
    const std::string a0 = "x0." + c, a1 = "x1." + c, a2 = "x2." + c;
    switch (op) {
    case D3DTOP_SELECTARG2:
        return a2;
    case D3DTOP_MODULATE:
        return a1 + " * " + a2;
    case D3DTOP_MODULATE2X:
        return a1 + " * " + a2 + " * 2.0";
    case D3DTOP_MODULATE4X:
        return a1 + " * " + a2 + " * 4.0";
    case D3DTOP_ADD:
        return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED:
        return a1 + " + " + a2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X:
        return "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
    case D3DTOP_SUBTRACT:
        return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH:
        return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA:
        return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA:
        return "mix(" + a2 + ", " + a1 + ", " + texture + ".a)";
    case D3DTOP_BLENDFACTORALPHA:
        return "mix(" + a2 + ", " + a1 + ", u_textureFactor.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM:
        return a1 + " + " + a2 + " * (1.0 - " + texture + ".a)";
    case D3DTOP_BLENDCURRENTALPHA:
        return "mix(" + a2 + ", " + a1 + ", current.a)";
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
        return c == "a" ? a1 : a1 + " + x1.a * " + a2;
    case D3DTOP_MODULATECOLOR_ADDALPHA:
        return c == "a" ? a1 : a1 + " * " + a2 + " + x1.a";
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
        return c == "a" ? a1 : "(1.0 - x1.a) * " + a2 + " + " + a1;
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
        return c == "a" ? a1 : "(1.0 - " + a1 + ") * " + a2 + " + x1.a";
    case D3DTOP_DOTPRODUCT3: {
        const std::string dot = "clamp(4.0 * dot(x1.rgb - 0.5, x2.rgb - 0.5), 0.0, 1.0)";
        return c == "a" ? dot : "vec3(" + dot + ")";
    }
    case D3DTOP_MULTIPLYADD:
        return a0 + " + " + a1 + " * " + a2;
    case D3DTOP_LERP:
        return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default:
        return a1;  // SELECTARG1, PREMODULATE and the bump-mapping operations
    }
}

void WriteSamplers(std::ostringstream& s, const SFixedFunctionKey& key) {
    for (unsigned i = 0; i < key.stageCount; ++i) {
        const ETextureType type = key.stages[i].textureType;
        if (type == ETextureType::Texture2D)
            s << "uniform sampler2D " << CFixedFunctionShaderGenerator::SamplerName(i) << ";\n";
        if (type == ETextureType::Cube)
            s << "uniform samplerCube " << CFixedFunctionShaderGenerator::SamplerName(i) << ";\n";
    }
}

std::string SampleExpression(const SFixedFunctionKey& key, unsigned i) {
    const SStageKey& stage = key.stages[i];
    const std::string sampler = CFixedFunctionShaderGenerator::SamplerName(i);
    if (key.pointSprite) {
        if (stage.textureType == ETextureType::Cube)
            return "texture(" + sampler + ", vec3(gl_PointCoord, 1.0))";
        return "texture(" + sampler + ", gl_PointCoord)";
    }
    std::string coord = "v_texCoord" + std::to_string(i);
    if (stage.projected && stage.transformCount >= 2) {
        const std::string last = std::string("xyzw").substr(stage.transformCount - 1, 1);
        coord = "(" + coord + " / " + coord + "." + last + ")";
    }
    if (stage.textureType == ETextureType::Cube)
        return "texture(" + sampler + ", " + coord + ".xyz)";
    return "texture(" + sampler + ", " + coord + ".xy)";
}

void WriteStage(std::ostringstream& s, const SFixedFunctionKey& key, unsigned i) {
    const SStageKey& stage = key.stages[i];
    const std::string texture = "tex" + std::to_string(i);
    s << "    {\n";
    s << "        vec4 " << texture << " = "
      << (stage.textureType == ETextureType::None ? "vec4(1.0)" : SampleExpression(key, i)) << ";\n";
    s << "        vec4 x0 = " << Argument(stage.colorArg0, i) << ";\n"
      << "        vec4 x1 = " << Argument(stage.colorArg1, i) << ";\n"
      << "        vec4 x2 = " << Argument(stage.colorArg2, i) << ";\n"
      << "        vec3 color = " << Operation(stage.colorOp, "rgb", texture) << ";\n";
    if (stage.alphaOp == D3DTOP_DISABLE || stage.alphaOp > D3DTOP_LERP) {
        s << "        float alpha = current.a;\n";
    } else {
        s << "        x0 = " << Argument(stage.alphaArg0, i) << ";\n"
          << "        x1 = " << Argument(stage.alphaArg1, i) << ";\n"
          << "        x2 = " << Argument(stage.alphaArg2, i) << ";\n"
          << "        float alpha = " << Operation(stage.alphaOp, "a", texture) << ";\n";
    }
    s << "        " << (stage.resultToTemp ? "temp" : "current") << " = clamp(vec4(color, alpha), 0.0, 1.0);\n";
    s << "    }\n";
}

const char* Comparison(unsigned func) {
    switch (func) {
    case D3DCMP_NEVER:
        return "false";
    case D3DCMP_LESS:
        return "alpha8 < ref";
    case D3DCMP_EQUAL:
        return "alpha8 == ref";
    case D3DCMP_LESSEQUAL:
        return "alpha8 <= ref";
    case D3DCMP_GREATER:
        return "alpha8 > ref";
    case D3DCMP_NOTEQUAL:
        return "alpha8 != ref";
    case D3DCMP_GREATEREQUAL:
        return "alpha8 >= ref";
    default:
        return "true";
    }
}

}  // namespace

std::string CFixedFunctionShaderGenerator::FogFactor(unsigned formula, const char* depth) {
    const std::string d = depth;
    switch (formula) {
    case D3DFOG_EXP:
        return "exp(-u_fogParams.z * " + d + ")";
    case D3DFOG_EXP2:
        return "exp(-(u_fogParams.z * " + d + ") * (u_fogParams.z * " + d + "))";
    default:
        return "(u_fogParams.y - " + d + ") * u_fogParams.w";
    }
}

std::string CFixedFunctionShaderGenerator::SamplerName(unsigned stage) {
    return "u_texture" + std::to_string(stage);
}

std::string CFixedFunctionShaderGenerator::VertexShader(const SFixedFunctionKey& key) {
    std::ostringstream s;
    s << "#version 330 core\n" << kUniformBlock;
    WriteVertexInputs(s, key);
    WriteVaryings(s, key, "out");
    s << "void main() {\n";
    if (Pretransformed(key)) {
        // Screen-space x, y in pixels, z in 0..1 and 1 / w: back to clip space
        // so that the rasteriser interpolates with the right perspective.
        s << "    float w = a_position.w != 0.0 ? 1.0 / a_position.w : 1.0;\n"
             "    vec2 ndc = a_position.xy * u_viewportTransform.xy + u_viewportTransform.zw;\n"
             "    vec4 clip = vec4(ndc, a_position.z, 1.0) * w;\n"
             "    vec3 eyePosition = vec3(0.0, 0.0, w);\n"
             "    float eyeDepth = w;\n";
    } else {
        s << "    vec4 eye = u_worldView * vec4(a_position.xyz, 1.0);\n"
             "    vec4 clip = u_projection * eye;\n"
             "    vec3 eyePosition = eye.xyz;\n"
             "    float eyeDepth = eye.z;\n";
    }
    if (NeedsNormal(key) && !key.lighting) {
        s << "    vec3 N = "
          << (HasFvf(key, D3DFVF_NORMAL) ? "normalize(mat3(u_normalMatrix) * a_normal)" : "vec3(0.0)") << ";\n";
    }
    WriteLighting(s, key);
    WriteTexCoords(s, key);
    WriteFogAndPointSize(s, key);
    s << PositionOutput(key);
    s << "}\n";
    return s.str();
}

std::string CFixedFunctionShaderGenerator::PositionOutput(const SFixedFunctionKey& key) {
    std::string s;
    if (key.depthRemap)
        s += "    clip.z = 2.0 * clip.z - clip.w;\n";
    // Direct3D samples pixel centres at integer coordinates: shift by half a
    // pixel, and flip y when the target stores its rows top first.
    s += "    gl_Position = vec4(clip.x + u_positionFixup.x * clip.w, u_positionFixup.y * clip.y + "
         "u_positionFixup.z * clip.w, clip.z, clip.w);\n";
    return s;
}

std::string CFixedFunctionShaderGenerator::UniformBlocks() {
    return kUniformBlock;
}

std::string CFixedFunctionShaderGenerator::FragmentShader(const SFixedFunctionKey& key) {
    std::ostringstream s;
    s << "#version 330 core\n" << kUniformBlock;
    WriteVaryings(s, key, "in");
    WriteSamplers(s, key);
    s << "layout(location = 0) out vec4 o_color;\n";
    s << "void main() {\n"
         "    vec4 diffuse = v_diffuse;\n"
         "    vec4 specular = v_specular;\n"
         "    vec4 current = diffuse;\n"
         "    vec4 temp = vec4(0.0);\n";
    for (unsigned i = 0; i < key.stageCount; ++i)
        WriteStage(s, key, i);
    if (key.specular)
        s << "    current.rgb = clamp(current.rgb + specular.rgb, 0.0, 1.0);\n";
    s << FogAndAlphaTest(key);
    s << "    o_color = current;\n}\n";
    return s.str();
}

std::string CFixedFunctionShaderGenerator::FogAndAlphaTest(const SFixedFunctionKey& key) {
    std::ostringstream s;
    if (key.fogSource == EFogSource::PixelDepth)
        s << "    float fog = clamp(" << FogFactor(key.fogFormula, "v_fog") << ", 0.0, 1.0);\n";
    else if (key.fogSource != EFogSource::None)
        s << "    float fog = clamp(v_fog, 0.0, 1.0);\n";
    if (key.fogSource != EFogSource::None)
        s << "    current.rgb = mix(u_fogColor.rgb, current.rgb, fog);\n";
    if (key.alphaFunc) {
        s << "    float alpha8 = floor(current.a * 255.0 + 0.5);\n"
             "    float ref = u_alphaReference.x;\n"
             "    if (!("
          << Comparison(key.alphaFunc) << ")) discard;\n";
    }
    return s.str();
}
