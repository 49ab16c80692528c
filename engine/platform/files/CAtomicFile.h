#pragma once
// Writes a file so that it appears complete or not at all: the data goes to a
// temporary file in the target's folder, which replaces the target only once
// everything is written and flushed to disk. A writer that is destroyed
// before Publish() removes its temporary file. Every host and the engine's
// own saves write through this class, so that how a target is replaced is
// decided in one place.
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
    void KeepPermissions(mode_t newFileMode);

    // Creates the temporary file.
    bool Open();
    // Appends to the temporary file (between Open() and Finish()).
    bool Write(const void* data, std::size_t size);
    // Flushes the temporary file to disk and closes it; false when any write
    // failed (a full disk shows here at the latest).
    bool Finish();
    // Renames the finished temporary file to the target.
    bool Publish();

    const std::string& GetTargetPath() const { return m_targetPath; }
    // "Cannot create|write "<target>": <reason>." of the first failure.
    const std::string& GetError() const { return m_error; }
    // The errno of the first failure, 0 when none.
    int GetErrorNumber() const { return m_errorNumber; }

private:
    std::string TemporaryPathFor(const std::string& suffix) const;
    void ApplyPermissions(int descriptor) const;
    bool Fail(const std::string& what, int error);
    void Discard();

    std::string m_targetPath;
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
