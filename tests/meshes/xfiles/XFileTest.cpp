// DirectX ".x" files: D3DX loading (conventions, materials,
// attribute ranges, vertex formats, refusals) and the X mesh loader on top.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "meshes/CXMeshLoader.h"
#include "meshes/common/MeshTestSupport.h"
#include "platform/d3dxmesh/d3dx8mesh.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

using testing::ElementsAre;

namespace {

const std::filesystem::path kModels = "/usr/share/assimp/models/X";

// Two triangles with a material each, listed in the other order, in a frame
// moved by (10, 20, 30).
const char* const kTwoMaterials = R"(xof 0302txt 0064
Frame F {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,10.0,20.0,30.0,1.0;;
 }
 Mesh M {
  4;
  0.0;0.0;1.0;,
  1.0;0.0;2.0;,
  0.0;1.0;3.0;,
  1.0;1.0;4.0;;
  2;
  3;0,1,2;,
  3;1,3,2;;
  MeshMaterialList {
   2;
   2;
   1,
   0;;
   Material Red {
    1.0;0.0;0.0;0.5;;
    7.0;
    0.1;0.2;0.3;;
    0.4;0.5;0.6;;
    TextureFilename { "C:\\textures\\red.png"; }
   }
   Material Blue {
    0.0;0.0;1.0;1.0;;
    0.0;
    0.0;0.0;0.0;;
    0.0;0.0;0.0;;
   }
  }
  MeshTextureCoords {
   4;
   0.1;0.2;,
   0.3;0.4;,
   0.5;0.6;,
   0.7;0.8;;
  }
 }
}
)";

// A quad without materials, normals or texture coordinates.
const char* const kPlainQuad = R"(xof 0302txt 0064
Mesh M {
  4;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  1.0;1.0;0.0;,
  0.0;1.0;0.0;;
  1;
  4;0,1,2,3;;
}
)";

template <class T>
struct SReleaser {
    void operator()(T* object) const {
        if (object != nullptr)
            object->Release();
    }
};
template <class T>
using Ref = std::unique_ptr<T, SReleaser<T>>;

struct SLoaded {
    Ref<ID3DXMesh> mesh;
    Ref<ID3DXBuffer> adjacency;
    Ref<ID3DXBuffer> materials;
    DWORD materialCount = 0;
    HRESULT result = E_FAIL;
};

SLoaded LoadX(const std::string& text, DWORD options = D3DXMESH_SYSTEMMEM) {
    SLoaded loaded;
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    loaded.result =
        D3DXLoadMeshFromXInMemory(reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()), options,
                                  nullptr, &adjacency, &materials, &loaded.materialCount, &mesh);
    loaded.mesh.reset(mesh);
    loaded.adjacency.reset(adjacency);
    loaded.materials.reset(materials);
    return loaded;
}

std::vector<float> Floats(const BYTE* data, size_t count) {
    std::vector<float> values(count);
    std::memcpy(values.data(), data, count * sizeof(float));
    return values;
}

// A grid of n x n quads as a text ".x" file ((n + 1)^2 vertices).
std::string Grid(int n) {
    std::string text = "xof 0302txt 0064\nMesh G {\n" + std::to_string((n + 1) * (n + 1)) + ";\n";
    for (int y = 0; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) {
            text += std::to_string(x) + ";" + std::to_string(y) + ";0;" + (x == n && y == n ? ";\n" : ",\n");
        }
    }
    text += std::to_string(n * n) + ";\n";
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int a = y * (n + 1) + x;
            text += "4;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + n + 2) + "," +
                    std::to_string(a + n + 1) + (x == n - 1 && y == n - 1 ? ";;\n" : ";,\n");
        }
    }
    return text + "}\n";
}

}  // namespace

