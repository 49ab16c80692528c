#pragma once
// Shared by the engine-runtime tests: reading the engine's log (written into
// the process's private working folder, see CTempFolder) and a headless
// window whose cursor position a test can set.

#include <fstream>
#include <sstream>
#include <string>

#include "platform/headless/CHeadlessWindow.h"
#include "support/CTempFolder.h"

namespace coretest {

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
