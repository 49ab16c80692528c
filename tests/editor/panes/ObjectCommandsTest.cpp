// Creating and removing objects through the undo stack: undo and redo bring
// back the very same object at its place in the list and among the cameras,
// with its keys and with the trajectories and cameras that pointed at it;
// objects out of the scene belong to their command and die with it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "EditorSceneFixture.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "document/CCreateObjectCommand.h"
#include "document/CRemoveObjectCommand.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"

using testing::ElementsAre;

namespace {

// A box that counts its destruction (it may outlive the test's body, in
// the document's scene).
class CWatchedBox : public CBoxObject {
public:
    explicit CWatchedBox(std::shared_ptr<int> destroyed) : m_Destroyed(std::move(destroyed)) {}
    ~CWatchedBox() override { ++*m_Destroyed; }

private:
    std::shared_ptr<int> m_Destroyed;
};

class ObjectCommands : public EditorSceneFixture {
protected:
    template <class TObject>
    std::unique_ptr<TObject> Made(const char* name) {
        auto object = std::make_unique<TObject>();
        object->SetObjName(name);
        object->Init();
        return object;
    }
    CObjects& Create(std::unique_ptr<CObjects> object) {
        auto* command = new CCreateObjectCommand(m_document, std::move(object));
        Stack().push(command);
        return command->Object();
    }
    void Remove(const char* name) { Stack().push(new CRemoveObjectCommand(m_document, name)); }
    QUndoStack& Stack() { return m_document.UndoStack(); }
};

}  // namespace

// ---------------------------------------------------------------- creation

TEST_F(ObjectCommands, ACreatedObjectGoesToTheFrontOfTheList) {
    Add<CBoxObject>("old");
    CObjects& ball = Create(Made<CSphereObject>("ball"));
    EXPECT_THAT(ListOrder(), ElementsAre("ball", "old"));
    EXPECT_EQ(Scene().GetObjectA("ball"), &ball);
    EXPECT_EQ(ball.GetScene(), &Scene());
    EXPECT_FALSE(m_document.IsClean());
}

TEST_F(ObjectCommands, UndoOfACreationTakesTheObjectOutAndRedoBringsTheSameObjectBack) {
    Add<CBoxObject>("old");
    CObjects& ball = Create(Made<CSphereObject>("ball"));
    Stack().undo();
    EXPECT_THAT(ListOrder(), ElementsAre("old"));
    Stack().redo();
    EXPECT_EQ(Scene().GetObjectA("ball"), &ball);
    EXPECT_THAT(ListOrder(), ElementsAre("ball", "old"));
}

TEST_F(ObjectCommands, RedoOfACreationPutsTheObjectWhereItWasWhenUndone) {
    CObjects& ball = Create(Made<CSphereObject>("ball"));
    Add<CBoxObject>("front");  // not through the stack: as the render thread's reordering moves objects
    Stack().undo();
    Stack().redo();
    EXPECT_THAT(ListOrder(), ElementsAre("front", "ball"));
    EXPECT_EQ(Scene().GetObjectA(1), &ball);
}

TEST_F(ObjectCommands, AnUndoneCreationDiesWithItsCommandAndADoneOneStaysWithTheScene) {
    auto destroyed = std::make_shared<int>(0);
    auto box = std::make_unique<CWatchedBox>(destroyed);
    box->SetObjName("box");
    Create(std::move(box));
    Stack().clear();
    EXPECT_EQ(*destroyed, 0);
    EXPECT_TRUE(Scene().IsObjectExisting("box"));

    auto second = std::make_unique<CWatchedBox>(destroyed);
    second->SetObjName("second");
    Create(std::move(second));
    Stack().undo();
    EXPECT_EQ(*destroyed, 0);  // kept for a redo
    Stack().clear();
    EXPECT_EQ(*destroyed, 1);
}

// ---------------------------------------------------------------- removal

