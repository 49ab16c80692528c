#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "CJsonWriter.h"
#include "CPackCommand.h"
#include "CPackFormat.h"
#include "CPackOutput.h"
#include "CProgressBar.h"
#include "CRenderCommand.h"
#include "CSceneFileProbe.h"
#include "common/ChildProcess.h"
#include "common/PngImage.h"
#include "common/TestScenes.h"
#include "objects/CBaseObject.h"
#include "platform/files/CPngFile.h"
#include "scene/CScene.h"
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
        return RunProgram(arguments);
    }
    static lvxtest::SChildResult RunProgram(const std::vector<std::string>& arguments) {
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

// The box scene changed by edit, saved as a plain scene file.
bool WriteBoxVariant(const std::string& from, const std::string& path, const std::function<void(CScene&)>& edit) {
    CScene scene;
    if (!scene.Load(from, false))
        return false;
    edit(scene);
    return scene.Save(path, false);
}

// The box with a texture that lies nowhere.
void NameMissingTexture(CScene& scene) {
    static_cast<CBaseObject*>(scene.GetObjectA(CString(lvxtest::kBoxName)))->SetTexture("gone.png", 0);
}

// Whether the file holds exactly text (a package read whole would flood a failure message).
bool Holds(const std::string& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str() == text;
}

// Every line of a command's stderr starts with its name.
bool EveryLineStartsWith(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) != 0)
            return false;
    }
    return true;
}

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
    lvxtest::SChildResult run = Run({"pack", Path("box.bgs"), Path("saver.scr"), "--screensaver"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Run({"info", Path("saver.scr"), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"packed\": true"), std::string::npos);
    EXPECT_NE(run.out.find("\"resolution index\": 0"), std::string::npos);
    EXPECT_NE(run.out.find("\"flags\": 1,"), std::string::npos);
    // The box scene has no title of its own.
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
    EXPECT_EQ(std::filesystem::status(Path("window.run")).permissions() & std::filesystem::perms::owner_exec,
              std::filesystem::perms::owner_exec);

    // Usage errors are told apart from failures.
    EXPECT_EQ(Run({"pack", Path("box.bgs"), Path("x.scr"), "--screensaver", "--windowed"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("saver.scr"), Path("x.scr"), "--windowed"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("box.bgs"), Path("x.scr"), "--windowed", "--fullscreen"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("box.bgs"), Path("x.scr"), "--resolution", "6"}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("box.bgs")}).exitCode, 2);
    EXPECT_EQ(Run({"pack", Path("nothing.bgs"), Path("x.scr")}).exitCode, 1);
    EXPECT_EQ(Run({"pack", Path("box.bgs"), "/nonexistent/folder/x.scr"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("x.scr")));
}

TEST_F(Tool, PackStartsFromTheScenesOwnDisplayFormat) {
    ASSERT_TRUE(WriteBoxVariant(Path("box.bgs"), Path("own.bgs"), [](CScene& scene) {
        *scene.GetDisplayFormat() = CDisplayFormat(2, 4, "Lumivexis demo");
    }));
    lvxtest::SChildResult run = Run({"pack", Path("own.bgs"), Path("own.run")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string wrote = "lumivexis pack: wrote " + Path("own.run") +
                              " (executable, 800x600 windowed, \"Lumivexis demo\", " +
                              std::to_string(std::filesystem::file_size(Path("own.run"))) + " bytes)\n";
    EXPECT_EQ(run.err, wrote);
    run = Run({"info", Path("own.run"), "--json"});
    EXPECT_NE(run.out.find("\"resolution index\": 2,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"flags\": 4,"), std::string::npos);
    EXPECT_NE(run.out.find("\"title\": \"Lumivexis demo\""), std::string::npos);

    // Repacking keeps what no option changes.
    ASSERT_EQ(Run({"pack", Path("own.run"), Path("own.scr"), "--screensaver"}).exitCode, 0);
    run = Run({"info", Path("own.scr"), "--json"});
    EXPECT_NE(run.out.find("\"resolution index\": 2,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"flags\": 1,"), std::string::npos);
    EXPECT_NE(run.out.find("\"title\": \"Lumivexis demo\""), std::string::npos);
}

TEST_F(Tool, PackWritesNothingWhenTheSceneNamesAMissingFile) {
    std::filesystem::create_directories(Path("textured"));
    ASSERT_TRUE(WriteBoxVariant(Path("box.bgs"), Path("textured/scene.bgs"), NameMissingTexture));
    std::ofstream(Path("textured/kept.scr")) << "previous";

    lvxtest::SChildResult run = Run({"pack", Path("textured/scene.bgs"), Path("textured/kept.scr")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("\"gone.png\""), std::string::npos) << run.err;
    EXPECT_TRUE(EveryLineStartsWith(run.err, "lumivexis pack: ")) << run.err;
    EXPECT_TRUE(Holds(Path("textured/kept.scr"), "previous"));
    EXPECT_EQ(Run({"pack", Path("textured/scene.bgs"), Path("textured/new.scr")}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("textured/new.scr")));

    // Once the texture lies beside the scene, it goes inside the package.
    std::string error;
    ASSERT_TRUE(CPngFile::Write(Path("textured/gone.png"), 2, 2, std::vector<std::uint32_t>(4, 0xFF00FF00u), error));
    run = Run({"pack", Path("textured/scene.bgs"), Path("textured/kept.scr")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::filesystem::remove(Path("textured/gone.png"));
    run = Run({"info", Path("textured/kept.scr"), "--json"});
    EXPECT_NE(run.out.find("\"texture\": \"gone.png\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"missing files\": []"), std::string::npos);
}

TEST_F(Tool, PackWritesNothingFromADamagedPackage) {
    ASSERT_EQ(Run({"pack", Path("box.bgs"), Path("sound.scr")}).exitCode, 0);
    SSceneFileInfo info;
    std::string error;
    ASSERT_EQ(CSceneFileProbe::Probe(Path("sound.scr"), info, error), TProbeResult::Scene);
    // The length of the first sky box picture's name, behind the header and
    // two flags, now points far beyond the data.
    std::vector<BYTE> bytes = CTempFolder::Read(Path("sound.scr"));
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(info.dataOffset + 42), 4, BYTE{0xFF});
    std::ofstream(Path("damaged.scr"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const lvxtest::SChildResult run = Run({"pack", Path("damaged.scr"), Path("from-damaged.scr")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("damaged.scr"), std::string::npos) << run.err;
    EXPECT_TRUE(EveryLineStartsWith(run.err, "lumivexis pack: ")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("from-damaged.scr")));
}

TEST_F(Tool, PackFailsAndKeepsOutWhenTheWriteFails) {
    ASSERT_EQ(Run({"pack", Path("box.bgs"), Path("whole.scr")}).exitCode, 0);
    std::ofstream(Path("small.scr")) << "previous";
    // A file size limit far below the player's: writes fail as on a full disk.
    const lvxtest::SChildResult run = RunProgram({"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 2048; exec \"$0\" \"$@\"",
                                                  kTool, "pack", Path("whole.scr"), Path("small.scr")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("lumivexis pack: cannot write"), std::string::npos) << run.err;
    EXPECT_TRUE(Holds(Path("small.scr"), "previous"));
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

TEST_F(Tool, RenderLeavesTheEnginesInformationLinesOutUnlessAsked) {
    // The lines lie along the top edge, above the box.
    const auto textPixels = [](const lvxtest::SImage& image) {
        int count = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < image.width; ++x)
                count += lvxtest::IsBlue(image.At(x, y)) ? 0 : 1;
        }
        return count;
    };
    lvxtest::SImage image;
    lvxtest::SChildResult run = Run({"render", Path("box.bgs"), "--out", Path("plain.png"), "--size", "320x240"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(lvxtest::ReadPng(Path("plain.png"), image));
    EXPECT_EQ(textPixels(image), 0);

    run = Run({"render", Path("box.bgs"), "--out", Path("info.png"), "--size", "320x240", "--info"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(lvxtest::ReadPng(Path("info.png"), image));
    EXPECT_GT(textPixels(image), 100);
}

TEST_F(Tool, RenderMakesTheFoldersItWritesInto) {
    lvxtest::SChildResult run =
        Run({"render", Path("box.bgs"), "--out", Path("made/one"), "--time", "1", "--size", "32x24"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(Path("made/one/frame_00000.png")));
    EXPECT_EQ(run.err, "lumivexis render: 1 frame written to " + Path("made/one/frame_00000.png") + "\n");

    run = Run({"render", Path("box.bgs"), "--out", Path("made/two/shot.png"), "--size", "32x24"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(Path("made/two/shot.png")));

    // A file where a folder should be.
    std::ofstream(Path("blocker")) << "x";
    run = Run({"render", Path("box.bgs"), "--out", Path("blocker/shot.png"), "--size", "32x24"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(EveryLineStartsWith(run.err, "lumivexis render: ")) << run.err;
}

TEST_F(Tool, RenderWillNotWritePngImagesToATerminal) {
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    // Standard output goes to the terminal's other side.
    const lvxtest::SChildResult run =
        RunProgram({"/bin/sh", "-c", "terminal=$1; shift; exec \"$0\" \"$@\" >\"$terminal\"", kTool, ptsname(terminal),
                    "render", Path("box.bgs"), "--out", "-"});
    close(terminal);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("terminal"), std::string::npos) << run.err;
}

TEST_F(Tool, InfoListsMissingFilesInsteadOfWarningAboutThem) {
    std::filesystem::create_directories(Path("untextured"));
    ASSERT_TRUE(WriteBoxVariant(Path("box.bgs"), Path("untextured/scene.bgs"), NameMissingTexture));
    lvxtest::SChildResult run = Run({"info", Path("untextured/scene.bgs"), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("\"missing files\": [\n    \"gone.png\"\n  ]"), std::string::npos) << run.out;

    run = Run({"info", Path("untextured/scene.bgs")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Missing files: 1\n  \"gone.png\"\n"), std::string::npos) << run.out;
}

TEST_F(Tool, InfoJsonHasOneKeyStyleAndShortestNumbers) {
    ASSERT_TRUE(lvxtest::WriteRedBoxScene(Path("short.bgs"), 0.02f));
    const lvxtest::SChildResult run = Run({"info", Path("short.bgs"), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"total time\": 0.02,"), std::string::npos) << run.out;
    // Lower-case words, as the settings' names are.
    // Every key: a quoted text followed by ": " (std::regex is avoided: GCC
    // 12 warns inside it under the sanitizers).
    int keys = 0;
    for (size_t end = run.out.find("\": "); end != std::string::npos; end = run.out.find("\": ", end + 1)) {
        const size_t begin = run.out.rfind('"', end - 1);
        ASSERT_NE(begin, std::string::npos);
        const std::string name = run.out.substr(begin + 1, end - begin - 1);
        ++keys;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789 -"), std::string::npos) << name;
    }
    EXPECT_GT(keys, 50);
}

TEST_F(Tool, MessagesNameTheCommandAndTheRange) {
    lvxtest::SChildResult run = Run({"info", s_folder});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "lumivexis info: \"" + s_folder + "\" is a directory\n");
    run = Run({"pack", s_folder, Path("x.scr")});
    EXPECT_EQ(run.err, "lumivexis pack: \"" + s_folder + "\" is a directory\n");

    run = Run({"render", Path("box.bgs"), "--out", Path("x.png"), "--time", "2000000"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("lumivexis render: --time needs seconds from 0 to 1000000"), std::string::npos) << run.err;
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

    std::ostringstream numbers;
    CJsonWriter json(numbers);
    json.BeginArray();
    for (float value : {0.02f, 0.1f, 2.0f, -1.5f, 1.0e-7f, 16777216.0f, std::numeric_limits<float>::quiet_NaN()})
        json.Number(value);
    json.EndArray();
    EXPECT_EQ(numbers.str(), "[\n  0.02,\n  0.1,\n  2,\n  -1.5,\n  1e-07,\n  16777216,\n  null\n]\n");

    EXPECT_EQ(CProgressBar::Render(3, 4, 8, "frames"), "[######..] 3/4 frames");
    EXPECT_EQ(CProgressBar::Render(9, 4, 4, "frames"), "[####] 4/4 frames");
}

TEST(ToolPieces, PackFormatStartsFromTheScenesOwn) {
    const CDisplayFormat scene(2, 4 | 16, "Demo");
    CDisplayFormat format;
    std::string error;
    const auto compute = [&](const SPackRequest& request) {
        return CPackFormat::Compute(request, scene, format, error);
    };
    const auto same = [](const CDisplayFormat& a, const CDisplayFormat& b) {
        return a.m_iResolution == b.m_iResolution && a.m_iFlags == b.m_iFlags && a.m_Name == b.m_Name;
    };

    ASSERT_TRUE(compute({}));
    EXPECT_TRUE(same(format, scene));

    SPackRequest saver;
    saver.type = TPackType::ScreenSaver;
    ASSERT_TRUE(compute(saver));
    EXPECT_TRUE(same(format, CDisplayFormat(2, 1 | 16, "Demo")));  // full screen, higher bits kept

    SPackRequest full;
    full.windowed = false;
    full.resolution = 0;
    full.title = CString("Other");
    ASSERT_TRUE(compute(full));
    EXPECT_TRUE(same(format, CDisplayFormat(0, 16, "Other")));

    // Bits 1 and 3 go; a damaged resolution index reads as the desktop's; no
    // title gets the export's.
    ASSERT_TRUE(CPackFormat::Compute({}, CDisplayFormat(9, 1 | 2 | 8, ""), format, error));
    EXPECT_TRUE(same(format, CDisplayFormat(0, 1, "Brennox Skyloom")));

    SPackRequest windowed;
    windowed.windowed = true;
    EXPECT_FALSE(CPackFormat::Compute(windowed, CDisplayFormat(0, 1, "Saver"), format, error));
    EXPECT_NE(error.find("--executable"), std::string::npos);

    // A window at the desktop's resolution opens at 640 x 480.
    EXPECT_EQ(CPackFormat::Describe(CDisplayFormat(0, 4, "W")), "executable, 640x480 windowed, \"W\"");
}

TEST(ToolPieces, PackOutputMakesOnlyRegularFilesExecutable) {
    CTempFolder folder;
    std::string error;
    const std::string file = folder.Write("saver.scr", std::string("package"));
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(CPackOutput::MakeExecutable(file, error)) << error;
    struct stat status {};
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0750u);

    // A FIFO (like a device) keeps its mode: it is not the package's.
    const std::string fifo = folder.Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_TRUE(CPackOutput::MakeExecutable(fifo, error)) << error;
    ASSERT_EQ(stat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0644u);

    EXPECT_FALSE(CPackOutput::MakeExecutable(folder.Path("none"), error));
    EXPECT_FALSE(error.empty());
}
