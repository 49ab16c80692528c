#pragma once
// The display settings an export stores in the scene (resolution, flags,
// window title) as one undoable step "Set Export Settings": they are saved
// with the scene, so storing them makes the document unsaved, and undo puts
// the previous ones back.

#include <QUndoCommand>

#include "scene/CDisplayFormat.h"

class CEditorDocument;

class CDisplayFormatCommand : public QUndoCommand {
public:
    // Pushes the command on the document's stack unless the scene already
    // has exactly that format (then nothing changes and nothing is pushed).
    static void Store(CEditorDocument& document, const CDisplayFormat& format);

    CDisplayFormatCommand(CEditorDocument& document, const CDisplayFormat& before, const CDisplayFormat& after);

    void redo() override;
    void undo() override;

    static bool Equal(const CDisplayFormat& a, const CDisplayFormat& b);

private:
    void Write(const CDisplayFormat& format);

    CEditorDocument& m_Document;
    CDisplayFormat m_Before;
    CDisplayFormat m_After;
};
