// Playing a real MP3 through SDL2_mixer on SDL's dummy audio driver (the test
// environment sets SDL_AUDIODRIVER=dummy). Timing is only checked with wide
// margins: the dummy driver runs in real time but the machine may be busy.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CTestMusic.h"
#include "platform/audio/mmsystem.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// ctest may run several of these tests at once in the same folder: each
// process makes its files in its own folder, whose name has blanks on purpose.
const std::string g_musicFolder = "music dir " + std::to_string(getpid());
std::string g_musicPath;  // g_musicFolder/"tone 2s.mp3", absolute

std::string Status(const char* alias, const char* item) {
    char result[64] = "";
    const std::string command = std::string("status ") + alias + " " + item;
    const MCIERROR error = mciSendStringA(command.c_str(), result, sizeof(result), nullptr);
    return error ? "error " + std::to_string(error) : std::string(result);
}

long StatusNumber(const char* alias, const char* item) {
    return std::stol(Status(alias, item));
}

MCIERROR Send(const std::string& command) {
    return mciSendStringA(command.c_str(), nullptr, 0, nullptr);
}

std::string OpenCommand(const std::string& path, const char* alias) {
    return "open \"" + path + "\" type mpegvideo alias " + alias;
}

bool WaitForMode(const char* alias, const std::string& mode, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (Status(alias, "mode") == mode) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class MciPlayback : public testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::create_directories(g_musicFolder);
        const std::string wav = g_musicFolder + "/tone 2s.wav";
        g_musicPath = (fs::current_path() / g_musicFolder / "tone 2s.mp3").string();
        ASSERT_TRUE(CTestMusic::WriteSineWav(wav, 2.0, 440.0));
        ASSERT_TRUE(CTestMusic::EncodeMp3(wav, g_musicPath)) << "the lame encoder is needed for these tests";
    }

    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(g_musicFolder, ignored);
    }

    void TearDown() override { EXPECT_EQ(Send("close all"), MMSYSERR_NOERROR); }
};

}  // namespace

