#include "CSceneFileProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CElfImage.h"

namespace {

constexpr char kMagic[] = "BrennoxGraphicalScene";
constexpr char kVersion[] = "001.000.000";

struct SFileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, SFileCloser>;

bool ReadAt(FILE* file, std::uint64_t offset, void* bytes, size_t count) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(bytes, 1, count, file) == count;
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The two header strings, each a 32-bit length and its bytes.
bool HasSceneHeader(FILE* file, std::uint64_t offset, std::uint64_t available) {
    constexpr size_t magicLength = sizeof kMagic - 1;
    constexpr size_t versionLength = sizeof kVersion - 1;
    constexpr size_t headerLength = 4 + magicLength + 4 + versionLength;
    if (available < headerLength)
        return false;
    unsigned char header[headerLength];
    if (!ReadAt(file, offset, header, headerLength))
        return false;
    return LittleEndian32(header) == magicLength && std::memcmp(header + 4, kMagic, magicLength) == 0 &&
           LittleEndian32(header + 4 + magicLength) == versionLength &&
           std::memcmp(header + 8 + magicLength, kVersion, versionLength) == 0;
}

// Opens a regular file for reading. The open itself does not wait (a FIFO
// without a writer would block it), and anything but a regular file is
// refused before a byte is read.
FilePtr OpenRegularFile(const std::string& path, TProbeResult& failure, std::string& error) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        error = std::strerror(errno);
        close(descriptor);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        failure = TProbeResult::NotAFile;
        error = S_ISDIR(status.st_mode) ? "is a directory" : "is not a regular file";
        close(descriptor);
        return nullptr;
    }
    // Regular files never block; the flag only matters for the open.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    FilePtr file(fdopen(descriptor, "rb"));
    if (!file) {
        failure = TProbeResult::Unreadable;
        error = std::strerror(errno);
        close(descriptor);
    }
    return file;
}

// A file that is a program image with bytes after it was meant to be a
// package: whatever is wrong with those bytes, the package is damaged.
TProbeResult AsDamagedPackage(FILE* file, const SSceneFileInfo& info, TProbeResult result, std::string& error) {
    const std::optional<std::uint64_t> imageEnd = CElfImage::ImageEnd(file, info.fileSize);
    if (!imageEnd || *imageEnd >= info.fileSize)
        return result;
    if (result == TProbeResult::NoTrailer) {
        error = std::to_string(info.fileSize - *imageEnd) + " bytes follow the program, but they do not end in a " +
                std::to_string(CSceneFileProbe::kTrailerSize) + "-byte scene trailer";
    } else if (result == TProbeResult::NotAScene) {
        error = "the scene data does not start where its trailer says";
    }
    return TProbeResult::DamagedPackage;
}

TProbeResult ReadTrailer(FILE* file, SSceneFileInfo& info, std::string& error) {
    constexpr std::uint32_t kTrailerSize = CSceneFileProbe::kTrailerSize;
    unsigned char trailer[kTrailerSize];
    if (info.fileSize < kTrailerSize || !ReadAt(file, info.fileSize - kTrailerSize, trailer, kTrailerSize) ||
        trailer[0] != 0x0D || trailer[1] != 0x0E)
        return TProbeResult::NoTrailer;
    info.hasTrailer = true;
    info.displayFormat.m_iResolution = static_cast<std::int32_t>(LittleEndian32(trailer + 2));
    info.displayFormat.m_iFlags = static_cast<std::int32_t>(LittleEndian32(trailer + 6));
    info.dataLength = LittleEndian32(trailer + 10);
    const char* name = reinterpret_cast<const char*>(trailer + 14);
    info.displayFormat.m_Name = CString(name, strnlen(name, 100));
    if (info.dataLength < kTrailerSize || info.dataLength > info.fileSize) {
        error = "the scene data length in its trailer does not fit the file";
        return TProbeResult::Damaged;
    }
    info.dataOffset = info.fileSize - info.dataLength;
    info.packed = info.dataOffset > 0;
    return TProbeResult::Scene;
}

}  // namespace

TProbeResult CSceneFileProbe::Probe(const std::string& path, SSceneFileInfo& info, std::string& error) {
    info = SSceneFileInfo{};
    TProbeResult failure = TProbeResult::Unreadable;
    FilePtr file = OpenRegularFile(path, failure, error);
    if (!file)
        return failure;
    if (fseeko(file.get(), 0, SEEK_END) != 0) {
        error = std::strerror(errno);
        return TProbeResult::Unreadable;
    }
    const off_t end = ftello(file.get());
    if (end < 0) {
        error = std::strerror(errno);
        return TProbeResult::Unreadable;
    }
    info.fileSize = static_cast<std::uint64_t>(end);

    TProbeResult result = ReadTrailer(file.get(), info, error);
    if (result != TProbeResult::Damaged) {
        // Without a trailer a scene file is read from its first byte.
        const std::uint64_t available = info.hasTrailer ? info.dataLength : info.fileSize;
        if (HasSceneHeader(file.get(), info.dataOffset, available))
            return TProbeResult::Scene;
        result = info.hasTrailer ? TProbeResult::NotAScene : TProbeResult::NoTrailer;
    }
    return AsDamagedPackage(file.get(), info, result, error);
}

std::string CSceneFileProbe::Describe(TProbeResult result, const std::string& path, const std::string& error) {
    const std::string quoted = "\"" + path + "\"";
    switch (result) {
    case TProbeResult::Scene:
        return quoted + " is a scene file";
    case TProbeResult::NoTrailer:
    case TProbeResult::NotAScene:
        return quoted + " is not a Lumivexis scene file or package";
    case TProbeResult::Damaged:
        return quoted + " is damaged: " + error;
    case TProbeResult::DamagedPackage:
        return quoted + ": its packed scene is damaged (" + error + ")";
    case TProbeResult::NotAFile:
        return quoted + " " + error + "; a scene file is needed";
    case TProbeResult::Unreadable:
        return "cannot read " + quoted + ": " + error;
    }
    return quoted;
}
