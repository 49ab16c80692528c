// The ".x" reader on files made to test one thing each: text, binary (32-
// and 64-bit floats) and compressed files, frames and references, and the
// refusal of every kind of damage (counts past the end, indices out of
// range, runaway nesting, unterminated braces, unknown names, compressed
// blocks whose sizes lie).

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/d3dxmesh/d3dx8mesh.h"

namespace {

// A triangle and a quad (split in two) over four vertices.
const char* const kQuadAndTriangle = R"(xof 0303txt 0032
template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 [...]
}
Mesh M {
 4;
 0.0;0.0;0.0;,
 2.0;0.0;0.0;,
 2.0;2.0;0.0;,
 0.0;2.0;0.0;;
 2;
 4;0,1,2,3;,
 3;0,2,3;;
 MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; }
}
)";

struct SResult {
    HRESULT result = E_FAIL;
    std::vector<float> positions;  // x, y, z per corner, face by face
    DWORD materials = 0;
};

SResult Load(const std::vector<BYTE>& bytes) {
    SResult out;
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    out.result = D3DXLoadMeshFromXInMemory(bytes.data(), static_cast<DWORD>(bytes.size()), D3DXMESH_32BIT, nullptr,
                                           nullptr, &materials, &out.materials, &mesh);
    if (materials != nullptr) {
        materials->Release();
    }
    if (mesh == nullptr) {
        return out;
    }
    BYTE* vertices = nullptr;
    BYTE* indices = nullptr;
    mesh->LockVertexBuffer(0, &vertices);
    mesh->LockIndexBuffer(0, &indices);
    const DWORD stride = mesh->GetFVF() & D3DFVF_TEX1 ? 20 : 12;
    for (DWORD i = 0; i < mesh->GetNumFaces() * 3; ++i) {
        std::uint32_t index = 0;
        std::memcpy(&index, indices + i * 4, 4);
        float p[3];
        std::memcpy(p, vertices + index * stride, 12);
        out.positions.insert(out.positions.end(), p, p + 3);
    }
    mesh->Release();
    return out;
}

SResult Load(const std::string& text) {
    return Load(std::vector<BYTE>(text.begin(), text.end()));
}

HRESULT Result(const std::string& text) {
    return Load(text).result;
}

// A text file of one mesh whose body is given.
std::string MeshFile(const std::string& body) {
    return "xof 0303txt 0032\nMesh M {\n" + body + "\n}\n";
}

const std::string kTriangle = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";

// Writes binary ".x" tokens.
class CBinaryX {
public:
    explicit CBinaryX(const char* floatBits = "0032") {
        const std::string header = std::string("xof 0303bin ") + floatBits;
        m_Bytes.assign(header.begin(), header.end());
        m_b64 = std::string(floatBits) == "0064";
    }
    CBinaryX& Word(std::uint16_t w) {
        m_Bytes.push_back(static_cast<BYTE>(w));
        m_Bytes.push_back(static_cast<BYTE>(w >> 8));
        return *this;
    }
    CBinaryX& Dword(std::uint32_t d) {
        for (int i = 0; i < 4; ++i)
            m_Bytes.push_back(static_cast<BYTE>(d >> (8 * i)));
        return *this;
    }
    CBinaryX& Name(const std::string& name) {
        Word(1).Dword(static_cast<std::uint32_t>(name.size()));
        m_Bytes.insert(m_Bytes.end(), name.begin(), name.end());
        return *this;
    }
    CBinaryX& Open() { return Word(0x0A); }
    CBinaryX& Close() { return Word(0x0B); }
    CBinaryX& Integers(const std::vector<std::uint32_t>& values) {
        Word(6).Dword(static_cast<std::uint32_t>(values.size()));
        for (std::uint32_t v : values)
            Dword(v);
        return *this;
    }
    CBinaryX& Floats(const std::vector<double>& values) {
        Word(7).Dword(static_cast<std::uint32_t>(values.size()));
        for (double v : values) {
            if (m_b64) {
                const BYTE* p = reinterpret_cast<const BYTE*>(&v);
                m_Bytes.insert(m_Bytes.end(), p, p + 8);
            } else {
                const float f = static_cast<float>(v);
                const BYTE* p = reinterpret_cast<const BYTE*>(&f);
                m_Bytes.insert(m_Bytes.end(), p, p + 4);
            }
        }
        return *this;
    }
    // Mesh M { 3 vertices, one triangle } with the given last coordinate.
    CBinaryX& Triangle(double z) {
        return Name("Mesh")
            .Name("M")
            .Open()
            .Integers({3})
            .Floats({0, 0, z, 1, 0, z, 0, 1, z})
            .Integers({1, 3, 0, 1, 2});
    }
    std::vector<BYTE> Bytes() const { return m_Bytes; }

private:
    std::vector<BYTE> m_Bytes;
    bool m_b64 = false;
};

