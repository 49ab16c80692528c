#include "CErrorLog.h"

#include <cstdio>

#include "platform/base/ErrorReport.h"

std::atomic<int> CErrorLog::s_count{0};
std::mutex CErrorLog::s_mutex;
std::string CErrorLog::s_prefix = "lumivexis: ";
bool CErrorLog::s_holding = false;
std::vector<std::string> CErrorLog::s_held;

void CErrorLog::Install(const std::string& command) {
    {
        std::lock_guard<std::mutex> guard(s_mutex);
        s_prefix = "lumivexis " + command + ": ";
    }
    SetErrorReportHandler([](const std::string& text, const std::string& /*title*/, ErrorIcon icon) {
        Report(text, icon != ErrorIcon::Information);
    });
}

void CErrorLog::Report(const std::string& text, bool counts) {
    // The render thread reports too.
    std::lock_guard<std::mutex> guard(s_mutex);
    if (counts)
        ++s_count;
    if (s_holding) {
        s_held.push_back(text);
        return;
    }
    WriteLine(text);
}

void CErrorLog::WriteLine(const std::string& text) {
    std::fprintf(stderr, "%s%s\n", s_prefix.c_str(), text.c_str());
    std::fflush(stderr);
}

void CErrorLog::BeginHolding() {
    std::lock_guard<std::mutex> guard(s_mutex);
    s_holding = true;
    s_held.clear();
}

std::vector<std::string> CErrorLog::EndHolding() {
    std::lock_guard<std::mutex> guard(s_mutex);
    s_holding = false;
    std::vector<std::string> held;
    held.swap(s_held);
    return held;
}

void CErrorLog::Print(const std::string& text) {
    std::lock_guard<std::mutex> guard(s_mutex);
    WriteLine(text);
}
