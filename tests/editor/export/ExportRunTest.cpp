// Exports of the demo scene, step by step as the log window shows them:
// the packed file alone, and the installer's build with stand-in builder
// scripts that fail in each way a real one can.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ExportTestSupport.h"
#include "export/CDisplayFormatCommand.h"
#include "export/SExportSettings.h"
#include "player/common/ChildProcess.h"

using exporttest::Q;
using exporttest::ReadFile;
using exporttest::SLine;
using exporttest::SRunResult;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;

namespace {

const QString kFailure = "Files not generated. Something goes wrong during the generation.";

class ExportRun : public exporttest::ExportTest {
protected:
    SRunResult Export(const std::string& name) {
        SExportRequest request;
        request.chosenPath = Q(m_out.Path(name));
        return exporttest::RunExport(m_document.Scene(), request);
    }
    // With installer to <out>/demo.exe, built by the given template.
    SRunResult ExportWithTemplate(const std::string& script, const QString& shell = "sh") {
        // From the scene as opened (see the disabled test below).
        QString error;
        EXPECT_TRUE(m_document.Open(LVX_DEMO_SCENE, false, &error)) << error.toStdString();
        if (!script.empty()) {
            m_installer.Write("screensaver.sh.in", script);
        }
        SExportRequest request{Q(m_out.Path("demo.exe")), true, "Night Sky", Q(m_installer.Root().string())};
        return exporttest::RunExport(m_document.Scene(), request, shell);
    }
};

}  // namespace

TEST_F(ExportRun, APackedFileIsWrittenWhereChosenAndRunsByItself) {
    const SRunResult result = Export("demo.scr");
    EXPECT_TRUE(result.succeeded);
    EXPECT_THAT(result.lines, ElementsAre(SLine{"Creation of the file \"demo.scr\"...", false},
                                          SLine{"\"demo.scr\" created successfuly.", true}));
    struct stat status {};
    ASSERT_EQ(stat(m_out.Path("demo.scr").c_str(), &status), 0);
    EXPECT_NE(status.st_mode & S_IXUSR, 0u);
    const std::string player = ReadFile(exporttest::kBin + "/ScreenSaver.dat");
    EXPECT_EQ(ReadFile(m_out.Path("demo.scr")).compare(0, player.size(), player), 0);
}

TEST_F(ExportRun, TheExportAndLumivexisPackWriteTheSameBytes) {
    SExportSettings windowed;
    windowed.type = TExportType::StandardExecutable;
    windowed.fullscreen = false;
    windowed.resolution = 3;
    windowed.windowTitle = "Night Sky";
    const std::pair<SExportSettings, std::vector<std::string>> cases[] = {
        {SExportSettings(), {"--screensaver", "--resolution", "0", "--title", "Brennox Skyloom"}},
        {windowed, {"--executable", "--windowed", "--resolution", "3", "--title", "Night Sky"}},
    };
    for (const auto& [settings, options] : cases) {
        QString error;
        ASSERT_TRUE(m_document.Open(LVX_DEMO_SCENE, false, &error)) << error.toStdString();
        CDisplayFormatCommand::Store(m_document, settings.DisplayFormat(*m_document.Scene().GetDisplayFormat()));
        ASSERT_TRUE(Export("exported").succeeded);

        std::vector<std::string> argv = {exporttest::kBin + "/lumivexis", "pack", LVX_DEMO_SCENE, m_out.Path("packed")};
        argv.insert(argv.end(), options.begin(), options.end());
        const lvxtest::SChildResult pack = lvxtest::RunChild(
            argv, {{"HOME", m_out.Root().string()}, {"XDG_STATE_HOME", m_out.Path("state")}, {"DISPLAY", std::nullopt}},
            std::chrono::seconds(120));
        ASSERT_EQ(pack.exitCode, 0) << pack.err;
        EXPECT_TRUE(ReadFile(m_out.Path("exported")) == ReadFile(m_out.Path("packed"))) << options[0];
    }
}

// An export is a copy: the scene keeps looking for its files in its own
// folder, so a second export finds them as the first did.
TEST_F(ExportRun, ASecondExportOfTheSceneIsTheSameAsTheFirst) {
    ASSERT_TRUE(Export("first.scr").succeeded);
    ASSERT_TRUE(Export("second.scr").succeeded);
    EXPECT_TRUE(ReadFile(m_out.Path("first.scr")) == ReadFile(m_out.Path("second.scr")));
}

