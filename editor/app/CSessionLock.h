#pragma once
// An advisory lock on a file (flock) that stands for "this editor is alive":
// the kernel drops it when the process ends in any way, a kill included, so
// a lock that can be taken belongs to nobody. The descriptor is not passed
// to programs the editor starts.

#include <QString>

class CSessionLock {
public:
    CSessionLock() = default;
    ~CSessionLock();
    CSessionLock(const CSessionLock&) = delete;
    CSessionLock& operator=(const CSessionLock&) = delete;

    // Creates the file if needed and takes the lock without waiting. False
    // when another process holds it or the file cannot be opened.
    bool TryLock(const QString& path);
    // Gives the lock up; with removeFile the file goes too.
    void Unlock(bool removeFile);
    bool IsLocked() const { return m_Descriptor >= 0; }

private:
    int m_Descriptor = -1;
    QString m_Path;
};
