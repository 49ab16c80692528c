#pragma once
// The file a pack writes: the pieces of the package one after the other,
// through CAtomicFile, so that a failed write leaves the previous file as it
// was. A package is a program: a regular file gets execute permission
// wherever it has read permission. Anything else named as the output (a
// device, a FIFO) is written into and keeps its mode.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CPackOutput {
public:
    using Piece = std::span<const std::uint8_t>;

    // False, with the reason in error, when anything could not be written.
    static bool Write(const std::string& path, const std::vector<Piece>& pieces, std::string& error);
    // Adds execute permission where there is read permission (a file that
    // existed keeps its other permissions); does nothing to anything but a
    // regular file. False with the reason in error.
    static bool MakeExecutable(const std::string& path, std::string& error);
};
