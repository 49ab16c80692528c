#include "CPackOutput.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/files/CAtomicFile.h"

bool CPackOutput::Write(const std::string& path, const std::vector<Piece>& pieces, std::string& error) {
    CAtomicFile file(path);
    bool written = file.Open();
    for (const Piece& piece : pieces)
        written = written && file.Write(piece.data(), piece.size());
    written = written && file.Finish() && file.Publish();
    if (!written)
        error = file.GetErrorNumber() != 0 ? std::strerror(file.GetErrorNumber()) : file.GetError();
    return written;
}

bool CPackOutput::MakeExecutable(const std::string& path, std::string& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        error = std::strerror(errno);
        return false;
    }
    // chmod on a device node or a FIFO changes it for every user of the system.
    if (!S_ISREG(status.st_mode))
        return true;
    const mode_t mode = status.st_mode & 07777;
    const mode_t execute = ((mode & 0444) >> 2) | S_IXUSR;
    if (::chmod(path.c_str(), mode | execute) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
