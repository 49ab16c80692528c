// The "Basic" page over a document: what it shows of an object (its
// current keyframe, angles in the chosen unit, the texture's file name),
// the limits it puts on what is typed or spun, the colour's byte round
// trip, renames, and that every edit is one undo step that undo takes back,
// a run of spin clicks included.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <functional>
#include <memory>
#include <numbers>

#include "CPageDriver.h"
#include "controls/CColorSwatch.h"
#include "dialogs/CModalAnswers.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"
#include "panes/EditorSceneFixture.h"
#include "properties/CAngleUnits.h"
#include "properties/CBasicPage.h"
#include "support/CTempFolder.h"

using proptest::ClickDown;
using proptest::ClickUp;
using proptest::TypeInto;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Everything of an object that the page edits.
struct SLook {
    std::string name;
    D3DXVECTOR3 position, rotation;
    float scale, alpha;
    TFillMode fillMode;
    std::array<float, 4> color;
    bool drawTexture;
    std::string texture;
    bool operator==(const SLook&) const = default;
};

SLook LookOf(CBaseObject& o) {
    const D3DCOLORVALUE c = o.GetDiffuseColor(0);
    const std::array<float, 4> color = {c.r, c.g, c.b, c.a};
    return {o.GetObjName(),  o.GetPosition(), o.GetRotation(),     o.GetScale(),   o.GetAlpha(),
            o.GetFillMode(), color,           o.GetTextureState(), o.GetTexture(0)};
}

void AcceptColorUnchanged(QWidget* dialog) {
    static_cast<QDialog*>(dialog)->accept();
}

class BasicPage : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_pBox = &Add<CBoxObject>("Box1");
        m_page = std::make_unique<CBasicPage>();
        m_page->SetObject(m_pBox, m_document, false);
    }

    CBoxObject& Box() { return *m_pBox; }
    int Steps() { return m_document.UndoStack().index(); }
    void Undo() {
        m_document.UndoStack().undo();
        m_page->Refresh();  // the pane does this on the document's signal
    }

    CBoxObject* m_pBox = nullptr;
    std::unique_ptr<CBasicPage> m_page;
};

}  // namespace

TEST_F(BasicPage, ShowsTheValuesOfTheCurrentKeyframe) {
    Box().SetPivot(1.0f, 0.0f, 0.0f);
    Box().SetPosition(2.0f, -3.0f, 4.5f);
    Box().SetScale(2.0f);
    Box().SetAlpha(0.5f);
    Box().SetFillMode(FM_WIREFRAME);
    Box().SetColor({1.0f, 0.5f, 0.0f, 1.0f}, 0);
    Box().SetTexture("C:\\media\\wood.bmp", 0);
    const int first = Box().GetCurrentKeyFrame();
    Box().SetCurrentKeyFrame(Box().AddKeyFrame(5.0f));
    Box().SetAlpha(0.25f);
    Box().SetCurrentKeyFrame(first);
    m_page->Refresh();

    EXPECT_EQ(m_page->NameEdit()->text(), "Box1");
    EXPECT_EQ(m_page->PositionField(0)->Text(), "3.00");  // pivot plus position key
    EXPECT_EQ(m_page->PositionField(1)->Text(), "-3.00");
    EXPECT_EQ(m_page->PositionField(2)->Text(), "4.50");
    EXPECT_EQ(m_page->ScaleField()->Value(), 2.0);
    EXPECT_EQ(m_page->FillModeBox()->currentText(), "Wireframe");
    EXPECT_EQ(m_page->AlphaField()->Text(), "0.50");
    EXPECT_EQ(m_page->Swatch()->Color(), QColor(255, 128, 0));
    EXPECT_TRUE(m_page->TextureCheck()->isChecked());
    EXPECT_EQ(m_page->TextureEdit()->text(), "wood.bmp");
    EXPECT_TRUE(m_page->TextureButton()->isEnabled());

    Box().SetCurrentKeyFrame(Box().GetKeyFrameID(1));
    m_page->Refresh();
    EXPECT_EQ(m_page->AlphaField()->Text(), "0.25");
}

TEST_F(BasicPage, ATypedPositionShowsAgainAsTypedWhateverThePivot) {
    Box().SetPivot(1.0f, 0.0f, 0.0f);
    m_page->Refresh();
    TypeInto(m_page->PositionField(0), "5");
    EXPECT_EQ(Box().GetPositionKey().x, 4.0f);
    EXPECT_EQ(m_page->PositionField(0)->Text(), "5.00");
}

