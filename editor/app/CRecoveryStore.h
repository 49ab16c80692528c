#pragma once
// Recovery copies of scenes with unsaved changes, so that a crash or a kill
// loses at most the last minute of work. Every running editor claims a
// session in the recovery folder ($XDG_STATE_HOME/lumivexis/recovery, by
// default ~/.local/state/lumivexis/recovery): a lock file it holds while it
// runs, beside which it writes its copy ("<session>.bgs") and the path of
// the file the scene belongs to ("<session>.path"). A copy whose lock is no
// longer held by a living editor is an orphan, which the next editor offers
// to restore. A clean exit removes the session's files.
//
//   CRecoveryStore store;
//   store.Claim();
//   for (const CRecoveryStore::SOrphan& orphan : store.FindOrphans()) ...
//   store.WriteCopy(document);            // every minute while unsaved
//   store.Release();                      // on a clean exit
//
// User-interface thread only.

#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>

#include "app/CSessionLock.h"

class CEditorDocument;

class CRecoveryStore {
public:
    // A copy left by an editor that no longer runs. Its lock is held by this
    // store from FindOrphans until Discard (or the store's end), so that two
    // editors starting together never both restore it.
    struct SOrphan {
        QString session;
        QString copyPath;
        QString originalPath;  // empty: the scene was never saved
        QDateTime written;
    };

    // The user's recovery folder.
    static QString DefaultFolder();

    explicit CRecoveryStore(const QString& folder = DefaultFolder());
    ~CRecoveryStore();
    CRecoveryStore(const CRecoveryStore&) = delete;
    CRecoveryStore& operator=(const CRecoveryStore&) = delete;

    const QString& Folder() const { return m_Folder; }

    // Makes the folder and takes this editor's session. False, with the
    // reason, when the folder cannot be written (no copies are made then).
    bool Claim(QString* error = nullptr);
    bool IsClaimed() const { return m_Lock.IsLocked(); }
    QString CopyPath() const;

    // Writes the document's copy and the path it belongs to, each file
    // replaced only once it is complete.
    bool WriteCopy(CEditorDocument& document, QString* error = nullptr);
    bool HasCopy() const;
    // Removes the copy (the scene was saved, or its changes undone).
    void RemoveCopy();
    // Removes the copy and gives up the session (a clean exit).
    void Release();

    // Copies of editors that are gone, newest first.
    QList<SOrphan> FindOrphans();
    // Removes an orphan's files (restored, or not wanted).
    void Discard(const SOrphan& orphan);
    // Keeps an orphan that could not be restored as "<session>.bgs.damaged"
    // (no longer offered) and removes its other files.
    void SetAside(const SOrphan& orphan);

private:
    QString FilePath(const QString& session, const char* extension) const;
    void RemoveSessionFiles(const QString& session);
    void RemoveAbandonedLocks();

    QString m_Folder;
    QString m_Session;
    CSessionLock m_Lock;
    std::map<QString, std::unique_ptr<CSessionLock>> m_OrphanLocks;
};
