// The type pages of the "Properties" pane over a document: what they show
// of the object's current keyframe, the limits they put on typed and spun
// values, the setters they call (one undo step per edit, undone exactly),
// the file choices of the height map and text pages, and which page each
// object type gets.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "controls/CNumberField.h"
#include "dialogs/CModalAnswers.h"
#include "meshes/CAnimFileMeshObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "panes/EditorSceneFixture.h"
#include "properties/CAnimationPage.h"
#include "properties/CBoxPage.h"
#include "properties/CCylinderPage.h"
#include "properties/CFileNameField.h"
#include "properties/CHeightMapPage.h"
#include "properties/CPlanePage.h"
#include "properties/CSpherePage.h"
#include "properties/CTextPage.h"
#include "properties/CTorusPage.h"
#include "properties/CTypePageFactory.h"

using testing::ElementsAre;
using testing::FloatEq;

namespace {

class TypePages : public EditorSceneFixture {
protected:
    // Types a value into the field and presses Enter, as the user does.
    static void Type(CNumberField* field, const QString& text) {
        field->Edit()->clear();
        QTest::keyClicks(field->Edit(), text);
        QTest::keyClick(field->Edit(), Qt::Key_Return);
    }
    QUndoStack& Stack() { return m_document.UndoStack(); }
    template <class TPage>
    std::unique_ptr<TPage> PageFor(CObjects& object) {
        auto page = std::make_unique<TPage>();
        page->SetObject(&object, m_document, false);
        return page;
    }
    // A file of that content in the test's folder; its full path.
    QString WriteFile(const QString& name, const QByteArray& content) {
        const QString path = m_Folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    // The next file dialog chooses `path`; its starting selection goes to
    // *started.
    void ChooseInDialog(CModalAnswers& answers, const QString& path, QString* started) {
        answers.OnDialog([path, started](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            if (started != nullptr && !dialog->selectedFiles().isEmpty()) {
                *started = dialog->selectedFiles().first();
            }
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, which checks the file
        });
    }

    QTemporaryDir m_Folder;
};

}  // namespace

// ------------------------------------------------------------------ sizes

TEST_F(TypePages, PlaneSizeTypedNegativeBecomesZeroAndTheOtherSizeKeepsItsExactValue) {
    auto& plane = Add<CPlaneObject>("plane");
    plane.SetSize(2.0f, 1.2345f);
    auto page = PageFor<CPlanePage>(plane);
    EXPECT_EQ(page->XSize()->Text(), "2.00");

    Type(page->XSize(), "-3");
    float x = 0.0f, y = 0.0f;
    plane.GetSize(x, y);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 1.2345f);  // not the "1.23" the field shows
    EXPECT_EQ(page->XSize()->Text(), "0.00");
    EXPECT_EQ(Stack().count(), 1);
    EXPECT_EQ(Stack().text(0), "Set Size of plane");

    Stack().undo();
    plane.GetSize(x, y);
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_EQ(page->XSize()->Text(), "2.00");
}

TEST_F(TypePages, BoxShowsFullEdgeLengthsAndWritesOneAxis) {
    auto& box = Add<CBoxObject>("box");
    box.SetSize(2.0f, 4.0f, 6.0f);
    auto page = PageFor<CBoxPage>(box);
    EXPECT_EQ(page->XSize()->Text(), "2.00");
    EXPECT_EQ(page->YSize()->Text(), "4.00");
    EXPECT_EQ(page->ZSize()->Text(), "6.00");

    Type(page->YSize(), "3");
    float x = 0.0f, y = 0.0f, z = 0.0f;
    box.GetSize(x, y, z);
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_FLOAT_EQ(y, 3.0f);
    EXPECT_FLOAT_EQ(z, 6.0f);
    Stack().undo();
    box.GetSize(x, y, z);
    EXPECT_FLOAT_EQ(y, 4.0f);
    EXPECT_EQ(page->YSize()->Text(), "4.00");
}

TEST_F(TypePages, BoxSizeOutOfRangeIsRefusedWithAMessageAndThenWrittenAsTyped) {
    auto& box = Add<CBoxObject>("box");
    auto page = PageFor<CBoxPage>(box);
    CModalAnswers answers;
    Type(page->ZSize(), "0");
    ASSERT_EQ(answers.Messages().size(), 1);
    EXPECT_TRUE(answers.Messages()[0].startsWith("Please enter a number between"));
    float x = 0.0f, y = 0.0f, z = 1.0f;
    box.GetSize(x, y, z);
    EXPECT_FLOAT_EQ(z, 0.0f);
}

