#pragma once
// Removing an object from the scene, undoably. The object is not destroyed
// but kept by the command, with its keys, textures and meshes, so that undo
// puts the very same object back where it was in the scene's list and
// among the cameras, and points the trajectories and cameras that followed
// or looked at it at it again.

#include <QString>
#include <QUndoCommand>
#include <memory>
#include <vector>

class CEditorDocument;
class CObjects;
class CScene;

class CRemoveObjectCommand : public QUndoCommand {
public:
    CRemoveObjectCommand(CEditorDocument& document, const QString& name);
    ~CRemoveObjectCommand() override;

    // Takes the object out; when there is no object of that name the
    // command changes nothing and marks itself obsolete.
    void redo() override;
    void undo() override;

private:
    // Another object that pointed at the removed one, by name (its pointer
    // may change while the removed object is out).
    struct SReference {
        enum class EKind {
            AssignedObject,    // the object a trajectory carries
            TrajectoryLookAt,  // the object a trajectory faces
            CameraLookAt       // the object a camera looks at
        };
        QString holder;
        EKind kind;
    };

    void RecordReferencesTo(CScene& scene, const CObjects& object);
    void RestoreReferences(CScene& scene);

    CEditorDocument& m_Document;
    QString m_Name;
    std::unique_ptr<CObjects> m_pOutOfScene;
    int m_ListIndex = 0;
    int m_CameraIndex = -1;
    std::vector<SReference> m_References;
};
