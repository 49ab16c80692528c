#pragma once
// A home of its own for an editor test process: XDG_CONFIG_HOME (the
// settings) and XDG_STATE_HOME (the recovery copies) point into one fresh
// folder for the whole process, set before Qt first looks at them (QSettings
// remembers the paths it found). Each test starts from an empty settings
// file and an empty recovery folder.
//
//   lvxtest::CEditorTestHome::Reset();   // in SetUp, before any window
//
// Header only.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <cstdlib>

#include "app/CEditorSettings.h"
#include "support/CTempFolder.h"

namespace lvxtest {

class CEditorTestHome {
public:
    static const QString& Root() {
        static CTempFolder folder;
        static const QString root = [] {
            const QString path = QString::fromStdString(folder.Root().string());
            ::setenv("XDG_CONFIG_HOME", QDir(path).filePath("config").toLocal8Bit().constData(), 1);
            ::setenv("XDG_STATE_HOME", QDir(path).filePath("state").toLocal8Bit().constData(), 1);
            return path;
        }();
        return root;
    }
    static QString SettingsFile() { return QDir(Root()).filePath("config/Brennox Skyloom/Brennox Skyloom.conf"); }
    static QString RecoveryFolder() { return QDir(Root()).filePath("state/lumivexis/recovery"); }

    // Empties the settings and the recovery folder.
    static void Reset() {
        Root();
        {
            QSettings settings(QSettings::NativeFormat, QSettings::UserScope, CEditorSettings::kOrganisation,
                               CEditorSettings::kApplication);
            settings.clear();
            settings.sync();
        }
        QDir(RecoveryFolder()).removeRecursively();
    }
};

}  // namespace lvxtest
