// Recovery copies of unsaved work: the session files an editor keeps while
// it runs, the copies of editors that were killed (offered at the next
// start, restored or thrown away), copies of editors that still run (left
// alone), and the copy's life in the frame: written while the scene has
// unsaved changes, gone once it is saved and after a clean exit.

#include <gmock/gmock.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>

#include "app/CRecoveryStore.h"
#include "app/FrameFixture.h"
#include "document/CEditorDocument.h"
#include "scene/CObjects.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// An editor that wrote a copy of `scene` for `originalPath` and was then
// killed: a child process claims a session in the folder, writes the files
// and dies by SIGKILL, so its lock goes the way a crashed editor's does.
void LeaveKilledEditorsCopy(const QString& folder, const QByteArray& scene, const QString& originalPath) {
    const pid_t child = ::fork();
    if (child == 0) {
        CRecoveryStore store(folder);
        if (store.Claim()) {
            QFile copy(store.CopyPath());
            if (copy.open(QIODevice::WriteOnly))
                copy.write(scene);
            copy.close();
            QFile path(QString(store.CopyPath()).replace(".bgs", ".path"));
            if (path.open(QIODevice::WriteOnly))
                path.write(originalPath.toUtf8());
            path.close();
        }
        ::raise(SIGKILL);
        ::_exit(1);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

class RecoveryStoreTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    QByteArray SceneBytes() {
        CEditorDocument document;
        const QString file = QString::fromStdString(m_Files.Path("scene.bgs"));
        EXPECT_TRUE(document.Save(file, false));
        return ReadAll(file);
    }

    CScreenStateGuard m_ScreenState;
    CTempFolder m_Files;
    CTempFolder m_Root;
    QString m_Folder = QString::fromStdString((m_Root.Root() / "recovery").string());
};

TEST_F(RecoveryStoreTest, TheDefaultFolderIsInTheUsersStateFolder) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    EXPECT_EQ(CRecoveryStore::DefaultFolder(), "/somewhere/state/lumivexis/recovery");
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(CRecoveryStore::DefaultFolder(), QDir::home().filePath(".local/state/lumivexis/recovery"));
    if (!saved.isNull()) {
        qputenv("XDG_STATE_HOME", saved);
    }
}

TEST_F(RecoveryStoreTest, ACopyHoldsTheSceneAndThePathItBelongsTo) {
    CRecoveryStore store(m_Folder);
    ASSERT_TRUE(store.Claim());
    CEditorDocument document;
    const QString original = QString::fromStdString(m_Files.Path("mine.bgs"));
    ASSERT_TRUE(document.Save(original, false));

    ASSERT_TRUE(store.WriteCopy(document));

    EXPECT_TRUE(store.HasCopy());
    EXPECT_TRUE(store.CopyPath().startsWith(m_Folder + "/"));
    CEditorDocument reader;
    EXPECT_TRUE(reader.Open(store.CopyPath(), false));
    const QString session = QFileInfo(store.CopyPath()).completeBaseName();
    EXPECT_EQ(ReadAll(QDir(m_Folder).filePath(session + ".path")), original.toUtf8());
    EXPECT_EQ(document.Path(), original) << "a copy does not move the document";
}

TEST_F(RecoveryStoreTest, ReleasingTheSessionLeavesNothingBehind) {
    CRecoveryStore store(m_Folder);
    ASSERT_TRUE(store.Claim());
    CEditorDocument document;
    ASSERT_TRUE(store.WriteCopy(document));
    store.Release();
    EXPECT_THAT(FilesIn(m_Folder), IsEmpty());
}

TEST_F(RecoveryStoreTest, TheCopyOfAKilledEditorIsAnOrphanWithItsOriginalPath) {
    const QByteArray scene = SceneBytes();
    LeaveKilledEditorsCopy(m_Folder, scene, "/home/user/work.bgs");
    CRecoveryStore store(m_Folder);
    ASSERT_TRUE(store.Claim());

    const QList<CRecoveryStore::SOrphan> orphans = store.FindOrphans();

    ASSERT_EQ(orphans.size(), 1);
    EXPECT_EQ(orphans[0].originalPath, "/home/user/work.bgs");
    EXPECT_EQ(ReadAll(orphans[0].copyPath), scene);
    store.Discard(orphans[0]);
    EXPECT_EQ(FilesIn(m_Folder).size(), 1) << "only this editor's own lock is left";
}

