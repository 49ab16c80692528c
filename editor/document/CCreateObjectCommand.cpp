#include "document/CCreateObjectCommand.h"

#include "controls/QtConvert.h"
#include "document/CEditorDocument.h"
#include "document/SScenePlace.h"
#include "scene/CObjects.h"

CCreateObjectCommand::CCreateObjectCommand(CEditorDocument& document, std::unique_ptr<CObjects> object)
    : m_Document(document), m_pObject(object.get()), m_pOutOfScene(std::move(object)) {
    setText(QStringLiteral("Create \"%1\"").arg(ToQString(m_pObject->GetObjName())));
}

CCreateObjectCommand::~CCreateObjectCommand() = default;

void CCreateObjectCommand::redo() {
    if (m_pOutOfScene == nullptr) {
        return;  // already in the scene
    }
    {
        CSceneLock lock(m_Document.Scene());
        m_Document.Scene().InsertObject(*m_pOutOfScene.release(), m_ListIndex, m_CameraIndex);
    }
    m_Document.NotifyObjectsChanged(ToQString(m_pObject->GetObjName()));
}

void CCreateObjectCommand::undo() {
    CScene& scene = m_Document.Scene();
    {
        CSceneLock lock(scene);
        // Every later edit has been undone, so the object is in the scene
        // under the name it was created with.
        if (scene.GetObjectA(m_pObject->GetObjName()) != m_pObject) {
            return;
        }
        const SScenePlace place = SScenePlace::Of(scene, *m_pObject);
        m_ListIndex = place.listIndex;
        m_CameraIndex = place.cameraIndex;
        m_pOutOfScene = scene.TakeObject(m_pObject->GetObjName());
    }
    m_Document.NotifyObjectsChanged(QString());
}
