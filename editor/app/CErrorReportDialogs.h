#pragma once
// Shows the engine's error reports (CTools::Error, AfxMessageBox,
// MessageBoxA) as Qt message boxes. A report made on the user-interface
// thread opens its box at once and returns when the user closed it, as the
// engine expects; a report from the render thread is queued to the
// user-interface thread and the render thread goes on (it must never wait
// for a user-interface thread that may be waiting for it).
//
//   CErrorReportDialogs::Install();   // after the QApplication exists

#include <QMessageBox>
#include <QString>

#include "platform/base/ErrorReport.h"

class CErrorReportDialogs {
public:
    static constexpr const char* kDefaultTitle = "Brennox Skyloom";

    // Installs the handler; the previous one is replaced.
    static void Install();
    // Back to the engine's default (stderr).
    static void Uninstall();

    // The box a report shows: the title (the application's when the report
    // has none) and the icon.
    static QString TitleFor(const std::string& title);
    static QMessageBox::Icon IconFor(ErrorIcon icon);

private:
    static void Show(const QString& text, const QString& title, QMessageBox::Icon icon);
};
