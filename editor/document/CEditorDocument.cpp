#include "document/CEditorDocument.h"

#include <QStringList>
#include <memory>

#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "document/CEngineReports.h"
#include "scene/CObjects.h"

namespace {

const D3DXVECTOR3 kMainCameraPosition(0.0f, 1.0f, -10.0f);

void SetText(QString* target, const QString& text) {
    if (target != nullptr) {
        *target = text;
    }
}

}  // namespace

CEditorDocument::CEditorDocument(QObject* parent) : QObject(parent) {
    connect(&m_UndoStack, &QUndoStack::cleanChanged, this, &CEditorDocument::CleanChanged);
}

CEditorDocument::~CEditorDocument() {
    // The commands may hold objects taken out of the scene; they go first,
    // while the scene they came from still exists.
    m_UndoStack.clear();
}

void CEditorDocument::NewScene() {
    m_UndoStack.clear();
    {
        CSceneLock lock(m_Scene);
        m_Scene.CleanUp();
    }
    AddMainCamera();
    emit SceneReplaced();
}

CObjects* CEditorDocument::AddMainCamera() {
    if (CScreen::Instance().GetD3DDevice() == nullptr) {
        return nullptr;
    }
    auto camera = std::make_unique<CCameraTrajectoryObject>();
    camera->Init();
    camera->SetPosition(kMainCameraPosition);
    camera->SetWeight(1);
    camera->SetObjName("Main Camera");
    CSceneLock lock(m_Scene);
    CCameraTrajectoryObject* added = camera.release();
    m_Scene.AddObject(*added);
    return added;
}

bool CEditorDocument::Open(const QString& path, bool package, QString* error) {
    bool loaded = false;
    QString messages;
    {
        CEngineReports reports;
        {
            CSceneLock lock(m_Scene);
            loaded = m_Scene.Load(path.toStdString(), package);
        }
        messages = reports.Joined(QStringLiteral("\n"));
    }
    if (!loaded) {
        SetText(error, messages.isEmpty() ? tr("Unable to open the scene file \"%1\".").arg(path) : messages);
        return false;
    }
    SetText(error, messages);
    m_UndoStack.clear();
    m_UndoStack.setClean();
    SetPath(path);
    emit SceneReplaced();
    return true;
}

bool CEditorDocument::RestoreCopy(const QString& copyPath, const QString& originalPath, QString* error) {
    if (!Open(copyPath, false, error)) {
        return false;
    }
    SetPath(originalPath);
    // The restored changes were never saved where they belong.
    m_UndoStack.resetClean();
    return true;
}

bool CEditorDocument::Save(const QString& path, bool package, QString* error) {
    if (!WriteScene(path, package, error)) {
        return false;
    }
    SetPath(path);
    m_UndoStack.setClean();
    return true;
}

bool CEditorDocument::SaveCopy(const QString& path, QString* error) {
    return WriteScene(path, false, error, false);
}

bool CEditorDocument::WriteScene(const QString& path, bool package, QString* error, bool adoptPath) {
    bool saved = false;
    QString messages;
    {
        CEngineReports reports;
        // Save takes the scene lock while it reads the objects.
        saved = adoptPath ? m_Scene.Save(path.toStdString(), package) : m_Scene.SaveCopy(path.toStdString(), package);
        messages = reports.Joined(QStringLiteral("\n"));
    }
    if (!saved) {
        SetText(error, messages.isEmpty() ? tr("Unable to save the file \"%1\".").arg(path) : messages);
        return false;
    }
    SetText(error, messages);
    return true;
}

void CEditorDocument::SetPath(const QString& path) {
    if (path == m_Path) {
        return;
    }
    m_Path = path;
    emit PathChanged(m_Path);
}

void CEditorDocument::NotifyObjectsChanged(const QString& name) {
    emit ObjectsChanged(name);
}

void CEditorDocument::EditKeyFrames(CObjects& object, const QString& text, int run,
                                    std::function<void(CObjects&)> change) {
    CObjectEditCommand::SEdit edit;
    edit.text = text;
    edit.mergeKey = text;
    edit.run = run;
    edit.writeNew = std::move(change);
    m_UndoStack.push(new CObjectEditCommand(*this, object, std::move(edit)));
}

bool CEditorDocument::RenameObject(CObjects& object, const QString& name) {
    const CString newName = ToCString(name);
    {
        CSceneLock lock(m_Scene);
        if (newName.empty() || m_Scene.GetObjectA(newName) != nullptr) {
            return false;
        }
    }
    const CString oldName = object.GetObjName();
    CObjectEditCommand::SEdit edit;
    edit.text = QStringLiteral("Rename %1 to %2").arg(ToQString(oldName), name);
    edit.mergeKey = QStringLiteral("Name");
    edit.writeNew = [newName](CObjects& o) { o.SetObjName(newName); };
    edit.writeOld = [oldName](CObjects& o) { o.SetObjName(oldName); };
    edit.renames = true;
    m_UndoStack.push(new CObjectEditCommand(*this, object, std::move(edit)));
    return true;
}
