#include "scene/CBNFile.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include <sys/stat.h>

bool CBNFile::m_bPacked = false;

bool CBNFile::ReadAll(const CString& path, std::vector<BYTE>& data) {
    data.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return false;
    }
    // The size taken before the read is only a hint for the buffer: reading
    // goes on to the end, as the file may be a pipe or change meanwhile.
    struct stat status {};
    if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        data.reserve(static_cast<size_t>(status.st_size) + 1);
    }
    constexpr size_t kChunk = 64 * 1024;
    size_t used = 0;
    for (;;) {
        if (data.size() == used) {
            data.resize(data.capacity() > used ? data.capacity() : used + kChunk);
        }
        const size_t got = std::fread(data.data() + used, 1, data.size() - used, file.get());
        if (got == 0) {
            break;
        }
        used += got;
    }
    data.resize(used);
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
