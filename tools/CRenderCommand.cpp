#include "CRenderCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "CDisplaySetup.h"
#include "CPlaybackSession.h"
#include "CProgressBar.h"
#include "CRunDirectory.h"
#include "CScenePlayer.h"
#include "CSceneSource.h"
#include "CToolArguments.h"
#include "core/CScreen.h"
#include "platform/files/CPngFile.h"
#include "scene/CScene.h"

namespace {

bool EndsWithPng(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string end = path.substr(path.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".png";
}

std::string FramePath(const std::string& folder, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.png", index);
    return (std::filesystem::path(folder) / name).string();
}

}  // namespace

std::string CRenderCommand::Help() const {
    return "Usage: lumivexis render SCENE --out FILE.png|DIR|- [--time T | --from A --to B --fps N]\n"
           "                        [--size WxH] [--info]\n"
           "Draws the scene as the player shows it (through its own cameras) at the given\n"
           "scene times, off screen, and writes PNG images.\n"
           "\n"
           "  --out FILE.png   one frame, at --time (default 0)\n"
           "  --out DIR        a sequence DIR/frame_00000.png, frame_00001.png, ...\n"
           "                   (with --time the one frame DIR/frame_00000.png); missing\n"
           "                   folders are made\n"
           "  --out -          the sequence as PNG images on standard output (not a\n"
           "                   terminal), e.g.\n"
           "                   ... --out - | ffmpeg -f image2pipe -framerate 25 -i - out.mp4\n"
           "  --time T         one frame at T seconds (0 to 1000000)\n"
           "  --from A --to B  the frames from A to B seconds (default: the whole scene)\n"
           "  --fps N          frames per second of a sequence (default 25)\n"
           "  --size WxH       image size (default: the scene's resolution, 640x480 for\n"
           "                   the desktop's), each side 1 to 8192\n"
           "  --info           draw the engine's information lines (version, time, frame\n"
           "                   rate, camera position) into the frames\n"
           "A progress bar shows on a terminal when more than one frame is drawn.\n";
}

std::vector<float> CRenderCommand::SequenceTimes(const SRenderTimes& times, float totalTime) {
    std::vector<float> result;
    const float end = std::min(times.to < 0.0f ? totalTime : times.to, totalTime);
    const float start = std::min(times.from, totalTime);
    if (times.fps <= 0 || end < start)
        return result;
    const auto frames = static_cast<long long>(std::floor((end - start) * static_cast<float>(times.fps) + 1e-4f));
    for (long long i = 0; i <= frames; ++i) {
        result.push_back(std::min(start + static_cast<float>(i) / static_cast<float>(times.fps), end));
    }
    return result;
}

int CRenderCommand::Run(const std::vector<std::string>& arguments) {
    CToolArguments parsed;
    std::string error;
    if (!parsed.Parse(arguments, {"info"}, {"out", "time", "from", "to", "fps", "size"}, error))
        return UsageError(error);
    if (parsed.Positionals().size() != 1)
        return UsageError("needs exactly one scene file");
    if (!parsed.Has("out"))
        return UsageError("needs --out FILE.png, --out DIR or --out -");
    const bool sequenceOptions = parsed.Has("from") || parsed.Has("to") || parsed.Has("fps");
    if (parsed.Has("time") && sequenceOptions)
        return UsageError("--time cannot be combined with --from, --to or --fps");

    SRenderTimes times;
    const std::string out = parsed.Value("out");
    const bool toStdout = out == "-";
    times.single = parsed.Has("time") || (EndsWithPng(out) && !sequenceOptions);
    if (times.single && toStdout && !parsed.Has("time"))
        times.single = false;
    if (!times.single && EndsWithPng(out))
        return UsageError("a sequence of frames needs --out DIR or --out -");
    if (toStdout && isatty(STDOUT_FILENO) == 1)
        return UsageError("will not write PNG images to a terminal; redirect standard output or use --out DIR");
    if (parsed.Has("time") && !CToolArguments::ParseSeconds(parsed.Value("time"), times.time)) {
        return UsageError("--time needs seconds from 0 to 1000000, such as 2.5");
    }
    if (parsed.Has("from") && !CToolArguments::ParseSeconds(parsed.Value("from"), times.from)) {
        return UsageError("--from needs seconds from 0 to 1000000, such as 2.5");
    }
    if (parsed.Has("to") && !CToolArguments::ParseSeconds(parsed.Value("to"), times.to)) {
        return UsageError("--to needs seconds from 0 to 1000000, such as 2.5");
    }
    if (parsed.Has("to") && times.to < times.from)
        return UsageError("--to must not lie before --from");
    if (parsed.Has("fps") && !CToolArguments::ParseInt(parsed.Value("fps"), 1, 1000, times.fps)) {
        return UsageError("--fps needs a whole number from 1 to 1000");
    }

    CSceneSource source;
    if (!source.Open(parsed.Positionals()[0], error))
        return Fail(error);
    SScreenSetup setup = CDisplaySetup::ForHostWindow(CDisplaySetup::FromDisplayFormat(source.Info().displayFormat));
    SOutputChoice output;
    output.kind = TOutputKind::Headless;
    CDisplaySetup::PixelSize(setup, output.width, output.height);
    if (parsed.Has("size") && !CToolArguments::ParseSize(parsed.Value("size"), output.width, output.height)) {
        return UsageError("--size needs WIDTHxHEIGHT, such as 640x480, each from 1 to 8192");
    }

    const std::string target = toStdout ? out : CRunDirectory::Absolute(out);
    if (!toStdout) {
        // The folder the frames go into, however many there are.
        const std::string folder = EndsWithPng(target) ? std::filesystem::path(target).parent_path().string() : target;
        std::error_code created;
        std::filesystem::create_directories(folder, created);
        if (created)
            return Fail("cannot create the folder \"" + folder + "\": " + created.message());
    }
    CRunDirectory::EnterStateDirectory();
    CScreen& screen = CScreen::Instance();
    CDisplaySetup::Apply(setup, screen);
    // Rendered frames are for videos and previews; the player follows its settings.
    screen.ViewInfo(parsed.Has("info"));

    CProgressBar progress(stderr, "frames");
    int frameCount = 0;
    std::string writeError;
    SPlaybackSettings playback;
    playback.scenePath = source.Path();
    playback.packed = source.Info().packed;
    playback.timesAfterLoad = [&times, &frameCount, &screen] {
        std::vector<float> list = times.single ? std::vector<float>{std::min(times.time, screen.GetTotalTime())}
                                               : SequenceTimes(times, screen.GetTotalTime());
        frameCount = static_cast<int>(list.size());
        return list;
    };
    playback.frameSink = [&](const SFrame& frame) {
        bool written = false;
        if (toStdout) {
            written = CPngFile::WriteTo(stdout, frame.width, frame.height, frame.pixels, writeError);
        } else {
            const std::string path =
                times.single ? (EndsWithPng(target) ? target : FramePath(target, 0)) : FramePath(target, frame.index);
            written = CPngFile::Write(path, frame.width, frame.height, frame.pixels, writeError);
        }
        if (frameCount > 1)
            progress.Update(frame.index + 1, frameCount);
        return written;
    };
    CScene scene;
    CScenePlayer player(scene, playback);
    const bool ran = CPlaybackSession::Run(output, player, error);
    progress.Finish();

    if (!ran)
        return Fail(error);
    if (!player.SceneLoaded())
        return Fail("cannot load \"" + parsed.Positionals()[0] + "\"");
    if (!screen.GetErrors().empty())
        return Fail("the engine could not start on the headless surface");
    if (!writeError.empty())
        return Fail("cannot write the frame: " + writeError);
    if (player.FramesRun() != frameCount)
        return Fail("only " + std::to_string(player.FramesRun()) + " of " + std::to_string(frameCount) +
                    " frames were drawn");
    if (!toStdout) {
        // One frame into a folder: name the file it went to.
        const std::string written = times.single && !EndsWithPng(out) ? FramePath(out, 0) : out;
        std::fprintf(stderr, "lumivexis render: %d frame%s written to %s\n", frameCount, frameCount == 1 ? "" : "s",
                     written.c_str());
    }
    return kExitOk;
}
