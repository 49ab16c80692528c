// The edited scene as a document: a new scene and its main camera, opening
// and saving (the path, the undo stack's clean state, what happens to the
// scene when a file is bad), the recovery copy that must not touch either,
// and the signals the panes follow.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QUndoCommand>
#include <filesystem>

#include "animation/CCameraTrajectoryObject.h"
#include "common/QtTestApplication.h"
#include "document/CEditorDocument.h"
#include "document/CHeadlessEngine.h"
#include "objects/CBoxObject.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

namespace {

// An edit that changes nothing but the undo stack's index.
class CNoEdit : public QUndoCommand {
public:
    void redo() override {}
    void undo() override {}
};

class DocumentTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    CBoxObject& AddBox(const char* name) {
        auto* box = new CBoxObject();
        box->SetObjName(name);
        box->Init();
        CSceneLock lock(m_document.Scene());
        m_document.Scene().AddObject(*box);
        return *box;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 0; i < m_document.Scene().GetObjectNumber(); ++i) {
            names.push_back(m_document.Scene().GetObjectA(i)->GetObjName());
        }
        return names;
    }
    QString File(const char* name) const { return QString::fromStdString(m_folder.Path(name)); }

    CScreenStateGuard m_screenState;  // first: the scene's death still changes the screen's fog
    CTempFolder m_folder;
    CEditorDocument m_document;
};

// ------------------------------------------------------------- new scene

TEST_F(DocumentTest, ANewSceneHoldsOnlyTheMainCameraAtItsStartingPlace) {
    CHeadlessEngine engine(m_document.Scene());
    ASSERT_TRUE(engine.Start());
    AddBox("box");
    m_document.UndoStack().push(new CNoEdit);
    QSignalSpy replaced(&m_document, &CEditorDocument::SceneReplaced);

    m_document.NewScene();

    ASSERT_THAT(Names(), ElementsAre("Main Camera"));
    CObjects* object = m_document.Scene().GetObjectA("Main Camera");
    ASSERT_EQ(object->GetObjType(), "CCameraTrajectoryObject");
    auto* camera = static_cast<CCameraTrajectoryObject*>(object);
    EXPECT_EQ(camera->GetPosition(), D3DXVECTOR3(0.0f, 1.0f, -10.0f));
    EXPECT_EQ(camera->GetWeight(), 1);
    EXPECT_EQ(m_document.Scene().GetCameraNumber(), 1);
    EXPECT_EQ(m_document.UndoStack().count(), 0);
    EXPECT_TRUE(m_document.IsClean());
    EXPECT_EQ(replaced.count(), 1);
    engine.WaitFrames(2);  // the render thread draws the new scene
}

TEST_F(DocumentTest, WithoutADeviceANewSceneIsEmpty) {
    ASSERT_EQ(CScreen::Instance().GetD3DDevice(), nullptr);
    AddBox("box");
    m_document.NewScene();
    EXPECT_THAT(Names(), IsEmpty());
    EXPECT_EQ(m_document.AddMainCamera(), nullptr);
}

TEST_F(DocumentTest, ANewSceneKeepsThePathOfTheLastFile) {
    const QString file = File("kept.bgs");
    ASSERT_TRUE(m_document.Save(file, false));
    m_document.NewScene();
    EXPECT_EQ(m_document.Path(), file);
}

// ------------------------------------------------------------ open, save

