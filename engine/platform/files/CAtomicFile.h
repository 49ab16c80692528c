#pragma once
// Writes a file so that it appears complete or not at all: the data goes to a
// temporary file in the target's folder, which replaces the target only once
// everything is written and flushed to disk. A writer that is destroyed
// before Publish() removes its temporary file. Every host and the engine's
// own saves write through this class, so that how a target is replaced is
// decided in one place:
//
// - A symbolic link stays a link: the file it leads to (through any chain of
//   links, relative ones counted from their own folder) is what is replaced,
//   or created where the link dangles. A loop of links is an error.
// - A device or a named pipe cannot be replaced: it is opened and written
//   directly, and its write errors are reported ("/dev/full" fills up). A
//   pipe that nobody reads is an error at Open(), never a wait.
// - A folder is an error at Open().
//
//   CAtomicFile file(path);
//   if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Finish() || !file.Publish())
//       report(file.GetError());

#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <string>

class CAtomicFile {
public:
    explicit CAtomicFile(std::string targetPath);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Writes size bytes as the whole new content of path: Open, Write, Finish
    // and Publish in one. False with GetError()'s text in error.
    static bool WriteWhole(const std::string& path, const void* data, std::size_t size, std::string& error);

    // By default the published file has the permissions of any new file
    // (0666 less the umask), also when it replaces one. After this call a
    // target that is replaced keeps its permissions, and a new target gets
    // exactly newFileMode (the umask does not apply). Call before Finish().
    // A device or pipe keeps its permissions either way.
    void KeepPermissions(mode_t newFileMode);

    // Finds out what the target is and creates the temporary file, or opens
    // a device or pipe.
    bool Open();
    // Appends to the temporary file (between Open() and Finish()).
    bool Write(const void* data, std::size_t size);
    // Flushes the temporary file to disk and closes it; false when any write
    // failed (a full disk shows here at the latest).
    bool Finish();
    // Renames the finished temporary file to the target (a device or pipe
    // has its data already). Like Write and Finish, false with the first
    // failure's reason when anything before it failed.
    bool Publish();

    const std::string& GetTargetPath() const { return m_targetPath; }
    // "Cannot create|write "<target>": <reason>." of the first failure.
    const std::string& GetError() const { return m_error; }
    // The errno of the first failure, 0 when none.
    int GetErrorNumber() const { return m_errorNumber; }

private:
    enum class ETarget {
        File,    // a regular file, or none yet: replaced through a temporary file
        Device,  // a device or named pipe: written in place
    };

    bool ResolveTarget();
    bool Classify(const std::string& path, mode_t mode);
    bool OpenTemporary();
    bool OpenDevice();
    bool AttachStream(int descriptor, const char* failure);
    std::string TemporaryPathFor(const std::string& suffix) const;
    void ApplyPermissions(int descriptor) const;
    bool Fail(const std::string& what, int error);
    bool FailWith(const std::string& what, int error, const std::string& reason);
    void Discard();

    std::string m_targetPath;
    std::string m_filePath;  // the target with its links followed: what is replaced or written
    ETarget m_target = ETarget::File;
    mode_t m_fileType = 0;  // S_IFCHR, S_IFBLK or S_IFIFO for a device
    std::string m_tempPath;
    std::FILE* m_stream = nullptr;
    int m_writeError = 0;  // errno of the first failed write
    bool m_finished = false;
    bool m_published = false;
    bool m_keepPermissions = false;
    mode_t m_newFileMode = 0;
    std::string m_error;
    int m_errorNumber = 0;
};
