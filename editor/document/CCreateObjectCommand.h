#pragma once
// Adding a new object to the scene, undoably. The command owns the object
// while it is out of the scene (before the first redo and after an undo),
// so that a redo brings back the very same object, and destroys it with
// itself in that state.

#include <QUndoCommand>
#include <memory>

class CEditorDocument;
class CObjects;

class CCreateObjectCommand : public QUndoCommand {
public:
    // `object` is named and initialised, and not in any scene yet.
    CCreateObjectCommand(CEditorDocument& document, std::unique_ptr<CObjects> object);
    ~CCreateObjectCommand() override;

    // Puts the object at the front of the scene's list (where a new object
    // goes), or where it was when the creation was undone.
    void redo() override;
    // Takes the object out of the scene and keeps it.
    void undo() override;

    CObjects& Object() const { return *m_pObject; }

private:
    CEditorDocument& m_Document;
    CObjects* m_pObject;
    std::unique_ptr<CObjects> m_pOutOfScene;  // the object while the scene does not own it
    int m_ListIndex = 0;
    int m_CameraIndex = -1;
};
