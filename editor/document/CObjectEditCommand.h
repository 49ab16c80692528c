#pragma once
// One edit of one object through the property pages or the timeline: a
// property set at the object's current keyframe, a rename, or keyframes
// added, moved or deleted.
//
// Most of an object's state lives in its keyed curves, so the command keeps
// a snapshot of every curve from before the edit and puts it back on undo,
// key identifiers and the next free identifier included; what lies outside
// the curves (the name, a texture, a camera's orientation) is put back by
// writing the old value through the same setter. The object's current
// keyframe is part of the edit: undo and redo make the edited keyframe
// current again, so the pages show what changed.
//
// Edits of the same thing of the same object within one run (a run of spin
// clicks, a drag, typing in one field: CEditorDocument::NewEditRun) merge
// into one command that keeps the first "before" and the last "after".

#include <QString>
#include <QUndoCommand>
#include <functional>

#include "animation/CKeyFrameCurves.h"

class CEditorDocument;
class CObjects;

class CObjectEditCommand : public QUndoCommand {
public:
    using Write = std::function<void(CObjects&)>;

    // What the command does and how it names itself.
    struct SEdit {
        QString text;          // "Set Alpha of Box1"
        QString mergeKey;      // "Alpha": what must match for edits to merge
        int run = 0;           // edits of one run merge
        Write writeNew;        // the edit itself
        Write writeOld;        // puts back the value outside the curves; may be empty
        bool renames = false;  // the object list must rebuild afterwards
    };

    // `object` stays alive as long as the stack holds the command: removed
    // objects are kept by their removal command.
    CObjectEditCommand(CEditorDocument& document, CObjects& object, SEdit edit);

    void redo() override;
    void undo() override;
    int id() const override { return 0x4c56; }
    bool mergeWith(const QUndoCommand* other) override;

    CObjects& Object() const { return m_Object; }

private:
    void AfterChange();

    CEditorDocument& m_Document;
    CObjects& m_Object;
    SEdit m_Edit;
    bool m_bDone = false;
    CKeyFrameSnapshot m_Before;
    CKeyFrameSnapshot m_After;
    int m_KeyBefore = 0;
    int m_KeyAfter = 0;
};
