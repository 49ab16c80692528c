#pragma once
// Takes away root's power to write anywhere for the calling thread while it
// lives, so that folder permissions apply to a test as they do to a user
// (the file-system user becomes "nobody"). Without root it does nothing.
// Header only.

#include <sys/fsuid.h>
#include <unistd.h>

class CUnprivilegedFiles {
public:
    CUnprivilegedFiles() : m_wasRoot(::geteuid() == 0) {
        if (m_wasRoot) {
            ::setfsuid(65534);
        }
    }
    ~CUnprivilegedFiles() {
        if (m_wasRoot) {
            ::setfsuid(0);
        }
    }
    CUnprivilegedFiles(const CUnprivilegedFiles&) = delete;
    CUnprivilegedFiles& operator=(const CUnprivilegedFiles&) = delete;

private:
    bool m_wasRoot;
};
