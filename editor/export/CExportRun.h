#pragma once
// One export, step by step, reported line by line (LineAdded) for the log
// window "Export a 3D Scene...":
//
// - Without installer the engine writes the packed scene (the player with
//   the scene and every file it uses behind it) to the chosen file.
// - With installer it writes the screensaver into the chosen folder, fills
//   in the installer template (CInstallerScript), runs the builder script
//   with `sh` (which calls makeself to write "<output name>.run" beside the
//   screensaver), and deletes the filled script and the screensaver again.
//
// The steps run from the event loop: each line is on screen before its step
// starts, and the builder runs as a QProcess whose end is awaited through
// its signals, so the editor keeps painting and answering meanwhile. The
// engine's write runs on this thread under the scene lock, as every save.
//
// A step that fails is reported in bold and makes the run a failure: an
// engine write that did not happen or left out a file the scene uses (the
// incomplete package is removed again), a template that cannot be read (no
// script is written from it), a builder that cannot be started or that ends
// with an error. Files that cannot be deleted only warn.
//
// User-interface thread only.

#include <QObject>
#include <QProcess>
#include <QString>

#include "export/CInstallerScript.h"
#include "export/SInstallerNames.h"

class CScene;

// What the user chose.
struct SExportRequest {
    QString chosenPath;  // the full path from the save dialog
    bool installer = false;
    QString installerName;
    // The folder with the installer template; empty: "installer" beside the
    // editor, or in its installation's data folder.
    QString installerFolder;
};

class CExportRun : public QObject {
    Q_OBJECT

public:
    static const QString kBuilderName;  // "makeself"
    static const QString kSuccessVerdict;
    static const QString kFailureVerdict;

    CExportRun(CScene& scene, SExportRequest request, QObject* parent = nullptr);
    // A builder still running is stopped.
    ~CExportRun() override;

    // "installer" beside the running program, or in the data folder of its
    // installation.
    static QString DefaultInstallerFolder();

    // The interpreter the builder script runs with; "sh" from the PATH
    // unless a test names another.
    void SetShell(const QString& program) { m_Shell = program; }

    // Reports the first line and schedules the rest; Finished follows.
    void Start();
    bool IsFinished() const { return m_bFinished; }
    bool Succeeded() const { return m_bFinished && m_bSucceeded; }

signals:
    void LineAdded(const QString& text, bool bold);
    void Finished(bool succeeded);

private:
    // The steps, in order; each schedules the next.
    void WritePackage();
    void WriteScreensaver();
    void WriteBuilderScript();
    void LaunchBuilder();
    void OnBuilderFinished(int exitCode, QProcess::ExitStatus status);
    void OnBuilderError(QProcess::ProcessError error);
    void DeleteTemporaryFiles();
    void Finish(bool succeeded);

    // The engine's packed save to `path`; false with the reason.
    bool SavePackage(const QString& path, QString& reason);
    void Line(const QString& text, bool bold = false) { emit LineAdded(text, bold); }
    void Next(void (CExportRun::*step)());

    CScene& m_Scene;
    SExportRequest m_Request;
    QString m_Shell = QStringLiteral("sh");
    QString m_FileName;                    // the chosen file's name, for the log
    SInstallerNames m_Names;               // the names of an export with installer
    CInstallerScript m_Script{QString()};  // set when the builder script is written
    QProcess* m_Builder = nullptr;
    bool m_bScreensaverWritten = false;
    bool m_bScriptWritten = false;
    bool m_bBuilderSucceeded = false;
    bool m_bStarted = false;
    bool m_bFinished = false;
    bool m_bSucceeded = false;
};