TEST_F(RecoveryStoreTest, TheCopyOfAnEditorThatStillRunsIsLeftAlone) {
    CRecoveryStore running(m_Folder);
    ASSERT_TRUE(running.Claim());
    CEditorDocument document;
    ASSERT_TRUE(running.WriteCopy(document));

    CRecoveryStore starting(m_Folder);
    ASSERT_TRUE(starting.Claim());
    EXPECT_THAT(starting.FindOrphans(), IsEmpty());
    EXPECT_TRUE(running.HasCopy());
}

TEST_F(RecoveryStoreTest, AnOrphanIsOfferedToOnlyOneOfTwoStartingEditors) {
    LeaveKilledEditorsCopy(m_Folder, SceneBytes(), QString());
    CRecoveryStore first(m_Folder);
    CRecoveryStore second(m_Folder);
    EXPECT_EQ(first.FindOrphans().size(), 1);
    EXPECT_THAT(second.FindOrphans(), IsEmpty());
}

TEST_F(RecoveryStoreTest, OrphansComeNewestFirst) {
    LeaveKilledEditorsCopy(m_Folder, SceneBytes(), "/older.bgs");
    const QString older = FilesIn(m_Folder).filter(".bgs").value(0);
    QFile(QDir(m_Folder).filePath(older))
        .setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    LeaveKilledEditorsCopy(m_Folder, SceneBytes(), "/newer.bgs");
    CRecoveryStore store(m_Folder);
    const QList<CRecoveryStore::SOrphan> orphans = store.FindOrphans();
    ASSERT_EQ(orphans.size(), 2);
    EXPECT_EQ(orphans[0].originalPath, "/newer.bgs");
    EXPECT_EQ(orphans[1].originalPath, "/older.bgs");
}

TEST_F(RecoveryStoreTest, LocksOfKilledEditorsWithoutACopyAreCleanedUp) {
    LeaveKilledEditorsCopy(m_Folder, SceneBytes(), QString());
    for (const QString& name : FilesIn(m_Folder)) {
        if (!name.endsWith(".lock"))
            QFile::remove(QDir(m_Folder).filePath(name));
    }
    ASSERT_EQ(FilesIn(m_Folder).size(), 1);
    CRecoveryStore store(m_Folder);
    EXPECT_THAT(store.FindOrphans(), IsEmpty());
    EXPECT_THAT(FilesIn(m_Folder), IsEmpty());
}

TEST_F(RecoveryStoreTest, AFolderThatCannotBeMadeIsReported) {
    const QString blocked = QString::fromStdString(m_Files.Write("file", std::string("not a folder")));
    CRecoveryStore store(blocked + "/recovery");
    QString error;
    EXPECT_FALSE(store.Claim(&error));
    EXPECT_THAT(error.toStdString(), HasSubstr("recovery"));
    EXPECT_FALSE(store.IsClaimed());
    CEditorDocument document;
    EXPECT_FALSE(store.WriteCopy(document));
}

// ------------------------------------------------------------ in the frame

class FrameRecoveryTest : public FrameFixture {
protected:
    static SFrameOptions FastCopies() {
        SFrameOptions options = Options();
        options.recoveryIntervalMs = 20;
        return options;
    }
    QString Folder() const { return lvxtest::CEditorTestHome::RecoveryFolder(); }
    QStringList Copies() const { return QDir(Folder()).entryList({"*.bgs"}, QDir::Files); }
    QByteArray SceneWithBox() {
        CMainFrame scratch(Options());
        CHeadlessEngine engine(scratch.Document().Scene());
        EXPECT_TRUE(engine.Start());
        EXPECT_NE(scratch.CreateObject("CBoxObject"), nullptr);
        const QString file = File("box.bgs");
        EXPECT_TRUE(scratch.Document().SaveCopy(file));
        engine.Stop();
        scratch.SetConfirmExit(false);
        scratch.close();
        return ReadAll(file);
    }
};

