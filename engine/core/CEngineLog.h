#pragma once
// The engine log "log.txt" in the current directory, written line by line by
// any thread. Opened at first use (the screen opens it when it is created);
// where the folder cannot be written the engine runs without its log.
//
// CScreen::Log writes here; code below the screen (the scene file) logs here
// directly, so that it need not know the screen.

#include <cstdarg>
#include <cstdio>
#include <mutex>

class CEngineLog {
public:
    static CEngineLog& Instance();

    CEngineLog(const CEngineLog&) = delete;
    CEngineLog& operator=(const CEngineLog&) = delete;

    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteV(const char* format, va_list arguments) __attribute__((format(printf, 2, 0)));

private:
    CEngineLog();
    ~CEngineLog();

    std::mutex m_mutex;
    FILE* m_pFile = nullptr;
};
