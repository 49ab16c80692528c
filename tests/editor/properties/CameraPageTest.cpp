// The camera page over a document: limits of zoom and weight, the rows the
// orientation shows, the order and meaning of its combo boxes, the objects
// a camera can look at, renaming, and a trajectory shown on the same page.
// Every change is one undo step that undo takes back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "controls/CNumberField.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"
#include "panes/EditorSceneFixture.h"
#include "properties/CCameraPage.h"

using testing::ElementsAre;

namespace {

class CameraPage : public EditorSceneFixture {
protected:
    static void Type(CNumberField* field, const QString& text) {
        field->Edit()->clear();
        QTest::keyClicks(field->Edit(), text);
        QTest::keyClick(field->Edit(), Qt::Key_Return);
    }
    // Chooses a row of a combo box as the user does.
    static void Choose(QComboBox* combo, const QString& text) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static QStringList Items(const QComboBox* combo) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back(combo->itemText(i));
        }
        return items;
    }
    std::unique_ptr<CCameraPage> PageFor(CObjects& object) {
        auto page = std::make_unique<CCameraPage>();
        page->SetObject(&object, m_document, false);
        return page;
    }
    QUndoStack& Stack() { return m_document.UndoStack(); }
};

}  // namespace

TEST_F(CameraPage, ZoomIsKeptBetweenOneAndEight) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    camera.SetZoom(2.0f);
    auto page = PageFor(camera);
    Type(page->Zoom(), "20");
    EXPECT_FLOAT_EQ(camera.GetZoom(), 8.0f);
    EXPECT_EQ(page->Zoom()->Text(), "8.00");
    page->Zoom()->UpButton()->click();
    EXPECT_FLOAT_EQ(camera.GetZoom(), 8.0f);
    Type(page->Zoom(), "0");
    EXPECT_FLOAT_EQ(camera.GetZoom(), 1.0f);
    page->Zoom()->UpButton()->click();
    EXPECT_NEAR(camera.GetZoom(), 1.1f, 1e-6);
}

TEST_F(CameraPage, WeightIsAWholeNumberNotBelowZero) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    camera.SetWeight(2);
    auto page = PageFor(camera);
    EXPECT_EQ(page->Weight()->Text(), "2");
    Type(page->Weight(), "-3");
    EXPECT_EQ(camera.GetWeight(), 0);
    EXPECT_EQ(page->Weight()->Text(), "0");
    page->Weight()->UpButton()->click();
    EXPECT_EQ(camera.GetWeight(), 1);
    Stack().undo();
    Stack().undo();
    EXPECT_EQ(camera.GetWeight(), 2);
    EXPECT_EQ(page->Weight()->Text(), "2");
}

TEST_F(CameraPage, OrientationShowsTheRowsItUses) {
    struct SCase {
        const char* item;
        TOrientation orientation;
        bool angle;
        bool lookAtPosition;
        bool lookAtObject;
    };
    const SCase cases[] = {
        {"Fixed Angle", OR_FIXED, true, false, false},
        {"Front", OR_FRONT, false, false, false},
        {"Rear", OR_REAR, false, false, false},
        {"Position", OR_LOOK_AT_POSITION, false, true, false},
        {"An Object", OR_LOOK_AT_OBJECT, false, false, true},
    };
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    auto page = PageFor(camera);
    page->show();
    for (const SCase& c : cases) {
        Choose(page->Orientation(), c.item);
        EXPECT_EQ(camera.GetOrientation(), c.orientation) << c.item;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(page->Angle(axis)->isVisible(), c.angle) << c.item;
            EXPECT_EQ(page->LookAtPosition(axis)->isVisible(), c.lookAtPosition) << c.item;
        }
        EXPECT_EQ(page->LookAtObject()->isVisible(), c.lookAtObject) << c.item;
        EXPECT_TRUE(page->Position(0)->isVisible());
    }
    EXPECT_THAT(Items(page->Orientation()), ElementsAre("Fixed Angle", "Front", "Rear", "Position", "An Object"));

    // Undo brings back the orientation and with it the rows.
    Stack().undo();
    EXPECT_EQ(camera.GetOrientation(), OR_LOOK_AT_POSITION);
    EXPECT_EQ(page->Orientation()->currentText(), "Position");
    EXPECT_TRUE(page->LookAtPosition(0)->isVisible());
    EXPECT_FALSE(page->LookAtObject()->isVisible());
}