TEST_F(BasicPage, AnglesShowInTheChosenUnitAndAreStoredInRadians) {
    Box().SetRotation(0.0f, kPi / 2.0f, 0.0f);
    m_page->Refresh();
    EXPECT_EQ(m_page->AngleField(1)->Text(), "90.00");
    EXPECT_EQ(m_page->AngleField(1)->Step(), 1.0);
    m_page->SetAngleUnit(CAngleUnits::kGrads);
    EXPECT_EQ(m_page->AngleField(1)->Text(), "100.00");
    m_page->SetAngleUnit(CAngleUnits::kRadians);
    EXPECT_EQ(m_page->AngleField(1)->Text(), "1.571");
    EXPECT_EQ(m_page->AngleField(1)->Step(), 0.1);

    m_page->SetAngleUnit(CAngleUnits::kDegrees);
    TypeInto(m_page->AngleField(1), "180");
    EXPECT_FLOAT_EQ(Box().GetRotation().y, kPi);
    m_page->SetAngleUnit(CAngleUnits::kGrads);
    TypeInto(m_page->AngleField(0), "-200");
    EXPECT_FLOAT_EQ(Box().GetRotation().x, -kPi);
    ClickUp(m_page->AngleField(2));  // one grad
    EXPECT_FLOAT_EQ(Box().GetRotation().z, kPi / 200.0f);
    EXPECT_FLOAT_EQ(Box().GetRotation().y, kPi);  // the other angles stay exact
}

TEST_F(BasicPage, AScaleOfZeroOrLessBecomesTheSmallestScale) {
    TypeInto(m_page->ScaleField(), "0");
    EXPECT_FLOAT_EQ(Box().GetScale(), 0.00001f);
    EXPECT_EQ(m_page->ScaleField()->Text(), "0.00001");
    TypeInto(m_page->ScaleField(), "3");
    TypeInto(m_page->ScaleField(), "-5");
    EXPECT_FLOAT_EQ(Box().GetScale(), 0.00001f);
}

TEST_F(BasicPage, AlphaStaysWithinZeroAndOneWhateverIsSpunOrTyped) {
    Box().SetAlpha(0.95f);
    m_page->Refresh();
    ClickUp(m_page->AlphaField(), 3);
    EXPECT_FLOAT_EQ(Box().GetAlpha(), 1.0f);
    EXPECT_EQ(m_page->AlphaField()->Text(), "1.00");
    ClickDown(m_page->AlphaField(), 12);
    EXPECT_FLOAT_EQ(Box().GetAlpha(), 0.0f);
    EXPECT_EQ(m_page->AlphaField()->Text(), "0.00");
    TypeInto(m_page->AlphaField(), "3");
    EXPECT_FLOAT_EQ(Box().GetAlpha(), 1.0f);
}

TEST_F(BasicPage, AWhiteObjectConfirmedUnchangedTakes255Over256AndKeepsItsAlpha) {
    Box().SetColor({1.0f, 1.0f, 1.0f, 1.0f}, 0);
    Box().SetAlpha(0.5f);
    m_page->Refresh();
    EXPECT_EQ(m_page->Swatch()->Color(), QColor(Qt::white));

    CModalAnswers answers;
    QColor offered;
    answers.OnDialog([&offered](QWidget* dialog) {
        offered = static_cast<QColorDialog*>(dialog)->currentColor();
        AcceptColorUnchanged(dialog);
    });
    QTest::mouseClick(m_page->Swatch(), Qt::LeftButton);
    EXPECT_EQ(offered, QColor(Qt::white));
    const D3DCOLORVALUE color = Box().GetDiffuseColor(0);
    EXPECT_EQ(color.r, 0.99609375f);
    EXPECT_EQ(color.g, 0.99609375f);
    EXPECT_EQ(color.b, 0.99609375f);
    EXPECT_EQ(color.a, 0.5f);
    EXPECT_EQ(Steps(), 1);

    m_page->ChangeColorButton()->click();  // cancelled: nothing changes
    EXPECT_EQ(answers.DialogsAnswered(), 2);
    EXPECT_EQ(Box().GetDiffuseColor(0).r, 0.99609375f);
    EXPECT_EQ(Steps(), 1);
}

TEST_F(BasicPage, TheTextureDialogStartsAtTheKeptFileAndLoadsTheChoice) {
    CTempFolder folder;
    const std::string old = folder.Write("old.bmp", std::string("x"));
    const std::string wood = folder.Write("wood.png", std::string("x"));
    Box().SetTexture(old.c_str(), 0);
    m_page->Refresh();
    EXPECT_EQ(m_page->TextureEdit()->text(), "old.bmp");

    CModalAnswers answers;
    QStringList offered;
    answers.OnDialog([&](QWidget* dialog) {
        auto* files = static_cast<QFileDialog*>(dialog);
        offered = files->selectedFiles();
        files->selectFile(QString::fromStdString(wood));
        static_cast<QDialog*>(files)->accept();  // public in QDialog
    });
    m_page->TextureButton()->click();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0], QString::fromStdString(old));
    EXPECT_EQ(Box().GetTexture(0), wood);
    EXPECT_EQ(m_page->TextureEdit()->text(), "wood.png");
    EXPECT_EQ(Steps(), 1);

    m_page->TextureButton()->click();  // cancelled
    EXPECT_EQ(Box().GetTexture(0), wood);
    Undo();
    EXPECT_EQ(Box().GetTexture(0), old);
    EXPECT_TRUE(Box().GetTextureState());
}

