// The installer's build script: the template filled in, the copy beside it
// and how the builder is started.

#include <gtest/gtest.h>

#include <QDir>

#include "export/CInstallerScript.h"
#include "support/CTempFolder.h"

TEST(InstallerScript, EveryPlaceholderIsReplacedWhereverItStandsAndOnlyOnce) {
    const SInstallerNames names = SInstallerNames::FromChosenPath("/home/ann/out/MySpecialSaver.exe");
    const QString text =
        "<BRENNOX_TITLE>|<BRENNOX_FILE_NAME>|<BRENNOX_SMALL_FILE_NAME>|<BRENNOX_PATH_NAME>|"
        "<BRENNOX_OUTPUT_DIR>|<BRENNOX_OUTPUT_NAME>\n"
        "<BRENNOX_TITLE><BRENNOX_TITLE> <BRENNOX_OUTPUT_DIR><BRENNOX_OUTPUT_NAME>.run <BRENNOX_OTHER>";
    EXPECT_EQ(CInstallerScript::Fill(text, names, "Sky"),
              "Sky|MySpecialSaver.scr|MYSPEC~1.SCR|/home/ann/out/MySpecialSaver.scr|/home/ann/out/|MySpecialSaver\n"
              "SkySky /home/ann/out/MySpecialSaver.run <BRENNOX_OTHER>");
    // A name that holds a placeholder's text is taken as it is.
    EXPECT_EQ(CInstallerScript::Fill("<BRENNOX_TITLE>", names, "<BRENNOX_FILE_NAME>"), "<BRENNOX_FILE_NAME>");

    CTempFolder folder;
    folder.Write("screensaver.sh.in", std::string("echo '<BRENNOX_TITLE>'\n"));
    folder.Write("screensaver_current.sh", std::string("the copy of the run before, longer than the new one\n"));
    const CInstallerScript script(QString::fromStdString(folder.Root().string()) + "/");
    QString read;
    QString error;
    ASSERT_TRUE(script.ReadTemplate(read, error)) << error.toStdString();
    ASSERT_TRUE(script.WriteCurrent(read, names, "Sky", error)) << error.toStdString();
    const std::vector<BYTE> written = CTempFolder::Read(folder.Path("screensaver_current.sh"));
    EXPECT_EQ(std::string(written.begin(), written.end()), "echo 'Sky'\n");
}

TEST(InstallerScript, TheBuilderIsShRunningTheCopyInTheTemplatesFolderAppendingToTheLog) {
    const CInstallerScript here("/work/bin/installer/");
    CInstallerScript::SCommand command = here.BuilderCommand();
    EXPECT_EQ(command.program, "sh");
    EXPECT_EQ(command.arguments, QStringList{"/work/bin/installer/screensaver_current.sh"});
    EXPECT_EQ(command.workingFolder, "/work/bin/installer");
    EXPECT_EQ(command.logFile, "/work/bin/installer/log.txt");

    // An installed template is read where it lies; the copy and the log go
    // to the user's own folder.
    const CInstallerScript installed("/usr/share/lumivexis/installer", "/home/ann/.local/state/lumivexis/installer");
    command = installed.BuilderCommand();
    EXPECT_EQ(installed.TemplatePath(), "/usr/share/lumivexis/installer/screensaver.sh.in");
    EXPECT_EQ(command.arguments, QStringList{"/home/ann/.local/state/lumivexis/installer/screensaver_current.sh"});
    EXPECT_EQ(command.workingFolder, "/usr/share/lumivexis/installer");
    EXPECT_EQ(command.logFile, "/home/ann/.local/state/lumivexis/installer/log.txt");

    const bool wasSet = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    const QByteArray before = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/state");
    EXPECT_EQ(CInstallerScript::StateWorkFolder(), "/state/lumivexis/installer");
    qputenv("XDG_STATE_HOME", "relative");
    EXPECT_EQ(CInstallerScript::StateWorkFolder(), QDir::homePath() + "/.local/state/lumivexis/installer");
    if (wasSet) {
        qputenv("XDG_STATE_HOME", before);
    } else {
        qunsetenv("XDG_STATE_HOME");
    }
}
