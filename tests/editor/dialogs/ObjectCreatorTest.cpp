// The object creator behind Add... and the toolbar: the automatic name, the
// mesh file dialogs (one file, or every frame of an animated mesh in the
// order given), and objects that are not added because a file does not
// load, with the reason told to the user.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

#include "common/QtTestApplication.h"
#include "dialogs/CModalAnswers.h"
#include "dialogs/CObjectCreator.h"
#include "document/CEditorDocument.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "meshes/common/MeshFiles.h"
#include "objects/CBoxObject.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::SizeIs;

namespace {

// A 3D Studio file of one triangle at height z.
std::vector<BYTE> Triangle(float z) {
    meshfiles::S3DSObject triangle;
    triangle.name = "t";
    triangle.positions = {0, 0, z, 1, 0, z, 0, 1, z};
    triangle.faces = {0, 1, 2};
    return meshfiles::Make3DS({}, {triangle});
}

class ObjectCreator : public testing::Test {
protected:
    void SetUp() override {
        lvxtest::TestApplication();
        m_creator.SetFileChooser([this](QWidget*, bool several) {
            m_askedForSeveral.push_back(several);
            return m_chosenFiles;
        });
    }

    void AddBox(const char* name) {
        auto* box = new CBoxObject();
        box->SetObjName(name);
        box->Init();
        Scene().AddObject(*box);
    }
    QString Mesh(const std::string& name, float z = 0.0f) {
        return QString::fromStdString(m_folder.Write(name, Triangle(z)));
    }
    CScene& Scene() { return m_document.Scene(); }

    CScreenStateGuard m_screenState;
    CEditorDocument m_document;
    CObjectCreator m_creator{m_document, nullptr};
    CTempFolder m_folder;
    QStringList m_chosenFiles;
    std::vector<bool> m_askedForSeveral;
};

}  // namespace

// ---------------------------------------------------------------- names

TEST_F(ObjectCreator, WithoutANameTheFirstFreeUntitledNumberIsTaken) {
    AddBox("untitled_0");
    AddBox("untitled_2");
    CObjects* box = m_creator.CreateObject("CBoxObject", "");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetObjName(), "untitled_1");
    EXPECT_EQ(m_creator.CreateObject("CBoxObject", "")->GetObjName(), "untitled_3");
}

TEST_F(ObjectCreator, TheNewObjectIsInTheSceneAndItsCreationCanBeUndone) {
    CObjects* box = m_creator.CreateObject("CBoxObject", "crate");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Scene().GetObjectA("crate"), box);
    EXPECT_EQ(box->GetObjType(), "CBoxObject");  // initialised
    EXPECT_EQ(m_document.UndoStack().count(), 1);
    m_document.UndoStack().undo();
    EXPECT_FALSE(Scene().IsObjectExisting("crate"));
}

TEST_F(ObjectCreator, AnUnknownClassCreatesNothing) {
    CModalAnswers answers;
    EXPECT_EQ(m_creator.CreateObject("CNoSuchObject", ""), nullptr);
    EXPECT_EQ(Scene().GetObjectNumber(), 0);
    EXPECT_EQ(m_document.UndoStack().count(), 0);
}

TEST_F(ObjectCreator, ANameTheSceneHasIsRefused) {
    AddBox("crate");
    CModalAnswers answers;
    EXPECT_EQ(m_creator.CreateObject("CSphereObject", "crate"), nullptr);
    EXPECT_THAT(answers.Messages(), ElementsAre("An object of this name already exists in this scene!"));
    EXPECT_EQ(Scene().GetObjectNumber(), 1);
}

// ---------------------------------------------------------------- mesh files

TEST_F(ObjectCreator, AStaticMeshAsksForOneFileAndKeepsIt) {
    m_chosenFiles = {Mesh("statue.3ds")};
    auto* statue = dynamic_cast<CFileMeshObject*>(m_creator.CreateObject("CFileMeshObject", ""));
    ASSERT_NE(statue, nullptr);
    EXPECT_THAT(m_askedForSeveral, ElementsAre(false));
    EXPECT_EQ(QString::fromStdString(statue->GetFilename()), m_chosenFiles[0]);
    EXPECT_TRUE(Scene().IsObjectExisting(statue->GetObjName()));
}

TEST_F(ObjectCreator, ACancelledFileDialogCreatesNothing) {
    CModalAnswers answers;
    EXPECT_EQ(m_creator.CreateObject("CFileMeshObject", ""), nullptr);
    EXPECT_EQ(m_creator.CreateObject("CAnimFileMeshObject", ""), nullptr);
    EXPECT_THAT(m_askedForSeveral, ElementsAre(false, true));
    EXPECT_THAT(answers.Messages(), IsEmpty());
    EXPECT_EQ(Scene().GetObjectNumber(), 0);
}

