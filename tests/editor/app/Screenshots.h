#pragma once
// Keeps a picture of a window under build*/screenshots/, for the developer
// to look at. Header only.

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace lvxtest {

inline void SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots");
    QDir().mkpath(folder);
    const QPixmap picture = widget.grab();
    if (!picture.save(QDir(folder).filePath(name + ".png"))) {
        qWarning("screenshot %s: grab %s", qPrintable(name), picture.isNull() ? "empty" : "not saved");
    }
}

}  // namespace lvxtest
