#include "properties/CObjectPage.h"

#include <QApplication>
#include <QLineEdit>

#include "controls/CNumberField.h"
#include "document/CEditorDocument.h"

CObjectPage::CObjectPage(QWidget* parent) : QWidget(parent) {}

void CObjectPage::SetObject(CObjects* object, CEditorDocument& document, bool commitPrevious) {
    if (commitPrevious && HasObject()) {
        Commit();
    }
    m_pObject = object;
    m_pDocument = &document;
    StartRun();
    Refresh();
}

void CObjectPage::Commit() {
    // A line edit commits when it loses the focus; taking the focus away
    // here makes it do so now, while the object is still the one it edits.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

void CObjectPage::StartRun() {
    if (m_pDocument != nullptr) {
        m_Run = m_pDocument->NewEditRun();
    }
}

void CObjectPage::TrackRuns(CNumberField* field) {
    connect(field, &CNumberField::RunStarted, this, &CObjectPage::StartRun);
}

void CObjectPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (HasObject()) {
        Refresh();
    }
}
