#pragma once
// lumivexis pack SCENE OUT [--screensaver|--executable] [--resolution 0-5] [--windowed] [--title TEXT]
//
// Writes what the editor's export writes: the player "ScreenSaver.dat"
// (beside this tool), the scene with every file it uses inside, and a
// trailer with the display format. A plain scene file is loaded and saved
// packed; a package keeps its scene data byte for byte and gets the player
// and the trailer anew.

#include <cstdint>
#include <string>
#include <vector>

#include "CToolCommand.h"
#include "scene/CDisplayFormat.h"

class CPackCommand : public CToolCommand {
public:
    const char* Name() const override { return "pack"; }
    const char* Summary() const override { return "write a stand-alone screensaver or executable"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

    // The 122-byte trailer for scene data of dataLength bytes (trailer included).
    static std::vector<std::uint8_t> Trailer(const CDisplayFormat& format, std::uint32_t dataLength);
    // The player image beside the running program.
    static std::string PlayerImagePath();
};
