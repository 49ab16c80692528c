#pragma once
// The file the running program was started from. An exported screensaver is
// the player with the scene appended, so the player finds its scene by
// reading its own image. It is read through /proc/self/exe, which opens the
// image even after the file was renamed, moved or replaced while running.

#include <string>

class CProgramImage {
public:
    // The path to open to read the running program's image.
    static std::string ImagePath() { return "/proc/self/exe"; }
    // Where the image lies now, for messages; empty when /proc is not mounted.
    static std::string DisplayName();
    // The name for messages about the program's own file: where the image
    // lies now, or else the path it was started as (argv[0]) made absolute.
    // Never the /proc link, which tells the user nothing.
    static std::string DisplayName(const std::string& startedAs);
};
