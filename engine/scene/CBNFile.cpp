#include "scene/CBNFile.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

bool CBNFile::m_bPacked = false;

bool CBNFile::ReadAll(const CString& path, std::vector<BYTE>& data) {
    data.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return false;
    }
    // Read in chunks until the end rather than trusting a size taken before
    // the read: the file may be a pipe or change while it is read.
    BYTE chunk[64 * 1024];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0) {
        data.insert(data.end(), chunk, chunk + got);
    }
    return std::ferror(file.get()) == 0;
}

BYTE* CBNFile::Open(const CString& path, unsigned int& size) {
    size = 0;
    std::vector<BYTE> data;
    if (!ReadAll(path, data) || data.size() > std::numeric_limits<unsigned int>::max()) {
        return nullptr;
    }
    BYTE* block = new BYTE[data.size()];
    if (!data.empty()) {
        std::memcpy(block, data.data(), data.size());
    }
    size = static_cast<unsigned int>(data.size());
    return block;
}

void CBNFile::SetPacked(bool packed) {
    m_bPacked = packed;
}

bool CBNFile::GetPacked() {
    return m_bPacked;
}
