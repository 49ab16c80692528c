#include "export/CDisplayFormatCommand.h"

#include "document/CEditorDocument.h"

void CDisplayFormatCommand::Store(CEditorDocument& document, const CDisplayFormat& format) {
    CDisplayFormat before;
    {
        CSceneLock lock(document.Scene());
        before = *document.Scene().GetDisplayFormat();
    }
    if (!Equal(before, format)) {
        document.UndoStack().push(new CDisplayFormatCommand(document, before, format));
    }
}

CDisplayFormatCommand::CDisplayFormatCommand(CEditorDocument& document, const CDisplayFormat& before,
                                             const CDisplayFormat& after)
    : m_Document(document), m_Before(before), m_After(after) {
    setText(QStringLiteral("Set Export Settings"));
}

bool CDisplayFormatCommand::Equal(const CDisplayFormat& a, const CDisplayFormat& b) {
    return a.m_iResolution == b.m_iResolution && a.m_iFlags == b.m_iFlags && a.m_Name == b.m_Name;
}

void CDisplayFormatCommand::redo() {
    Write(m_After);
}

void CDisplayFormatCommand::undo() {
    Write(m_Before);
}

void CDisplayFormatCommand::Write(const CDisplayFormat& format) {
    // Nothing on screen shows the display format, so no pane is told.
    CSceneLock lock(m_Document.Scene());
    *m_Document.Scene().GetDisplayFormat() = format;
}