// A compressed file of the body (what follows a "bin " or "txt " header) in
// blocks of blockSize bytes, each deflated with the blocks before it as the
// dictionary, the way the format chains them.
std::vector<BYTE> Compress(const std::vector<BYTE>& file, size_t blockSize) {
    const bool binary = std::memcmp(file.data() + 8, "bin ", 4) == 0;
    std::string header(reinterpret_cast<const char*>(file.data()), 16);
    header.replace(8, 4, binary ? "bzip" : "tzip");
    std::vector<BYTE> out(header.begin(), header.end());
    auto put = [&out](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    put(static_cast<std::uint32_t>(file.size()), 4);
    for (size_t start = 16; start < file.size(); start += blockSize) {
        const size_t length = std::min(blockSize, file.size() - start);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        if (start > 16) {
            const size_t history = std::min<size_t>(start - 16, 32768);
            deflateSetDictionary(&z, file.data() + start - history, static_cast<uInt>(history));
        }
        std::vector<BYTE> block(deflateBound(&z, length) + 16);
        z.next_in = const_cast<Bytef*>(file.data() + start);
        z.avail_in = static_cast<uInt>(length);
        z.next_out = block.data();
        z.avail_out = static_cast<uInt>(block.size());
        deflate(&z, Z_FINISH);
        block.resize(z.total_out);
        deflateEnd(&z);
        put(static_cast<std::uint32_t>(length), 2);
        put(static_cast<std::uint32_t>(block.size() + 2), 2);
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

}  // namespace

TEST(XFileReader, TextFilesSkipTemplatesAndSplitPolygonsIntoFans) {
    const SResult loaded = Load(kQuadAndTriangle);
    ASSERT_EQ(loaded.result, D3D_OK);
    // The quad (0 1 2 3) as (0 1 2) (0 2 3), then the triangle (0 2 3).
    const std::vector<float> expected = {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 0, 0, 2, 2,
                                         0, 0, 2, 0, 0, 0, 0, 2, 2, 0, 0, 2, 0};
    EXPECT_EQ(loaded.positions, expected);
    EXPECT_EQ(loaded.materials, 0u);
    // Comments, and lines and points (polygons under three corners), which are not drawn.
    EXPECT_EQ(Load(MeshFile("# a comment\n3; 0;0;0;, 1;0;0;, 0;1;0;; // another\n3; 2;0,1;, 1;2;, 3;0,1,2;;"))
                  .positions.size(),
              9u);
}

TEST(XFileReader, BinaryFilesWithSingleAndDoubleFloatsGiveTheTextFilesMesh) {
    for (const char* bits : {"0032", "0064"}) {
        SCOPED_TRACE(bits);
        const SResult loaded = Load(CBinaryX(bits).Triangle(0.25).Close().Bytes());
        ASSERT_EQ(loaded.result, D3D_OK);
        EXPECT_EQ(loaded.positions, Load(MeshFile("3; 0;0;0.25;, 1;0;0.25;, 0;1;0.25;; 1; 3;0,1,2;;")).positions);
    }
}

TEST(XFileReader, CompressedBlocksCarryTheirDictionaryForward) {
    // Text that repeats across block boundaries, so that later blocks refer back.
    std::string text = "xof 0303txt 0032\nMesh M {\n200;\n";
    for (int i = 0; i < 200; ++i)
        text += std::to_string(i % 7) + ".0;1.0;2.0;" + (i == 199 ? ";\n" : ",\n");
    text += "1; 3;0,1,2;;\n}\n";
    const SResult plain = Load(text);
    ASSERT_EQ(plain.result, D3D_OK);
    for (size_t blockSize : {size_t{64}, size_t{1000}, size_t{32768}}) {
        SCOPED_TRACE(blockSize);
        const SResult compressed = Load(Compress(Bytes(text), blockSize));
        ASSERT_EQ(compressed.result, D3D_OK);
        EXPECT_EQ(compressed.positions, plain.positions);
    }
    const SResult binary = Load(Compress(CBinaryX().Triangle(3).Close().Bytes(), 16));
    ASSERT_EQ(binary.result, D3D_OK);
    EXPECT_EQ(binary.positions[2], 3.0f);
}

TEST(XFileReader, CompressedFilesWhoseSizesLieAreRefused) {
    const std::vector<BYTE> good = Compress(Bytes(MeshFile(kTriangle)), 40);
    ASSERT_EQ(Load(good).result, D3D_OK);
    auto changed = [&good](size_t at, int delta) {
        std::vector<BYTE> bytes = good;
        bytes[at] = static_cast<BYTE>(bytes[at] + delta);
        return Load(bytes).result;
    };
    EXPECT_EQ(changed(16, 1), D3DXERR_INVALIDDATA) << "total size one more than the blocks give";
    EXPECT_EQ(changed(16, -1), D3DXERR_INVALIDDATA) << "total size one less";
    EXPECT_EQ(changed(20, 1), D3DXERR_INVALIDDATA) << "a block's uncompressed size too large";
    EXPECT_EQ(changed(20, -1), D3DXERR_INVALIDDATA) << "a block's uncompressed size too small";
    EXPECT_EQ(changed(22, 100), D3DXERR_INVALIDDATA) << "a block's compressed size past the end";
    EXPECT_EQ(changed(22, -3), D3DXERR_INVALIDDATA) << "a block's compressed size too small";
    EXPECT_EQ(changed(24, 1), D3DXERR_INVALIDDATA) << "no CK signature";
    std::vector<BYTE> cut(good.begin(), good.end() - 5);
    EXPECT_EQ(Load(cut).result, D3DXERR_INVALIDDATA);
}

TEST(XFileReader, CountsAndIndicesBeyondTheDataAreRefused) {
    ASSERT_EQ(Result(MeshFile(kTriangle)), D3D_OK);
    EXPECT_EQ(Result(MeshFile("4; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;")), D3DXERR_INVALIDDATA)
        << "more vertices than given";
    EXPECT_EQ(Result(MeshFile("3; 0;0;0;, 1;0;0;, 0;1;0;; 2; 3;0,1,2;;")), D3DXERR_INVALIDDATA)
        << "more faces than given";
    EXPECT_EQ(Result(MeshFile("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 4000000000;0,1,2;;")), D3DXERR_INVALIDDATA)
        << "a corner count past the end";
    EXPECT_EQ(Result(MeshFile("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;;")), D3DXERR_INVALIDDATA)
        << "a vertex index out of range";
    EXPECT_EQ(Result(MeshFile("-3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;")), D3DXERR_INVALIDDATA) << "a negative count";
    EXPECT_EQ(Result(MeshFile("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1.5,2;;")), D3DXERR_INVALIDDATA)
        << "a fractional index";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshTextureCoords { 4; 0;0;, 1;0;, 0;1;; }")), D3DXERR_INVALIDDATA)
        << "texture coordinates past the end";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshTextureCoords { 2; 0;0;, 1;0;; }")), D3DXERR_INVALIDDATA)
        << "texture coordinates for fewer vertices than the mesh has";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; }")), D3DXERR_INVALIDDATA)
        << "a normal index out of range";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshVertexColors { 1; 3;1;0;0;1;;; }")), D3DXERR_INVALIDDATA)
        << "a colour for a vertex out of range";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshMaterialList { 1; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } }")),
              D3DXERR_INVALIDDATA)
        << "a material index out of range";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshMaterialList { 4000000000; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; "
                                          "0;0;0;; } }")),
              D3DXERR_INVALIDDATA)
        << "a face using a material the list counts but does not hold";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; } }")),
              D3DXERR_INVALIDDATA)
        << "a material too short";
    EXPECT_EQ(Result("xof 0303txt 0032\nFrame F { FrameTransformMatrix { 1,0,0,0; } Mesh { " + kTriangle + " } }"),
              D3DXERR_INVALIDDATA)
        << "a frame matrix too short";
}