TEST_F(TypePages, EditsGoToTheCurrentKeyFrameOnly) {
    auto& box = Add<CBoxObject>("box");
    box.SetSize(1.0f, 1.0f, 1.0f);
    const int second = box.AddKeyFrame(5.0f);
    box.SetCurrentKeyFrame(second);
    box.SetSize(2.0f, 2.0f, 2.0f);
    auto page = PageFor<CBoxPage>(box);
    EXPECT_EQ(page->XSize()->Text(), "2.00");

    Type(page->XSize(), "7");
    float x = 0.0f, y = 0.0f, z = 0.0f;
    box.GetSize(x, y, z);
    EXPECT_FLOAT_EQ(x, 7.0f);
    box.SetCurrentKeyFrame(box.GetKeyFrameID(0));
    box.GetSize(x, y, z);
    EXPECT_FLOAT_EQ(x, 1.0f);
}

// ---------------------------------------------------------------- counts

TEST_F(TypePages, SphereSlicesStopAtThreeBySpinningAndByTyping) {
    auto& ball = Add<CSphereObject>("ball");
    ball.SetSliceNumber(5);
    auto page = PageFor<CSpherePage>(ball);
    EXPECT_EQ(page->Slices()->Text(), "5");

    for (int i = 0; i < 4; ++i) {
        page->Slices()->DownButton()->click();
    }
    EXPECT_EQ(ball.GetSliceNumber(), 3);
    EXPECT_EQ(page->Slices()->Text(), "3");
    EXPECT_EQ(Stack().count(), 1);  // one run of clicks, one step

    Type(page->Stacks(), "1");
    EXPECT_EQ(ball.GetStackNumber(), 3);
    Type(page->Stacks(), "-20");
    EXPECT_EQ(ball.GetStackNumber(), 3);

    Stack().undo();
    Stack().undo();
    EXPECT_EQ(ball.GetSliceNumber(), 5);
    EXPECT_EQ(ball.GetStackNumber(), 10);
}

TEST_F(TypePages, SphereRadiusRowIsHiddenButStillWritesTheRadius) {
    auto& ball = Add<CSphereObject>("ball");
    auto page = PageFor<CSpherePage>(ball);
    page->show();
    EXPECT_FALSE(page->Radius()->isVisible());
    EXPECT_TRUE(page->Slices()->isVisible());
    Type(page->Radius(), "2.5");
    EXPECT_FLOAT_EQ(ball.GetRadius(), 2.5f);
}

TEST_F(TypePages, CylinderSlicesGoDownToOneButStacksStopAtThree) {
    auto& tube = Add<CCylinderObject>("tube");
    tube.SetSliceNumber(2);
    tube.SetStackNumber(4);
    auto page = PageFor<CCylinderPage>(tube);
    page->Slices()->DownButton()->click();
    page->Slices()->DownButton()->click();
    EXPECT_EQ(tube.GetSliceNumber(), 1);
    Type(page->Slices(), "0");
    EXPECT_EQ(tube.GetSliceNumber(), 1);
    page->Stacks()->DownButton()->click();
    page->Stacks()->DownButton()->click();
    EXPECT_EQ(tube.GetStackNumber(), 3);
}

TEST_F(TypePages, CylinderRadiiAndLengthAreWrittenSeparately) {
    auto& tube = Add<CCylinderObject>("tube");
    tube.SetRadius(1.0f, 2.0f);
    tube.SetLength(3.0f);
    auto page = PageFor<CCylinderPage>(tube);
    Type(page->Radius2(), "0.75");
    Type(page->Length(), "4.5");
    float r1 = 0.0f, r2 = 0.0f;
    tube.GetRadius(r1, r2);
    EXPECT_FLOAT_EQ(r1, 1.0f);
    EXPECT_FLOAT_EQ(r2, 0.75f);
    EXPECT_FLOAT_EQ(tube.GetLength(), 4.5f);
    EXPECT_EQ(Stack().count(), 2);
}

