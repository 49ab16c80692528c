#include "document/CRemoveObjectCommand.h"

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "controls/QtConvert.h"
#include "document/CEditorDocument.h"
#include "document/SScenePlace.h"
#include "objects/CBaseObject.h"
#include "scene/CObjects.h"

CRemoveObjectCommand::CRemoveObjectCommand(CEditorDocument& document, const QString& name)
    : m_Document(document), m_Name(name) {
    setText(QStringLiteral("Remove \"%1\"").arg(name));
}

CRemoveObjectCommand::~CRemoveObjectCommand() = default;

void CRemoveObjectCommand::redo() {
    CScene& scene = m_Document.Scene();
    {
        CSceneLock lock(scene);
        CObjects* object = scene.GetObjectA(ToCString(m_Name));
        if (object == nullptr) {
            setObsolete(true);
            return;
        }
        const SScenePlace place = SScenePlace::Of(scene, *object);
        m_ListIndex = place.listIndex;
        m_CameraIndex = place.cameraIndex;
        RecordReferencesTo(scene, *object);
        m_pOutOfScene = scene.TakeObject(ToCString(m_Name));
    }
    m_Document.NotifyObjectsChanged(QString());
}

void CRemoveObjectCommand::undo() {
    if (m_pOutOfScene == nullptr) {
        return;
    }
    CScene& scene = m_Document.Scene();
    {
        CSceneLock lock(scene);
        scene.InsertObject(*m_pOutOfScene.release(), m_ListIndex, m_CameraIndex);
        RestoreReferences(scene);
    }
    m_Document.NotifyObjectsChanged(m_Name);
}

void CRemoveObjectCommand::RecordReferencesTo(CScene& scene, const CObjects& object) {
    using EKind = SReference::EKind;
    m_References.clear();
    for (int i = 0; i < scene.GetObjectNumber(); ++i) {
        CObjects* other = scene.GetObjectA(i);
        const QString holder = ToQString(other->GetObjName());
        if (auto* trajectory = dynamic_cast<CTrajectoryObject*>(other)) {
            if (trajectory->GetAssignedObject() == &object) {
                m_References.push_back({holder, EKind::AssignedObject});
            }
            if (trajectory->GetLookAtObject() == &object) {
                m_References.push_back({holder, EKind::TrajectoryLookAt});
            }
        } else if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(other)) {
            if (camera->GetLookAtObject() == &object) {
                m_References.push_back({holder, EKind::CameraLookAt});
            }
        }
    }
}

void CRemoveObjectCommand::RestoreReferences(CScene& scene) {
    using EKind = SReference::EKind;
    // Only base objects can be followed or looked at.
    auto* object = dynamic_cast<CBaseObject*>(scene.GetObjectA(ToCString(m_Name)));
    for (const SReference& reference : m_References) {
        CObjects* holder = scene.GetObjectA(ToCString(reference.holder));
        if (auto* trajectory = dynamic_cast<CTrajectoryObject*>(holder)) {
            if (reference.kind == EKind::AssignedObject) {
                trajectory->SetAssignedObject(object);
            } else if (reference.kind == EKind::TrajectoryLookAt) {
                trajectory->SetLookAtObject(object);
            }
        } else if (auto* camera = dynamic_cast<CCameraTrajectoryObject*>(holder)) {
            camera->SetLookAtObject(object);
        }
    }
}
