#pragma once
// Changing the scene-wide settings (time, background, fog, music) as one
// undo step "Change the scene properties". The command holds the settings
// before and after; redo writes the groups in which they differ from
// "after", undo from "before", so that a change of the fog alone leaves the
// music playing. Both then tell the document, which tells the timeline to
// read the total time and the music again.

#include <QUndoCommand>

#include "document/SSceneSettings.h"

class CEditorDocument;

class CSceneSettingsCommand : public QUndoCommand {
public:
    CSceneSettingsCommand(CEditorDocument& document, const SSceneSettings& before, const SSceneSettings& after);

    void redo() override;
    void undo() override;

    const SSceneSettings& Before() const { return m_Before; }
    const SSceneSettings& After() const { return m_After; }

private:
    void Write(const SSceneSettings& settings);

    CEditorDocument& m_Document;
    SSceneSettings m_Before;
    SSceneSettings m_After;
    unsigned m_Parts;
};
