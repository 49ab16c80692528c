// The "Properties" pane: its state and sheet follow the kind of object
// shown, the third tab follows the object's type, the sheet is kept (and
// the chosen tab with it) while the state stays, the pages follow the
// document's edits and undo, a value still being typed goes to the object
// it was typed for or nowhere, and a rename that makes the object list
// show other objects on the way ends with the renamed one.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "CPageDriver.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "panes/CObjectListPane.h"
#include "panes/EditorSceneFixture.h"
#include "properties/CBasicPage.h"
#include "properties/CPropertiesPane.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

class PropertiesPane : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_pane = std::make_unique<CPropertiesPane>(m_document);
    }

    // An object put into the scene without Init: the pages need none of
    // what Init loads.
    template <class TObject, class... TArgs>
    TObject& Put(const char* name, TArgs... args) {
        auto* object = new TObject(args...);
        object->SetObjName(name);
        Scene().AddObject(*object);
        return *object;
    }

    QStringList Tabs() const {
        QStringList titles;
        if (QTabWidget* sheet = m_pane->Sheet()) {
            for (int i = 0; i < sheet->count(); ++i) {
                titles << sheet->tabText(i);
            }
        }
        return titles;
    }

    std::unique_ptr<CPropertiesPane> m_pane;
};

// A mesh object names its type only once its files are loaded; this one
// has the name without the files.
template <class TMesh>
class CNamedMesh : public TMesh {
public:
    explicit CNamedMesh(const char* type) { this->m_Type = type; }
};

}  // namespace

TEST_F(PropertiesPane, TheStateAndTheSheetFollowTheKindOfObject) {
    EXPECT_EQ(m_pane->StateName(), "none");
    EXPECT_EQ(m_pane->Sheet(), nullptr);

    m_pane->ShowObject(&Add<CBoxObject>("Box1"), false);
    EXPECT_EQ(m_pane->State(), CPropertiesPane::kStateBaseObject);
    EXPECT_EQ(m_pane->StateName(), "base object");
    EXPECT_THAT(Tabs(), ElementsAre("Basic", "Advanced", "Geometry"));

    m_pane->ShowObject(&Add<CCameraTrajectoryObject>("Main Camera"), false);
    EXPECT_EQ(m_pane->State(), CPropertiesPane::kStateTrajectory);
    EXPECT_THAT(Tabs(), ElementsAre("Basic"));
    EXPECT_EQ(m_pane->BasicPage(), nullptr);

    m_pane->ShowObject(&Put<CTrajectoryObject>("Path"), false);
    EXPECT_EQ(m_pane->StateName(), "trajectory");
    EXPECT_THAT(Tabs(), ElementsAre("Basic"));

    m_pane->ShowObject(nullptr, false);
    EXPECT_EQ(m_pane->State(), CPropertiesPane::kStateNone);
    EXPECT_EQ(m_pane->Sheet(), nullptr);
    EXPECT_TRUE(m_pane->Pages().empty());
}

