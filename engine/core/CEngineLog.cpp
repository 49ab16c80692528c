#include "core/CEngineLog.h"

CEngineLog& CEngineLog::Instance() {
    // Never destroyed: threads may still log while the process ends.
    static CEngineLog* const log = new CEngineLog();
    return *log;
}

CEngineLog::CEngineLog() {
    m_pFile = std::fopen("log.txt", "w");
    if (m_pFile == nullptr) {
        // Running from a folder we may not write to (an installed screensaver)
        // is normal: the engine then runs without its log.
        std::fprintf(stderr, "Lumivexis: cannot write log.txt in the current directory\n");
    }
}

CEngineLog::~CEngineLog() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
}

void CEngineLog::Write(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteV(format, arguments);
    va_end(arguments);
}

void CEngineLog::WriteV(const char* format, va_list arguments) {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_pFile == nullptr) {
        return;
    }
    std::vfprintf(m_pFile, format, arguments);
    // Flushed line by line so that the log survives a crash, which is when it
    // is read most.
    std::fflush(m_pFile);
}
