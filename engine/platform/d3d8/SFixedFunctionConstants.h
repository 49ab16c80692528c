#pragma once
// The uniform blocks every fixed-function program reads (std140 layout),
// split by how often they change: the transforms change with nearly every
// draw, the vertex values (material, lights, texture matrices, points) and
// the pixel values (fog, texture factor, alpha reference) far less. The
// renderer recomputes a block only when its state changed and publishes it to
// a fresh slot of that block's streaming buffer.
//
// Matrices are stored as Direct3D's row-major matrices; GLSL reads them as
// column-major, which turns v * M into M * v without any transposing.

struct STransformConstants {
    float worldView[16];
    float projection[16];
    float normalMatrix[16];
    float viewportTransform[4];  // pre-transformed vertices: ndc = xy * (x, y) + (z, w)
    float positionFixup[4];      // x: 1 / width, y: y sign, z: -sign / height
};

struct SLightConstants {
    float diffuse[4];
    float specular[4];
    float ambient[4];
    float position[4];     // view space; w = range
    float direction[4];    // view space, towards where the light shines; w = falloff
    float attenuation[4];  // a0, a1, a2
    float spot[4];         // cos(theta / 2), cos(phi / 2)
};

struct SVertexConstants {
    float textureMatrix[8][16];
    float materialDiffuse[4];
    float materialAmbient[4];
    float materialSpecular[4];
    float materialEmissive[4];
    float materialPower[4];
    float globalAmbient[4];
    float pointParams[4];  // size, min, max, viewport height
    float pointScale[4];   // A, B, C
    SLightConstants lights[8];
};

struct SPixelConstants {
    float fogColor[4];
    float fogParams[4];  // start, end, density, 1 / (end - start)
    float textureFactor[4];
    float alphaReference[4];
};

// Binding points of the three blocks.
constexpr unsigned kTransformBlockBinding = 0;
constexpr unsigned kVertexBlockBinding = 1;
constexpr unsigned kPixelBlockBinding = 2;