TEST_F(PropertiesPane, TheThirdTabFollowsTheObjectsType) {
    const std::vector<std::pair<std::function<CObjects&()>, const char*>> types = {
        {[&]() -> CObjects& { return Put<CPlaneObject>("plane"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CSphereObject>("sphere"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CTorusObject>("torus"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CBoxObject>("box"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CCylinderObject>("cylinder"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CHeightMapObject>("terrain"); }, "Geometry"},
        {[&]() -> CObjects& { return Put<CBmpFonts>("title"); }, "Text"},
        {[&]() -> CObjects& { return Put<CNamedMesh<CAnimFileMeshObject>>("runner", "CAnimFileMeshObject"); },
         "Animation"},
        {[&]() -> CObjects& { return Put<CNamedMesh<CFileMeshObject>>("statue", "CFileMeshObject"); }, nullptr},
    };
    for (const auto& [make, title] : types) {
        CObjects& object = make();
        m_pane->ShowObject(&object, false);
        QStringList expected = {"Basic", "Advanced"};
        if (title != nullptr) {
            expected << title;
        }
        EXPECT_EQ(Tabs(), expected) << object.GetObjType();
        if (title != nullptr) {
            ASSERT_NE(m_pane->TypePage(), nullptr);
            EXPECT_EQ(m_pane->TypePage()->Object(), &object);
        }
    }
}

TEST_F(PropertiesPane, TheSheetStaysWithinAStateAndKeepsTheChosenTab) {
    auto& box = Add<CBoxObject>("Box1");
    auto& ball = Add<CSphereObject>("Ball");
    auto& statue = Put<CNamedMesh<CFileMeshObject>>("Statue", "CFileMeshObject");
    m_pane->ShowObject(&box, false);
    const QPointer<QTabWidget> sheet = m_pane->Sheet();
    const QPointer<CBasicPage> basic = m_pane->BasicPage();
    sheet->setCurrentIndex(2);

    m_pane->ShowObject(&ball, true);
    EXPECT_EQ(m_pane->Sheet(), sheet.data());
    EXPECT_EQ(m_pane->BasicPage(), basic.data());
    EXPECT_EQ(basic->Object(), &ball);
    EXPECT_EQ(m_pane->TypePage()->Object(), &ball);
    EXPECT_EQ(sheet->currentIndex(), 2);
    EXPECT_EQ(sheet->currentWidget(), m_pane->TypePage());

    m_pane->ShowObject(&statue, true);  // no third tab: a tab that still exists
    ASSERT_EQ(sheet->count(), 2);
    EXPECT_GE(sheet->currentIndex(), 0);
    EXPECT_EQ(m_pane->TypePage(), nullptr);

    m_pane->ShowObject(&Add<CCameraTrajectoryObject>("Eye"), true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sheet.isNull());
    EXPECT_TRUE(basic.isNull());
}

TEST_F(PropertiesPane, ThePagesFollowTheDocumentsEditsOfTheShownObjectAndTheirUndo) {
    auto& box = Add<CBoxObject>("Box1");
    auto& ball = Add<CSphereObject>("Ball");
    m_pane->ShowObject(&box, false);
    const auto setAlpha = [this](CBaseObject& object, float alpha) {
        m_document.EditProperty(
            object, "Alpha", m_document.NewEditRun(), [](CBaseObject& o) { return o.GetAlpha(); },
            [](CBaseObject& o, float a) { o.SetAlpha(a); }, alpha);
    };
    setAlpha(box, 0.25f);
    EXPECT_EQ(m_pane->BasicPage()->AlphaField()->Text(), "0.25");
    m_document.UndoStack().undo();
    EXPECT_EQ(m_pane->BasicPage()->AlphaField()->Text(), "1.00");
    setAlpha(ball, 0.5f);  // not the shown object
    EXPECT_EQ(m_pane->BasicPage()->AlphaField()->Text(), "1.00");
    EXPECT_EQ(m_pane->BasicPage()->Object(), &box);
}

TEST_F(PropertiesPane, ATypedValueGoesToItsObjectOnlyWhenThePreviousOneMayBeCommitted) {
    auto& box = Add<CBoxObject>("Box1");
    auto& ball = Add<CSphereObject>("Ball");
    m_pane->resize(290, 380);
    m_pane->show();
    m_pane->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pane.get()));
    const auto typeAlpha = [this](const QString& text) {
        QLineEdit* edit = m_pane->BasicPage()->AlphaField()->Edit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    };

    m_pane->ShowObject(&box, false);
    typeAlpha("0.3");
    m_pane->ShowObject(&ball, true);
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.3f);
    EXPECT_FLOAT_EQ(ball.GetAlpha(), 1.0f);

    typeAlpha("0.6");
    m_pane->ShowObject(&box, false);  // as when the ball was removed
    EXPECT_FLOAT_EQ(ball.GetAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.3f);
    EXPECT_EQ(m_pane->BasicPage()->AlphaField()->Text(), "0.30");
    m_pane->BasicPage()->AlphaField()->Edit()->clearFocus();  // the dropped text is gone for good
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.3f);
}

TEST_F(PropertiesPane, PictureOfABox) {
    auto& box = Add<CBoxObject>("Box1");
    box.SetPosition(1.5f, 0.0f, -2.0f);
    box.SetColor({0.2f, 0.6f, 1.0f, 1.0f}, 0);
    m_pane->resize(290, 380);
    m_pane->ShowObject(&box, false);
    m_pane->show();
    QApplication::processEvents();  // the scroll area settles its bars
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    const QDir folder(LVX_SCREENSHOT_DIR);
    EXPECT_TRUE(m_pane->grab().save(folder.filePath("properties_box.png")));
    m_pane->Sheet()->setCurrentIndex(1);
    EXPECT_TRUE(m_pane->grab().save(folder.filePath("properties_box_advanced.png")));
}

TEST_F(PropertiesPane, ARenameThatRebuildsTheObjectListEndsWithTheRenamedObjectShown) {
    // The rebuild after a rename first selects the list's last object, a
    // camera here: the pane switches sheets while the "Basic" page is still
    // handling the name, and switches back when the renamed box is selected.
    Add<CCameraTrajectoryObject>("Main Camera");
    Add<CBoxObject>("Box1");
    CObjectListPane list(m_document);
    QObject::connect(&list, &CObjectListPane::SelectionChanged,
                     [&](bool commit) { m_pane->ShowObject(list.GetSelectedObject(), commit); });
    list.Rebuild(true, false);
    list.SelectByName("Box1");
    ASSERT_EQ(m_pane->StateName(), "base object");

    proptest::TypeInto(m_pane->BasicPage()->NameEdit(), "Crate");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_pane->StateName(), "base object");
    ASSERT_NE(m_pane->Object(), nullptr);
    EXPECT_EQ(m_pane->Object()->GetObjName(), "Crate");
    EXPECT_EQ(m_pane->BasicPage()->NameEdit()->text(), "Crate");
}
