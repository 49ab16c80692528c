#include "CErrorCapture.h"

CErrorCapture::CErrorCapture() {
    m_previous = SetErrorReportHandler(
        [this](const std::string& text, const std::string& title, ErrorIcon icon) { Record(text, title, icon); });
}

CErrorCapture::~CErrorCapture() {
    SetErrorReportHandler(std::move(m_previous));
}

size_t CErrorCapture::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts.size();
}

void CErrorCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_texts.clear();
    m_titles.clear();
    m_icons.clear();
}

void CErrorCapture::Record(const std::string& text, const std::string& title, ErrorIcon icon) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_texts.push_back(text);
    m_titles.push_back(title);
    m_icons.push_back(icon);
}
