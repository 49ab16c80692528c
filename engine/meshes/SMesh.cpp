#include "meshes/SMesh.h"

D3DMATERIAL8 MakeMeshMaterial(float red, float green, float blue) {
    const D3DCOLORVALUE colour{red, green, blue, 1.0f};
    D3DMATERIAL8 material{};
    material.Diffuse = colour;
    material.Ambient = colour;
    material.Specular = colour;
    material.Emissive = colour;
    return material;
}
