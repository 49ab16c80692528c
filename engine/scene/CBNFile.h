#pragma once
// Whole-file reads, and the host's "running from packed data" flag.

#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CBNFile {
public:
    // Reads the whole file into a new block of exactly its size (the caller
    // frees it with delete[]) and sets size. A file that cannot be opened or
    // read, or that is larger than size can count, gives null and size 0.
    static BYTE* Open(const CString& path, unsigned int& size);
    // Reads the whole file into data; false when it cannot be opened or read.
    static bool ReadAll(const CString& path, std::vector<BYTE>& data);

    static void SetPacked(bool packed);
    static bool GetPacked();

private:
    static bool m_bPacked;
};
