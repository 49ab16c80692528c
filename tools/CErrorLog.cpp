#include "CErrorLog.h"

#include <cstdio>

#include "platform/base/ErrorReport.h"

std::atomic<int> CErrorLog::s_count{0};

void CErrorLog::Install() {
    SetErrorReportHandler([](const std::string& text, const std::string& /*title*/, ErrorIcon icon) {
        if (icon != ErrorIcon::Information)
            ++s_count;
        std::fprintf(stderr, "lumivexis: %s\n", text.c_str());
        std::fflush(stderr);
    });
}
