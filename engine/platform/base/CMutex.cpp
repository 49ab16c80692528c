#include "platform/base/CMutex.h"

bool CMutex::Lock() {
    m_mutex.lock();
    return true;
}

void CMutex::Unlock() {
    m_mutex.unlock();
}