TEST_F(TypePages, TorusCountsStopAtThreeAndRadiiKeepEachOther) {
    auto& ring = Add<CTorusObject>("ring");
    ring.SetRadius(0.5f, 1.25f);
    auto page = PageFor<CTorusPage>(ring);
    Type(page->Sides(), "2");
    Type(page->Rings(), "12");
    Type(page->Radius1(), "0.3");
    EXPECT_EQ(ring.GetSideNumber(), 3);
    EXPECT_EQ(ring.GetRingNumber(), 12);
    float r1 = 0.0f, r2 = 0.0f;
    ring.GetRadius(r1, r2);
    EXPECT_FLOAT_EQ(r1, 0.3f);
    EXPECT_FLOAT_EQ(r2, 1.25f);
}

TEST_F(TypePages, UnchangedValueAndForeignObjectPushNothing) {
    auto& ball = Add<CSphereObject>("ball");
    auto page = PageFor<CSpherePage>(ball);
    Type(page->Slices(), "10");  // already 10
    EXPECT_EQ(Stack().count(), 0);

    auto& box = Add<CBoxObject>("box");
    page->SetObject(&box, m_document, false);
    Type(page->Slices(), "20");
    EXPECT_EQ(Stack().count(), 0);
}

// ------------------------------------------------------------ height map

TEST_F(TypePages, HeightMapHeightAndFileAreUndoable) {
    auto& land = Add<CHeightMapObject>("land");
    const QString first = WriteFile("first.raw", QByteArray(10000, 'a'));
    const QString second = WriteFile("second.raw", QByteArray(10000, 'b'));
    land.SetHeightMapFilename(ToCString(first));
    auto page = PageFor<CHeightMapPage>(land);
    EXPECT_EQ(page->MapFile()->NameEdit()->text(), "first.raw");
    EXPECT_TRUE(page->MapFile()->NameEdit()->isReadOnly());

    Type(page->Height(), "25");
    EXPECT_FLOAT_EQ(land.GetMaxAmplitude(), 25.0f);

    CModalAnswers answers;
    QString started;
    ChooseInDialog(answers, second, &started);
    page->MapFile()->BrowseButton()->click();
    EXPECT_EQ(QFileInfo(started).fileName(), "first.raw");  // the dialog opened at the kept file
    EXPECT_EQ(ToQString(land.GetHeightMapFilename()), second);
    EXPECT_EQ(page->MapFile()->NameEdit()->text(), "second.raw");
    EXPECT_EQ(Stack().text(Stack().count() - 1), "Set Map File of land");

    Stack().undo();
    EXPECT_EQ(ToQString(land.GetHeightMapFilename()), first);
    EXPECT_EQ(page->MapFile()->NameEdit()->text(), "first.raw");
    Stack().undo();
    EXPECT_FLOAT_EQ(land.GetMaxAmplitude(), 10.0f);
}

TEST_F(TypePages, CancelledFileDialogChangesNothing) {
    auto& land = Add<CHeightMapObject>("land");
    auto page = PageFor<CHeightMapPage>(land);
    CModalAnswers answers;  // rejects the dialog
    page->MapFile()->BrowseButton()->click();
    EXPECT_EQ(answers.DialogsAnswered(), 1);
    EXPECT_EQ(Stack().count(), 0);
}

TEST(FileNameField, SplitsAtTheLastSlashOfEitherKind) {
    QString directory, name;
    CFileNameField::SplitPath("C:\\maps\\hill.raw", directory, name);
    EXPECT_EQ(directory, "C:\\maps\\");
    EXPECT_EQ(name, "hill.raw");
    CFileNameField::SplitPath("/data/a\\b/c.raw", directory, name);
    EXPECT_EQ(directory, "/data/a\\b/");
    EXPECT_EQ(name, "c.raw");
    CFileNameField::SplitPath("plain.raw", directory, name);
    EXPECT_EQ(directory, "");
    EXPECT_EQ(name, "plain.raw");
}

// ------------------------------------------------------------------ text

TEST_F(TypePages, TextTypedWhileFocusedIsOneUndoStep) {
    auto& title = Add<CBmpFonts>("title");
    title.SetText("Hi");
    auto page = PageFor<CTextPage>(title);
    QLineEdit* edit = page->TextEdit();
    EXPECT_EQ(edit->text(), "Hi");

    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &focusIn);
    edit->setCursorPosition(2);
    QTest::keyClicks(edit, " there");
    EXPECT_EQ(title.GetText(), "Hi there");  // written on every keystroke
    EXPECT_EQ(edit->text(), "Hi there");
    EXPECT_EQ(edit->cursorPosition(), 8);  // the refresh after each key leaves the cursor alone
    EXPECT_EQ(Stack().count(), 1);

    QApplication::sendEvent(edit, &focusIn);  // a new visit, a new step
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(Stack().count(), 2);

    Stack().undo();
    EXPECT_EQ(title.GetText(), "Hi there");
    Stack().undo();
    EXPECT_EQ(title.GetText(), "Hi");
    EXPECT_EQ(edit->text(), "Hi");
}

