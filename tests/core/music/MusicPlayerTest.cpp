// The music player's command strings, its enabled switch, its stored form
// and its error messages (real MCI answers for a missing file).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "common/CoreTestSupport.h"
#include "scene/CMP3Player.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CErrorCapture.h"

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class MusicPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        m_player.SetCommandSender([this](const CString& command) {
            m_commands.push_back(command);
            return m_answer;
        });
    }
    void TearDown() override { m_player.SetCommandSender(nullptr); }

    CMP3Player m_player;
    std::vector<CString> m_commands;
    MCIERROR m_answer = MMSYSERR_NOERROR;
};

TEST_F(MusicPlayerTest, DisabledPlayerSendsOnlyTheSilentCommands) {
    m_player.SetPath("song.mp3");
    m_player.Initialize();
    m_player.Play();
    m_player.Resume();
    EXPECT_TRUE(m_commands.empty());
    m_player.Pause();
    m_player.Stop();
    m_player.Kill();
    EXPECT_THAT(m_commands, ElementsAre("pause mp3", "stop mp3", "close mp3"));
    EXPECT_EQ(m_player.GetLength(), 0);
}

TEST_F(MusicPlayerTest, EnabledPlayerSendsTheCommandStrings) {
    m_player.SetEnable(true);
    m_player.SetPath("/music/My Song.mp3");
    m_player.Initialize();
    m_player.SetPosition(2500);
    m_player.Play();
    m_player.Resume();
    m_player.Pause();
    EXPECT_EQ(m_player.GetPosition(), 2500);
    m_player.Stop();
    EXPECT_EQ(m_player.GetPosition(), 0);
    EXPECT_THAT(m_commands, ElementsAre("close mp3", "open \"/music/My Song.mp3\" type mpegvideo alias mp3",
                                        "play mp3 from 2500", "resume mp3", "pause mp3", "stop mp3"));
}

TEST_F(MusicPlayerTest, LoopWatcherEndsWithBreakAndSetLoopFalseStops) {
    m_player.SetEnable(true);
    m_player.SetLoop(true);
    m_player.Play();
    m_player.Play();  // a second watcher replaces the first
    m_commands.clear();
    m_player.SetLoop(false);
    EXPECT_FALSE(m_player.GetLoop());
    EXPECT_THAT(m_commands, ElementsAre("stop mp3"));
}

TEST_F(MusicPlayerTest, ErrorsOfOpenPlayAndResumeAreShownOthersIgnored) {
    m_player.SetEnable(true);
    m_answer = MCIERR_DEVICE_NOT_READY;
    CErrorCapture errors;
    m_player.Initialize();
    m_player.Play();
    m_player.Resume();
    m_player.Pause();
    m_player.Stop();
    m_player.Kill();
    ASSERT_EQ(errors.Count(), 3u);
    char text[MAXERRORLENGTH] = {};
    mciGetErrorStringA(MCIERR_DEVICE_NOT_READY, text, sizeof(text));
    EXPECT_EQ(errors.Texts()[0], std::string("Sound Error: ") + text);
    EXPECT_EQ(errors.Icons()[0], ErrorIcon::Error);
}

TEST_F(MusicPlayerTest, OpeningAMissingFileReportsTheMciText) {
    m_player.SetCommandSender(nullptr);  // the real MCI layer
    m_player.SetEnable(true);
    m_player.SetPath("no such file.mp3");
    CErrorCapture errors;
    m_player.Initialize();
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_THAT(errors.Texts()[0], HasSubstr("Sound Error: "));
    EXPECT_GT(errors.Texts()[0].size(), std::string("Sound Error: ").size());
}

TEST_F(MusicPlayerTest, SavedFormIsTwoBoolsAndTheFileOnlyWhenEnabled) {
    CScene scene;
    CSceneFile disabled(scene, false, "");
    m_player.SetLoop(true);
    m_player.SetPath("song.mp3");
    m_player.Save(disabled);
    EXPECT_EQ(disabled.GetData(), (std::vector<BYTE>{1, 0}));

    CSceneFile enabled(scene, false, "");
    m_player.SetEnable(true);
    m_player.Save(enabled);
    CSceneFile expected(scene, false, "");
    expected.WriteBool(true);
    expected.WriteBool(true);
    expected.WriteFile("song.mp3");
    EXPECT_EQ(enabled.GetData(), expected.GetData());
}

TEST_F(MusicPlayerTest, LoadingFromAPackageOpensTheExtractedCopy) {
    {
        std::ofstream song("packed song.mp3", std::ios::binary);
        song << "ID3 not really music";
    }
    CScene scene;
    CSceneFile writer(scene, true, "");
    writer.WriteBool(false);
    writer.WriteBool(true);
    writer.WriteFile("packed song.mp3");

    CSceneFile reader(scene, true, "");
    ASSERT_TRUE(reader.LoadData(writer.GetData()));
    EXPECT_TRUE(m_player.Load(reader));
    EXPECT_TRUE(m_player.GetEnable());
    EXPECT_FALSE(m_player.GetLoop());
    EXPECT_EQ(m_player.GetPath(), "packed song.mp3");
    const CString extracted = CSceneFile::GetMusicFilePath();
    ASSERT_FALSE(extracted.empty());
    EXPECT_THAT(m_commands, ElementsAre("stop mp3", "close mp3", "close mp3",
                                        "open \"" + extracted + "\" type mpegvideo alias mp3"));

    // A damaged package: the path becomes empty and opening it fails.
    std::vector<BYTE> damaged = writer.GetData();
    damaged.resize(damaged.size() - 5);
    CSceneFile broken(scene, true, "");
    ASSERT_TRUE(broken.LoadData(damaged));
    m_commands.clear();
    EXPECT_TRUE(m_player.Load(broken));
    EXPECT_EQ(m_player.GetPath(), "");
    EXPECT_THAT(m_commands.back(), testing::StrEq("open \"\" type mpegvideo alias mp3"));
}

}  // namespace