TEST_F(FrameRecoveryTest, UnsavedChangesAreCopiedAndTheCopyGoesWhenTheSceneIsSaved) {
    m_Frame = std::make_unique<CMainFrame>(FastCopies());
    m_Engine = std::make_unique<CHeadlessEngine>(m_Frame->Document().Scene());
    ASSERT_TRUE(m_Engine->Start());
    m_Frame->Start();
    QTest::qWait(60);
    EXPECT_THAT(Copies(), IsEmpty()) << "nothing to lose yet";

    ASSERT_NE(m_Frame->CreateObject("CTorusObject"), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 2000));
    CEditorDocument copy;
    ASSERT_TRUE(copy.Open(QDir(Folder()).filePath(Copies().at(0)), false));
    EXPECT_NE(copy.Scene().GetObjectA("untitled_0"), nullptr);

    ASSERT_TRUE(m_Frame->Document().Save(File("saved.bgs"), false));
    EXPECT_THAT(Copies(), IsEmpty());
}

TEST_F(FrameRecoveryTest, ACleanExitRemovesTheSessionEvenWithUnsavedChanges) {
    m_Frame = std::make_unique<CMainFrame>(FastCopies());
    m_Engine = std::make_unique<CHeadlessEngine>(m_Frame->Document().Scene());
    ASSERT_TRUE(m_Engine->Start());
    m_Frame->Start();
    ASSERT_NE(m_Frame->CreateObject("CBoxObject"), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 2000));
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));

    ASSERT_TRUE(CloseFrame());

    EXPECT_THAT(FilesIn(Folder()), IsEmpty());
}

TEST_F(FrameRecoveryTest, TheCopyOfAKilledEditorIsRestoredAtTheNextStart) {
    const QByteArray scene = SceneWithBox();
    LeaveKilledEditorsCopy(Folder(), scene, "/home/user/scenes/work.bgs");
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));

    CMainFrame& frame = StartWithEngine();

    ASSERT_EQ(m_User.Messages().size(), 1);
    EXPECT_THAT(m_User.Messages().at(0).toStdString(), HasSubstr("/home/user/scenes/work.bgs"));
    EXPECT_THAT(SceneNames(), ElementsAre("untitled_0"));
    EXPECT_EQ(frame.Document().Path(), "/home/user/scenes/work.bgs");
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [/home/user/scenes/work.bgs]");
    EXPECT_FALSE(frame.Document().IsClean());
    EXPECT_FALSE(frame.MenuSaveAction()->isEnabled() == false);
    // The restored work is this editor's copy now; the old one is gone.
    ASSERT_EQ(Copies().size(), 1);
    EXPECT_EQ(QDir(Folder()).filePath(Copies().at(0)), frame.Recovery().CopyPath());
}

TEST_F(FrameRecoveryTest, NoToTheRestoreQuestionDeletesTheCopyAndKeepsTheNewScene) {
    LeaveKilledEditorsCopy(Folder(), SceneWithBox(), QString());
    m_User.Answer(CModalResponder::Click(QMessageBox::No));

    CMainFrame& frame = StartWithEngine();

    ASSERT_EQ(m_User.Messages().size(), 1);
    EXPECT_THAT(m_User.Messages().at(0).toStdString(), HasSubstr("untitled scene"));
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_TRUE(frame.Document().IsClean());
    EXPECT_THAT(Copies(), IsEmpty());
}

TEST_F(FrameRecoveryTest, ACopyThatCannotBeRestoredIsKeptAsideAndNotOfferedAgain) {
    LeaveKilledEditorsCopy(Folder(), QByteArray("damaged beyond repair"), QString());
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));
    m_User.Answer(CModalResponder::Click(QMessageBox::Ok));

    StartWithEngine();

    ASSERT_EQ(m_User.Messages().size(), 2);
    EXPECT_THAT(m_User.Messages().at(1).toStdString(), HasSubstr("could not be restored"));
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_EQ(QDir(Folder()).entryList({"*.damaged"}, QDir::Files).size(), 1);
    EXPECT_THAT(Copies(), IsEmpty());
}

TEST_F(FrameRecoveryTest, ARestoredSceneIsNotReplacedByAFileOnTheCommandLine) {
    LeaveKilledEditorsCopy(Folder(), SceneWithBox(), QString());
    const QString given = File("given.bgs");
    {
        CEditorDocument document;
        ASSERT_TRUE(document.Save(given, false));
    }
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));
    CMainFrame& frame = StartWithEngine(given);
    EXPECT_THAT(SceneNames(), ElementsAre("untitled_0"));
    EXPECT_TRUE(frame.Document().Path().isEmpty());
}

}  // namespace