TEST_F(TypePages, TextSizesAreTheZoomFactorsAndNegativesBecomeZero) {
    auto& title = Add<CBmpFonts>("title");
    title.SetZoomFactor(1.5f, 2.5f);
    auto page = PageFor<CTextPage>(title);
    Type(page->YSize(), "-1");
    float x = 0.0f, y = 0.0f;
    title.GetZoomFactor(x, y);
    EXPECT_FLOAT_EQ(x, 1.5f);
    EXPECT_FLOAT_EQ(y, 0.0f);
}

TEST_F(TypePages, FontChosenSetsTheTextureOfTheDescriptor) {
    auto& title = Add<CBmpFonts>("title");
    const QString font = WriteFile("round.bnf", "A 0.0,0.0 0.5,0.5\n");
    auto page = PageFor<CTextPage>(title);
    CModalAnswers answers;
    ChooseInDialog(answers, font, nullptr);
    page->Font()->BrowseButton()->click();
    EXPECT_EQ(ToQString(title.GetTexture(0)), m_Folder.filePath("round.png"));
    EXPECT_FLOAT_EQ(title.GetGlyph('A').right, 0.5f);
    EXPECT_EQ(page->Font()->NameEdit()->text(), "round.png");
    EXPECT_EQ(page->Font()->Directory(), m_Folder.path() + "/");
}

// ------------------------------------------------------------- animation

TEST_F(TypePages, AnimationStepIsWrittenAndFrameOrderStaysHidden) {
    auto& mesh = Add<CAnimFileMeshObject>("walker");
    auto page = PageFor<CAnimationPage>(mesh);
    page->show();
    EXPECT_FALSE(page->FrameOrder()->isVisible());
    const QString before = page->DisplayedStep()->Text();
    Type(page->DisplayedStep(), "12.5");
    EXPECT_FLOAT_EQ(mesh.GetSpeed(), 12.5f);
    Stack().undo();
    EXPECT_EQ(page->DisplayedStep()->Text(), before);
}

// ------------------------------------------------------------- the pages

TEST_F(TypePages, EachObjectTypeGetsItsPageWithItsTabTitle) {
    // The types as the objects name themselves; an animated mesh does so
    // only once its meshes are loaded.
    const std::pair<QString, const char*> cases[] = {
        {ToQString(Add<CPlaneObject>("a").GetObjType()), "Geometry"},
        {ToQString(Add<CSphereObject>("b").GetObjType()), "Geometry"},
        {ToQString(Add<CTorusObject>("c").GetObjType()), "Geometry"},
        {ToQString(Add<CBoxObject>("d").GetObjType()), "Geometry"},
        {ToQString(Add<CCylinderObject>("e").GetObjType()), "Geometry"},
        {ToQString(Add<CHeightMapObject>("f").GetObjType()), "Geometry"},
        {ToQString(Add<CBmpFonts>("g").GetObjType()), "Text"},
        {"CAnimFileMeshObject", "Animation"},
    };
    for (const auto& [type, title] : cases) {
        std::unique_ptr<CObjectPage> page(CTypePageFactory::Create(type));
        ASSERT_NE(page, nullptr) << type.toStdString();
        EXPECT_EQ(page->windowTitle(), title) << type.toStdString();
    }
    EXPECT_EQ(CTypePageFactory::Create("CFileMeshObject"), nullptr);
}

TEST_F(TypePages, Pictures) {
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    const auto save = [](QWidget& page, const char* name) {
        page.resize(300, 240);
        page.show();
        EXPECT_TRUE(page.grab().save(QDir(LVX_SCREENSHOT_DIR).filePath(name)));
    };
    auto& box = Add<CBoxObject>("box");
    box.SetSize(1.0f, 2.0f, 3.5f);
    save(*PageFor<CBoxPage>(box), "properties_box_page.png");
    auto& title = Add<CBmpFonts>("title");
    title.SetText("Hello");
    save(*PageFor<CTextPage>(title), "properties_text_page.png");
    save(*PageFor<CHeightMapPage>(Add<CHeightMapObject>("land")), "properties_heightmap_page.png");
}
