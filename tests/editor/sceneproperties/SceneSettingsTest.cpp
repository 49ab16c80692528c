// The scene-wide settings apart from any window: every value goes to the
// engine and comes back, the groups that differ are the only ones written
// (the music is not stopped for a change of fog), the music's commands
// come in the player's order, and the undoable change takes everything
// back and tells the timeline each time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "CSceneSettingsFixture.h"
#include "document/CSceneSettingsCommand.h"

using testing::ElementsAre;

namespace {

using SceneSettings = CSceneSettingsFixture;

}  // namespace

TEST_F(SceneSettings, EveryValueGoesToTheEngineAndComesBack) {
    const SSceneSettings sample = Sample();
    ASSERT_EQ(ReadEngine().DifferingParts(sample), SSceneSettings::kAllParts);

    sample.Apply(Screen(), Scene());

    const SSceneSettings read = ReadEngine();
    EXPECT_EQ(read.DifferingParts(sample), 0u);
    EXPECT_TRUE(Scene().HasBackgroundImage());
    EXPECT_FALSE(Scene().HasSkyBox());
    EXPECT_EQ(Scene().GetSkyBox().GetTopPicture(), "/sky/top.bmp");
    EXPECT_EQ(Scene().GetSkyBox().GetFrontPicture(), "/sky/front.bmp");
    EXPECT_EQ(Scene().GetBackgroundImage().GetTexture(0), "C:\\pictures\\stars.png");
}

TEST_F(SceneSettings, TheBackgroundTypeSwitchesTheSkyBoxAndTheImage) {
    SSceneSettings settings = ReadEngine();
    settings.background = SSceneSettings::EBackground::SkyBox;
    settings.Apply(Screen(), Scene(), SSceneSettings::kBackground);
    EXPECT_TRUE(Scene().HasSkyBox());
    EXPECT_FALSE(Scene().HasBackgroundImage());
    EXPECT_EQ(ReadEngine().background, SSceneSettings::EBackground::SkyBox);

    settings.background = SSceneSettings::EBackground::PlainColor;
    settings.Apply(Screen(), Scene(), SSceneSettings::kBackground);
    EXPECT_FALSE(Scene().HasSkyBox());
    EXPECT_FALSE(Scene().HasBackgroundImage());
    EXPECT_EQ(ReadEngine().background, SSceneSettings::EBackground::PlainColor);
}

TEST_F(SceneSettings, EachGroupIsFoundAndWrittenAlone) {
    const SSceneSettings before = ReadEngine();
    SSceneSettings fogOnly = before;
    fogOnly.fogDensity = 0.5f;
    EXPECT_EQ(before.DifferingParts(fogOnly), SSceneSettings::kFog);
    SSceneSettings faceOnly = before;
    faceOnly.skyBox[SSceneSettings::kLeft] = "left.bmp";
    EXPECT_EQ(before.DifferingParts(faceOnly), SSceneSettings::kBackground);

    // A change of the fog writes the fog only: the music plays on.
    m_document.UndoStack().push(new CSceneSettingsCommand(m_document, before, fogOnly));
    EXPECT_EQ(Screen().GetFogDensity(), 0.5f);
    m_document.UndoStack().undo();
    EXPECT_EQ(ReadEngine().DifferingParts(before), 0u);
    EXPECT_TRUE(m_MusicCommands.isEmpty());
}

TEST_F(SceneSettings, TheMusicIsStoppedClosedAndOpenedAgain) {
    SSceneSettings settings = ReadEngine();
    settings.musicPath = "/music/theme.mp3";
    settings.musicEnabled = true;
    settings.musicLoop = false;
    settings.Apply(Screen(), Scene(), SSceneSettings::kMusic);
    // Stop, Kill, no loop (which stops once more), then Initialize: close
    // and open the file.
    EXPECT_THAT(m_MusicCommands, ElementsAre("stop mp3", "close mp3", "stop mp3", "close mp3",
                                             "open \"/music/theme.mp3\" type mpegvideo alias mp3"));
    EXPECT_TRUE(Music().GetEnable());

    m_MusicCommands.clear();
    settings.musicPath = "";
    settings.musicEnabled = false;
    settings.Apply(Screen(), Scene(), SSceneSettings::kMusic);
    // Disabled: nothing is opened.
    EXPECT_THAT(m_MusicCommands, ElementsAre("stop mp3", "close mp3", "stop mp3"));
    EXPECT_EQ(Music().GetPath(), "");
}

TEST_F(SceneSettings, TheChangeIsOneUndoStepThatTellsTheTimelineEachTime) {
    const SSceneSettings before = ReadEngine();
    const SSceneSettings after = Sample();
    QSignalSpy told(&m_document, &CEditorDocument::SceneSettingsChanged);

    m_document.UndoStack().push(new CSceneSettingsCommand(m_document, before, after));
    EXPECT_EQ(m_document.UndoStack().count(), 1);
    EXPECT_EQ(m_document.UndoStack().undoText(), "Change the scene properties");
    EXPECT_EQ(ReadEngine().DifferingParts(after), 0u);

    m_document.UndoStack().undo();
    EXPECT_EQ(ReadEngine().DifferingParts(before), 0u);
    EXPECT_FALSE(Scene().HasBackgroundImage());
    EXPECT_EQ(Music().GetPath(), before.musicPath);

    m_document.UndoStack().redo();
    EXPECT_EQ(ReadEngine().DifferingParts(after), 0u);
    EXPECT_EQ(told.count(), 3);
}
