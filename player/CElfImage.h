#pragma once
// Where the program image at the start of a file ends. The player is an ELF
// executable; a package is that executable with scene data and a trailer
// appended. The ELF headers tell how far the image reaches (its header
// tables, sections and segments, the section header table normally last),
// so bytes beyond that end were appended to the program.

#include <cstdint>
#include <cstdio>
#include <optional>

class CElfImage {
public:
    // The end of the ELF image at the start of file (fileSize bytes long):
    // the furthest byte that its headers, sections or segments cover.
    // Nothing when the file does not start with a complete ELF header.
    static std::optional<std::uint64_t> ImageEnd(FILE* file, std::uint64_t fileSize);
};
