#pragma once
// Writes a file so that it appears complete or not at all: the data goes to a
// temporary file in the target's folder, which replaces the target only once
// everything is written and flushed to disk. A writer that is destroyed
// before Publish() removes its temporary file.
//
//   CAtomicFile file(path);
//   if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Finish() || !file.Publish())
//       report(file.GetError());

#include <cstddef>
#include <cstdio>
#include <string>

class CAtomicFile {
public:
    explicit CAtomicFile(std::string targetPath);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file (permissions as for a new file: 0666 less the umask).
    bool Open();
    // Appends to the temporary file (between Open() and Finish()).
    bool Write(const void* data, std::size_t size);
    // Flushes and closes the temporary file; false when any write failed
    // (a full disk shows here at the latest).
    bool Finish();
    // Renames the finished temporary file to the target.
    bool Publish();

    const std::string& GetTargetPath() const { return m_targetPath; }
    const std::string& GetError() const { return m_error; }

private:
    bool Fail(const std::string& what, int error);
    void Discard();

    std::string m_targetPath;
    std::string m_tempPath;
    std::FILE* m_stream = nullptr;
    int m_writeError = 0;  // errno of the first failed write
    bool m_finished = false;
    bool m_published = false;
    std::string m_error;
};