TEST_F(MciPlayback, ModeFollowsPlayPauseResumeStopAndClose) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "stopped");
    const long length = StatusNumber("mp3", "length");
    EXPECT_GE(length, 1950);
    EXPECT_LE(length, 2300);

    EXPECT_EQ(Send("play mp3 from 0"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "playing");
    EXPECT_EQ(Send("pause mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "paused");
    EXPECT_EQ(Send("resume mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "playing");
    EXPECT_EQ(Send("stop mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "stopped");
    // Pausing or resuming a stopped device changes nothing and is no error.
    EXPECT_EQ(Send("pause mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Send("resume mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "stopped");

    EXPECT_EQ(Send("close mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Send("play mp3 from 0"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("close mp3"), MCIERR_INVALID_DEVICE_NAME);
}

TEST_F(MciPlayback, PositionFollowsPlayFromPauseAndStop) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    const long length = StatusNumber("mp3", "length");

    ASSERT_EQ(Send("play mp3 from 1000"), MMSYSERR_NOERROR);
    long position = StatusNumber("mp3", "position");
    EXPECT_GE(position, 1000);
    EXPECT_LE(position, length);

    ASSERT_EQ(Send("pause mp3"), MMSYSERR_NOERROR);
    const long paused = StatusNumber("mp3", "position");
    EXPECT_GE(paused, 1000);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(StatusNumber("mp3", "position"), paused) << "a paused device must not move";

    // "stop" keeps the position; a plain "play" goes on from there.
    ASSERT_EQ(Send("stop mp3"), MMSYSERR_NOERROR);
    const long stopped = StatusNumber("mp3", "position");
    EXPECT_GE(stopped, paused);
    ASSERT_EQ(Send("play mp3"), MMSYSERR_NOERROR);
    EXPECT_GE(StatusNumber("mp3", "position"), stopped);

    // Starting again from an earlier point really rewinds.
    ASSERT_EQ(Send("play mp3 from 200"), MMSYSERR_NOERROR);
    position = StatusNumber("mp3", "position");
    EXPECT_GE(position, 200);
    EXPECT_LT(position, 1000);
}

TEST_F(MciPlayback, MusicRunsToItsEndAndPositionsPastItAreRefused) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    const long length = StatusNumber("mp3", "length");

    EXPECT_EQ(Send("play mp3 from " + std::to_string(length + 1000)), MCIERR_OUTOFRANGE);
    EXPECT_EQ(Send("play mp3 from 4294967295"), MCIERR_OUTOFRANGE);
    EXPECT_EQ(Status("mp3", "mode"), "stopped");

    ASSERT_EQ(Send("play mp3 from " + std::to_string(length - 300)), MMSYSERR_NOERROR);
    ASSERT_TRUE(WaitForMode("mp3", "stopped", 10s)) << "the music should end by itself";
    EXPECT_EQ(StatusNumber("mp3", "position"), length);

    // At the end, a plain "play" starts over.
    ASSERT_EQ(Send("play mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "playing");
    EXPECT_LT(StatusNumber("mp3", "position"), length / 2);
}

TEST_F(MciPlayback, OpenRefusesMissingAndUnplayableFilesAndTakenAliases) {
    EXPECT_EQ(Send(OpenCommand(g_musicPath + ".missing", "mp3")), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(Send(OpenCommand(fs::current_path().string(), "mp3")), MCIERR_FILE_NOT_FOUND);  // a folder

    const std::string textPath = g_musicFolder + "/not music.mp3";
    {
        std::ofstream text(textPath);
        for (int i = 0; i < 200; ++i) {
            text << "These are plain words and no audio frames at all.\n";
        }
    }
    EXPECT_EQ(Send(OpenCommand(textPath, "mp3")), MCIERR_INVALID_FILE);
    EXPECT_EQ(Send(OpenCommand(g_musicPath, "mp3") + " type waveaudio"), MCIERR_DUPLICATE_FLAGS);
    EXPECT_EQ(Send("open \"" + g_musicPath + "\" type waveaudio alias mp3"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("play mp3 from 0"), MCIERR_INVALID_DEVICE_NAME) << "failed opens leave nothing behind";

    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    EXPECT_EQ(Send(OpenCommand(g_musicPath, "MP3")), MCIERR_DUPLICATE_ALIAS) << "aliases ignore case";
    EXPECT_EQ(Send("play MP3 from 0"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "playing");

    // A path written on Windows, relative to the working folder.
    EXPECT_EQ(Send(OpenCommand(g_musicFolder + "\\tone 2s.mp3", "windowspath")), MMSYSERR_NOERROR);
    EXPECT_EQ(Send("open nowhere.mp3 alias all"), MCIERR_CANNOT_USE_ALL);
}

TEST_F(MciPlayback, StatusValuesThatDoNotFitAreRefused) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    char small[7] = "xxxxxx";  // "stopped" needs 8 bytes
    EXPECT_EQ(mciSendStringA("status mp3 mode", small, sizeof(small), nullptr), MCIERR_PARAM_OVERFLOW);
    EXPECT_STREQ(small, "");
    char exact[8];
    EXPECT_EQ(mciSendStringA("status mp3 mode", exact, sizeof(exact), nullptr), MMSYSERR_NOERROR);
    EXPECT_STREQ(exact, "stopped");
    EXPECT_EQ(mciSendStringA("status mp3 mode", nullptr, 0, nullptr), MMSYSERR_NOERROR);
}

TEST_F(MciPlayback, OnlyOneDevicePlaysAtATime) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "first")), MMSYSERR_NOERROR);
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "second")), MMSYSERR_NOERROR);
    ASSERT_EQ(Send("play first from 500"), MMSYSERR_NOERROR);
    ASSERT_EQ(Send("play second from 0"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("first", "mode"), "stopped");
    EXPECT_GE(StatusNumber("first", "position"), 500);
    EXPECT_EQ(Status("second", "mode"), "playing");

    // Closing the device that was pushed aside leaves the other one playing.
    ASSERT_EQ(Send("close first"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("second", "mode"), "playing");
}

TEST_F(MciPlayback, CommandsFromTwoThreadsAreSerialised) {
    ASSERT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
    auto hammer = [](int seed) {
        const char* commands[] = {"play mp3 from 300", "pause mp3", "resume mp3", "stop mp3", "play mp3"};
        for (int i = 0; i < 150; ++i) {
            EXPECT_EQ(Send(commands[(i + seed) % 5]), MMSYSERR_NOERROR);
            const std::string mode = Status("mp3", "mode");
            EXPECT_TRUE(mode == "playing" || mode == "paused" || mode == "stopped") << mode;
        }
    };
    std::thread renderThread(hammer, 0);
    std::thread hostThread(hammer, 3);
    renderThread.join();
    hostThread.join();
    EXPECT_EQ(Send("stop mp3"), MMSYSERR_NOERROR);
    EXPECT_EQ(Status("mp3", "mode"), "stopped");
}

TEST_F(MciPlayback, NoAudioDeviceGivesAnErrorAndALaterOpenRecovers) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    const MCIERROR error = Send(OpenCommand(g_musicPath, "mp3"));
    EXPECT_EQ(error, MCIERR_CANNOT_LOAD_DRIVER);
    char text[MAXERRORLENGTH];
    EXPECT_TRUE(mciGetErrorStringA(error, text, sizeof(text)));
    EXPECT_EQ(Send("play mp3 from 0"), MCIERR_INVALID_DEVICE_NAME);

    if (previous) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
    EXPECT_EQ(Send(OpenCommand(g_musicPath, "mp3")), MMSYSERR_NOERROR);
}
