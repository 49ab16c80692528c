#include "app/CSessionLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

CSessionLock::~CSessionLock() {
    Unlock(false);
}

bool CSessionLock::TryLock(const QString& path) {
    Unlock(false);
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    m_Descriptor = descriptor;
    m_Path = path;
    return true;
}

void CSessionLock::Unlock(bool removeFile) {
    if (m_Descriptor < 0) {
        return;
    }
    // Removed while still locked, so that nobody takes a lock on a file
    // that is about to vanish.
    if (removeFile) {
        QFile::remove(m_Path);
    }
    ::close(m_Descriptor);
    m_Descriptor = -1;
}
