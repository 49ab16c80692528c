#pragma once
// Shared by the engine-runtime tests: a private working folder per test
// process (the engine writes "log.txt" into the current directory, and
// parallel test processes must not share one), reading that log, and a
// headless window whose cursor position a test can set.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/headless/CHeadlessWindow.h"

namespace coretest {

// Changes once per process into a fresh folder below the temporary folder.
// Call it before the first CScreen::Instance(), which opens the log.
inline void EnterPrivateWorkingFolder() {
    static const bool entered = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("lvx-core-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        return true;
    }();
    (void)entered;
}

inline std::string ReadLog() {
    std::ifstream file("log.txt", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The log written since `offset` (a previous ReadLog().size()).
inline std::string LogSince(size_t offset) {
    const std::string log = ReadLog();
    return offset < log.size() ? log.substr(offset) : std::string();
}

// A headless surface whose pointer position the test chooses.
class CTestWindow : public CHeadlessWindow {
public:
    using CHeadlessWindow::CHeadlessWindow;
    POINT GetCursorPos() const override { return m_cursor; }
    void SetCursor(LONG x, LONG y) { m_cursor = POINT{x, y}; }
    void SetTitle(const std::string& title) override { m_title = title; }
    const std::string& Title() const { return m_title; }

private:
    POINT m_cursor{};
    std::string m_title;
};

}  // namespace coretest
