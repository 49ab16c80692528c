#pragma once
// A document whose engine settings a test may change freely: the screen's
// settings go back when the test ends (the fixture's guard), and so does
// the music's path. The music's commands are recorded instead of played.
// Header only.

#include <QString>
#include <QStringList>

#include "core/CScreen.h"
#include "document/SSceneSettings.h"
#include "panes/EditorSceneFixture.h"
#include "scene/CMP3Player.h"

class CSceneSettingsFixture : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_MusicPath = Music().GetPath();
        Music().SetCommandSender([this](const CString& command) {
            m_MusicCommands.push_back(QString::fromStdString(command));
            return MCIERROR(0);
        });
    }
    void TearDown() override {
        // Before the list goes: the screen's guard still stops the music.
        Music().SetCommandSender(nullptr);
        Music().SetPath(m_MusicPath);
    }

    static CScreen& Screen() { return CScreen::Instance(); }
    static CMP3Player& Music() { return Screen().GetSound(); }
    SSceneSettings ReadEngine() { return SSceneSettings::Read(Screen(), Scene()); }

    // Settings that differ from a fresh engine's in every value (colours
    // of whole components, which the screen's byte form keeps exactly).
    static SSceneSettings Sample() {
        SSceneSettings s;
        s.totalTime = 42.5f;
        s.loop = true;
        s.background = SSceneSettings::EBackground::Bitmap;
        s.backgroundColor = {1.0f, 0.0f, 1.0f, 1.0f};
        s.skyBox = {"/sky/top.bmp",   "/sky/bottom.bmp", "/sky/left.bmp",
                    "/sky/right.bmp", "/sky/back.bmp",   "/sky/front.bmp"};
        s.backgroundImage = "C:\\pictures\\stars.png";
        s.fog = true;
        s.fogColor = {0.25f, 0.5f, 0.75f, 1.0f};
        s.fogStart = 3.5f;
        s.fogEnd = 70.0f;
        s.fogDensity = 0.125f;
        s.musicPath = "/music/theme.mp3";
        s.musicLoop = true;
        s.musicEnabled = true;
        return s;
    }

    QStringList m_MusicCommands;
    CString m_MusicPath;
};