TEST(XFileReader, BinaryTokensBeyondTheDataAreRefused) {
    ASSERT_EQ(Load(CBinaryX().Triangle(0).Close().Bytes()).result, D3D_OK);
    std::vector<BYTE> longList = CBinaryX().Name("Mesh").Open().Word(6).Dword(1000).Dword(3).Bytes();
    EXPECT_EQ(Load(longList).result, D3DXERR_INVALIDDATA) << "an integer list longer than the file";
    std::vector<BYTE> longFloats = CBinaryX("0064").Name("Mesh").Open().Word(7).Dword(3).Dword(0).Dword(0).Bytes();
    EXPECT_EQ(Load(longFloats).result, D3DXERR_INVALIDDATA) << "eight-byte floats past the end";
    std::vector<BYTE> longName = CBinaryX().Word(1).Dword(0xFFFFFFF0u).Bytes();
    EXPECT_EQ(Load(longName).result, D3DXERR_INVALIDDATA) << "a name longer than the file";
    std::vector<BYTE> halfToken = CBinaryX().Triangle(0).Close().Bytes();
    halfToken.push_back(0x0A);
    EXPECT_EQ(Load(halfToken).result, D3DXERR_INVALIDDATA) << "half a token code";
    std::vector<BYTE> unknownToken = CBinaryX().Triangle(0).Word(0x99).Close().Bytes();
    EXPECT_EQ(Load(unknownToken).result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(Load(CBinaryX().Triangle(0).Bytes()).result, D3DXERR_INVALIDDATA) << "no closing brace";
}

TEST(XFileReader, StructureErrorsAreRefused) {
    EXPECT_EQ(Result(MeshFile(kTriangle).substr(0, MeshFile(kTriangle).size() - 2)), D3DXERR_INVALIDDATA)
        << "unterminated braces";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; "
                                          "TextureFilename { \"open.png; } } }")),
              D3DXERR_INVALIDDATA)
        << "an unterminated string";
    EXPECT_EQ(Result(MeshFile(kTriangle + " MeshMaterialList { 1; 1; 0;; { Missing } }")), D3DXERR_INVALIDDATA)
        << "a reference to an unknown material";
    EXPECT_EQ(Result("xof 0303txt 0032\nFrame F { { Nowhere } }\n" + MeshFile(kTriangle).substr(17)),
              D3DXERR_INVALIDDATA)
        << "a frame referring to an unknown name";
    EXPECT_EQ(Result("xof 0303txt 0032\n3;\n"), D3DXERR_INVALIDDATA) << "data outside any object";
    EXPECT_EQ(Result("xof 0303txt 0032\ntemplate T { <01234567> DWORD a;\n"), D3DXERR_INVALIDDATA)
        << "an unterminated template";
    EXPECT_EQ(Result("xof 0303zip 0032\n"), D3DXERR_INVALIDDATA) << "an unknown format";
    EXPECT_EQ(Result("xof 0303txt 0016\n" + MeshFile(kTriangle).substr(17)), D3DXERR_INVALIDDATA)
        << "an unknown float size";
}

