#pragma once
// The scene being edited: the one CScene of the editor, the file it belongs
// to and the undo stack of every edit made to it.
//
// Widgets never change the scene themselves. An edit is a QUndoCommand of
// this folder pushed on UndoStack(); its redo and undo bracket the change
// with a CSceneLock (the render thread is drawing the scene) and then tell
// the document what changed, which tells the panes through its signals.
// The stack's clean state is the saved state of the file.
//
// User-interface thread only.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <concepts>
#include <functional>
#include <utility>

#include "controls/QtConvert.h"
#include "document/CObjectEditCommand.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"

class CObjects;

// Holds the scene lock for one edit (the render thread waits meanwhile).
class CSceneLock {
public:
    explicit CSceneLock(CScene& scene) : m_Scene(scene) { m_Scene.Lock(); }
    ~CSceneLock() { m_Scene.Unlock(); }
    CSceneLock(const CSceneLock&) = delete;
    CSceneLock& operator=(const CSceneLock&) = delete;

private:
    CScene& m_Scene;
};

class CEditorDocument : public QObject {
    Q_OBJECT

public:
    explicit CEditorDocument(QObject* parent = nullptr);
    ~CEditorDocument() override;

    CScene& Scene() { return m_Scene; }
    QUndoStack& UndoStack() { return m_UndoStack; }

    // The file the scene was last opened from or saved to; empty for a new
    // scene that was never saved.
    const QString& Path() const { return m_Path; }
    // False while the scene has changes that are not saved.
    bool IsClean() const { return m_UndoStack.isClean(); }

    // --- document commands (not undoable: they clear the undo stack) ----
    // Empties the scene and adds "Main Camera" at (0, 1, -10) with weight 1
    // (only while the engine has a device). The path stays as it was.
    void NewScene();
    // Loads a scene file (package: every file inside it). On failure the
    // scene is left as it was and error says why. The engine's messages go
    // into error rather than onto the screen; a file that loads may still
    // leave some there (a texture that was not found).
    bool Open(const QString& path, bool package, QString* error = nullptr);
    // Loads a recovery copy of a scene that belonged to originalPath (empty:
    // never saved): the path becomes originalPath and the scene counts as
    // changed, since its content is not what that file holds.
    bool RestoreCopy(const QString& copyPath, const QString& originalPath, QString* error = nullptr);
    // Saves the whole scene atomically; on success the path becomes `path`
    // and the undo stack is marked clean.
    bool Save(const QString& path, bool package, QString* error = nullptr);
    // Writes the scene to another file without touching the path or the
    // clean state (the recovery copy).
    bool SaveCopy(const QString& path, QString* error = nullptr);
    // "Main Camera" at (0, 1, -10), weight 1; null while the engine has no
    // device.
    CObjects* AddMainCamera();

    // --- edits of one object (property pages, timeline) -----------------
    // A fresh run number. A page takes one when a field gets the focus or a
    // spin button is pressed, the timeline when a key drag starts; edits of
    // one property with the same run merge into one undo step.
    int NewEditRun() { return ++m_LastEditRun; }

    // Sets one property of `object` as one undoable command "Set <property>
    // of <name>". Keyed properties are written at the object's current
    // keyframe. `read(object)` returns the present value and
    // `write(object, value)` sets one; both run under the scene lock. An
    // edit that changes nothing pushes nothing.
    //
    //   document.EditProperty(box, "Alpha", run,
    //       [](CBaseObject& o) { return o.GetAlpha(); },
    //       [](CBaseObject& o, float a) { o.SetAlpha(a); }, 0.5f);
    template <class TObject, class TValue, class TRead, class TWrite>
    void EditProperty(TObject& object, const QString& property, int run, TRead read, TWrite write, const TValue& value);

    // Adds, moves or deletes keyframes of `object` (a base object or a
    // camera) through `change` as one undoable command named `text` ("Move
    // key 2 of Box1"). `change` may make another keyframe current.
    void EditKeyFrames(CObjects& object, const QString& text, int run, std::function<void(CObjects&)> change);

    // Renames an object undoably; a name that is empty or already taken (the
    // object's own included) changes nothing and returns false.
    bool RenameObject(CObjects& object, const QString& name);

    // --- for the edit commands ------------------------------------------
    // Called by a command after it changed the set of objects (added,
    // removed, renamed); `name` is the object to select afterwards ("" for
    // none).
    void NotifyObjectsChanged(const QString& name);
    // Called by a command after it changed the scene-wide settings (total
    // time, background, fog, music) or undid that.
    void NotifySceneSettingsChanged() { emit SceneSettingsChanged(); }
    // Called by a command after it changed one object (or undid that).
    void NotifyObjectEdited(CObjects* object) { emit ObjectEdited(object); }

signals:
    // The set of objects changed; the object list rebuilds and selects
    // `selectName` when it is not empty.
    void ObjectsChanged(const QString& selectName);
    // A new scene was made, opened or loaded: every pane starts over.
    void SceneReplaced();
    // An object changed through an edit, its undo or its redo: the property
    // pages show its values again and the timeline reloads its keys.
    void ObjectEdited(CObjects* object);
    // The scene-wide settings changed: the timeline rereads the total time
    // and the music.
    void SceneSettingsChanged();
    void PathChanged(const QString& path);
    void CleanChanged(bool clean);

private:
    // adoptPath: the scene belongs to path afterwards (a save, not a copy).
    bool WriteScene(const QString& path, bool package, QString* error, bool adoptPath = true);
    void SetPath(const QString& path);

    CScene m_Scene;
    QUndoStack m_UndoStack;
    QString m_Path;
    int m_LastEditRun = 0;
};

template <class TObject, class TValue, class TRead, class TWrite>
void CEditorDocument::EditProperty(TObject& object, const QString& property, int run, TRead read, TWrite write,
                                   const TValue& value) {
    TValue old;
    {
        CSceneLock lock(m_Scene);
        old = read(object);
    }
    if constexpr (std::equality_comparable<TValue>) {
        if (old == value) {
            return;
        }
    }
    CObjectEditCommand::SEdit edit;
    edit.text = QStringLiteral("Set %1 of %2").arg(property, ToQString(object.GetObjName()));
    edit.mergeKey = property;
    edit.run = run;
    edit.writeNew = [write, value](CObjects& o) { write(static_cast<TObject&>(o), value); };
    edit.writeOld = [write, old](CObjects& o) { write(static_cast<TObject&>(o), old); };
    m_UndoStack.push(new CObjectEditCommand(*this, object, std::move(edit)));
}
