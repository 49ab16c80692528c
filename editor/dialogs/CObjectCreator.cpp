#include "dialogs/CObjectCreator.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>
#include <memory>
#include <vector>

#include "controls/QtConvert.h"
#include "document/CCreateObjectCommand.h"
#include "document/CEditorDocument.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"

namespace {

const char* const kStaticMesh = "CFileMeshObject";
const char* const kAnimatedMesh = "CAnimFileMeshObject";
const char* const kMessageTitle = "Brennox Skyloom";

QString Quoted(const QString& path) {
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

// Why a chosen file cannot become a mesh, or empty when it may: the mesh
// readers report what is wrong inside a file, but not a file they never
// open.
QString ProblemWithMeshFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension != "lwo" && extension != "3ds" && extension != "x") {
        return QStringLiteral("%1 is not a mesh file the editor can read: its name must end in .lwo, .3ds or .x.")
            .arg(Quoted(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("The file %1 cannot be read: %2.").arg(Quoted(path), file.errorString());
    }
    return QString();
}

QString ProblemWithMeshFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const QString problem = ProblemWithMeshFile(path);
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    return QString();
}

// The file a mesh object stopped at: an animated mesh loads its frames in
// order until one fails.
QString FailedFile(const QStringList& files, CObjects& object) {
    if (auto* animated = dynamic_cast<CAnimFileMeshObject*>(&object)) {
        const qsizetype failed = std::min<qsizetype>(animated->GetLoadedCount(), files.size() - 1);
        return Quoted(files[failed]);
    }
    return Quoted(files.front());
}

QString NotAddedMessage(const QString& name, const QStringList& files, CObjects& object) {
    if (files.isEmpty()) {
        return QStringLiteral("The object \"%1\" was not added: it could not be initialised.").arg(name);
    }
    // The mesh reader has shown what it found wrong inside the file.
    return QStringLiteral("The object \"%1\" was not added: the mesh in %2 could not be loaded.")
        .arg(name, FailedFile(files, object));
}

}  // namespace

const QString CObjectCreator::kMeshFilter = QStringLiteral("3D Meshes Files (*.lwo *.3ds *.x)");

CObjectCreator::CObjectCreator(CEditorDocument& document, QWidget* dialogParent)
    : m_Document(document), m_pDialogParent(dialogParent), m_ChooseFiles(&CObjectCreator::AskForMeshFiles) {}

QString CObjectCreator::FirstFreeName(CScene& scene) {
    for (int number = 0;; ++number) {
        const QString name = QStringLiteral("untitled_%1").arg(number);
        if (scene.GetObjectA(ToCString(name)) == nullptr) {
            return name;
        }
    }
}

QStringList CObjectCreator::AskForMeshFiles(QWidget* parent, bool several) {
    QFileDialog dialog(parent,
                       several ? QStringLiteral("Open the frames of the animated mesh") : QStringLiteral("Open"),
                       QString(), kMeshFilter);
    // Qt's own dialog: the same on every desktop, and one a test can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

CObjects* CObjectCreator::CreateObject(const QString& type, QString name) {
    CScene& scene = m_Document.Scene();
    if (name.isEmpty()) {
        name = FirstFreeName(scene);
    } else if (scene.IsObjectExisting(ToCString(name))) {
        // The name is what links the object list to the object.
        QMessageBox::warning(m_pDialogParent, kMessageTitle, "An object of this name already exists in this scene!");
        return nullptr;
    }

    QStringList files;
    if (type == kStaticMesh || type == kAnimatedMesh) {
        files = m_ChooseFiles(m_pDialogParent, type == kAnimatedMesh);
        if (files.isEmpty()) {
            return nullptr;  // cancelled
        }
        if (type == kStaticMesh) {
            files = files.mid(0, 1);
        }
        const QString problem = ProblemWithMeshFiles(files);
        if (!problem.isEmpty()) {
            QMessageBox::warning(m_pDialogParent, kMessageTitle,
                                 QStringLiteral("The object \"%1\" was not added.\n\n%2").arg(name, problem));
            return nullptr;
        }
    }

    std::unique_ptr<CObjects> object(CObjectFactory::Get(ToCString(type)));
    if (object == nullptr) {
        return nullptr;
    }
    object->SetObjName(ToCString(name));
    bool ready = true;
    if (auto* mesh = dynamic_cast<CFileMeshObject*>(object.get())) {
        mesh->SetFilename(ToCString(files.front()));
    } else if (auto* animated = dynamic_cast<CAnimFileMeshObject*>(object.get())) {
        std::vector<CString> frames;
        for (const QString& file : files) {
            frames.push_back(ToCString(file));
        }
        ready = animated->SetFilenames(frames);
    }
    ready = ready && object->Init();
    if (!ready) {
        QMessageBox::warning(m_pDialogParent, kMessageTitle, NotAddedMessage(name, files, *object));
        return nullptr;
    }

    CObjects* created = object.get();
    m_Document.UndoStack().push(new CCreateObjectCommand(m_Document, std::move(object)));
    return created;
}
