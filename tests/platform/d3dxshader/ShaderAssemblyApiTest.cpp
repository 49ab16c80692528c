// The D3DX entry points: arguments, outputs, the extent of the text, line
// ends, and assembling from files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ShaderAssembly.h"
#include "support/CTempFolder.h"

using namespace shaderasm;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

const std::vector<std::string> kBumpLines = {"ps.1.1", "def c0, 0.01, 0.01, 0.01, 0.0", "tex t0",
                                             "dp3_sat r0.rgb, t0_bx2, v0_bx2", "+ mov r0.a, c0"};

SAssembly AssembleFile(const char* path) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXBUFFER constants = nullptr;
    LPD3DXBUFFER errors = nullptr;
    const HRESULT result = D3DXAssembleShaderFromFileA(path, D3DXASM_DEBUG, &constants, &code, &errors);
    return Collect(result, code, constants, errors);
}

}  // namespace

TEST(ShaderAssemblyApiTest, NullTextOrCodeOutputIsAnInvalidCallAndClearsTheOutputs) {
    const char text[] = "vs.1.1";
    auto* stale = reinterpret_cast<LPD3DXBUFFER>(0x1);
    LPD3DXBUFFER code = stale;
    LPD3DXBUFFER constants = stale;
    LPD3DXBUFFER errors = stale;
    EXPECT_EQ(D3DXAssembleShader(nullptr, 6, 0, &constants, &code, &errors), D3DERR_INVALIDCALL);
    EXPECT_EQ(code, nullptr);
    EXPECT_EQ(constants, nullptr);
    EXPECT_EQ(errors, nullptr);
    EXPECT_EQ(D3DXAssembleShader(text, 6, 0, &constants, nullptr, &errors), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXAssembleShaderFromFileA(nullptr, 0, nullptr, &code, nullptr), D3DERR_INVALIDCALL);
}

TEST(ShaderAssemblyApiTest, OptionalOutputsMayBeLeftOut) {
    LPD3DXBUFFER code = nullptr;
    ASSERT_EQ(D3DXAssembleShader("vs.1.1\nnop", 10, 0, nullptr, &code, nullptr), D3D_OK);
    EXPECT_THAT(TokensOf(code), ElementsAre(D3DVS_VERSION(1, 1), D3DSIO_NOP, D3DVS_END()));
    EXPECT_EQ(D3DXAssembleShader("vs.1.1\nfoo", 10, 0, nullptr, &code, nullptr), D3DXERR_INVALIDDATA);
    EXPECT_EQ(code, nullptr);
}

TEST(ShaderAssemblyApiTest, ASuccessGivesNoErrorBufferAndAnEmptyConstantsBufferWithoutDefs) {
    LPD3DXBUFFER code = nullptr;
    LPD3DXBUFFER constants = nullptr;
    LPD3DXBUFFER errors = nullptr;
    ASSERT_EQ(D3DXAssembleShader("vs.1.1", 6, 0, &constants, &code, &errors), D3D_OK);
    EXPECT_EQ(errors, nullptr);
    ASSERT_NE(constants, nullptr);
    EXPECT_EQ(constants->GetBufferSize(), 0u);
    constants->Release();
    code->Release();
}

TEST(ShaderAssemblyApiTest, TheLengthBoundsTheTextAndAZeroByteEndsIt) {
    const std::string text = "vs.1.1\nmov r0, v0\nthis line is not read";
    const SAssembly cut = Assemble(std::string_view(text).substr(0, text.find("this")));
    EXPECT_EQ(cut.result, D3D_OK) << cut.errors;
    EXPECT_EQ(cut.tokens.size(), 5u);

    const std::string zeroEnded = std::string("vs.1.1\nmov r0, v0") + '\0' + "garbage";
    EXPECT_EQ(Assemble(zeroEnded).tokens, cut.tokens);
    EXPECT_EQ(Assemble(std::string_view("vs.1.1\nmov r0, v0 garbage", 17)).tokens, cut.tokens);
}

TEST(ShaderAssemblyApiTest, CarriageReturnLineEndsTabsAndCommentsAreSpace) {
    const SAssembly plain = Assemble(Joined(kBumpLines));
    ASSERT_EQ(plain.result, D3D_OK) << plain.errors;
    EXPECT_EQ(Assemble(Joined(kBumpLines, "\r\n") + "\r\n").tokens, plain.tokens);
    const std::string decorated =
        "// header\n\t ps.1.1 ; the version\n; nothing\n"
        "def\tc0 ,0.01,\t0.01 , 0.01,0.0 // constants\n\ntex t0\n"
        "dp3_sat\tr0.rgb,t0_bx2 , v0_bx2;\n+mov r0.a ,c0";
    EXPECT_EQ(Assemble(decorated).tokens, plain.tokens);
}

TEST(ShaderAssemblyApiTest, AssemblesFromAFileAsFromMemory) {
    CTempFolder folder;
    const std::string path = folder.Write("bump.psh", Joined(kBumpLines, "\r\n"));
    const SAssembly fromFile = AssembleFile(path.c_str());
    EXPECT_EQ(fromFile.result, D3D_OK) << fromFile.errors;
    EXPECT_EQ(fromFile.tokens, Assemble(Joined(kBumpLines)).tokens);

    const std::string faulty = folder.Write("faulty.vsh", "vs.1.1\nmov r0, v0\nmov r0, v99\n");
    const SAssembly refused = AssembleFile(faulty.c_str());
    EXPECT_EQ(refused.result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(refused.errors, "line 3: register 'v99' is out of range (v0-v15)\n");
}

TEST(ShaderAssemblyApiTest, AMissingFileIsInvalidDataNamingTheFile) {
    CTempFolder folder;
    const std::string path = folder.Path("missing.vsh");
    const SAssembly missing = AssembleFile(path.c_str());
    EXPECT_EQ(missing.result, D3DXERR_INVALIDDATA);
    EXPECT_TRUE(missing.tokens.empty());
    EXPECT_TRUE(missing.errorsTerminated);
    EXPECT_THAT(missing.errors, HasSubstr(path));
    EXPECT_EQ(AssembleFile(folder.Root().c_str()).result, D3DXERR_INVALIDDATA);  // a folder is no program

    // A file far larger than any program is refused unread, and says why.
    const std::string huge = folder.Write("huge.vsh", std::string(2 << 20, ';'));
    const SAssembly tooLarge = AssembleFile(huge.c_str());
    EXPECT_EQ(tooLarge.result, D3DXERR_INVALIDDATA);
    EXPECT_THAT(tooLarge.errors, HasSubstr("too large"));
}
