#include "export/CExportRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <filesystem>

#include "controls/QtConvert.h"
#include "document/CEngineReports.h"
#include "export/CInstallerScript.h"
#include "export/SInstallerNames.h"
#include "platform/files/CInstallLayout.h"
#include "scene/CScene.h"

const QString CExportRun::kBuilderName = QStringLiteral("makeself");
const QString CExportRun::kSuccessVerdict = QStringLiteral("Files Successfuly generated.");
const QString CExportRun::kFailureVerdict =
    QStringLiteral("Files not generated. Something goes wrong during the generation.");

CExportRun::CExportRun(CScene& scene, SExportRequest request, QObject* parent)
    : QObject(parent), m_Scene(scene), m_Request(std::move(request)) {
    m_FileName = SInstallerNames::FileNameOf(m_Request.chosenPath);
    m_Names = SInstallerNames::FromChosenPath(m_Request.chosenPath);
}

CExportRun::~CExportRun() {
    if (m_Builder != nullptr && m_Builder->state() != QProcess::NotRunning) {
        m_Builder->disconnect(this);
        m_Builder->kill();
        m_Builder->waitForFinished(3000);
    }
}

QString CExportRun::DefaultInstallerFolder() {
    const std::filesystem::path found = CInstallLayout::OfRunningProgram().Find(
        std::filesystem::path("installer") / CInstallerScript::kTemplateName.toStdString());
    return QString::fromStdString(found.parent_path().string());
}

void CExportRun::Next(void (CExportRun::*step)()) {
    // A zero timer lets the event loop paint the line just reported before
    // the next step (which may block for the engine's write) begins.
    QTimer::singleShot(0, this, step);
}

void CExportRun::Start() {
    if (m_bStarted) {
        return;
    }
    m_bStarted = true;
    if (m_Request.installer) {
        Line(QStringLiteral("Creation of the screensaver \"%1\"...").arg(m_FileName));
        Next(&CExportRun::WriteScreensaver);
    } else {
        Line(QStringLiteral("Creation of the file \"%1\"...").arg(m_FileName));
        Next(&CExportRun::WritePackage);
    }
}

bool CExportRun::SavePackage(const QString& path, QString& reason) {
    // Where the engine takes it from.
    const QString player = QString::fromStdString(CInstallLayout::OfRunningProgram().Player().string());
    if (!QFileInfo(player).isFile()) {
        // Without it the engine would write the scene data alone, which
        // does not run by itself.
        reason = QStringLiteral("the player program \"%1\" is missing").arg(player);
        return false;
    }
    CEngineReports reports;
    // Save takes the scene lock while it reads the objects.
    // A copy: the scene stays where it was, with its files beside it.
    const bool saved = m_Scene.SaveCopy(ToCString(path), true);
    reason = reports.Joined(QStringLiteral(" "));
    if (saved && reason.isEmpty()) {
        return true;
    }
    if (saved) {
        // The engine wrote the package without a file the scene uses (it
        // says which): such a package would play incomplete, so none is
        // left, as `lumivexis pack` leaves none.
        QFile::remove(path);
    } else if (reason.isEmpty()) {
        reason = QStringLiteral("the file cannot be written");
    }
    return false;
}

void CExportRun::WritePackage() {
    QString reason;
    if (!SavePackage(m_Request.chosenPath, reason)) {
        Line(QStringLiteral("Error: Cannot create the file \"%1\". (%2)").arg(m_FileName, reason), true);
        Line(QString(), true);
        Line(kFailureVerdict, true);
        Finish(false);
        return;
    }
    Line(QStringLiteral("\"%1\" created successfuly.").arg(m_FileName), true);
    Finish(true);
}

void CExportRun::WriteScreensaver() {
    // Written into the chosen folder by its full path: the process's
    // current folder is never changed (the render thread runs meanwhile).
    QString reason;
    if (!SavePackage(m_Names.screensaverPath, reason)) {
        Line(QStringLiteral("Error: Cannot create the screensaver \"%1\". (%2)").arg(m_Names.screensaverName, reason),
             true);
        // Nothing was written: nothing to build, nothing to delete.
        Line(QString(), true);
        Line(kFailureVerdict, true);
        Finish(false);
        return;
    }
    m_bScreensaverWritten = true;
    Line(QStringLiteral("Creation of the screensaver successful."));
    Line(QStringLiteral("Creation of the installer..."));
    Next(&CExportRun::WriteBuilderScript);
}

