#pragma once
// The "Object List" pane: every object of the scene in a tree grouped by
// kind, with "Add..." (the creation dialog) and "Remove..." below it. The
// tree's selection is the editor's selected object: each change goes to the
// engine (CScene::SetSelected, "" for a category) and, once the tree has
// been built, to the frame (SelectionChanged).
//
// The pane follows the document: when its objects change it rebuilds and
// selects the object the edit names; when the scene is replaced it starts
// over. Its own edits go through the undo stack.

#include <QString>
#include <QWidget>

class CEditorDocument;
class CObjectTreeModel;
class CObjects;
class QPushButton;
class QTreeView;

class CObjectListPane : public QWidget {
    Q_OBJECT

public:
    explicit CObjectListPane(CEditorDocument& document, QWidget* parent = nullptr);

    // Rebuilds the tree from the scene, which leaves the scene's last
    // object selected; then, if notify, emits SelectionChanged(commitPrevious).
    void Rebuild(bool notify, bool commitPrevious);
    // Selects the object item of that name (nothing happens for a name the
    // tree does not show).
    void SelectByName(const QString& name);
    // The object of the selected item; null when nothing or a category is
    // selected.
    CObjects* GetSelectedObject() const;

    QTreeView* Tree() const { return m_pTree; }
    CObjectTreeModel& Model() const { return *m_pModel; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* RemoveButton() const { return m_pRemove; }

public slots:
    // "Add...": the creation dialog, then the new object.
    void AddObject();
    // "Remove...": removes the selected object, without a question.
    void RemoveSelectedObject();

signals:
    // The selected object changed; commitPrevious: the property pages may
    // write their edits to the object shown before (false when it is gone).
    void SelectionChanged(bool commitPrevious);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnCurrentChanged();
    void OnObjectsChanged(const QString& selectName);
    void OnSceneReplaced();
    void Select(const QModelIndex& index);
    void UpdateRemoveButton();
    bool CanRemoveSelection() const;
    QString SelectedName() const;

    CEditorDocument& m_Document;
    CObjectTreeModel* m_pModel;
    QTreeView* m_pTree;
    QPushButton* m_pAdd;
    QPushButton* m_pRemove;
    // Set once a rebuild has finished: selection changes made while the tree
    // is being filled are not the user's and are not passed on.
    bool m_bForwardSelection = false;
};
