#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "CJsonWriter.h"
#include "CPackCommand.h"
#include "CProgressBar.h"
#include "CRenderCommand.h"
#include "common/ChildProcess.h"
#include "common/PngImage.h"
#include "common/TestScenes.h"
#include "support/CTempFolder.h"

namespace {

const std::string kTool = std::string(LVX_BIN_DIR) + "/lumivexis";

class Tool : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Below the build's folder, not the temporary one: the packed programs
        // run from here.
        s_scratch = std::make_unique<CTempFolder>(std::filesystem::current_path());
        s_folder = s_scratch->Root().string();
        ASSERT_TRUE(lvxtest::WriteRedBoxScene(s_folder + "/box.bgs", 2.0f));
    }
    static void TearDownTestSuite() { s_scratch.reset(); }

    static lvxtest::SChildResult Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), kTool);
        return lvxtest::RunChild(arguments,
                                 {{"DISPLAY", std::nullopt},
                                  {"WAYLAND_DISPLAY", std::nullopt},
                                  {"XDG_STATE_HOME", s_folder + "/state"},
                                  {"SDL_AUDIODRIVER", "dummy"}},
                                 std::chrono::seconds(90));
    }
    static std::string Path(const std::string& name) { return s_folder + "/" + name; }

    static std::unique_ptr<CTempFolder> s_scratch;
    static std::string s_folder;
};

