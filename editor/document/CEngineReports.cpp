#include "document/CEngineReports.h"

#include <cstdio>

CEngineReports::CEngineReports() : m_Thread(std::this_thread::get_id()) {
    m_Previous = SetErrorReportHandler(
        [this](const std::string& text, const std::string& title, ErrorIcon icon) { Report(text, title, icon); });
}

CEngineReports::~CEngineReports() {
    SetErrorReportHandler(m_Previous);
}

QString CEngineReports::Joined(const QString& separator) const {
    std::lock_guard<std::mutex> guard(m_Mutex);
    return m_Texts.join(separator);
}

void CEngineReports::Report(const std::string& text, const std::string& title, ErrorIcon icon) {
    if (std::this_thread::get_id() == m_Thread) {
        std::lock_guard<std::mutex> guard(m_Mutex);
        m_Texts << QString::fromStdString(text);
    } else if (m_Previous) {
        m_Previous(text, title, icon);
    } else {
        // Where the default handler writes.
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}
