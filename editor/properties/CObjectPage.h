#pragma once
// The common part of the property pages: the object shown, the document
// whose undo stack takes every change, the run that merges a burst of edits
// of one field, and a Refresh whenever the page is shown (a tab chosen).
//
// A page edits only through the document (EditProperty, RenameObject), so
// every change is undoable and made under the scene lock.

#include <QWidget>

#include "properties/IObjectPage.h"

class CNumberField;

class CObjectPage : public QWidget, public IObjectPage {
    Q_OBJECT

public:
    explicit CObjectPage(QWidget* parent = nullptr);

    void SetObject(CObjects* object, CEditorDocument& document, bool commitPrevious) override;
    // Commits the field with the focus, if it belongs to this page.
    void Commit() override;

    CObjects* Object() const { return m_pObject; }

protected:
    CEditorDocument& Document() const { return *m_pDocument; }
    bool HasObject() const { return m_pObject != nullptr && m_pDocument != nullptr; }
    // The run the next edit belongs to.
    int EditRun() const { return m_Run; }
    void StartRun();
    // Starts a new run whenever the field starts one.
    void TrackRuns(CNumberField* field);

    void showEvent(QShowEvent* event) override;

private:
    CObjects* m_pObject = nullptr;
    CEditorDocument* m_pDocument = nullptr;
    int m_Run = 0;
};
