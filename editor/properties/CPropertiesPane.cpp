#include "properties/CPropertiesPane.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/QtConvert.h"
#include "document/CEditorDocument.h"
#include "properties/CAdvancedPage.h"
#include "properties/CBasicPage.h"
#include "properties/CCameraPage.h"
#include "properties/CTypePageFactory.h"
#include "scene/CObjects.h"

CPropertiesPane::CPropertiesPane(CEditorDocument& document, QWidget* parent)
    : QWidget(parent), m_Document(document), m_pScroll(new QScrollArea(this)) {
    m_pScroll->setWidgetResizable(true);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pScroll);
    setMinimumSize(50, 50);
    connect(&m_Document, &CEditorDocument::ObjectEdited, this, &CPropertiesPane::OnObjectEdited);
}

int CPropertiesPane::StateFor(CObjects* object) {
    if (object == nullptr) {
        return kStateNone;
    }
    const CString& type = object->GetObjType();
    return type == "CTrajectoryObject" || type == "CCameraTrajectoryObject" ? kStateTrajectory : kStateBaseObject;
}

QString CPropertiesPane::StateName() const {
    switch (m_State) {
    case kStateTrajectory:
        return "trajectory";
    case kStateCamera:
        return "camera";
    case kStateBaseObject:
        return "base object";
    default:
        return "none";
    }
}

void CPropertiesPane::ShowObject(CObjects* object, bool commitPrevious) {
    if (commitPrevious && m_pObject != nullptr) {
        // Writing a typed name renames the object, and the object list then
        // has the frame show its selection: that newer call wins.
        const CObjects* before = m_pObject;
        CommitPages();
        if (m_pObject != before) {
            return;
        }
    } else {
        DropPendingEdits();
    }
    const int state = StateFor(object);
    const bool newSheet = state != m_State;
    if (newSheet) {
        BuildSheet(state);
    }
    const QString type = object != nullptr ? ToQString(object->GetObjType()) : QString();
    const bool otherObject = newSheet || object != m_pObject || type != m_ObjectType;
    m_pObject = object;
    m_ObjectType = type;
    // The pages that stay take the new object before the type page goes:
    // removing a tab shows another page, which reads its object at once.
    const bool replaceTypePage = state == kStateBaseObject && otherObject;
    for (CObjectPage* page : m_Pages) {
        if (!replaceTypePage || page != m_pTypePage) {
            page->SetObject(object, m_Document, false);
        }
    }
    if (replaceTypePage) {
        ReplaceTypePage(object);
    }
}

void CPropertiesPane::BuildSheet(int state) {
    m_Pages.clear();
    m_pBasic = nullptr;
    m_pAdvanced = nullptr;
    m_pTypePage = nullptr;
    m_pSheet = nullptr;
    Retire(m_pScroll->takeWidget());
    m_State = state;
    if (state == kStateNone) {
        return;
    }
    auto* sheet = new QTabWidget();
    if (state == kStateTrajectory) {
        auto* camera = new CCameraPage(sheet);
        sheet->addTab(camera, "Basic");
        m_pTypePage = camera;
        m_Pages = {camera};
    } else {
        m_pBasic = new CBasicPage(sheet);
        m_pBasic->SetAngleUnit(m_AngleUnit);
        m_pAdvanced = new CAdvancedPage(sheet);
        sheet->addTab(m_pBasic, "Basic");
        sheet->addTab(m_pAdvanced, "Advanced");
        m_Pages = {m_pBasic, m_pAdvanced};
    }
    m_pSheet = sheet;
    m_pScroll->setWidget(sheet);
}

void CPropertiesPane::ReplaceTypePage(CObjects* object) {
    const int current = m_pSheet->currentIndex();
    if (m_pTypePage != nullptr) {
        m_Pages.erase(std::remove(m_Pages.begin(), m_Pages.end(), m_pTypePage), m_Pages.end());
        m_pSheet->removeTab(m_pSheet->indexOf(m_pTypePage));
        Retire(m_pTypePage);
        m_pTypePage = nullptr;
    }
    if (object != nullptr) {
        m_pTypePage = CTypePageFactory::Create(m_ObjectType, m_pSheet);
    }
    if (m_pTypePage != nullptr) {
        m_pTypePage->SetObject(object, m_Document, false);
        m_pSheet->addTab(m_pTypePage, m_pTypePage->windowTitle());
        m_Pages.push_back(m_pTypePage);
    }
    if (current >= 0 && current < m_pSheet->count()) {
        m_pSheet->setCurrentIndex(current);
    }
}

void CPropertiesPane::Retire(QWidget* widget) {
    if (widget == nullptr) {
        return;
    }
    // A page may be replaced from inside its own handler (a rename rebuilds
    // the object list, which shows its selection here): it goes once that
    // handler has returned. Until then it is a hidden child of the pane.
    widget->hide();
    widget->setParent(this);
    widget->deleteLater();
}

void CPropertiesPane::SetAngleUnit(int unit) {
    m_AngleUnit = unit;
    if (m_pBasic != nullptr) {
        m_pBasic->SetAngleUnit(unit);
    }
}

void CPropertiesPane::RefreshPages() {
    for (CObjectPage* page : m_Pages) {
        page->Refresh();
    }
}

void CPropertiesPane::CommitPages() {
    // Copied: a commit may end in this pane showing another object.
    const std::vector<CObjectPage*> pages = m_Pages;
    for (CObjectPage* page : pages) {
        if (std::find(m_Pages.begin(), m_Pages.end(), page) != m_Pages.end()) {
            page->Commit();
        }
    }
}

void CPropertiesPane::DropPendingEdits() {
    if (m_pSheet == nullptr) {
        return;
    }
    // Fields commit only what was typed since they last showed a value.
    for (QLineEdit* edit : m_pSheet->findChildren<QLineEdit*>()) {
        edit->setModified(false);
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && m_pSheet->isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

void CPropertiesPane::OnObjectEdited(CObjects* object) {
    if (object != nullptr && object == m_pObject) {
        RefreshPages();
    }
}
