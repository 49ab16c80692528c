#pragma once
// Tells a package (a scene with the player program in front of it, every
// file it uses inside) from a plain scene file by the file's trailer: the
// last 122 bytes start with 0x0D 0x0E and give the length of the scene data
// with the trailer at bytes 10..13 (little endian). A plain scene file is
// exactly that long; a package is longer.

#include <QString>

class CPackageProbe {
public:
    static constexpr int kTrailerSize = 122;

    // False for plain scene files and for anything without a trailer.
    static bool IsPackage(const QString& path);
};