TEST_F(ObjectCreator, AnAnimatedMeshTakesEveryChosenFileInTheOrderGiven) {
    m_chosenFiles = {Mesh("e.3ds", 4), Mesh("a.3ds", 0), Mesh("c.3ds", 2), Mesh("b.3ds", 1), Mesh("d.3ds", 3)};
    auto* wave = dynamic_cast<CAnimFileMeshObject*>(m_creator.CreateObject("CAnimFileMeshObject", "wave"));
    ASSERT_NE(wave, nullptr);
    EXPECT_THAT(m_askedForSeveral, ElementsAre(true));
    QStringList frames;
    for (const CString& file : wave->GetFilenames())
        frames.push_back(QString::fromStdString(file));
    EXPECT_EQ(frames, m_chosenFiles);
    EXPECT_EQ(wave->GetLoadedCount(), 5u);
}

// ---------------------------------------------------------------- files that do not load

TEST_F(ObjectCreator, AMeshThatDoesNotLoadIsNotAddedAndTheUserIsToldWhy) {
    m_chosenFiles = {QString::fromStdString(m_folder.Write("broken.3ds", std::string("no mesh in here")))};
    CErrorCapture engineReports;
    CModalAnswers answers;
    EXPECT_EQ(m_creator.CreateObject("CFileMeshObject", "statue"), nullptr);
    EXPECT_GE(engineReports.Count(), 1u);  // the reader's own account of the file
    ASSERT_THAT(answers.Messages(), SizeIs(1));
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr("\"statue\" was not added"));
    EXPECT_THAT(answers.Messages()[0].toStdString(),
                HasSubstr(QDir::toNativeSeparators(m_chosenFiles[0]).toStdString()));
    EXPECT_EQ(Scene().GetObjectNumber(), 0);
    EXPECT_EQ(m_document.UndoStack().count(), 0);
}

TEST_F(ObjectCreator, FilesThatCannotBeMeshesAreRefusedWithTheReasonBeforeTheyAreRead) {
    const QString picture = QString::fromStdString(m_folder.Write("picture.png", std::string("png")));
    const QString missing = QString::fromStdString(m_folder.Path("gone.x"));
    CModalAnswers answers;
    for (const QString& file : {picture, missing}) {
        m_chosenFiles = {file};
        EXPECT_EQ(m_creator.CreateObject("CFileMeshObject", ""), nullptr);
    }
    ASSERT_THAT(answers.Messages(), SizeIs(2));
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr("picture.png\" is not a mesh file"));
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr(".lwo, .3ds or .x"));
    EXPECT_THAT(answers.Messages()[1].toStdString(), HasSubstr("gone.x\" cannot be read"));
    EXPECT_EQ(Scene().GetObjectNumber(), 0);
}

TEST_F(ObjectCreator, AnAnimatedMeshNamesTheFrameThatDoesNotLoad) {
    const QString broken = QString::fromStdString(m_folder.Write("2.3ds", std::string("broken")));
    m_chosenFiles = {Mesh("1.3ds"), broken, Mesh("3.3ds")};
    CErrorCapture engineReports;
    CModalAnswers answers;
    EXPECT_EQ(m_creator.CreateObject("CAnimFileMeshObject", "wave"), nullptr);
    ASSERT_THAT(answers.Messages(), SizeIs(1));
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr("2.3ds\" could not be loaded"));
    EXPECT_EQ(Scene().GetObjectNumber(), 0);
}

// ---------------------------------------------------------------- Qt's file dialog

TEST_F(ObjectCreator, TheFileDialogOffersMeshFilesAndReturnsTheFramesInTheOrderTyped) {
    for (const char* name : {"a.3ds", "b.3ds", "c.3ds", "d.3ds", "e.3ds"})
        Mesh(name);
    CModalAnswers answers;
    answers.OnDialog([this](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->nameFilters(), QStringList{"3D Meshes Files (*.lwo *.3ds *.x)"});
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        dialog->setDirectory(QString::fromStdString(m_folder.Root().string()));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText("\"d.3ds\" \"b.3ds\" \"e.3ds\" \"a.3ds\" \"c.3ds\"");
        QMetaObject::invokeMethod(dialog, "accept");  // what the Open button does
    });
    const QStringList chosen = CObjectCreator::AskForMeshFiles(nullptr, true);
    QStringList names;
    for (const QString& path : chosen)
        names.push_back(QFileInfo(path).fileName());
    EXPECT_THAT(names, ElementsAre("d.3ds", "b.3ds", "e.3ds", "a.3ds", "c.3ds"));
}

TEST_F(ObjectCreator, TheStaticMeshDialogTakesOneExistingFile) {
    CModalAnswers answers;
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->reject();
    });
    EXPECT_THAT(CObjectCreator::AskForMeshFiles(nullptr, false), IsEmpty());
    EXPECT_EQ(answers.DialogsAnswered(), 1);
}
