#pragma once
// While it lives, the messages the engine reports on this thread (a file
// that cannot be read, a damaged record) are collected instead of shown, so
// that the caller hands them on in one piece: into an error box, into the
// export's log. Reports of other threads (the render thread) still go to
// the handler installed before.
//
//   CEngineReports reports;
//   scene.Save(path, false);
//   const QString messages = reports.Joined("\n");

#include <QString>
#include <QStringList>
#include <mutex>
#include <thread>

#include "platform/base/ErrorReport.h"

class CEngineReports {
public:
    CEngineReports();
    ~CEngineReports();
    CEngineReports(const CEngineReports&) = delete;
    CEngineReports& operator=(const CEngineReports&) = delete;

    // The texts so far, joined by separator.
    QString Joined(const QString& separator) const;

private:
    void Report(const std::string& text, const std::string& title, ErrorIcon icon);

    std::thread::id m_Thread;
    ErrorReportHandler m_Previous;
    mutable std::mutex m_Mutex;
    QStringList m_Texts;
};
