#pragma once
// A number field with spin arrows, as every property page uses them: a
// line edit that takes a signed decimal number with "." as the decimal
// separator whatever the desktop's locale (a German desktop types "0.5" and
// gets 0.5), and up / down arrows that add or subtract one step.
//
// A typed value is committed when the field loses the focus or Enter is
// pressed; an arrow click commits at once. Each commit emits
// ValueCommitted with the new value; the page clamps it, writes it to the
// object and shows what the object took with SetValue.
//
// Edits of one "run" merge into one undo step: a run starts when the field
// gets the focus or when an arrow is pressed after something else was
// edited, and the field tells its page with RunStarted.
//
// A field with a range (SetRange) refuses a committed value outside it with
// the message "Please enter a number between %1 and %2." and then commits
// the value as it stands, as the form it imitates did.

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

class CNumberField : public QWidget {
    Q_OBJECT

public:
    explicit CNumberField(QWidget* parent = nullptr);
    ~CNumberField() override;

    // What an arrow click adds (up) or subtracts (down); 0.1 by default.
    void SetStep(double step);
    double Step() const { return m_Step; }
    // Digits shown after the point; 0 shows whole numbers. 2 by default.
    void SetDecimals(int decimals);
    // The range checked on commit; none by default.
    void SetRange(double minimum, double maximum);
    void ClearRange();

    // Shows a value without emitting anything.
    void SetValue(double value);
    // The value shown (0 when the text is not a number).
    double Value() const;
    // The text as shown ("0.50").
    QString Text() const;
    // Parses a number the way the field does: "." decimal separator, an
    // optional sign, no thousands separators; false when text is not one.
    static bool ParseNumber(const QString& text, double& value);
    // How the field writes a value with `decimals` digits ("." always).
    static QString FormatNumber(double value, int decimals);

    // Hidden rows of a page (the sphere's radius) still hold a value.
    QLineEdit* Edit() const { return m_Edit; }
    QToolButton* UpButton() const { return m_Up; }
    QToolButton* DownButton() const { return m_Down; }

signals:
    void ValueCommitted(double value);
    void RunStarted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnEditingFinished();
    void StepBy(double direction);
    // Tells the page that an arrow run of this field begins, unless the
    // last run was already one.
    void StartArrowRun();
    void WarnOutOfRange();

    QLineEdit* m_Edit;
    QToolButton* m_Up;
    QToolButton* m_Down;
    double m_Step = 0.1;
    int m_Decimals = 2;
    bool m_HasRange = false;
    double m_Minimum = 0.0;
    double m_Maximum = 0.0;
    // The value last shown or committed, exact (the text is rounded).
    double m_Value = 0.0;
};
