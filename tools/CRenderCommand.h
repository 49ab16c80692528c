#pragma once
// lumivexis render SCENE --out FILE.png|DIR|- [--time T | --from A --to B --fps N] [--size WxH]
//
// Draws what the player shows at the given scene times on the headless
// surface (no display needed) and writes each frame as a PNG: one file, a
// folder of numbered files, or one PNG after the other on standard output
// for a video encoder:
//
//   lumivexis render demo.bgs --out - --fps 30 | ffmpeg -f image2pipe -framerate 30 -i - demo.mp4

#include <vector>

#include "CToolCommand.h"

struct SRenderTimes {
    bool single = true;
    float time = 0.0f;  // single
    float from = 0.0f;  // sequence
    float to = -1.0f;   // negative: the scene's total time
    int fps = 25;
};

class CRenderCommand : public CToolCommand {
public:
    const char* Name() const override { return "render"; }
    const char* Summary() const override { return "draw frames of a scene into PNG images, headless"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

    // The scene times of a sequence: from, from + 1/fps, ... up to to (and
    // to itself when it falls on a frame), all within 0 .. totalTime.
    static std::vector<float> SequenceTimes(const SRenderTimes& times, float totalTime);
};
