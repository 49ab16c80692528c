#pragma once
// The "Properties" pane: the pages of the object selected in the object
// list, in a tab sheet that depends on the kind of object:
//
//   none                      no sheet
//   trajectory (1)            "Basic" (the camera page), for cameras and
//                             trajectories alike
//   base object (3)           "Basic", "Advanced" and the page of its type
//                             ("Geometry", "Text", "Animation"; none for the
//                             other types)
//
// (State 2 is not used: cameras show as trajectories.) The sheet is made
// again only when the state changes; another base object replaces the type
// page and keeps the chosen tab when it still exists.
//
// The pane follows the document's edits of the object it shows (undo and
// redo included) by refreshing its pages. When the set of objects changes or
// the scene is replaced the shown object may be gone: the frame then calls
// ShowObject again with the object list's selection and commitPrevious
// false, and the pane never touches the old object in between. The pane
// sits in a scroll area so that a small dock still reaches every field.
//
// User-interface thread only.

#include <QString>
#include <QWidget>
#include <vector>

class CBasicPage;
class CAdvancedPage;
class CEditorDocument;
class CObjectPage;
class CObjects;
class QScrollArea;
class QTabWidget;

class CPropertiesPane : public QWidget {
    Q_OBJECT

public:
    static constexpr int kStateNone = -1;
    static constexpr int kStateTrajectory = 1;
    static constexpr int kStateCamera = 2;
    static constexpr int kStateBaseObject = 3;

    // Angles show in degrees until SetAngleUnit says otherwise.
    explicit CPropertiesPane(CEditorDocument& document, QWidget* parent = nullptr);

    // Shows `object` (null: nothing). With commitPrevious, a value still
    // being typed for the object shown so far is written to it first;
    // without, it is dropped (that object may be gone).
    void ShowObject(CObjects* object, bool commitPrevious);
    CObjects* Object() const { return m_pObject; }

    // The "angles" setting (0 degrees, 1 grads, 2 radians): angles show in
    // that unit from now on.
    void SetAngleUnit(int unit);
    int AngleUnit() const { return m_AngleUnit; }

    // Every page shows the object's values again (its current keyframe may
    // have changed).
    void RefreshPages();
    // The field being typed in writes its value to the object now.
    void CommitPages();

    int State() const { return m_State; }
    // "none", "trajectory", "camera" or "base object".
    QString StateName() const;

    // The sheet (null in state none) and its pages.
    QTabWidget* Sheet() const { return m_pSheet; }
    CBasicPage* BasicPage() const { return m_pBasic; }
    CAdvancedPage* AdvancedPage() const { return m_pAdvanced; }
    // The type page of a base object, the camera page of a trajectory;
    // null when there is none.
    CObjectPage* TypePage() const { return m_pTypePage; }
    const std::vector<CObjectPage*>& Pages() const { return m_Pages; }

private:
    static int StateFor(CObjects* object);
    void BuildSheet(int state);
    void ReplaceTypePage(CObjects* object);
    void DropPendingEdits();
    void Retire(QWidget* widget);
    void OnObjectEdited(CObjects* object);

    CEditorDocument& m_Document;
    int m_AngleUnit = 0;
    int m_State = kStateNone;
    CObjects* m_pObject = nullptr;
    QString m_ObjectType;  // of m_pObject, read while it was there
    QScrollArea* m_pScroll;
    QTabWidget* m_pSheet = nullptr;
    CBasicPage* m_pBasic = nullptr;
    CAdvancedPage* m_pAdvanced = nullptr;
    CObjectPage* m_pTypePage = nullptr;
    std::vector<CObjectPage*> m_Pages;
};