std::unique_ptr<CTempFolder> Tool::s_scratch;
std::string Tool::s_folder;

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST_F(Tool, InfoReportsTheSceneAsJsonAndText) {
    lvxtest::SChildResult run = Run({"info", Path("box.bgs"), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_NE(json.find("\"packed\": false"), std::string::npos);
    EXPECT_NE(json.find("\"total time\": 2"), std::string::npos);
    EXPECT_NE(json.find("\"type\": \"CBoxObject\""), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"Test box\""), std::string::npos);
    EXPECT_NE(json.find("\"type\": \"CCameraTrajectoryObject\""), std::string::npos);
    // The box's two keys, the second one turned by 0.5.
    EXPECT_NE(json.find("\"time\": 2,"), std::string::npos);
    EXPECT_NE(json.find("\"rotation\": [\n"), std::string::npos);
    EXPECT_NE(json.find("0.5\n"), std::string::npos);
    EXPECT_NE(json.find("\"r\": 1,"), std::string::npos);
    EXPECT_EQ(Count(json, "{"), Count(json, "}"));
    EXPECT_EQ(json.back(), '\n');

    run = Run({"info", Path("box.bgs")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("CBoxObject \"Test box\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2 key frames"), std::string::npos);
}

TEST_F(Tool, PackWritesTheExportsDisplayFormatAndRepacksPackages) {
    lvxtest::SChildResult run = Run({"pack", Path("box.bgs"), Path("saver.scr")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Run({"info", Path("saver.scr"), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"packed\": true"), std::string::npos);
    EXPECT_NE(run.out.find("\"resolutionIndex\": 0"), std::string::npos);
    EXPECT_NE(run.out.find("\"flags\": 1,"), std::string::npos);
    EXPECT_NE(run.out.find("\"title\": \"Brennox Skyloom\""), std::string::npos);

    // A package packed again keeps its scene data byte for byte.
    run = Run({"pack", Path("saver.scr"), Path("window.run"), "--executable", "--windowed", "--resolution", "3",
               "--title", "Boxes"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Run({"info", Path("window.run"), "--json"});
    EXPECT_NE(run.out.find("\"flags\": 4,"), std::string::npos);
    EXPECT_NE(run.out.find("\"resolution\": \"1024 x 768\""), std::string::npos);
    EXPECT_NE(run.out.find("\"title\": \"Boxes\""), std::string::npos);
    const auto size = [](const std::string& path) { return std::filesystem::file_size(path); };
    EXPECT_EQ(size(Path("saver.scr")), size(Path("window.run")));

    // Usage errors are told apart from failures.
    EXPECT_EQ(Run({"pack", Path("box.bgs"), Path("x.scr"), "--windowed"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("box.bgs"), Path("x.scr"), "--resolution", "6"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("box.bgs")}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("nothing.bgs"), Path("x.scr")}).exitCode, 1);
    EXPECT_EQ(Run({"pack", Path("box.bgs"), "/nonexistent/folder/x.scr"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("x.scr")));
}

TEST_F(Tool, RenderWritesOneFrameASequenceOrAStream) {
    lvxtest::SChildResult run = Run({"render", Path("box.bgs"), "--out", Path("one.png"), "--size", "160x120"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    lvxtest::SImage image;
    ASSERT_TRUE(lvxtest::ReadPng(Path("one.png"), image));
    EXPECT_EQ(image.width, 160);
    EXPECT_EQ(image.height, 120);
    EXPECT_TRUE(lvxtest::IsReddish(image.At(80, 60)));
    EXPECT_TRUE(lvxtest::IsBlue(image.At(5, 115)));

    run = Run({"render", Path("box.bgs"), "--out", Path("frames"), "--from", "0.5", "--to", "1", "--fps", "10",
               "--size", "64x48"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int i = 0; i <= 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame_%05d.png", i);
        EXPECT_TRUE(std::filesystem::exists(Path(name))) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("frames/frame_00006.png")));

    run = Run({"render", Path("box.bgs"), "--out", "-", "--fps", "2", "--size", "32x24"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // 0, 0.5, 1, 1.5 and 2 s: five PNG images one after the other.
    EXPECT_EQ(Count(run.out, "\x89PNG"), 5u);

    EXPECT_EQ(Run({"render", Path("box.bgs"), "--out", Path("x.png"), "--fps", "5"}).exitCode, 2);
    EXPECT_EQ(Run({"render", Path("box.bgs"), "--out", Path("x.png"), "--time", "1", "--from", "0"}).exitCode, 2);
    EXPECT_EQ(Run({"render", Path("box.bgs"), "--out", Path("x.png"), "--size", "0x10"}).exitCode, 2);
    EXPECT_EQ(Run({"render", Path("box.bgs")}).exitCode, 2);
}

TEST_F(Tool, HelpUsageAndForeignFiles) {
    for (const char* command : {"info", "render", "pack"}) {
        const lvxtest::SChildResult help = Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find(std::string("lumivexis ") + command), std::string::npos) << command;
    }
    EXPECT_EQ(Run({"--help"}).exitCode, 0);
    EXPECT_EQ(Run({}).exitCode, 2);
    EXPECT_EQ(Run({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Run({"info", Path("box.bgs"), "--yaml"}).exitCode, 2);

    std::ofstream(Path("image.png"), std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
    const lvxtest::SChildResult foreign = Run({"info", Path("image.png")});
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_NE(foreign.err.find("not a Lumivexis scene"), std::string::npos) << foreign.err;
    EXPECT_TRUE(foreign.out.empty());
}

TEST(ToolPieces, SequenceTimesTrailerJsonAndProgress) {
    SRenderTimes times;
    times.single = false;
    times.fps = 4;
    EXPECT_EQ(CRenderCommand::SequenceTimes(times, 1.0f), (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
    times.from = 0.5f;
    times.to = 9.0f;  // beyond the scene: cut at its end
    EXPECT_EQ(CRenderCommand::SequenceTimes(times, 1.0f), (std::vector<float>{0.5f, 0.75f, 1.0f}));

    const std::vector<std::uint8_t> trailer = CPackCommand::Trailer(CDisplayFormat(5, 4, std::string(150, 'T')), 1000);
    ASSERT_EQ(trailer.size(), 122u);
    EXPECT_EQ(trailer[0], 0x0D);
    EXPECT_EQ(trailer[1], 0x0E);
    EXPECT_EQ(trailer[2], 5);
    EXPECT_EQ(trailer[6], 4);
    EXPECT_EQ(trailer[10] | trailer[11] << 8, 1000);
    EXPECT_EQ(trailer[113], 'T');  // 100 bytes of the title, then zeros
    EXPECT_EQ(trailer[114], 0);

    // Names typed in a single-byte code page still give valid JSON.
    EXPECT_EQ(CJsonWriter::Quote("a\"b\\\n\x01"), "\"a\\\"b\\\\\\n\\u0001\"");
    EXPECT_EQ(CJsonWriter::Quote("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(CJsonWriter::Quote("caf\xe9"), "\"caf\\u00e9\"");

    EXPECT_EQ(CProgressBar::Render(3, 4, 8, "frames"), "[######..] 3/4 frames");
    EXPECT_EQ(CProgressBar::Render(9, 4, 4, "frames"), "[####] 4/4 frames");
}
