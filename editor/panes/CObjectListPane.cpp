#include "panes/CObjectListPane.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <vector>

#include "controls/QtConvert.h"
#include "dialogs/CCreateObjectDialog.h"
#include "dialogs/CObjectCreator.h"
#include "document/CEditorDocument.h"
#include "document/CRemoveObjectCommand.h"
#include "panes/CObjectPlacement.h"
#include "panes/CObjectTreeModel.h"
#include "scene/CObjects.h"

namespace {

constexpr int kButtonRow = 40;  // the strip below the tree
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 30;

}  // namespace

CObjectListPane::CObjectListPane(CEditorDocument& document, QWidget* parent)
    : QWidget(parent),
      m_Document(document),
      m_pModel(new CObjectTreeModel(this)),
      m_pTree(new QTreeView(this)),
      m_pAdd(new QPushButton("Add...", this)),
      m_pRemove(new QPushButton("Remove...", this)) {
    m_pTree->setModel(m_pModel);
    m_pTree->setHeaderHidden(true);
    m_pTree->setUniformRowHeights(true);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTree->setIconSize(QSize(16, 16));
    m_pRemove->setEnabled(false);
    setMinimumSize(50, 50);

    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this, &CObjectListPane::OnCurrentChanged);
    connect(m_pAdd, &QPushButton::clicked, this, &CObjectListPane::AddObject);
    connect(m_pRemove, &QPushButton::clicked, this, &CObjectListPane::RemoveSelectedObject);
    connect(&m_Document, &CEditorDocument::ObjectsChanged, this, &CObjectListPane::OnObjectsChanged);
    connect(&m_Document, &CEditorDocument::SceneReplaced, this, &CObjectListPane::OnSceneReplaced);
}

void CObjectListPane::Rebuild(bool notify, bool commitPrevious) {
    // Names and classes are copied in one go: the render thread reorders the
    // list between frames.
    std::vector<CObjectTreeModel::SEntry> entries;
    {
        CScene& scene = m_Document.Scene();
        CSceneLock lock(scene);
        const int count = scene.GetObjectNumber();
        entries.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const CObjects* object = scene.GetObjectA(i);
            entries.push_back({ToQString(object->GetObjName()), ToQString(object->GetObjType())});
        }
    }

    m_bForwardSelection = false;
    m_pModel->Reset(entries);
    for (int category = 0; category < CObjectPlacement::CategoryNames().size(); ++category) {
        const QModelIndex index = m_pModel->CategoryIndex(category);
        m_pTree->setExpanded(index, m_pModel->rowCount(index) > 0);
    }
    // As if each object had been inserted and selected in turn: the last one
    // stays selected.
    Select(m_pModel->LastAppended());
    if (!m_pTree->currentIndex().isValid()) {
        OnCurrentChanged();  // nothing to select: the engine's selection goes too
    }
    m_bForwardSelection = true;
    if (notify) {
        emit SelectionChanged(commitPrevious);
    }
}

void CObjectListPane::SelectByName(const QString& name) {
    const QModelIndex index = m_pModel->Find(name);
    if (index.isValid()) {
        Select(index);
    }
}

CObjects* CObjectListPane::GetSelectedObject() const {
    const QString name = SelectedName();
    return name.isEmpty() ? nullptr : m_Document.Scene().GetObjectA(ToCString(name));
}

QString CObjectListPane::SelectedName() const {
    return m_pModel->ObjectName(m_pTree->currentIndex());
}

void CObjectListPane::Select(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    m_pTree->setExpanded(index.parent(), true);
    m_pTree->setCurrentIndex(index);
    m_pTree->scrollTo(index);
}

void CObjectListPane::OnCurrentChanged() {
    if (m_bForwardSelection) {
        emit SelectionChanged(true);
    }
    UpdateRemoveButton();
    m_Document.Scene().SetSelected(ToCString(SelectedName()));
}

void CObjectListPane::OnObjectsChanged(const QString& selectName) {
    // The pages may write back to the object they show only while it is
    // still in the scene.
    const bool previousStillThere =
        SelectedName().isEmpty() || m_Document.Scene().IsObjectExisting(ToCString(SelectedName()));
    Rebuild(true, previousStillThere);
    if (!selectName.isEmpty()) {
        SelectByName(selectName);
    }
}

void CObjectListPane::OnSceneReplaced() {
    Rebuild(true, false);
}

bool CObjectListPane::CanRemoveSelection() const {
    const QModelIndex current = m_pTree->currentIndex();
    if (SelectedName().isEmpty()) {
        return false;
    }
    if (m_pModel->CategoryOf(current) == CObjectPlacement::kCameras) {
        // The scene keeps at least one camera.
        return m_pModel->rowCount(m_pModel->CategoryIndex(CObjectPlacement::kCameras)) >= 2;
    }
    return m_Document.Scene().GetObjectNumber() > 0;
}

void CObjectListPane::UpdateRemoveButton() {
    m_pRemove->setEnabled(CanRemoveSelection());
}

void CObjectListPane::AddObject() {
    CCreateObjectDialog dialog(m_Document.Scene(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The creation command tells the document, which has the tree rebuilt
    // with the new object selected.
    CObjectCreator(m_Document, this).CreateObject(dialog.SelectedType(), dialog.ObjectName());
}

void CObjectListPane::RemoveSelectedObject() {
    if (!CanRemoveSelection()) {
        return;
    }
    m_Document.UndoStack().push(new CRemoveObjectCommand(m_Document, SelectedName()));
}

void CObjectListPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int bottom = height();
    m_pTree->setGeometry(0, 0, width(), std::max(0, bottom - kButtonRow));
    m_pAdd->setGeometry(5, bottom - 35, kButtonWidth, kButtonHeight);
    m_pRemove->setGeometry(95, bottom - 35, kButtonWidth, kButtonHeight);
}
