#pragma once
// Drives a property page's controls as the user does: typing into a number
// field and pressing Enter, clicking its arrows. Header only.

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "controls/CNumberField.h"

namespace proptest {

// Types `text` into the field (as after a click into it) and presses Enter.
inline void TypeInto(CNumberField* field, const QString& text) {
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(field->Edit(), &focusIn);
    field->Edit()->selectAll();
    QTest::keyClick(field->Edit(), Qt::Key_Backspace);
    QTest::keyClicks(field->Edit(), text);
    QTest::keyClick(field->Edit(), Qt::Key_Return);
}

inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

inline void ClickUp(CNumberField* field, int times = 1) {
    for (int i = 0; i < times; ++i) {
        field->UpButton()->click();
    }
}

inline void ClickDown(CNumberField* field, int times = 1) {
    for (int i = 0; i < times; ++i) {
        field->DownButton()->click();
    }
}

}  // namespace proptest
