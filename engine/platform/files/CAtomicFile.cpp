#include "platform/files/CAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace {

constexpr int kNameAttempts = 100;
// The longest file name (not path) Linux file systems take.
constexpr std::size_t kMaxNameBytes = 255;

std::string RandomSuffix(std::mt19937& random) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> pick(0, sizeof(kDigits) - 2);
    std::string suffix = ".tmp-";
    for (int i = 0; i < 8; ++i) {
        suffix.push_back(kDigits[pick(random)]);
    }
    return suffix;
}

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
    m_stream = ::fdopen(descriptor, "wb");
    if (!m_stream) {
        error = errno;
        ::close(descriptor);
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return Fail("Cannot create", error);
    }
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
    if (!m_stream || m_writeError != 0) {
        return false;
    }
    if (size > 0 && std::fwrite(data, 1, size, m_stream) != size) {
        m_writeError = errno ? errno : EIO;
        Discard();
        return Fail("Cannot write", m_writeError);
    }
    return true;
}

bool CAtomicFile::Finish() {
    if (!m_stream) {
        return m_finished;
    }
    std::FILE* stream = m_stream;
    m_stream = nullptr;
    errno = 0;
    int error = 0;
    if (std::fflush(stream) != 0 || std::ferror(stream)) {
        error = errno ? errno : EIO;
    } else {
        ApplyPermissions(::fileno(stream));
        if (::fsync(::fileno(stream)) != 0) {
            error = errno;
        }
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
    if (!m_finished || m_published) {
        return m_published;
    }
    if (std::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
        const int error = errno;
        Discard();
        return Fail("Cannot write", error);
    }
    m_published = true;
    m_tempPath.clear();
    return true;
}

// The temporary file lies beside the target, so that the rename that
// publishes it stays within one file system. Its name is the target's with
// suffix appended, the target's part shortened where the whole would be
// longer than a file name may be.
std::string CAtomicFile::TemporaryPathFor(const std::string& suffix) const {
    const std::size_t separator = m_targetPath.rfind('/');
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    std::string path = m_targetPath;
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
    const mode_t mode = ::stat(m_targetPath.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : m_newFileMode;
    ::fchmod(descriptor, mode);
}

bool CAtomicFile::Fail(const std::string& what, int error) {
    if (m_errorNumber == 0) {
        m_errorNumber = error;
        m_error = what + " \"" + m_targetPath + "\": " + std::strerror(error) + ".";
    }
    return false;
}

// Closes and removes the temporary file unless it has become the target.
void CAtomicFile::Discard() {
    if (m_stream) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_tempPath.empty() && !m_published) {
        ::unlink(m_tempPath.c_str());
    }
    m_tempPath.clear();
    m_finished = false;
}
