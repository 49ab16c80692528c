#include "core/CScreen.h"

#include <algorithm>
#include <cstdarg>

#include "platform/base/Timing.h"

CScreen* CScreen::m_pInstance = nullptr;

CScreen& CScreen::Instance() {
    // A function-local static is created once even when several threads ask
    // at the same time; the object itself is never destroyed.
    static CScreen* const created = (m_pInstance = new CScreen());
    return *created;
}

CScreen::CScreen() {
    OpenLog();
    QueryPerformanceFrequency(&m_llPerformanceFrequency);
    if (m_llPerformanceFrequency <= 0) {
        m_llPerformanceFrequency = 1;
    }
}

CScreen::~CScreen() {
    if (m_pLogFile != nullptr) {
        std::fclose(m_pLogFile);
    }
}

void CScreen::OpenLog() {
    m_pLogFile = std::fopen("log.txt", "w");
    if (m_pLogFile == nullptr) {
        // Running from a folder we may not write to (an installed screensaver)
        // is normal: the engine then runs without its log.
        std::fprintf(stderr, "Lumivexis: cannot write log.txt in the current directory\n");
    }
}

void CScreen::Log(const char* format, ...) {
    std::lock_guard<std::mutex> guard(m_logMutex);
    if (m_pLogFile == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(m_pLogFile, format, arguments);
    va_end(arguments);
    // Flushed line by line so that the log survives a crash, which is when it
    // is read most.
    std::fflush(m_pLogFile);
}

IDirect3DDevice8* CScreen::GetD3DDevice() {
    return m_pd3dDevice;
}

void CScreen::RegisterObject(CObjects& object) {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    m_RegisteredObjects.push_back(&object);
}

void CScreen::UnregisterObject(CObjects& object) {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    const auto found = std::find(m_RegisteredObjects.begin(), m_RegisteredObjects.end(), &object);
    if (found != m_RegisteredObjects.end()) {
        m_RegisteredObjects.erase(found);
    }
}

bool CScreen::IsObjectRegistered(const CObjects& object) const {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    return std::find(m_RegisteredObjects.begin(), m_RegisteredObjects.end(), &object) !=
           m_RegisteredObjects.end();
}

int CScreen::GetRegisteredObjectNumber() const {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    return static_cast<int>(m_RegisteredObjects.size());
}

float CScreen::GetTickCount() {
    return m_bTimeResetPending ? 0.0f : m_fCurrentTime.load();
}

void CScreen::ResetTime() {
    const float now = myGetTickCount();
    m_fStartTime = now;
    m_fLastTick = now;
    m_fCurrentTime = 0.0f;
    m_bTimeResetPending = true;
}

bool CScreen::IsStopped() {
    return m_bStopped;
}

void CScreen::SetTotalTime(float seconds) {
    m_fTotalTime = seconds;
}

float CScreen::GetTotalTime() {
    return m_fTotalTime;
}

void CScreen::SetLoop(bool loop) {
    m_bLoop = loop;
}

bool CScreen::IsLoop() {
    return m_bLoop;
}

float CScreen::myGetTickCount() {
    LONGLONG counter = 0;
    QueryPerformanceCounter(&counter);
    return static_cast<float>(static_cast<double>(counter) /
                              static_cast<double>(m_llPerformanceFrequency));
}
