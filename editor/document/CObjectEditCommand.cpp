#include "document/CObjectEditCommand.h"

#include "controls/QtConvert.h"
#include "document/CEditorDocument.h"
#include "document/CKeyFrameAccess.h"
#include "scene/CObjects.h"

CObjectEditCommand::CObjectEditCommand(CEditorDocument& document, CObjects& object, SEdit edit)
    : m_Document(document), m_Object(object), m_Edit(std::move(edit)) {
    setText(m_Edit.text);
}

void CObjectEditCommand::redo() {
    {
        CSceneLock lock(m_Document.Scene());
        const CKeyFrameAccess keys(m_Object);
        if (!m_bDone) {
            // The first time: the edit runs on the object as the user sees it.
            m_Before = keys.Capture();
            m_KeyBefore = keys.CurrentKey();
            m_Edit.writeNew(m_Object);
            m_After = keys.Capture();
            m_KeyAfter = keys.CurrentKey();
            m_bDone = true;
        } else {
            keys.SetCurrentKey(m_KeyBefore);
            m_Edit.writeNew(m_Object);
            keys.Restore(m_After);
            keys.SetCurrentKey(m_KeyAfter);
        }
    }
    AfterChange();
}

void CObjectEditCommand::undo() {
    {
        CSceneLock lock(m_Document.Scene());
        const CKeyFrameAccess keys(m_Object);
        keys.SetCurrentKey(m_KeyBefore);
        if (m_Edit.writeOld) {
            // Outside the curves; inside them the snapshot below decides.
            m_Edit.writeOld(m_Object);
        }
        keys.Restore(m_Before);
    }
    AfterChange();
}

bool CObjectEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const CObjectEditCommand*>(other);
    if (next == nullptr || &next->m_Object != &m_Object || next->m_Edit.mergeKey != m_Edit.mergeKey ||
        next->m_Edit.run != m_Edit.run || m_Edit.renames || next->m_Edit.renames) {
        return false;
    }
    // This command's "before" stays; the newer one's "after" wins.
    m_Edit.writeNew = next->m_Edit.writeNew;
    m_After = next->m_After;
    m_KeyAfter = next->m_KeyAfter;
    setText(next->text());
    return true;
}

void CObjectEditCommand::AfterChange() {
    if (m_Edit.renames) {
        m_Document.NotifyObjectsChanged(ToQString(m_Object.GetObjName()));
    }
    m_Document.NotifyObjectEdited(&m_Object);
}
