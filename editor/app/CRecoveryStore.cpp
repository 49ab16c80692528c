#include "app/CRecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>

#include "document/CEditorDocument.h"

QString CRecoveryStore::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    }
    return QDir(state).filePath(QStringLiteral("lumivexis/recovery"));
}

CRecoveryStore::CRecoveryStore(const QString& folder) : m_Folder(folder) {}

CRecoveryStore::~CRecoveryStore() = default;

QString CRecoveryStore::FilePath(const QString& session, const char* extension) const {
    return QDir(m_Folder).filePath(session + QLatin1Char('.') + QLatin1String(extension));
}

bool CRecoveryStore::Claim(QString* error) {
    if (IsClaimed()) {
        return true;
    }
    if (!QDir().mkpath(m_Folder)) {
        if (error != nullptr) {
            *error = QStringLiteral("The recovery folder \"%1\" cannot be made.").arg(m_Folder);
        }
        return false;
    }
    // The process and a random part: editors of one process (tests) and
    // editors started in the same millisecond get sessions of their own.
    m_Session = QStringLiteral("%1-%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    if (!m_Lock.TryLock(FilePath(m_Session, "lock"))) {
        if (error != nullptr) {
            *error = QStringLiteral("The recovery folder \"%1\" cannot be written.").arg(m_Folder);
        }
        m_Session.clear();
        return false;
    }
    return true;
}

QString CRecoveryStore::CopyPath() const {
    return IsClaimed() ? FilePath(m_Session, "bgs") : QString();
}

bool CRecoveryStore::WriteCopy(CEditorDocument& document, QString* error) {
    if (!IsClaimed()) {
        if (error != nullptr) {
            *error = QStringLiteral("No recovery folder.");
        }
        return false;
    }
    if (!document.SaveCopy(CopyPath(), error)) {
        return false;
    }
    QSaveFile pathFile(FilePath(m_Session, "path"));
    if (!pathFile.open(QIODevice::WriteOnly) || pathFile.write(document.Path().toUtf8()) < 0 || !pathFile.commit()) {
        if (error != nullptr) {
            *error = pathFile.errorString();
        }
        return false;
    }
    return true;
}

bool CRecoveryStore::HasCopy() const {
    return IsClaimed() && QFile::exists(CopyPath());
}

void CRecoveryStore::RemoveSessionFiles(const QString& session) {
    QFile::remove(FilePath(session, "bgs"));
    QFile::remove(FilePath(session, "path"));
}

void CRecoveryStore::RemoveCopy() {
    if (IsClaimed()) {
        RemoveSessionFiles(m_Session);
    }
}

void CRecoveryStore::Release() {
    if (!IsClaimed()) {
        return;
    }
    RemoveSessionFiles(m_Session);
    m_Lock.Unlock(true);
    m_Session.clear();
}

QList<CRecoveryStore::SOrphan> CRecoveryStore::FindOrphans() {
    QList<SOrphan> orphans;
    const QDir folder(m_Folder);
    const QStringList copies = folder.entryList({QStringLiteral("*.bgs")}, QDir::Files);
    for (const QString& copy : copies) {
        const QString session = QFileInfo(copy).completeBaseName();
        if (session == m_Session || m_OrphanLocks.count(session) != 0) {
            continue;
        }
        auto lock = std::make_unique<CSessionLock>();
        if (!lock->TryLock(FilePath(session, "lock"))) {
            continue;  // its editor is still running
        }
        SOrphan orphan;
        orphan.session = session;
        orphan.copyPath = FilePath(session, "bgs");
        orphan.written = QFileInfo(orphan.copyPath).lastModified();
        QFile pathFile(FilePath(session, "path"));
        if (pathFile.open(QIODevice::ReadOnly)) {
            orphan.originalPath = QString::fromUtf8(pathFile.readAll());
        }
        m_OrphanLocks[session] = std::move(lock);
        orphans.push_back(orphan);
    }
    RemoveAbandonedLocks();
    std::sort(orphans.begin(), orphans.end(), [](const SOrphan& a, const SOrphan& b) { return a.written > b.written; });
    return orphans;
}

void CRecoveryStore::RemoveAbandonedLocks() {
    // Editors killed while their scene was saved leave only their lock file.
    const QStringList locks = QDir(m_Folder).entryList({QStringLiteral("*.lock")}, QDir::Files);
    for (const QString& lockName : locks) {
        const QString session = QFileInfo(lockName).completeBaseName();
        if (session == m_Session || m_OrphanLocks.count(session) != 0 || QFile::exists(FilePath(session, "bgs"))) {
            continue;
        }
        CSessionLock lock;
        if (lock.TryLock(FilePath(session, "lock"))) {
            QFile::remove(FilePath(session, "path"));
            lock.Unlock(true);
        }
    }
}

void CRecoveryStore::Discard(const SOrphan& orphan) {
    RemoveSessionFiles(orphan.session);
    const auto found = m_OrphanLocks.find(orphan.session);
    if (found != m_OrphanLocks.end()) {
        found->second->Unlock(true);
        m_OrphanLocks.erase(found);
    }
}

void CRecoveryStore::SetAside(const SOrphan& orphan) {
    const QString damaged = orphan.copyPath + QStringLiteral(".damaged");
    QFile::remove(damaged);
    QFile::rename(orphan.copyPath, damaged);
    Discard(orphan);
}