TEST_F(ObjectCommands, UndoOfARemovalBringsTheSameObjectBackAtItsPlaceWithItsKeys) {
    Add<CSphereObject>("last");
    CBoxObject& box = Add<CBoxObject>("box");
    Add<CSphereObject>("first");
    box.SetCurrentKeyFrame(box.GetKeyFrameID(0));
    box.SetPosition(1.0f, 2.0f, 3.0f);
    box.SetCurrentKeyFrame(box.AddKeyFrame(4.0f));
    box.SetPosition(-5.0f, 6.0f, 7.0f);
    const int currentKey = box.GetCurrentKeyFrame();

    Remove("box");
    EXPECT_THAT(ListOrder(), ElementsAre("first", "last"));
    Stack().undo();
    EXPECT_THAT(ListOrder(), ElementsAre("first", "box", "last"));
    ASSERT_EQ(Scene().GetObjectA("box"), &box);
    ASSERT_EQ(box.GetKeyFrameNumber(), 2);
    EXPECT_EQ(box.GetKeyFrameTime(1), 4.0f);
    EXPECT_EQ(box.GetCurrentKeyFrame(), currentKey);
    EXPECT_EQ(box.GetPosition(), D3DXVECTOR3(-5.0f, 6.0f, 7.0f));
    box.SetCurrentKeyFrame(box.GetKeyFrameID(0));
    EXPECT_EQ(box.GetPosition(), D3DXVECTOR3(1.0f, 2.0f, 3.0f));

    Stack().redo();
    EXPECT_FALSE(Scene().IsObjectExisting("box"));
}

TEST_F(ObjectCommands, UndoOfARemovalPutsACameraBackAmongTheCamerasWhereItWas) {
    auto& first = Add<CCameraTrajectoryObject>("first");
    auto& middle = Add<CCameraTrajectoryObject>("middle");
    auto& last = Add<CCameraTrajectoryObject>("last");
    Remove("middle");
    ASSERT_EQ(Scene().GetCameraNumber(), 2);
    Stack().undo();
    ASSERT_EQ(Scene().GetCameraNumber(), 3);
    // The first camera of the greatest weight shows the scene: the order counts.
    EXPECT_EQ(Scene().GetCamera(0), &first);
    EXPECT_EQ(Scene().GetCamera(1), &middle);
    EXPECT_EQ(Scene().GetCamera(2), &last);
}

TEST_F(ObjectCommands, UndoOfARemovalPointsTrajectoriesAndCamerasAtTheObjectAgain) {
    auto& box = Add<CBoxObject>("box");
    auto& other = Add<CSphereObject>("other");
    auto& carrier = Add<CTrajectoryObject>("carrier");
    auto& watcher = Add<CTrajectoryObject>("watcher");
    auto& camera = Add<CCameraTrajectoryObject>("camera");
    carrier.SetAssignedObject(&box);
    carrier.SetLookAtObject(&other);
    watcher.SetAssignedObject(&other);
    watcher.SetLookAtObject(&box);
    camera.SetLookAtObject(&box);

    Remove("box");
    EXPECT_EQ(carrier.GetAssignedObject(), nullptr);
    EXPECT_EQ(watcher.GetLookAtObject(), nullptr);
    EXPECT_EQ(camera.GetLookAtObject(), nullptr);
    Stack().undo();
    EXPECT_EQ(carrier.GetAssignedObject(), &box);
    EXPECT_EQ(carrier.GetLookAtObject(), &other);
    EXPECT_EQ(watcher.GetAssignedObject(), &other);
    EXPECT_EQ(watcher.GetLookAtObject(), &box);
    EXPECT_EQ(camera.GetLookAtObject(), &box);
}

TEST_F(ObjectCommands, ARemovedObjectDiesWithItsCommandOnlyWhileItIsOut) {
    auto destroyed = std::make_shared<int>(0);
    auto* box = new CWatchedBox(destroyed);
    box->SetObjName("box");
    Scene().AddObject(*box);
    Remove("box");
    Stack().undo();
    Stack().clear();
    EXPECT_EQ(*destroyed, 0);
    EXPECT_EQ(Scene().GetObjectA("box"), box);

    Remove("box");
    EXPECT_EQ(*destroyed, 0);
    Stack().clear();
    EXPECT_EQ(*destroyed, 1);
}

TEST_F(ObjectCommands, RemovingANameTheSceneDoesNotHaveLeavesTheStackAsItWas) {
    Add<CBoxObject>("box");
    Remove("nobody");
    EXPECT_EQ(Stack().count(), 0);
    EXPECT_TRUE(m_document.IsClean());
    EXPECT_THAT(ListOrder(), ElementsAre("box"));
}

// ---------------------------------------------------------------- what the panes are told

TEST_F(ObjectCommands, EachStepNamesTheObjectToSelectAfterwards) {
    Add<CBoxObject>("box");
    QSignalSpy changes(&m_document, &CEditorDocument::ObjectsChanged);
    Create(Made<CSphereObject>("ball"));
    Stack().undo();
    Remove("box");
    Stack().undo();
    ASSERT_EQ(changes.count(), 4);
    EXPECT_EQ(changes[0][0].toString(), "ball");  // the new object
    EXPECT_EQ(changes[1][0].toString(), "");      // gone: the list chooses
    EXPECT_EQ(changes[2][0].toString(), "");
    EXPECT_EQ(changes[3][0].toString(), "box");  // back
}
