#pragma once
// Everything about the fixed-function state that changes the generated GLSL
// program (but not the values in its uniform block). Two draws with equal keys
// share one program. Build() normalises the key: states that do not matter
// under the current settings are zeroed so they do not split the cache.

#include <cstddef>
#include <cstdint>

#include "platform/d3d8/d3d8types.h"

class CDeviceState;
class CFvfLayout;

enum class EFogSource : std::uint8_t {
    None,
    PixelDepth,
    VertexDepth,
    VertexSpecularAlpha
};
enum class EColorSource : std::uint8_t {
    Material,
    VertexDiffuse,
    VertexSpecular
};
enum class ETextureType : std::uint8_t {
    None,
    Texture2D,
    Cube
};

struct SStageKey {
    std::uint8_t colorOp, colorArg0, colorArg1, colorArg2;
    std::uint8_t alphaOp, alphaArg0, alphaArg1, alphaArg2;
    std::uint8_t resultToTemp;
    std::uint8_t texCoordSet;  // set index, or 0xFF when the vertex has no such set
    std::uint8_t texGen;       // D3DTSS_TCI_* >> 16
    ETextureType textureType;
    std::uint8_t transformCount;  // D3DTTFF_COUNTn, 0 without transform
    std::uint8_t projected;
    std::uint8_t padding[2];
};

struct SFixedFunctionKey {
    std::uint32_t fvf;
    std::uint8_t lighting, specular, localViewer, normalizeNormals;
    EColorSource diffuseSource, ambientSource, specularSource, emissiveSource;
    std::uint8_t lightCount;
    EFogSource fogSource;
    std::uint8_t fogFormula;  // D3DFOGMODE
    std::uint8_t pointList;
    std::uint8_t pointSprite, pointScale, flatShading, alphaFunc;  // alphaFunc 0: no test
    std::uint8_t depthRemap;                                       // no clip control: remap z from 0..1 to -w..w
    std::uint8_t stageCount;                                       // stages before the first disabled one
    std::uint8_t allStageCoordinates;  // a pixel shader reads: every stage's coordinates, textured or not
    std::uint8_t padding[1];
    std::uint8_t lightTypes[8];
    SStageKey stages[D3D8_MAX_TEXTURE_STAGES];

    // textureTypes: what is bound to each stage.
    static SFixedFunctionKey Build(const CDeviceState& state, const CFvfLayout& layout, DWORD fvf, bool pointList,
                                   const ETextureType* textureTypes, bool depthRemap);
    // The key of a draw through a vertex shader, a pixel shader or both: the
    // fixed-function half keeps what it needs, the programmable half only
    // what its translation reads (interpolation, fog, alpha test, the
    // texture type of each of a pixel shader's four stages).
    static SFixedFunctionKey BuildForShaders(const CDeviceState& state, const CFvfLayout& layout, DWORD fvf,
                                             bool pointList, const ETextureType* textureTypes, bool depthRemap,
                                             bool vertexShader, bool pixelShader);

    bool operator==(const SFixedFunctionKey& other) const;
};

struct SFixedFunctionKeyHash {
    std::size_t operator()(const SFixedFunctionKey& key) const;
};
