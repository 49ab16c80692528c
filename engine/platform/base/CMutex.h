#pragma once
// A recursive mutex with MFC's Lock/Unlock names. It also satisfies the
// standard Lockable requirements, so std::lock_guard<CMutex> works.

#include <mutex>

class CMutex {
public:
    CMutex() = default;
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    // Waits as long as it takes; the owning thread may lock again.
    bool Lock();
    void Unlock();

    void lock() { Lock(); }
    void unlock() { Unlock(); }
    bool try_lock() { return m_mutex.try_lock(); }

private:
    std::recursive_mutex m_mutex;
};