TEST_F(DocumentTest, SavingSetsThePathAndMarksTheStackClean) {
    m_document.UndoStack().push(new CNoEdit);
    ASSERT_FALSE(m_document.IsClean());
    QSignalSpy pathChanged(&m_document, &CEditorDocument::PathChanged);
    QSignalSpy cleanChanged(&m_document, &CEditorDocument::CleanChanged);
    const QString file = File("saved.bgs");

    QString error;
    ASSERT_TRUE(m_document.Save(file, false, &error)) << error.toStdString();

    EXPECT_EQ(m_document.Path(), file);
    EXPECT_TRUE(m_document.IsClean());
    ASSERT_EQ(pathChanged.count(), 1);
    EXPECT_EQ(pathChanged.at(0).at(0).toString(), file);
    ASSERT_EQ(cleanChanged.count(), 1);
    EXPECT_TRUE(cleanChanged.at(0).at(0).toBool());
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(DocumentTest, OpeningReplacesTheSceneClearsTheStackAndTakesThePath) {
    AddBox("first");
    AddBox("second");
    const QString file = File("two.bgs");
    ASSERT_TRUE(m_document.Save(file, false));
    m_document.NewScene();
    m_document.UndoStack().push(new CNoEdit);
    QSignalSpy replaced(&m_document, &CEditorDocument::SceneReplaced);

    QString error;
    ASSERT_TRUE(m_document.Open(file, false, &error)) << error.toStdString();

    EXPECT_THAT(Names(), UnorderedElementsAre("first", "second"));
    EXPECT_EQ(m_document.Path(), file);
    EXPECT_EQ(m_document.UndoStack().count(), 0);
    EXPECT_TRUE(m_document.IsClean());
    EXPECT_EQ(replaced.count(), 1);
}

TEST_F(DocumentTest, ADamagedFileLeavesSceneAndPathAsTheyWereAndSaysWhy) {
    AddBox("kept");
    const QString file = File("damaged.bgs");
    ASSERT_TRUE(m_document.Save(file, false));
    // A trailer whose data length is larger than the file.
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    damaged.seek(damaged.size() - 122 + 10);
    damaged.write("\xff\xff\xff\x7f", 4);
    damaged.close();
    const QString before = File("other.bgs");
    ASSERT_TRUE(m_document.Save(before, false));
    QSignalSpy replaced(&m_document, &CEditorDocument::SceneReplaced);
    m_document.UndoStack().push(new CNoEdit);
    CErrorCapture shown;

    QString error;
    EXPECT_FALSE(m_document.Open(file, false, &error));

    EXPECT_THAT(error.toStdString(), HasSubstr("Damaged scene file"));
    EXPECT_EQ(shown.Count(), 0u) << "the caller shows the message";
    EXPECT_THAT(Names(), ElementsAre("kept"));
    EXPECT_EQ(m_document.Path(), before);
    EXPECT_EQ(m_document.UndoStack().count(), 1) << "the edits stay undoable";
    EXPECT_EQ(replaced.count(), 0);
}

TEST_F(DocumentTest, AMissingFileIsReportedWithItsName) {
    QString error;
    EXPECT_FALSE(m_document.Open(File("nowhere.bgs"), false, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("nowhere.bgs"));
    EXPECT_TRUE(m_document.Path().isEmpty());
}

TEST_F(DocumentTest, AFailedSaveKeepsThePathAndTheUnsavedState) {
    const QString good = File("good.bgs");
    ASSERT_TRUE(m_document.Save(good, false));
    m_document.UndoStack().push(new CNoEdit);
    CErrorCapture shown;

    QString error;
    EXPECT_FALSE(m_document.Save(File("missing-folder/scene.bgs"), false, &error));

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(shown.Count(), 0u);
    EXPECT_EQ(m_document.Path(), good);
    EXPECT_FALSE(m_document.IsClean());
}

// ------------------------------------------------------------ copies

TEST_F(DocumentTest, ACopyIsACompleteSceneButChangesNeitherPathNorCleanState) {
    AddBox("box");
    const QString original = File("original.bgs");
    ASSERT_TRUE(m_document.Save(original, false));
    m_document.UndoStack().push(new CNoEdit);
    QSignalSpy pathChanged(&m_document, &CEditorDocument::PathChanged);

    const QString copy = File("copy.bgs");
    ASSERT_TRUE(m_document.SaveCopy(copy));

    EXPECT_EQ(m_document.Path(), original);
    EXPECT_FALSE(m_document.IsClean());
    EXPECT_EQ(pathChanged.count(), 0);
    CEditorDocument reader;
    ASSERT_TRUE(reader.Open(copy, false));
    EXPECT_EQ(reader.Scene().GetObjectNumber(), 1);
}

TEST_F(DocumentTest, ARestoredCopyBelongsToItsOriginalFileAndCountsAsUnsaved) {
    AddBox("restored");
    const QString copy = File("copy.bgs");
    ASSERT_TRUE(m_document.SaveCopy(copy));
    CEditorDocument restored;
    const QString original = File("work/scene.bgs");

    ASSERT_TRUE(restored.RestoreCopy(copy, original));

    EXPECT_EQ(restored.Path(), original);
    EXPECT_FALSE(restored.IsClean());
    EXPECT_EQ(restored.Scene().GetObjectNumber(), 1);
}

TEST_F(DocumentTest, UndoingBackToTheSavedStateMakesTheDocumentCleanAgain) {
    QSignalSpy cleanChanged(&m_document, &CEditorDocument::CleanChanged);
    m_document.UndoStack().push(new CNoEdit);
    m_document.UndoStack().undo();
    ASSERT_EQ(cleanChanged.count(), 2);
    EXPECT_FALSE(cleanChanged.at(0).at(0).toBool());
    EXPECT_TRUE(cleanChanged.at(1).at(0).toBool());
}

TEST_F(DocumentTest, ObjectChangesArePassedOnWithTheNameToSelect) {
    QSignalSpy changed(&m_document, &CEditorDocument::ObjectsChanged);
    m_document.NotifyObjectsChanged("box");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "box");
}

}  // namespace
