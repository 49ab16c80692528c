#include "document/CSceneSettingsCommand.h"

#include "core/CScreen.h"
#include "document/CEditorDocument.h"

CSceneSettingsCommand::CSceneSettingsCommand(CEditorDocument& document, const SSceneSettings& before,
                                             const SSceneSettings& after)
    : m_Document(document), m_Before(before), m_After(after), m_Parts(before.DifferingParts(after)) {
    setText(QStringLiteral("Change the scene properties"));
}

void CSceneSettingsCommand::redo() {
    Write(m_After);
}

void CSceneSettingsCommand::undo() {
    Write(m_Before);
}

void CSceneSettingsCommand::Write(const SSceneSettings& settings) {
    settings.Apply(CScreen::Instance(), m_Document.Scene(), m_Parts);
    m_Document.NotifySceneSettingsChanged();
}
