#include "app/CErrorReportDialogs.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>
#include <cstdio>

void CErrorReportDialogs::Install() {
    SetErrorReportHandler([](const std::string& text, const std::string& title, ErrorIcon icon) {
        const QString message = QString::fromStdString(text);
        const QString caption = TitleFor(title);
        const QMessageBox::Icon boxIcon = IconFor(icon);
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr) {
            std::fprintf(stderr, "%s\n", text.c_str());
            return;
        }
        if (QThread::currentThread() == application->thread()) {
            Show(message, caption, boxIcon);
            return;
        }
        QMetaObject::invokeMethod(
            application, [message, caption, boxIcon] { Show(message, caption, boxIcon); }, Qt::QueuedConnection);
    });
}

void CErrorReportDialogs::Uninstall() {
    SetErrorReportHandler({});
}

QString CErrorReportDialogs::TitleFor(const std::string& title) {
    return title.empty() ? QString::fromLatin1(kDefaultTitle) : QString::fromStdString(title);
}

QMessageBox::Icon CErrorReportDialogs::IconFor(ErrorIcon icon) {
    switch (icon) {
    case ErrorIcon::Error:
        return QMessageBox::Critical;
    case ErrorIcon::Warning:
        return QMessageBox::Warning;
    case ErrorIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::Critical;
}

void CErrorReportDialogs::Show(const QString& text, const QString& title, QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
