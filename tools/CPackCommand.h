#pragma once
// lumivexis pack SCENE OUT [--screensaver|--executable] [--resolution 0-5]
//                          [--windowed|--fullscreen] [--title TEXT]
//
// Writes what the editor's export writes: the player "ScreenSaver.dat"
// (beside this tool), the scene with every file it uses inside, and a
// trailer with the display format (the scene's own, changed by the options).
// A plain scene file is loaded and saved packed; a package keeps its scene
// data byte for byte and gets the player and the trailer anew.
//
// Nothing is written unless the package would play: a plain scene must name
// no file that cannot be found, and the packed scene must load as the player
// loads it.

#include <cstdint>
#include <string>
#include <vector>

#include "CPackFormat.h"
#include "CToolCommand.h"
#include "scene/CDisplayFormat.h"

class CSceneSource;
class CToolArguments;

class CPackCommand : public CToolCommand {
public:
    const char* Name() const override { return "pack"; }
    const char* Summary() const override { return "write a stand-alone screensaver or executable"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;

    // The 122-byte trailer for scene data of dataLength bytes (trailer included).
    static std::vector<std::uint8_t> Trailer(const CDisplayFormat& format, std::uint32_t dataLength);
    // The player image beside the running program, or in the installed
    // player folder of its prefix.
    static std::string PlayerImagePath();

private:
    // The options as a request; false with a usage message in error.
    static bool ParseRequest(const CToolArguments& parsed, SPackRequest& request, std::string& error);
    // The whole package in bytes, or a failure status.
    int PackScene(const CSceneSource& source, const CDisplayFormat& format, std::vector<std::uint8_t>& package) const;
    int RepackPackage(const CSceneSource& source, const std::string& player, const CDisplayFormat& format,
                      std::vector<std::uint8_t>& package) const;
    // Loads the package at path as the player does; a failure status when
    // that reports anything.
    int CheckPlays(const std::string& path, const std::string& name) const;

    std::string m_SceneName;  // as given
    std::string m_OutName;
};
