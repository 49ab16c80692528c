#include "platform/files/CAtomicFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kNameAttempts = 100;
// The longest file name (not path) Linux file systems take.
constexpr std::size_t kMaxNameBytes = 255;
// As many links as the kernel follows in one path before it gives up.
constexpr int kMaxLinkHops = 40;

std::string RandomSuffix(std::mt19937& random) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> pick(0, sizeof(kDigits) - 2);
    std::string suffix = ".tmp-";
    for (int i = 0; i < 8; ++i) {
        suffix.push_back(kDigits[pick(random)]);
    }
    return suffix;
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.rfind('/');
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// Where the link at path points, a relative destination counted from the
// link's own folder. False with errno set when the link cannot be read.
bool FollowLink(const std::string& path, std::string& destination) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            destination.assign(buffer.data(), static_cast<std::size_t>(length));
            break;
        }
        buffer.resize(buffer.size() * 2);  // the destination may have been cut
    }
    if (destination.empty() || destination.front() != '/') {
        destination = FolderOf(path) + destination;
    }
    return true;
}

// While it lives, a reader of a pipe that goes away makes writes fail with
// EPIPE instead of ending the whole program with SIGPIPE. The signal the
// failed write raised is taken back before the thread's mask is restored.
class CPipeSignalGuard {
public:
    explicit CPipeSignalGuard(bool active) : m_active(active) {
        if (!m_active) {
            return;
        }
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }
    ~CPipeSignalGuard() {
        if (!m_active) {
            return;
        }
        sigset_t pending;
        sigpending(&pending);
        if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
            const timespec noWait{};
            while (sigtimedwait(&m_pipe, nullptr, &noWait) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    CPipeSignalGuard(const CPipeSignalGuard&) = delete;
    CPipeSignalGuard& operator=(const CPipeSignalGuard&) = delete;

private:
    bool m_active;
    bool m_wasPending = false;
    sigset_t m_pipe{};
    sigset_t m_previous{};
};

}  // namespace

CAtomicFile::CAtomicFile(std::string targetPath) : m_targetPath(std::move(targetPath)) {}

CAtomicFile::~CAtomicFile() {
    Discard();
}

bool CAtomicFile::WriteWhole(const std::string& path, const void* data, std::size_t size, std::string& error) {
    CAtomicFile file(path);
    if (!file.Open() || !file.Write(data, size) || !file.Finish() || !file.Publish()) {
        error = file.GetError();
        return false;
    }
    return true;
}

void CAtomicFile::KeepPermissions(mode_t newFileMode) {
    m_keepPermissions = true;
    m_newFileMode = newFileMode;
}

bool CAtomicFile::Open() {
    Discard();
    m_finished = m_published = false;
    m_writeError = 0;
    m_error.clear();
    m_errorNumber = 0;
    if (!ResolveTarget()) {
        return false;
    }
    return m_target == ETarget::Device ? OpenDevice() : OpenTemporary();
}

// Follows the target's links to what they lead to and finds out how it is
// written. A target that does not exist (also where a link dangles) is a
// new file there.
bool CAtomicFile::ResolveTarget() {
    std::string path = m_targetPath;
    std::string lastLink;
    m_fileType = 0;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno != ENOENT) {
                return Fail("Cannot create", errno);
            }
            // The links of /proc/self/fd (and so /dev/stdout) name a pipe or
            // socket by a text that is no path; only the kernel can follow
            // them, and the link is written as what it leads to.
            if (!lastLink.empty() && ::stat(lastLink.c_str(), &status) == 0) {
                return Classify(lastLink, status.st_mode);
            }
            m_filePath = path;
            m_target = ETarget::File;
            return true;
        }
        if (!S_ISLNK(status.st_mode)) {
            return Classify(path, status.st_mode);
        }
        lastLink = path;
        if (!FollowLink(lastLink, path)) {
            return Fail("Cannot write", errno);
        }
    }
    return Fail("Cannot write", ELOOP);
}

bool CAtomicFile::Classify(const std::string& path, mode_t mode) {
    m_filePath = path;
    m_fileType = mode & S_IFMT;
    if (S_ISREG(mode)) {
        m_target = ETarget::File;
        return true;
    }
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode)) {
        m_target = ETarget::Device;
        return true;
    }
    if (S_ISDIR(mode)) {
        return Fail("Cannot write", EISDIR);
    }
    return FailWith("Cannot write", ENXIO, "a socket is not a file");
}

bool CAtomicFile::OpenTemporary() {
    std::mt19937 random(std::random_device{}());
    int descriptor = -1;
    int error = 0;
    for (int attempt = 0; attempt < kNameAttempts && descriptor < 0; ++attempt) {
        m_tempPath = TemporaryPathFor(RandomSuffix(random));
        // O_EXCL: never write into a file that someone else created.
        descriptor = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = errno;
        if (descriptor < 0 && error != EEXIST) {
            break;
        }
    }
    if (descriptor < 0) {
        m_tempPath.clear();
        return Fail("Cannot create", error);
    }
    return AttachStream(descriptor, "Cannot create");
}