void CExportRun::WriteBuilderScript() {
    const QString folder =
        m_Request.installerFolder.isEmpty() ? DefaultInstallerFolder() : QDir::cleanPath(m_Request.installerFolder);
    m_Script = CInstallerScript(folder, CInstallerScript::WorkFolderFor(folder));
    const CInstallerScript& script = m_Script;
    QString text;
    QString reason;
    if (!script.ReadTemplate(text, reason)) {
        Line(
            QStringLiteral("Error: Cannot read the installer template \"%1\". (%2)").arg(script.TemplatePath(), reason),
            true);
        Next(&CExportRun::DeleteTemporaryFiles);
        return;
    }
    if (!script.WriteCurrent(text, m_Names, m_Request.installerName, reason)) {
        Line(QStringLiteral("Error: Cannot write the installer script \"%1\". (%2)").arg(script.CurrentPath(), reason),
             true);
        Next(&CExportRun::DeleteTemporaryFiles);
        return;
    }
    m_bScriptWritten = true;
    Line(QStringLiteral("Launch %1...").arg(kBuilderName));
    Next(&CExportRun::LaunchBuilder);
}

void CExportRun::LaunchBuilder() {
    const CInstallerScript::SCommand command = m_Script.BuilderCommand(m_Shell);
    m_Builder = new QProcess(this);
    m_Builder->setProgram(command.program);
    m_Builder->setArguments(command.arguments);
    m_Builder->setWorkingDirectory(command.workingFolder);
    // ">> log.txt 2>&1": the log grows with every run.
    m_Builder->setProcessChannelMode(QProcess::MergedChannels);
    m_Builder->setStandardOutputFile(command.logFile, QIODevice::Append);
    m_Builder->setStandardInputFile(QProcess::nullDevice());
    connect(m_Builder, &QProcess::finished, this, &CExportRun::OnBuilderFinished);
    connect(m_Builder, &QProcess::errorOccurred, this, &CExportRun::OnBuilderError);
    m_Builder->start();
}

void CExportRun::OnBuilderError(QProcess::ProcessError error) {
    // Only a start that failed ends the step here; a crash also ends it
    // through finished.
    if (error != QProcess::FailedToStart) {
        return;
    }
    Line(QStringLiteral("Error: Cannot Launch %1. (%2)").arg(kBuilderName, m_Builder->errorString()), true);
    Next(&CExportRun::DeleteTemporaryFiles);
}

void CExportRun::OnBuilderFinished(int exitCode, QProcess::ExitStatus status) {
    const QString log = m_Script.LogPath();
    if (status != QProcess::NormalExit) {
        Line(QStringLiteral("Error: %1 was stopped before it finished; its messages are in \"%2\".")
                 .arg(kBuilderName, log),
             true);
    } else if (exitCode != 0) {
        Line(QStringLiteral("Error: %1 failed (exit status %2); its messages are in \"%3\".")
                 .arg(kBuilderName)
                 .arg(exitCode)
                 .arg(log),
             true);
    } else if (!QFileInfo(m_Names.installerPath).isFile()) {
        Line(QStringLiteral("Error: %1 did not write \"%2\"; its messages are in \"%3\".")
                 .arg(kBuilderName, m_Names.installerPath, log),
             true);
    } else {
        m_bBuilderSucceeded = true;
        Line(QStringLiteral("Success: Installer is generated."), true);
    }
    Next(&CExportRun::DeleteTemporaryFiles);
}

void CExportRun::DeleteTemporaryFiles() {
    Line(QStringLiteral("Delete temporary files..."));
    const QString warning = QStringLiteral("Warning: Cannot remove temporary files. (%1)");
    if (m_bScriptWritten) {
        const QString script = m_Script.CurrentPath();
        if (!QFile::remove(script)) {
            Line(warning.arg(script), true);
        }
    }
    if (m_bScreensaverWritten && !QFile::remove(m_Names.screensaverPath)) {
        Line(warning.arg(m_Names.screensaverName), true);
    }
    Line(QString(), true);
    Line(m_bBuilderSucceeded ? kSuccessVerdict : kFailureVerdict, true);
    Finish(m_bBuilderSucceeded);
}

void CExportRun::Finish(bool succeeded) {
    m_bFinished = true;
    m_bSucceeded = succeeded;
    emit Finished(succeeded);
}
