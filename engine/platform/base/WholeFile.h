#pragma once
// Reads a whole file into memory for the D3DX functions that take a file
// name (textures, meshes, shader programs): only regular files, and none
// larger than the caller allows, so that a device or a huge file named by a
// damaged scene can neither hang nor exhaust memory. Scenes written on
// Windows name their files with backslashes: a path that does not open is
// tried again with slashes.

#include <cstdint>
#include <vector>

#include "platform/base/WinTypes.h"

enum class EWholeFile {
    Read,
    Missing,   // cannot be opened, or is no regular file
    TooLarge,  // larger than the caller's limit
    Failed     // opened but could not be read
};

EWholeFile ReadWholeFile(const char* path, std::uint64_t maxBytes, std::vector<BYTE>& bytes);
