#pragma once
// The installer's build script. The folder "installer" beside the editor
// holds a template, "screensaver.sh.in", with six placeholders:
//
//   <BRENNOX_TITLE>            the name used in the installer
//   <BRENNOX_FILE_NAME>        the screensaver's file name ("demo.scr")
//   <BRENNOX_SMALL_FILE_NAME>  its 8.3 form ("MYSPEC~1.SCR")
//   <BRENNOX_PATH_NAME>        the screensaver's full path
//   <BRENNOX_OUTPUT_DIR>       the output folder, with its final "/"
//   <BRENNOX_OUTPUT_NAME>      the installer's name without ".run"
//
// Every occurrence of each is replaced, and the result is written as
// "screensaver_current.sh" into the work folder. The builder runs that copy
// as
//
//   sh <work folder>/screensaver_current.sh >> <work folder>/log.txt 2>&1
//
// in the template's folder (where it finds install.sh): `sh` from the PATH
// stands in for the command interpreter, and the script calls makeself.
//
// The work folder is the template's own in a build tree; an installed
// editor's template lies where users may not write, and the work folder is
// then $XDG_STATE_HOME/lumivexis/installer (~/.local/state/...).

#include <QString>
#include <QStringList>

#include "export/SInstallerNames.h"

class CInstallerScript {
public:
    static const QString kTemplateName;  // "screensaver.sh.in"
    static const QString kCurrentName;   // "screensaver_current.sh"
    static const QString kLogName;       // "log.txt"

    // How the builder is started: program and arguments, the folder it runs
    // in, and the file its output (standard output and error) is appended to.
    struct SCommand {
        QString program;
        QStringList arguments;
        QString workingFolder;
        QString logFile;
    };

    // templateFolder: where the template lies (with or without its final
    // "/"); workFolder: where the copy and the log go (empty: the same).
    explicit CInstallerScript(const QString& templateFolder, const QString& workFolder = QString());

    // The folder for the copy and the log of a template in templateFolder:
    // that folder when it may be written, else the per-user state folder
    // (made when missing).
    static QString WorkFolderFor(const QString& templateFolder);
    // $XDG_STATE_HOME/lumivexis/installer, by default under ~/.local/state.
    static QString StateWorkFolder();

    QString TemplatePath() const;
    QString CurrentPath() const;
    QString LogPath() const;

    // The template with every placeholder replaced.
    static QString Fill(const QString& text, const SInstallerNames& names, const QString& title);

    // The template's text; false, with the reason, when it cannot be read.
    bool ReadTemplate(QString& text, QString& error) const;
    // Writes the template's text, filled in, as the current copy (replacing
    // the one before); false, with the reason, when it cannot be written.
    bool WriteCurrent(const QString& templateText, const SInstallerNames& names, const QString& title,
                      QString& error) const;

    // `sh <current script>` in the template's folder, appending to log.txt.
    SCommand BuilderCommand(const QString& shell = QStringLiteral("sh")) const;

private:
    QString m_TemplateFolder;
    QString m_WorkFolder;
};
