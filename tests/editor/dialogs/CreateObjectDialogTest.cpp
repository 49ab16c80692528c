// "Create a new object...": its ten kinds with their texts and pictures,
// the proposed name and its process-wide counter, and the two names that
// OK refuses with a message while the dialog stays open.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include "common/QtTestApplication.h"
#include "dialogs/CCreateObjectDialog.h"
#include "dialogs/CModalAnswers.h"
#include "objects/CBoxObject.h"
#include "scene/CScene.h"
#include "support/CScreenStateGuard.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class CreateObjectDialog : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    void AddBox(const QString& name) {
        auto* box = new CBoxObject();
        box->SetObjName(name.toStdString());
        m_scene.AddObject(*box);
    }
    static int Number(const QString& proposal) {
        const QRegularExpressionMatch match = QRegularExpression("^untitled_(\\d+)$").match(proposal);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    CScreenStateGuard m_screenState;
    CScene m_scene;
};

}  // namespace

// ---------------------------------------------------------------- the kinds

TEST_F(CreateObjectDialog, ListsTheTenKindsInOrderWithTheirTwoLineTexts) {
    CCreateObjectDialog dialog(m_scene);
    EXPECT_EQ(dialog.windowTitle(), "Create a new object...");
    QListWidget* list = dialog.TypeList();
    ASSERT_EQ(list->count(), 10);
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text());
    EXPECT_THAT(texts, ElementsAre("Plane Object\nUse this to put an image in 2D overlay or directly in your 3D scene.",
                                   "Sphere Object\nTo create a sphere in your 3D scene.",
                                   "Box Object\nTo create a box in your 3D scene.",
                                   "Torus Object\nTo create a torus in your 3D scene.",
                                   "Cylinder Object\nTo create a cylinder in your 3D scene.",
                                   "Heightmap Object\nTo create an heightmap (terrain) in your 3D scene.",
                                   "2D Fonts\nTo display some text in your scene.",
                                   "Imported Mesh\nTo import meshes and object from your favorite 3D package.",
                                   "Animated Mesh\nTo import animated meshes in your scene.",
                                   "Cameras\nTo add a new camera to your scene."));
}

TEST_F(CreateObjectDialog, EachKindShowsA32PixelPictureAndChoosesItsClassStartingWithTheFirst) {
    CCreateObjectDialog dialog(m_scene);
    QListWidget* list = dialog.TypeList();
    EXPECT_EQ(dialog.SelectedType(), "CPlaneObject");
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
    const QStringList classes = {"CPlaneObject",        "CSphereObject",          "CBoxObject", "CTorusObject",
                                 "CCylinderObject",     "CHeightMapObject",       "CBmpFonts",  "CFileMeshObject",
                                 "CAnimFileMeshObject", "CCameraTrajectoryObject"};
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_TRUE(list->item(row)->icon().availableSizes().contains(QSize(32, 32))) << row;
        EXPECT_EQ(list->item(row)->data(Qt::UserRole).toInt(), row);
        list->setCurrentRow(row);
        EXPECT_EQ(dialog.SelectedType(), classes[row]);
    }
}

// ---------------------------------------------------------------- the proposed name

TEST_F(CreateObjectDialog, TheNextDialogProposesTheNextNumberEvenWhenTheNameWasNotUsed) {
    const int first = Number(CCreateObjectDialog(m_scene).ObjectName());
    ASSERT_GE(first, 0);
    const int second = Number(CCreateObjectDialog(m_scene).ObjectName());
    EXPECT_EQ(second, first + 1);
}

TEST_F(CreateObjectDialog, NamesTheSceneHasAreSkippedAndUsedUp) {
    const int next = Number(CCreateObjectDialog::ProposeName(m_scene)) + 1;
    AddBox(QString("untitled_%1").arg(next));
    AddBox(QString("untitled_%1").arg(next + 1));
    EXPECT_EQ(Number(CCreateObjectDialog(m_scene).ObjectName()), next + 2);
    EXPECT_EQ(Number(CCreateObjectDialog::ProposeName(m_scene)), next + 3);
}

// ---------------------------------------------------------------- OK

TEST_F(CreateObjectDialog, AnEmptyNameIsRefusedAndTheDialogStaysOpen) {
    CCreateObjectDialog dialog(m_scene);
    dialog.show();
    dialog.NameEdit()->clear();
    CModalAnswers answers;
    dialog.accept();
    EXPECT_THAT(answers.Messages(), ElementsAre("You have to give a name for the object!"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(CreateObjectDialog, ANameTheSceneHasIsRefusedAndTheDialogStaysOpen) {
    AddBox("crate");
    CCreateObjectDialog dialog(m_scene);
    dialog.show();
    dialog.NameEdit()->setText("crate");
    CModalAnswers answers;
    dialog.accept();
    EXPECT_THAT(answers.Messages(), ElementsAre("An object of this name already exists in this scene!"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(CreateObjectDialog, AFreeNameIsAcceptedWithTheChosenKind) {
    AddBox("crate");
    CCreateObjectDialog dialog(m_scene);
    dialog.show();
    dialog.TypeList()->setCurrentRow(9);
    dialog.NameEdit()->setText("Crate");  // names differ by case
    CModalAnswers answers;
    dialog.accept();
    EXPECT_THAT(answers.Messages(), IsEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ObjectName(), "Crate");
    EXPECT_EQ(dialog.SelectedType(), "CCameraTrajectoryObject");
}