TEST(XFileReader, NestingIsBounded) {
    auto nested = [](int depth) {
        std::string text = "xof 0303txt 0032\n";
        for (int i = 0; i < depth - 1; ++i)
            text += "Frame {\n";
        text += "Mesh {" + kTriangle + "}\n";
        for (int i = 0; i < depth - 1; ++i)
            text += "}\n";
        return text;
    };
    EXPECT_EQ(Result(nested(64)), D3D_OK);
    EXPECT_EQ(Result(nested(65)), D3DXERR_INVALIDDATA);
    EXPECT_EQ(Result("xof 0303txt 0032\nFrame {" + std::string(100000, '{')), D3DXERR_INVALIDDATA)
        << "references cannot open braces";
}

TEST(XFileReader, FramesPlaceMeshesAndReferencesResolveByName) {
    // The mesh is moved by (1, 0, 0) in the inner frame, then scaled by 2
    // in the outer one; the top-level mesh the frame places by name is not
    // drawn a second time on its own.
    const std::string text = R"(xof 0303txt 0032
Material Gold { 1;0.8;0;1;; 5; 1;1;1;; 0;0;0;; TextureFilename { "gold.png"; } }
Mesh Shared { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; { Gold } } }
Frame Outer {
 FrameTransformMatrix { 2,0,0,0, 0,2,0,0, 0,0,2,0, 0,0,0,1;; }
 Frame Inner {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 1,0,0,1;; }
  { Shared }
 }
}
)";
    const SResult loaded = Load(text);
    ASSERT_EQ(loaded.result, D3D_OK);
    EXPECT_EQ(loaded.positions, (std::vector<float>{2, 0, 0, 4, 0, 0, 2, 2, 0}));
    EXPECT_EQ(loaded.materials, 1u);
}

TEST(XFileReader, TheDamagedBinaryCubeIsRefused) {
    // One byte of the package's binary cube changed makes a list count huge.
    const std::filesystem::path cube = "/usr/share/assimp/models/X/test_cube_binary.x";
    if (!std::filesystem::exists(cube)) {
        GTEST_SKIP() << "assimp-testmodels is not installed";
    }
    std::ifstream file(cube, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(Load(bytes).result, D3D_OK);
    ASSERT_EQ(bytes.at(1973), 0x00);
    bytes[1973] = 0x09;
    EXPECT_EQ(Load(bytes).result, D3DXERR_INVALIDDATA);
    // Every shorter copy is refused as well, never read past its end.
    for (size_t size = 16; size < bytes.size(); size += 7) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(Load(cut).result, D3D_OK) << size;
    }
}
