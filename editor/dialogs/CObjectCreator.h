#pragma once
// Makes a new object of a class and adds it to the scene through the undo
// stack: names it (the first free "untitled_%d" when no name is given),
// lets mesh objects have their files chosen, initialises it and pushes the
// creation command. An object that cannot be initialised (a mesh file that
// does not load) is not added, and the user is told why.
//
//   CObjectCreator creator(document, window);
//   if (CObjects* box = creator.CreateObject("CBoxObject", ""))
//       pane->SelectByName(QString::fromStdString(box->GetObjName()));

#include <QString>
#include <QStringList>
#include <functional>

class CEditorDocument;
class CObjects;
class CScene;
class QWidget;

class CObjectCreator {
public:
    // Asks for mesh files; `several` for an animated mesh (one file per
    // frame, in the order given). An empty list means cancelled.
    using FileChooser = std::function<QStringList(QWidget* parent, bool several)>;

    // The filter of the mesh file dialogs.
    static const QString kMeshFilter;

    CObjectCreator(CEditorDocument& document, QWidget* dialogParent);

    // The new object (owned by the scene), or null when the class is
    // unknown, the file dialog was cancelled or the object failed to
    // initialise (the user has been told).
    CObjects* CreateObject(const QString& type, QString name);

    // The first "untitled_%d", counting from 0, that no object has.
    static QString FirstFreeName(CScene& scene);

    // Replaces the file dialogs (the default shows Qt's own open dialog).
    void SetFileChooser(FileChooser chooser) { m_ChooseFiles = std::move(chooser); }
    static QStringList AskForMeshFiles(QWidget* parent, bool several);

private:
    CEditorDocument& m_Document;
    QWidget* m_pDialogParent;
    FileChooser m_ChooseFiles;
};