// A device or pipe is written in place. O_NONBLOCK makes opening a pipe
// without a reader fail at once instead of waiting for one; the writes
// after it wait for a slow reader as on any pipe.
bool CAtomicFile::OpenDevice() {
    const int descriptor = ::open(m_filePath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENXIO && m_fileType == S_IFIFO) {
            return FailWith("Cannot write", error, "no program reads from this pipe");
        }
        return Fail("Cannot write", error);
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(descriptor);
        return Fail("Cannot write", error);
    }
    return AttachStream(descriptor, "Cannot write");
}

bool CAtomicFile::AttachStream(int descriptor, const char* failure) {
    m_stream = ::fdopen(descriptor, "wb");
    if (!m_stream) {
        const int error = errno;
        ::close(descriptor);
        Discard();
        return Fail(failure, error);
    }
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
    if (!m_stream || m_writeError != 0) {
        return Fail("Cannot write", EBADF);  // keeps the reason of an earlier failure
    }
    CPipeSignalGuard pipeGuard(m_target == ETarget::Device);
    if (size > 0 && std::fwrite(data, 1, size, m_stream) != size) {
        m_writeError = errno ? errno : EIO;
        Discard();
        return Fail("Cannot write", m_writeError);
    }
    return true;
}

bool CAtomicFile::Finish() {
    if (!m_stream) {
        return m_finished || Fail("Cannot write", EBADF);  // keeps the reason of an earlier failure
    }
    CPipeSignalGuard pipeGuard(m_target == ETarget::Device);
    std::FILE* stream = m_stream;
    m_stream = nullptr;
    errno = 0;
    int error = 0;
    if (std::fflush(stream) != 0 || std::ferror(stream)) {
        error = errno ? errno : EIO;
    } else if (m_target == ETarget::File) {
        ApplyPermissions(::fileno(stream));
        if (::fsync(::fileno(stream)) != 0) {
            error = errno;
        }
    } else if (m_fileType == S_IFBLK && ::fsync(::fileno(stream)) != 0) {
        error = errno;  // a character device or pipe has nothing to sync
    }
    if (std::fclose(stream) != 0 && error == 0) {
        error = errno ? errno : EIO;
    }
    if (error != 0) {
        Discard();
        return Fail("Cannot write", error);
    }
    m_finished = true;
    return true;
}

bool CAtomicFile::Publish() {
    if (m_published) {
        return true;
    }
    if (!m_finished) {
        return Fail("Cannot write", EBADF);  // keeps the reason of an earlier failure
    }
    // A device or pipe took the data as it was written.
    if (m_target == ETarget::File && std::rename(m_tempPath.c_str(), m_filePath.c_str()) != 0) {
        const int error = errno;
        Discard();
        return Fail("Cannot write", error);
    }
    m_published = true;
    m_tempPath.clear();
    return true;
}

// The temporary file lies beside the file it replaces (the link's
// destination, not the link), so that the rename that publishes it stays
// within one file system. Its name is that file's with suffix appended,
// shortened where the whole would be longer than a file name may be.
std::string CAtomicFile::TemporaryPathFor(const std::string& suffix) const {
    const std::size_t nameStart = FolderOf(m_filePath).size();
    std::string path = m_filePath;
    const std::size_t nameBytes = path.size() - nameStart;
    if (nameBytes + suffix.size() > kMaxNameBytes) {
        path.resize(nameStart + (kMaxNameBytes - suffix.size()));
    }
    return path + suffix;
}

// With KeepPermissions the file gets its permissions before it is published,
// so that nobody sees the new content with other permissions. A failure here
// does not fail the save: the content is what matters.
void CAtomicFile::ApplyPermissions(int descriptor) const {
    if (!m_keepPermissions) {
        return;
    }
    struct stat previous {};
    const mode_t mode = ::stat(m_filePath.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : m_newFileMode;
    ::fchmod(descriptor, mode);
}

bool CAtomicFile::Fail(const std::string& what, int error) {
    return FailWith(what, error, std::strerror(error));
}

bool CAtomicFile::FailWith(const std::string& what, int error, const std::string& reason) {
    if (m_errorNumber == 0) {
        m_errorNumber = error;
        m_error = what + " \"" + m_targetPath + "\": " + reason + ".";
    }
    return false;
}

// Closes and removes the temporary file unless it has become the target. A
// device or pipe is only closed.
void CAtomicFile::Discard() {
    if (m_stream) {
        CPipeSignalGuard pipeGuard(m_target == ETarget::Device);
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_tempPath.empty() && !m_published) {
        ::unlink(m_tempPath.c_str());
    }
    m_tempPath.clear();
    m_finished = false;
}
