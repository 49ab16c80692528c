#pragma once
// Shared by the particle tests: the lines of a valid "[ParticleSystem 1.00]"
// file, to be damaged line by line, and files written from them.

#include <string>
#include <vector>

#include "support/CTempFolder.h"

namespace particletest {

// Every setting once, in the order an emitter writes them.
inline std::vector<std::string> ValidLines() {
    return {
        "[ParticleSystem 1.00]",
        "Position=(1.0000, 2.0000, 3.0000)",
        "Gravity=(0.0000, -9.8000, 0.0000)",
        "SpawnDir1=(-1.0000, 4.0000, -1.0000)",
        "SpawnDir2=(1.0000, 6.0000, 1.0000)",
        "StartColor1=(1.0000, 0.5000, 0.2500, 1.0000)",
        "StartColor2=(1.0000, 0.7500, 0.5000, 1.0000)",
        "EndColor1=(0.5000, 0.0000, 0.0000, 0.0000)",
        "EndColor2=(0.2500, 0.0000, 0.0000, 0.0000)",
        "EmitRate=(50.0000, 80.0000)",
        "EmitRadius=(0.5000, 0.0000, 0.5000)",
        "Lifetime=(1.0000, 2.0000)",
        "Size=(0.2500, 0.5000)",
        "SrcBlend=D3DBLEND_SRCALPHA",
        "DestBlend=D3DBLEND_ONE",
        "MaxParticles=500",
        "Texture=particle.png",
    };
}

inline std::string Joined(const std::vector<std::string>& lines, const std::string& lineEnd = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineEnd;
    }
    return text;
}

// The lines without the one that starts with `prefix`.
inline std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
    std::erase_if(lines, [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return lines;
}

// The lines with the one that starts with `prefix` replaced.
inline std::vector<std::string> Replaced(std::vector<std::string> lines, const std::string& prefix,
                                         const std::string& replacement) {
    for (std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            line = replacement;
        }
    }
    return lines;
}

}  // namespace particletest
