// The object list pane over a document: what a rebuild selects and tells,
// the engine's selection following the tree ("" for a category), finding
// objects by name, the rule that keeps the last camera, Remove and Add, and
// the tree following the document's edits.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>

#include "EditorSceneFixture.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "dialogs/CCreateObjectDialog.h"
#include "dialogs/CModalAnswers.h"
#include "document/CCreateObjectCommand.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"
#include "panes/CObjectListPane.h"
#include "panes/CObjectPlacement.h"
#include "panes/CObjectTreeModel.h"

using testing::ElementsAre;

namespace {

class ObjectListPane : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_pane = std::make_unique<CObjectListPane>(m_document);
    }
    QString Selected() { return m_pane->Model().ObjectName(m_pane->Tree()->currentIndex()); }
    std::string EngineSelection() { return Scene().GetSelected(); }
    void SelectCategory(int category) { m_pane->Tree()->setCurrentIndex(m_pane->Model().CategoryIndex(category)); }
    bool RemoveEnabled() { return m_pane->RemoveButton()->isEnabled(); }

    std::unique_ptr<CObjectListPane> m_pane;
};

}  // namespace

// ---------------------------------------------------------------- rebuilding

TEST_F(ObjectListPane, ARebuildSelectsTheLastObjectOfTheSceneAndTellsTheEngine) {
    Add<CBoxObject>("oldest");  // AddObject puts new objects in front: this one ends the list
    Add<CSphereObject>("newest");
    m_pane->Rebuild(false, false);
    EXPECT_EQ(Selected(), "oldest");
    EXPECT_EQ(EngineSelection(), "oldest");
    EXPECT_TRUE(m_pane->Tree()->isExpanded(m_pane->Model().CategoryIndex(0)));
}

TEST_F(ObjectListPane, ARebuildTellsTheFrameOnlyWhenAskedAndPassesTheCommitFlag) {
    Add<CBoxObject>("box");
    QSignalSpy told(m_pane.get(), &CObjectListPane::SelectionChanged);
    m_pane->Rebuild(false, true);
    EXPECT_EQ(told.count(), 0);
    m_pane->Rebuild(true, false);
    ASSERT_EQ(told.count(), 1);
    EXPECT_FALSE(told[0][0].toBool());
    m_pane->Rebuild(true, true);
    ASSERT_EQ(told.count(), 2);
    EXPECT_TRUE(told[1][0].toBool());
}

TEST_F(ObjectListPane, ARebuiltEmptySceneLeavesNothingSelectedInTheEngine) {
    Scene().SetSelected("gone");
    m_pane->Rebuild(false, false);
    EXPECT_EQ(EngineSelection(), "");
    EXPECT_EQ(m_pane->GetSelectedObject(), nullptr);
    EXPECT_FALSE(RemoveEnabled());
}

TEST_F(ObjectListPane, SelectionsAreTheUsersOnlyOnceTheTreeIsBuilt) {
    Add<CBoxObject>("box");
    Add<CSphereObject>("ball");
    QSignalSpy told(m_pane.get(), &CObjectListPane::SelectionChanged);
    m_pane->Rebuild(false, false);  // selects "box" on the way
    EXPECT_EQ(told.count(), 0);
    m_pane->SelectByName("ball");
    ASSERT_EQ(told.count(), 1);
    EXPECT_TRUE(told[0][0].toBool());
}

// ---------------------------------------------------------------- selection

TEST_F(ObjectListPane, SelectingACategorySendsAnEmptyNameToTheEngine) {
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    ASSERT_EQ(EngineSelection(), "box");
    SelectCategory(0);
    EXPECT_EQ(EngineSelection(), "");
    EXPECT_EQ(m_pane->GetSelectedObject(), nullptr);
}

TEST_F(ObjectListPane, TheSelectedObjectIsTheObjectOfTheSelectedItem) {
    auto& box = Add<CBoxObject>("box");
    auto& ball = Add<CSphereObject>("ball");
    m_pane->Rebuild(false, false);
    EXPECT_EQ(m_pane->GetSelectedObject(), &box);
    m_pane->SelectByName("ball");
    EXPECT_EQ(m_pane->GetSelectedObject(), &ball);
    EXPECT_EQ(EngineSelection(), "ball");
}

TEST_F(ObjectListPane, SelectByNameFindsObjectsInEveryCategoryAndAtTheRoot) {
    Add<CTrajectoryObject>("path");
    Add<CCameraTrajectoryObject>("eye");
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    for (const char* name : {"eye", "box", "path"}) {
        m_pane->SelectByName(name);
        EXPECT_EQ(Selected(), name);
        EXPECT_EQ(EngineSelection(), name);
    }
}

TEST_F(ObjectListPane, SelectingAnUnknownNameKeepsTheSelection) {
    Add<CBoxObject>("box");
    Add<CSphereObject>("ball");
    m_pane->Rebuild(false, false);
    m_pane->SelectByName("ball");
    m_pane->SelectByName("Primitives");  // a category is not an object
    m_pane->SelectByName("nobody");
    EXPECT_EQ(Selected(), "ball");
}

// ---------------------------------------------------------------- removing

TEST_F(ObjectListPane, TheOnlyCameraCannotBeRemoved) {
    Add<CCameraTrajectoryObject>("Main Camera");
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    m_pane->SelectByName("Main Camera");
    EXPECT_FALSE(RemoveEnabled());
    m_pane->RemoveSelectedObject();  // even when asked without the button
    EXPECT_TRUE(Scene().IsObjectExisting("Main Camera"));
    EXPECT_EQ(m_document.UndoStack().count(), 0);
}