TEST_F(CameraPage, InterpolationItemsAreInTheirOwnOrderWithTheirModes) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    camera.SetInterpolationMode(IM_STEP);
    auto page = PageFor(camera);
    EXPECT_THAT(Items(page->Interpolation()), ElementsAre("Hermite Spline", "B-Spline", "Linear", "Step"));
    EXPECT_EQ(page->Interpolation()->currentText(), "Step");

    const std::pair<const char*, TInterpolationMode> choices[] = {
        {"Hermite Spline", IM_HSPLINE}, {"B-Spline", IM_BSPLINE}, {"Linear", IM_LINEAR}, {"Step", IM_STEP}};
    for (const auto& [item, mode] : choices) {
        Choose(page->Interpolation(), item);
        EXPECT_EQ(camera.GetInterpolationMode(), mode) << item;
    }
    Stack().undo();
    EXPECT_EQ(camera.GetInterpolationMode(), IM_LINEAR);
    EXPECT_EQ(page->Interpolation()->currentText(), "Linear");
}

TEST_F(CameraPage, ObjectsToLookAtAreTheSortedBaseObjects) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    Add<CCameraTrajectoryObject>("other cam");
    Add<CTrajectoryObject>("path");
    Add<CBoxObject>("crate");
    auto& ball = Add<CSphereObject>("Ball");
    Add<CBoxObject>("anvil");
    camera.SetOrientation(OR_LOOK_AT_OBJECT);
    auto page = PageFor(camera);
    EXPECT_THAT(Items(page->LookAtObject()), ElementsAre("<none>", "anvil", "Ball", "crate"));
    EXPECT_EQ(page->LookAtObject()->currentText(), "<none>");

    Choose(page->LookAtObject(), "Ball");
    EXPECT_EQ(camera.GetLookAtObject(), &ball);
    EXPECT_EQ(Stack().text(0), "Set Object To Look At of cam");

    // Rebuilt on every refresh: a new object shows up, the choice stays.
    Add<CBoxObject>("zebra");
    page->Refresh();
    EXPECT_THAT(Items(page->LookAtObject()), ElementsAre("<none>", "anvil", "Ball", "crate", "zebra"));
    EXPECT_EQ(page->LookAtObject()->currentText(), "Ball");

    Choose(page->LookAtObject(), "<none>");
    EXPECT_EQ(camera.GetLookAtObject(), nullptr);
    Stack().undo();
    EXPECT_EQ(camera.GetLookAtObject(), &ball);
}

TEST_F(CameraPage, VectorsChangeOneComponentAndAnglesStayInRadians) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    camera.SetPosition(D3DXVECTOR3(1.0f, 2.25f, 3.125f));
    auto page = PageFor(camera);
    EXPECT_EQ(page->Position(2)->Text(), "3.13");

    Type(page->Position(0), "-4");
    EXPECT_EQ(camera.GetPosition(), D3DXVECTOR3(-4.0f, 2.25f, 3.125f));
    Type(page->Angle(1), "1.5");
    EXPECT_EQ(camera.GetDirection(), D3DXVECTOR3(0.0f, 1.5f, 0.0f));
    Type(page->LookAtPosition(2), "9");
    EXPECT_FLOAT_EQ(camera.GetLookAtPosition().z, 9.0f);
    EXPECT_EQ(Stack().text(1), "Set Angle of cam");

    Stack().undo();
    Stack().undo();
    Stack().undo();
    EXPECT_EQ(camera.GetPosition(), D3DXVECTOR3(1.0f, 2.25f, 3.125f));
    EXPECT_EQ(camera.GetDirection(), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
}

