#include "export/CInstallerScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString CInstallerScript::kTemplateName = QStringLiteral("screensaver.sh.in");
const QString CInstallerScript::kCurrentName = QStringLiteral("screensaver_current.sh");
const QString CInstallerScript::kLogName = QStringLiteral("log.txt");

CInstallerScript::CInstallerScript(const QString& templateFolder, const QString& workFolder)
    : m_TemplateFolder(QDir::cleanPath(templateFolder)),
      m_WorkFolder(workFolder.isEmpty() ? m_TemplateFolder : QDir::cleanPath(workFolder)) {}

QString CInstallerScript::WorkFolderFor(const QString& templateFolder) {
    if (QFileInfo(templateFolder).isWritable()) {
        return templateFolder;
    }
    const QString state = StateWorkFolder();
    QDir().mkpath(state);
    return state;
}

QString CInstallerScript::StateWorkFolder() {
    // A relative XDG_STATE_HOME is to be ignored, as the player does.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(state + QStringLiteral("/lumivexis/installer"));
}

QString CInstallerScript::TemplatePath() const {
    return m_TemplateFolder + QLatin1Char('/') + kTemplateName;
}

QString CInstallerScript::CurrentPath() const {
    return m_WorkFolder + QLatin1Char('/') + kCurrentName;
}

QString CInstallerScript::LogPath() const {
    return m_WorkFolder + QLatin1Char('/') + kLogName;
}

QString CInstallerScript::Fill(const QString& text, const SInstallerNames& names, const QString& title) {
    const std::pair<QLatin1String, const QString*> replacements[] = {
        {QLatin1String("<BRENNOX_TITLE>"), &title},
        {QLatin1String("<BRENNOX_FILE_NAME>"), &names.screensaverName},
        {QLatin1String("<BRENNOX_SMALL_FILE_NAME>"), &names.smallName},
        {QLatin1String("<BRENNOX_PATH_NAME>"), &names.screensaverPath},
        {QLatin1String("<BRENNOX_OUTPUT_DIR>"), &names.outputFolder},
        {QLatin1String("<BRENNOX_OUTPUT_NAME>"), &names.outputName},
    };
    // One pass over the template: a name that happens to contain a
    // placeholder's text is taken as it is, not replaced once more.
    QString filled;
    filled.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype next = text.indexOf(QLatin1Char('<'), position);
        if (next < 0) {
            filled += QStringView(text).mid(position);
            break;
        }
        filled += QStringView(text).mid(position, next - position);
        position = next;
        bool replaced = false;
        for (const auto& [placeholder, value] : replacements) {
            if (QStringView(text).mid(position).startsWith(placeholder)) {
                filled += *value;
                position += placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            filled += text.at(position++);
        }
    }
    return filled;
}

bool CInstallerScript::ReadTemplate(QString& text, QString& error) const {
    QFile file(TemplatePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    text = QString::fromUtf8(bytes);
    return true;
}

bool CInstallerScript::WriteCurrent(const QString& templateText, const SInstallerNames& names, const QString& title,
                                    QString& error) const {
    QSaveFile file(CurrentPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    file.write(Fill(templateText, names, title).toUtf8());
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

CInstallerScript::SCommand CInstallerScript::BuilderCommand(const QString& shell) const {
    return SCommand{shell, {CurrentPath()}, m_TemplateFolder, LogPath()};
}
