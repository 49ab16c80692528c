#pragma once
// Collects every error report (message box) made while it lives, so that a
// test can assert on the texts instead of having them printed. Restores the
// previously installed handler when it goes out of scope.
//
//   CErrorCapture errors;
//   scene.Load("missing.lvx");
//   EXPECT_THAT(errors.Texts(), testing::ElementsAre("..."));

#include <mutex>
#include <string>
#include <vector>

#include "platform/base/ErrorReport.h"

class CErrorCapture {
public:
    CErrorCapture();
    ~CErrorCapture();
    CErrorCapture(const CErrorCapture&) = delete;
    CErrorCapture& operator=(const CErrorCapture&) = delete;

    // Read these after the reporting threads have finished.
    const std::vector<std::string>& Texts() const { return m_texts; }
    const std::vector<std::string>& Titles() const { return m_titles; }
    const std::vector<ErrorIcon>& Icons() const { return m_icons; }
    size_t Count() const;
    void Clear();

private:
    void Record(const std::string& text, const std::string& title, ErrorIcon icon);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_titles;
    std::vector<ErrorIcon> m_icons;
    ErrorReportHandler m_previous;
};