TEST_F(CameraPage, ARunOfSpinClicksIsOneUndoStep) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    auto page = PageFor(camera);
    const D3DXVECTOR3 start = camera.GetPosition();
    for (int i = 0; i < 3; ++i) {
        page->Position(1)->UpButton()->click();
    }
    EXPECT_NEAR(camera.GetPosition().y, start.y + 0.3f, 1e-5);
    EXPECT_EQ(Stack().count(), 1);
    Stack().undo();
    EXPECT_EQ(camera.GetPosition(), start);
    EXPECT_EQ(page->Position(1)->Text(), CNumberField::FormatNumber(start.y, 2));
}

TEST_F(CameraPage, RenameToATakenOrEmptyNameBringsTheOldNameBack) {
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    Add<CBoxObject>("box");
    auto page = PageFor(camera);
    QLineEdit* name = page->NameEdit();
    EXPECT_EQ(name->text(), "cam");

    name->setText("box");
    emit name->editingFinished();
    EXPECT_EQ(name->text(), "cam");
    EXPECT_EQ(camera.GetObjName(), "cam");
    name->setText("");
    emit name->editingFinished();
    EXPECT_EQ(name->text(), "cam");
    EXPECT_EQ(Stack().count(), 0);

    name->setText("front cam");
    emit name->editingFinished();
    EXPECT_EQ(camera.GetObjName(), "front cam");
    Stack().undo();
    EXPECT_EQ(camera.GetObjName(), "cam");
    EXPECT_EQ(name->text(), "cam");
}

TEST_F(CameraPage, TrajectoryEditsWhatItHasAndDisablesTheRest) {
    auto& path = Add<CTrajectoryObject>("path");
    auto& box = Add<CBoxObject>("box");
    path.SetOrientation(OR_LOOK_AT_POSITION);
    path.SetOrientationPosition(D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    auto page = PageFor(path);
    page->show();
    EXPECT_EQ(page->NameEdit()->text(), "path");
    EXPECT_FALSE(page->Position(0)->isEnabled());
    EXPECT_FALSE(page->Angle(0)->isEnabled());
    EXPECT_FALSE(page->Zoom()->isEnabled());
    EXPECT_FALSE(page->Weight()->isEnabled());
    EXPECT_TRUE(page->Interpolation()->isEnabled());
    EXPECT_TRUE(page->LookAtPosition(0)->isEnabled());
    EXPECT_EQ(page->LookAtPosition(1)->Text(), "2.00");

    Type(page->LookAtPosition(1), "5");
    EXPECT_EQ(path.GetOrientationPosition(), D3DXVECTOR3(1.0f, 5.0f, 3.0f));
    Choose(page->Interpolation(), "Linear");
    EXPECT_EQ(path.GetPath().GetMode(), IM_LINEAR);
    Choose(page->Orientation(), "An Object");
    Choose(page->LookAtObject(), "box");
    EXPECT_EQ(path.GetOrientation(), OR_LOOK_AT_OBJECT);
    EXPECT_EQ(path.GetLookAtObject(), &box);
    EXPECT_EQ(Stack().count(), 4);

    while (Stack().canUndo()) {
        Stack().undo();
    }
    EXPECT_EQ(path.GetOrientationPosition(), D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(path.GetPath().GetMode(), IM_HSPLINE);
    EXPECT_EQ(path.GetOrientation(), OR_LOOK_AT_POSITION);
    EXPECT_EQ(path.GetLookAtObject(), nullptr);

    // A camera shown next enables its rows again.
    auto& camera = Add<CCameraTrajectoryObject>("cam");
    page->SetObject(&camera, m_document, true);
    EXPECT_TRUE(page->Position(0)->isEnabled());
    EXPECT_TRUE(page->Zoom()->isEnabled());
}

TEST_F(CameraPage, Picture) {
    auto& camera = Add<CCameraTrajectoryObject>("Main Camera");
    Add<CBoxObject>("box");
    camera.SetPosition(D3DXVECTOR3(0.0f, 1.0f, -10.0f));
    camera.SetWeight(1);
    auto page = PageFor(camera);
    page->resize(380, 330);
    page->show();
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    EXPECT_TRUE(page->grab().save(QDir(LVX_SCREENSHOT_DIR).filePath("properties_camera_page.png")));
    Choose(page->Orientation(), "An Object");
    EXPECT_TRUE(page->grab().save(QDir(LVX_SCREENSHOT_DIR).filePath("properties_camera_page_object.png")));
}