TEST_F(ExportRun, AWriteThatFailsOrMissesAFileEndsInTheFailureVerdictAndLeavesNoFile) {
    SRunResult result = Export("no such folder/demo.scr");
    EXPECT_FALSE(result.succeeded);
    ASSERT_EQ(result.lines.size(), 4u);
    EXPECT_THAT(result.lines[1].text.toStdString(), StartsWith("Error: Cannot create the file \"demo.scr\". ("));
    EXPECT_TRUE(result.lines[1].bold);
    EXPECT_EQ(result.lines[2], (SLine{"", true}));
    EXPECT_EQ(result.lines[3], (SLine{kFailure, true}));

    // A copy of the demo whose banner picture goes once the scene is open.
    std::filesystem::copy(std::filesystem::path(LVX_DEMO_SCENE).parent_path(), m_out.Path("scene"));
    QString error;
    ASSERT_TRUE(m_document.Open(Q(m_out.Path("scene/demo.bgs")), false, &error)) << error.toStdString();
    ASSERT_TRUE(std::filesystem::remove(m_out.Path("scene/banner.png")));
    result = Export("demo.scr");
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.Texts().join('\n').toStdString(), HasSubstr("\"banner.png\". File not found."));
    EXPECT_EQ(result.lines.back(), (SLine{kFailure, true}));
    EXPECT_THAT(m_out.Entries(), ElementsAre("scene"));
}

TEST_F(ExportRun, ABuilderThatWritesTheInstallerSucceedsLineByLine) {
    // A stand-in builder: it checks where it runs and what it is given.
    const SRunResult result = ExportWithTemplate("[ \"$(pwd)\" = '" + m_installer.Root().string() + "' ] || exit 5\n" +
                                                 "[ -f '<BRENNOX_PATH_NAME>' ] || exit 6\n"
                                                 "echo 'built <BRENNOX_TITLE> from <BRENNOX_FILE_NAME>'\n"
                                                 "printf x > '<BRENNOX_OUTPUT_DIR><BRENNOX_OUTPUT_NAME>.run'\n");
    EXPECT_TRUE(result.succeeded);
    EXPECT_THAT(result.lines,
                ElementsAre(SLine{"Creation of the screensaver \"demo.exe\"...", false},
                            SLine{"Creation of the screensaver successful.", false},
                            SLine{"Creation of the installer...", false}, SLine{"Launch makeself...", false},
                            SLine{"Success: Installer is generated.", true}, SLine{"Delete temporary files...", false},
                            SLine{"", true}, SLine{"Files Successfuly generated.", true}));
    // The screensaver and the filled script were temporary; the log stays.
    EXPECT_THAT(m_out.Entries(), ElementsAre("demo.run"));
    EXPECT_THAT(m_installer.Entries(), ElementsAre("log.txt", "screensaver.sh.in"));
    EXPECT_EQ(ReadFile(m_installer.Path("log.txt")), "built Night Sky from demo.scr\n");
}

TEST_F(ExportRun, ABuilderThatFailsOrWritesNothingIsAFailureAndItsOutputGrowsTheLog) {
    const std::string failing = "echo 'building <BRENNOX_OUTPUT_NAME>'\necho 'no makeself' >&2\nexit 3\n";
    ExportWithTemplate(failing);
    SRunResult result = ExportWithTemplate(failing);
    EXPECT_FALSE(result.succeeded);
    EXPECT_FALSE(result.Texts().contains("Success: Installer is generated."));
    EXPECT_THAT(result.Texts().join('\n').toStdString(), HasSubstr("Error: makeself failed (exit status 3)"));
    EXPECT_EQ(result.lines.back(), (SLine{kFailure, true}));
    EXPECT_EQ(ReadFile(m_installer.Path("log.txt")), "building demo\nno makeself\nbuilding demo\nno makeself\n");
    EXPECT_THAT(m_out.Entries(), IsEmpty());
    EXPECT_THAT(m_installer.Entries(), ElementsAre("log.txt", "screensaver.sh.in"));

    result = ExportWithTemplate("exit 0\n");
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.Texts().join('\n').toStdString(), HasSubstr("Error: makeself did not write"));
}

TEST_F(ExportRun, AMissingTemplateIsReportedAndNoScriptIsWritten) {
    const SRunResult result = ExportWithTemplate("");
    EXPECT_FALSE(result.succeeded);
    ASSERT_EQ(result.lines.size(), 7u);
    EXPECT_THAT(result.lines[3].text.toStdString(), StartsWith("Error: Cannot read the installer template \"" +
                                                               m_installer.Path("screensaver.sh.in") + "\". ("));
    EXPECT_TRUE(result.lines[3].bold);
    EXPECT_EQ(result.lines[4], (SLine{"Delete temporary files...", false}));
    EXPECT_EQ(result.lines[6], (SLine{kFailure, true}));
    EXPECT_THAT(m_installer.Entries(), IsEmpty());
    EXPECT_THAT(m_out.Entries(), IsEmpty());
}

TEST_F(ExportRun, ABuilderThatCannotBeStartedIsReportedWithTheSystemsReason) {
    const SRunResult result = ExportWithTemplate("exit 0\n", Q(m_installer.Path("no-such-shell")));
    EXPECT_FALSE(result.succeeded);
    ASSERT_GE(result.lines.size(), 5u);
    EXPECT_THAT(result.lines[4].text.toStdString(), testing::MatchesRegex("Error: Cannot Launch makeself\\. \\(.+\\)"));
    EXPECT_TRUE(result.lines[4].bold);
    EXPECT_EQ(result.lines.back(), (SLine{kFailure, true}));
    EXPECT_THAT(m_out.Entries(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(m_installer.Path("screensaver_current.sh")));
}
