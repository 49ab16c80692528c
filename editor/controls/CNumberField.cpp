#include "controls/CNumberField.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace {

const char* const kMessageTitle = "Brennox Skyloom";
constexpr int kArrowWidth = 15;

// The field whose arrows started the latest run of edits, if any. One for
// all fields: an arrow run of one field ends when another field starts a
// run, so that two fields never share a run.
const CNumberField* g_pArrowRunField = nullptr;

// Whether text is the beginning of a number the field takes: an optional
// sign, digits, at most one "." and more digits. Digits are ASCII only, so
// the desktop's locale plays no part.
bool IsNumberPrefix(const QString& text, bool& complete) {
    int digits = 0;
    bool point = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c == '-' || c == '+') && i == 0) {
            continue;
        }
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') {
            return false;
        }
        ++digits;
    }
    complete = digits > 0;
    return true;
}

// Accepts what ParseNumber reads; lets the user type its beginning ("-",
// ".") and refuses every other character, a "," included.
class CDecimalValidator : public QValidator {
public:
    explicit CDecimalValidator(QObject* parent) : QValidator(parent) {}

    State validate(QString& input, int& /*pos*/) const override {
        bool complete = false;
        if (!IsNumberPrefix(input, complete)) {
            return Invalid;
        }
        return complete ? Acceptable : Intermediate;
    }
};

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(kArrowWidth);
    // The two arrows share the height of the line edit between them.
    button->setMinimumHeight(0);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setIconSize(QSize(7, 5));
    return button;
}

}  // namespace

CNumberField::CNumberField(QWidget* parent)
    : QWidget(parent),
      m_Edit(new QLineEdit(this)),
      m_Up(MakeArrow(Qt::UpArrow, this)),
      m_Down(MakeArrow(Qt::DownArrow, this)) {
    m_Edit->setValidator(new CDecimalValidator(m_Edit));
    // Wide enough for a coordinate such as "-10.00" with the frame's
    // margins: a clipped sign would show another number.
    m_Edit->setMinimumWidth(m_Edit->fontMetrics().horizontalAdvance(QStringLiteral("-00.00")) + 6);
    m_Edit->installEventFilter(this);
    setFocusProxy(m_Edit);

    auto* arrows = new QVBoxLayout();
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_Up);
    arrows->addWidget(m_Down);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_Edit, 1);
    layout->addLayout(arrows);

    connect(m_Edit, &QLineEdit::editingFinished, this, &CNumberField::OnEditingFinished);
    connect(m_Up, &QToolButton::clicked, this, [this] { StepBy(1.0); });
    connect(m_Down, &QToolButton::clicked, this, [this] { StepBy(-1.0); });
    SetValue(0.0);
}

CNumberField::~CNumberField() {
    if (g_pArrowRunField == this) {
        g_pArrowRunField = nullptr;
    }
}

void CNumberField::SetStep(double step) {
    m_Step = step;
}

void CNumberField::SetDecimals(int decimals) {
    m_Decimals = std::max(0, decimals);
    SetValue(m_Value);
}

void CNumberField::SetRange(double minimum, double maximum) {
    m_HasRange = true;
    m_Minimum = minimum;
    m_Maximum = maximum;
}

void CNumberField::ClearRange() {
    m_HasRange = false;
}

void CNumberField::SetValue(double value) {
    m_Value = value;
    m_Edit->setText(FormatNumber(value, m_Decimals));  // also clears the modified flag
}

double CNumberField::Value() const {
    double value = 0.0;
    return ParseNumber(m_Edit->text(), value) ? value : 0.0;
}

QString CNumberField::Text() const {
    return m_Edit->text();
}

bool CNumberField::ParseNumber(const QString& text, double& value) {
    bool complete = false;
    if (!IsNumberPrefix(text, complete) || !complete) {
        return false;
    }
    // The C locale's reading of a string already checked to be plain.
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    if (ok) {
        value = parsed;
    }
    return ok;
}

QString CNumberField::FormatNumber(double value, int decimals) {
    QString text = QString::number(value, 'f', std::max(0, decimals));
    // A tiny negative value rounds to "-0.00", which reads as a sign error.
    if (text.startsWith('-') && text.toDouble() == 0.0) {
        text.remove(0, 1);
    }
    return text;
}

bool CNumberField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Edit) {
        if (event->type() == QEvent::FocusIn) {
            g_pArrowRunField = nullptr;
            emit RunStarted();
        } else if (event->type() == QEvent::FocusOut && !m_Edit->hasAcceptableInput()) {
            // A half-typed number ("-") is not committed; the value stays.
            SetValue(m_Value);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CNumberField::OnEditingFinished() {
    if (!m_Edit->isModified()) {
        return;
    }
    double value = 0.0;
    if (!ParseNumber(m_Edit->text(), value)) {
        SetValue(m_Value);
        return;
    }
    // Cleared before anything else: the message box below and the page's
    // refresh move the focus, which would finish the edit a second time.
    m_Edit->setModified(false);
    m_Value = value;
    if (m_HasRange && (value < m_Minimum || value > m_Maximum)) {
        WarnOutOfRange();
    }
    emit ValueCommitted(value);
}

void CNumberField::StepBy(double direction) {
    StartArrowRun();
    // Typed text counts as the value to step from; otherwise the exact
    // value, not its rounded text.
    double value = m_Value;
    if (m_Edit->isModified()) {
        ParseNumber(m_Edit->text(), value);
    }
    value += direction * m_Step;
    SetValue(value);
    emit ValueCommitted(value);
}

void CNumberField::StartArrowRun() {
    if (g_pArrowRunField != this) {
        g_pArrowRunField = this;
        emit RunStarted();
    }
}

void CNumberField::WarnOutOfRange() {
    const QString text = QStringLiteral("Please enter a number between %1 and %2.")
                             .arg(FormatNumber(m_Minimum, m_Decimals), FormatNumber(m_Maximum, m_Decimals));
    QMessageBox::warning(this, kMessageTitle, text);
}
