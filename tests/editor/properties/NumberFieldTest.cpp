// The number field of the property pages: "." is its decimal separator
// whatever the locale, a typed value is committed once, arrows step from
// the exact value and start a run only when the last run was not theirs,
// and a value outside the range is reported and still committed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "common/QtTestApplication.h"
#include "controls/CNumberField.h"
#include "dialogs/CModalAnswers.h"

using testing::ElementsAre;

namespace {

class NumberField : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    static void Type(CNumberField& field, const QString& text) {
        field.Edit()->clear();
        QTest::keyClicks(field.Edit(), text);
    }
    static void Enter(CNumberField& field) { QTest::keyClick(field.Edit(), Qt::Key_Return); }
    static void Focus(CNumberField& field, QEvent::Type type) {
        QFocusEvent event(type, Qt::OtherFocusReason);
        QApplication::sendEvent(field.Edit(), &event);
    }
};

// Restores the default locale when a test changed it.
class CDefaultLocale {
public:
    ~CDefaultLocale() { QLocale::setDefault(m_Saved); }

private:
    QLocale m_Saved;
};

}  // namespace

TEST_F(NumberField, TakesAPointAndRefusesACommaOnAGermanDesktop) {
    CDefaultLocale restore;
    QLocale::setDefault(QLocale(QLocale::German));
    CNumberField field;
    QSignalSpy committed(&field, &CNumberField::ValueCommitted);
    Type(field, "0.5");
    Enter(field);
    ASSERT_EQ(committed.count(), 1);
    EXPECT_DOUBLE_EQ(committed[0][0].toDouble(), 0.5);
    Type(field, "0,5");
    EXPECT_EQ(field.Text(), "05");  // the comma never reached the field
    field.SetValue(-1.25);
    EXPECT_EQ(field.Text(), "-1.25");
}

TEST_F(NumberField, ParsesOnlyPlainSignedDecimals) {
    double value = 0.0;
    for (const auto& [text, expected] : {std::pair{"12", 12.0}, {"-3.5", -3.5}, {"+.5", 0.5}, {"7.", 7.0}}) {
        ASSERT_TRUE(CNumberField::ParseNumber(text, value)) << text;
        EXPECT_DOUBLE_EQ(value, expected) << text;
    }
    for (const char* text : {"", "-", ".", "1e5", "1,000", " 1", "0x10", "1.2.3", "--1", "1-"}) {
        EXPECT_FALSE(CNumberField::ParseNumber(text, value)) << text;
    }
    EXPECT_FALSE(CNumberField::ParseNumber(QString::fromUtf8("\u0663"), value));  // an Arabic-Indic three
}

TEST_F(NumberField, CommitsATypedValueOnceAndNothingUntyped) {
    CNumberField field;
    field.SetValue(2.0);
    QSignalSpy committed(&field, &CNumberField::ValueCommitted);
    emit field.Edit()->editingFinished();  // focus passed through without typing
    EXPECT_EQ(committed.count(), 0);
    Type(field, "3");
    Enter(field);
    emit field.Edit()->editingFinished();  // the focus leaves after Enter
    ASSERT_EQ(committed.count(), 1);
    EXPECT_DOUBLE_EQ(committed[0][0].toDouble(), 3.0);
    field.SetValue(4.0);
    emit field.Edit()->editingFinished();
    EXPECT_EQ(committed.count(), 1);
}

TEST_F(NumberField, ArrowsStepFromTheExactValueNotItsRoundedText) {
    CNumberField field;
    field.SetDecimals(1);
    field.SetValue(0.04);  // shows "0.0"
    QSignalSpy committed(&field, &CNumberField::ValueCommitted);
    field.UpButton()->click();
    field.DownButton()->click();
    field.DownButton()->click();
    ASSERT_EQ(committed.count(), 3);
    EXPECT_NEAR(committed[2][0].toDouble(), -0.06, 1e-12);
    EXPECT_EQ(field.Text(), "-0.1");
}

TEST_F(NumberField, ARunOfArrowClicksIsOneRunUntilSomethingElseStartsOne) {
    CNumberField alpha;
    CNumberField scale;
    QSignalSpy alphaRuns(&alpha, &CNumberField::RunStarted);
    QSignalSpy scaleRuns(&scale, &CNumberField::RunStarted);
    alpha.UpButton()->click();
    alpha.UpButton()->click();
    alpha.DownButton()->click();
    EXPECT_EQ(alphaRuns.count(), 1);
    scale.UpButton()->click();  // another field's run ends alpha's
    alpha.UpButton()->click();
    EXPECT_EQ(scaleRuns.count(), 1);
    EXPECT_EQ(alphaRuns.count(), 2);
    Focus(alpha, QEvent::FocusIn);  // typing is a run of its own
    EXPECT_EQ(alphaRuns.count(), 3);
    alpha.UpButton()->click();  // and so is the next arrow
    EXPECT_EQ(alphaRuns.count(), 4);
}

TEST_F(NumberField, AValueOutsideTheRangeIsReportedAndStillCommitted) {
    CNumberField field;
    field.SetRange(1.0, 8.0);
    QSignalSpy committed(&field, &CNumberField::ValueCommitted);
    CModalAnswers answers;
    Type(field, "20");
    Enter(field);
    EXPECT_THAT(answers.Messages(), ElementsAre("Please enter a number between 1.00 and 8.00."));
    ASSERT_EQ(committed.count(), 1);
    EXPECT_DOUBLE_EQ(committed[0][0].toDouble(), 20.0);
    Type(field, "8");
    Enter(field);
    field.ClearRange();
    Type(field, "0");
    Enter(field);
    EXPECT_EQ(answers.Messages().size(), 1);
    EXPECT_EQ(committed.count(), 3);
}