TEST(D3DXMeshLoading, KeepsTheFileConventionsAndOrdersFacesByMaterial) {
    SLoaded loaded = LoadX(kTwoMaterials);
    ASSERT_EQ(loaded.result, D3D_OK);
    ID3DXMesh& mesh = *loaded.mesh;
    EXPECT_EQ(mesh.GetFVF(), D3DFVF_XYZ | D3DFVF_TEX1);
    EXPECT_EQ(mesh.GetNumFaces(), 2u);
    EXPECT_EQ(mesh.GetNumVertices(), 6u) << "each material's triangle has its own vertices";

    DWORD rangeCount = 0;
    ASSERT_EQ(mesh.GetAttributeTable(nullptr, &rangeCount), D3D_OK);
    ASSERT_EQ(rangeCount, 2u);
    D3DXATTRIBUTERANGE ranges[2];
    mesh.GetAttributeTable(ranges, &rangeCount);
    EXPECT_EQ(ranges[0].AttribId, 0u);
    EXPECT_EQ(ranges[0].FaceStart, 0u);
    EXPECT_EQ(ranges[0].FaceCount, 1u);
    EXPECT_EQ(ranges[1].FaceStart, 1u);
    EXPECT_EQ(ranges[1].VertexStart, 3u);
    DWORD* attributes = nullptr;
    mesh.LockAttributeBuffer(0, &attributes);
    EXPECT_THAT(std::vector<DWORD>(attributes, attributes + 2), ElementsAre(0, 1));

    // The first face is the file's second triangle (1, 3, 2), placed by its
    // frame, in the file's winding, with the file's texture coordinates.
    BYTE* vertices = nullptr;
    BYTE* indices = nullptr;
    mesh.LockVertexBuffer(0, &vertices);
    mesh.LockIndexBuffer(0, &indices);
    std::uint16_t face[3];
    std::memcpy(face, indices, sizeof(face));
    auto near = [](float value) { return testing::FloatNear(value, 1e-5f); };
    EXPECT_THAT(Floats(vertices + face[0] * 20, 5), ElementsAre(11, 20, 32, near(0.3f), near(0.4f)));
    EXPECT_THAT(Floats(vertices + face[1] * 20, 5), ElementsAre(11, 21, 34, near(0.7f), near(0.8f)));
    EXPECT_THAT(Floats(vertices + face[2] * 20, 5), ElementsAre(10, 21, 33, near(0.5f), near(0.6f)));

    ASSERT_EQ(loaded.materialCount, 2u);
    const auto* materials = static_cast<const D3DXMATERIAL*>(loaded.materials->GetBufferPointer());
    EXPECT_FLOAT_EQ(materials[0].MatD3D.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(materials[0].MatD3D.Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(materials[0].MatD3D.Power, 7.0f);
    EXPECT_FLOAT_EQ(materials[0].MatD3D.Specular.b, 0.3f);
    EXPECT_FLOAT_EQ(materials[0].MatD3D.Emissive.g, 0.5f);
    EXPECT_STREQ(materials[0].pTextureFilename, "C:\\textures\\red.png");
    EXPECT_EQ(materials[1].pTextureFilename, nullptr);

    // The two triangles share the edge 1-2.
    const auto* adjacency = static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer());
    EXPECT_EQ(loaded.adjacency->GetBufferSize(), 6 * sizeof(DWORD));
    EXPECT_EQ(std::count(adjacency, adjacency + 6, 0xFFFFFFFFu), 6) << "no shared vertex index across materials";
}

TEST(D3DXMeshLoading, CloneConvertsVertexFormatsAndIndexSizes) {
    SLoaded loaded = LoadX(kTwoMaterials);
    ASSERT_EQ(loaded.result, D3D_OK);
    ID3DXMesh* raw = nullptr;
    ASSERT_EQ(loaded.mesh->CloneMeshFVF(D3DXMESH_SYSTEMMEM | D3DXMESH_32BIT, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2,
                                        nullptr, &raw),
              D3D_OK);
    Ref<ID3DXMesh> clone(raw);
    EXPECT_EQ(clone->GetNumVertices(), 6u);
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    loaded.mesh->LockVertexBuffer(0, &from);
    clone->LockVertexBuffer(0, &to);
    // position, zero normal (the file has none), first pair copied, second zero
    EXPECT_THAT(Floats(to + 40, 10),
                ElementsAre(Floats(from + 20, 1)[0], Floats(from + 24, 1)[0], Floats(from + 28, 1)[0], 0, 0, 0,
                            Floats(from + 32, 1)[0], Floats(from + 36, 1)[0], 0, 0));
    BYTE* indices16 = nullptr;
    BYTE* indices32 = nullptr;
    loaded.mesh->LockIndexBuffer(0, &indices16);
    clone->LockIndexBuffer(0, &indices32);
    for (int i = 0; i < 6; ++i) {
        std::uint16_t a = 0;
        std::uint32_t b = 0;
        std::memcpy(&a, indices16 + 2 * i, 2);
        std::memcpy(&b, indices32 + 4 * i, 4);
        EXPECT_EQ(a, b);
    }
    DWORD rangeCount = 0;
    clone->GetAttributeTable(nullptr, &rangeCount);
    EXPECT_EQ(rangeCount, 2u);
    EXPECT_EQ(loaded.mesh->CloneMeshFVF(0, D3DFVF_XYZRHW, nullptr, &raw), D3DERR_INVALIDCALL);
}

TEST(D3DXMeshLoading, RefusesWhatItCannotRead) {
    EXPECT_EQ(LoadX("xof 0302txt 0064\nthis is not a mesh {").result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(LoadX("OBJ file pretending to be X data").result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(LoadX("xof 0302txt 0064\nFrame Empty {\n}\n").result, D3DXERR_LOADEDMESHHASNODATA);
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromX("/nonexistent/file.x", D3DXMESH_SYSTEMMEM, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);

    // 257 x 257 vertices do not fit 16-bit indices; with D3DXMESH_32BIT they load.
    const std::string grid = Grid(256);
    EXPECT_EQ(LoadX(grid).result, D3DXERR_INVALIDMESH);
    SLoaded wide = LoadX(grid, D3DXMESH_SYSTEMMEM | D3DXMESH_32BIT);
    ASSERT_EQ(wide.result, D3D_OK);
    EXPECT_EQ(wide.mesh->GetNumVertices(), 257u * 257u);
    EXPECT_EQ(wide.mesh->GetNumFaces(), 2u * 256u * 256u);
    EXPECT_EQ(wide.materialCount, 0u);
}

TEST(D3DXMeshLoading, TextBinaryAndCompressedFilesGiveTheSameMesh) {
    const auto text = kModels / "test_cube_text.x";
    if (!std::filesystem::exists(text)) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    auto load = [](const std::filesystem::path& path) {
        ID3DXMesh* mesh = nullptr;
        EXPECT_EQ(D3DXLoadMeshFromX(path.c_str(), D3DXMESH_SYSTEMMEM, nullptr, nullptr, nullptr, nullptr, &mesh),
                  D3D_OK)
            << path;
        return Ref<ID3DXMesh>(mesh);
    };
    const Ref<ID3DXMesh> reference = load(text);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->GetNumFaces(), 12u);
    for (const char* name : {"test_cube_binary.x", "test_cube_compressed.x"}) {
        const Ref<ID3DXMesh> other = load(kModels / name);
        ASSERT_NE(other, nullptr);
        ASSERT_EQ(other->GetNumVertices(), reference->GetNumVertices()) << name;
        ASSERT_EQ(other->GetFVF(), reference->GetFVF()) << name;
        BYTE* a = nullptr;
        BYTE* b = nullptr;
        reference->LockVertexBuffer(0, &a);
        other->LockVertexBuffer(0, &b);
        const size_t floats =
            reference->GetNumVertices() * (reference->GetFVF() == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1) ? 8 : 6);
        const std::vector<float> va = Floats(a, floats);
        const std::vector<float> vb = Floats(b, floats);
        for (size_t i = 0; i < floats; ++i)
            EXPECT_NEAR(va[i], vb[i], 1e-5f) << name << " float " << i;
    }
}

class XMeshLoader : public testing::Test {
protected:
    CTempFolder m_folder;
    CErrorCapture m_errors;
};

TEST_F(XMeshLoader, MaterialsTakeTheDiffuseColourAndTexturesLieBesideTheFile) {
    const std::string path = m_folder.Write("two.x", std::string(kTwoMaterials));
    std::unique_ptr<SMesh> mesh(CXMeshLoader().Load(path, nullptr));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumFaces(), 2u);
    EXPECT_EQ(mesh->GetNumVertices(), 6u);
    EXPECT_THAT(meshtest::EndFaces(*mesh), ElementsAre(1, 2));
    const D3DMATERIAL8& red = mesh->materials[0].material;
    EXPECT_FLOAT_EQ(red.Ambient.r, 1.0f);
    EXPECT_FLOAT_EQ(red.Ambient.a, 0.5f);
    EXPECT_FLOAT_EQ(red.Emissive.r, 1.0f);
    EXPECT_FLOAT_EQ(red.Emissive.g, 0.0f);
    EXPECT_FLOAT_EQ(red.Specular.g, 0.2f);
    EXPECT_FLOAT_EQ(red.Power, 7.0f);
    EXPECT_EQ(mesh->materials[0].texture, m_folder.Path("red.png"));
    EXPECT_TRUE(mesh->materials[1].texture.empty());
    const std::uint32_t first = mesh->indices[0];
    EXPECT_FLOAT_EQ(mesh->vertices[first].x, 11.0f);
    EXPECT_NEAR(mesh->vertices[first].u, 0.3f, 1e-5f);
    EXPECT_NEAR(mesh->vertices[first].v, 0.4f, 1e-5f);
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(XMeshLoader, FileWithoutMaterialsIsOneGreyMaterialOverEveryFace) {
    std::unique_ptr<SMesh> mesh(CXMeshLoader().Load(m_folder.Write("quad.x", std::string(kPlainQuad)), nullptr));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetNumFaces(), 2u);
    EXPECT_EQ(mesh->GetNumVertices(), 4u);
    ASSERT_EQ(mesh->GetNumMaterials(), 1u);
    EXPECT_EQ(mesh->materials[0].endFace, 2u);
    EXPECT_FLOAT_EQ(mesh->materials[0].material.Diffuse.g, 0.5f);
}

TEST_F(XMeshLoader, UnreadableFilesGiveNullQuietlyButTooManyVerticesIsExplained) {
    EXPECT_EQ(CXMeshLoader().Load(m_folder.Path("none.x"), nullptr), nullptr);
    EXPECT_EQ(CXMeshLoader().Load(m_folder.Write("bad.x", std::string("xof 0302txt 0064\n{{{")), nullptr), nullptr);
    EXPECT_EQ(m_errors.Count(), 0u);
    EXPECT_EQ(CXMeshLoader().Load(m_folder.Write("big.x", Grid(256)), nullptr), nullptr);
    EXPECT_THAT(m_errors.Texts(), ElementsAre(CMeshLoader::TooManyVerticesMessage()));
}
