#pragma once
// The neutral mesh every mesh loader returns: positions with one texture
// coordinate pair, triangles as 32-bit vertex indices, and materials that
// cover consecutive face ranges in array order. Whoever called Load owns it
// and deletes it (through the virtual destructor).

#include <cstdint>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/D3DTypes.h"

struct SMeshVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
};

struct SMeshMaterial {
    D3DMATERIAL8 material{};
    CString texture;            // empty for none
    std::uint32_t endFace = 0;  // one past the last face drawn with this material
};

struct SMesh {
    SMesh() = default;
    SMesh(const SMesh&) = delete;
    SMesh& operator=(const SMesh&) = delete;
    virtual ~SMesh() = default;

    std::uint32_t GetNumVertices() const { return static_cast<std::uint32_t>(vertices.size()); }
    std::uint32_t GetNumFaces() const { return static_cast<std::uint32_t>(indices.size() / 3); }
    std::uint32_t GetNumMaterials() const { return static_cast<std::uint32_t>(materials.size()); }

    std::vector<SMeshVertex> vertices;
    std::vector<std::uint32_t> indices;  // three per triangle
    std::vector<SMeshMaterial> materials;
};

// A material whose four colours are all (red, green, blue, 1): the loaders
// give every colour of a surface the same value.
D3DMATERIAL8 MakeMeshMaterial(float red, float green, float blue);
