#pragma once
// A quick look at a file before it is played or packed: whether it carries
// the 122-byte trailer of a scene file (0x0D 0x0E, display format, scene
// data length), where its scene data starts, whether a program image lies in
// front of it (a package), and whether the scene data starts with the scene
// file header. Only the trailer, the first bytes of the scene data and the
// headers of a program image are read, so probing a large program image
// costs next to nothing.
//
// Only regular files are opened for reading: a FIFO or a device would block
// the open (or the read) for as long as nobody writes to it.

#include <cstdint>
#include <string>

#include "scene/CDisplayFormat.h"

enum class TProbeResult {
    Scene,      // a scene file or package
    NoTrailer,  // readable, but without a trailer and without a scene header
    NotAScene,  // a trailer, but no scene header where the data should start
    Damaged,    // a trailer whose data length does not fit the file
    // A program image followed by bytes that are no intact package (a cut
    // or lengthened file, a changed trailer or scene header).
    DamagedPackage,
    NotAFile,    // a directory, FIFO, socket or device
    Unreadable,  // cannot be opened or read
};

struct SSceneFileInfo {
    bool hasTrailer = false;
    CDisplayFormat displayFormat;
    std::uint64_t fileSize = 0;
    std::uint64_t dataOffset = 0;  // where the scene data starts
    std::uint32_t dataLength = 0;  // scene data and trailer, as the trailer says
    // A program image lies in front of the scene data: an exported
    // screensaver or executable, or a package saved by the editor.
    bool packed = false;
};

class CSceneFileProbe {
public:
    static constexpr std::uint32_t kTrailerSize = 122;

    static TProbeResult Probe(const std::string& path, SSceneFileInfo& info, std::string& error);
    // A message for the user about a failed probe ("... is not a Lumivexis scene").
    static std::string Describe(TProbeResult result, const std::string& path, const std::string& error);
};