TEST_F(ObjectListPane, WithTwoCamerasEitherCanBeRemovedButNotTheOneLeft) {
    Add<CCameraTrajectoryObject>("Main Camera");
    Add<CCameraTrajectoryObject>("Second");
    m_pane->Rebuild(false, false);
    m_pane->SelectByName("Main Camera");
    EXPECT_TRUE(RemoveEnabled());
    m_pane->SelectByName("Second");
    EXPECT_TRUE(RemoveEnabled());
    m_pane->RemoveButton()->click();
    EXPECT_FALSE(Scene().IsObjectExisting("Second"));
    EXPECT_EQ(Selected(), "Main Camera");
    EXPECT_FALSE(RemoveEnabled());
}

TEST_F(ObjectListPane, ObjectsCanBeRemovedButCategoriesCannot) {
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    EXPECT_TRUE(RemoveEnabled());
    SelectCategory(0);
    EXPECT_FALSE(RemoveEnabled());
    SelectCategory(CObjectPlacement::kCameras);
    EXPECT_FALSE(RemoveEnabled());
}

TEST_F(ObjectListPane, AfterARemovalTheLastObjectOfTheRebuiltTreeIsSelected) {
    Add<CBoxObject>("c");
    Add<CBoxObject>("b");
    Add<CBoxObject>("a");  // list: a, b, c
    m_pane->Rebuild(false, false);
    m_pane->SelectByName("a");
    QSignalSpy told(m_pane.get(), &CObjectListPane::SelectionChanged);
    m_pane->RemoveButton()->click();
    EXPECT_THAT(ListOrder(), ElementsAre("b", "c"));
    EXPECT_EQ(Selected(), "c");
    EXPECT_EQ(EngineSelection(), "c");
    // The removed object's pages must not be written back.
    ASSERT_GE(told.count(), 1);
    EXPECT_FALSE(told[0][0].toBool());
}

TEST_F(ObjectListPane, UndoingARemovalSelectsTheObjectAgain) {
    Add<CBoxObject>("c");
    Add<CBoxObject>("b");
    m_pane->Rebuild(false, false);
    m_pane->SelectByName("b");
    m_pane->RemoveButton()->click();
    m_document.UndoStack().undo();
    EXPECT_EQ(Selected(), "b");
    EXPECT_EQ(EngineSelection(), "b");
}

// ---------------------------------------------------------------- following the document

TEST_F(ObjectListPane, ACreatedObjectAppearsSelectedAndTheObjectShownBeforeMayBeCommitted) {
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    QSignalSpy told(m_pane.get(), &CObjectListPane::SelectionChanged);
    auto ball = std::make_unique<CSphereObject>();
    ball->SetObjName("ball");
    ball->Init();
    m_document.UndoStack().push(new CCreateObjectCommand(m_document, std::move(ball)));
    EXPECT_EQ(Selected(), "ball");
    EXPECT_EQ(EngineSelection(), "ball");
    ASSERT_GE(told.count(), 1);
    EXPECT_TRUE(told[0][0].toBool());  // "box" is still there

    const qsizetype before = told.count();
    m_document.UndoStack().undo();
    EXPECT_EQ(Selected(), "box");
    ASSERT_EQ(told.count(), before + 1);
    EXPECT_FALSE(told.last()[0].toBool());  // "ball" is out of the scene
}

TEST_F(ObjectListPane, AReplacedSceneIsShownFromScratchWithoutCommittingTheOldObject) {
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    QSignalSpy told(m_pane.get(), &CObjectListPane::SelectionChanged);
    Scene().RemoveAllObjects();
    Add<CSphereObject>("ball");
    emit m_document.SceneReplaced();
    EXPECT_EQ(Selected(), "ball");
    ASSERT_EQ(told.count(), 1);
    EXPECT_FALSE(told[0][0].toBool());
}

// ---------------------------------------------------------------- Add...

TEST_F(ObjectListPane, AddCreatesTheChosenKindUnderTheChosenName) {
    m_pane->Rebuild(false, false);
    CModalAnswers answers;
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<CCreateObjectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->TypeList()->setCurrentRow(2);  // "Box Object"
        dialog->NameEdit()->setText("crate");
        dialog->accept();
    });
    m_pane->AddButton()->click();
    ASSERT_EQ(answers.DialogsAnswered(), 1);
    CObjects* crate = Scene().GetObjectA("crate");
    ASSERT_NE(crate, nullptr);
    EXPECT_EQ(crate->GetObjType(), "CBoxObject");
    EXPECT_EQ(Selected(), "crate");
    EXPECT_EQ(m_pane->Model().CategoryOf(m_pane->Tree()->currentIndex()), 0);
}

TEST_F(ObjectListPane, ACancelledAddChangesNothing) {
    Add<CBoxObject>("box");
    m_pane->Rebuild(false, false);
    CModalAnswers answers;  // rejects the dialog
    m_pane->AddButton()->click();
    EXPECT_EQ(answers.DialogsAnswered(), 1);
    EXPECT_THAT(ListOrder(), ElementsAre("box"));
    EXPECT_EQ(m_document.UndoStack().count(), 0);
    EXPECT_EQ(Selected(), "box");
}

// ---------------------------------------------------------------- layout

TEST_F(ObjectListPane, TheButtonsSitBelowTheTree) {
    m_pane->resize(190, 300);
    m_pane->show();
    EXPECT_EQ(m_pane->Tree()->geometry(), QRect(0, 0, 190, 260));
    EXPECT_EQ(m_pane->AddButton()->geometry(), QRect(5, 265, 80, 30));
    EXPECT_EQ(m_pane->RemoveButton()->geometry(), QRect(95, 265, 80, 30));
    EXPECT_EQ(m_pane->AddButton()->text(), "Add...");
    EXPECT_EQ(m_pane->RemoveButton()->text(), "Remove...");
}