TEST_F(BasicPage, TheTextureCheckSwitchesDrawingExceptForTextWhoseTextureIsItsFont) {
    EXPECT_FALSE(m_page->TextureEdit()->isEnabled());
    m_page->TextureCheck()->click();
    EXPECT_TRUE(Box().GetTextureState());
    EXPECT_TRUE(m_page->TextureEdit()->isEnabled());
    EXPECT_TRUE(m_page->TextureButton()->isEnabled());

    auto* font = new CBmpFonts();  // no Init: its font file is not needed here
    font->SetObjName("Title");
    Scene().AddObject(*font);
    font->DrawTexture(true);
    m_page->SetObject(font, m_document, false);
    EXPECT_FALSE(m_page->TextureCheck()->isEnabled());
    EXPECT_FALSE(m_page->TextureEdit()->isEnabled());
    EXPECT_FALSE(m_page->TextureButton()->isEnabled());
}

TEST_F(BasicPage, ARenameToATakenOrEmptyNameLeavesEveryNameAsItWas) {
    Add<CSphereObject>("Ball");
    TypeInto(m_page->NameEdit(), "Ball");
    EXPECT_EQ(Box().GetObjName(), "Box1");
    EXPECT_NE(Scene().GetObjectA("Ball"), nullptr);
    EXPECT_EQ(m_page->NameEdit()->text(), "Box1");
    TypeInto(m_page->NameEdit(), "");
    EXPECT_EQ(m_page->NameEdit()->text(), "Box1");
    EXPECT_EQ(Steps(), 0);

    TypeInto(m_page->NameEdit(), "Crate");
    EXPECT_EQ(Box().GetObjName(), "Crate");
    Undo();
    EXPECT_EQ(Box().GetObjName(), "Box1");
    EXPECT_EQ(m_page->NameEdit()->text(), "Box1");
}

TEST_F(BasicPage, EveryEditIsOneUndoStepThatUndoTakesBack) {
    Box().SetColor({1.0f, 1.0f, 1.0f, 1.0f}, 0);  // confirmed unchanged, white becomes 255/256
    m_page->Refresh();
    CModalAnswers answers;
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"position", [&] { TypeInto(m_page->PositionField(0), "4"); }},
        {"angle", [&] { TypeInto(m_page->AngleField(2), "45"); }},
        {"scale", [&] { ClickUp(m_page->ScaleField()); }},
        {"fill mode", [&] { m_page->FillModeBox()->setCurrentIndex(0); }},
        {"alpha", [&] { ClickDown(m_page->AlphaField(), 2); }},
        {"colour",
         [&] {
             answers.OnDialog(AcceptColorUnchanged);
             m_page->ChangeColorButton()->click();
         }},
        {"texture", [&] { m_page->TextureCheck()->click(); }},
        {"name", [&] { TypeInto(m_page->NameEdit(), "Crate"); }},
    };
    for (const auto& [what, edit] : edits) {
        const SLook before = LookOf(Box());
        const int steps = Steps();
        edit();
        EXPECT_EQ(Steps(), steps + 1) << what;
        EXPECT_NE(LookOf(Box()), before) << what;
        Undo();
        EXPECT_EQ(LookOf(Box()), before) << what;
    }
}

TEST_F(BasicPage, ARunOfSpinClicksIsOneUndoStepAndAnotherFieldStartsANewOne) {
    Box().SetAlpha(0.2f);
    m_page->Refresh();
    ClickUp(m_page->AlphaField(), 3);
    EXPECT_EQ(Steps(), 1);
    ClickUp(m_page->ScaleField());
    ClickUp(m_page->AlphaField());
    EXPECT_EQ(Steps(), 3);
    EXPECT_NEAR(Box().GetAlpha(), 0.6f, 1e-6);
    Undo();
    EXPECT_NEAR(Box().GetAlpha(), 0.5f, 1e-6);
    Undo();
    EXPECT_FLOAT_EQ(Box().GetScale(), 1.0f);
    Undo();
    EXPECT_FLOAT_EQ(Box().GetAlpha(), 0.2f);
}
