#pragma once
// "Scene Properties": the scene-wide settings on four pages, "Time",
// "Background", "Fog" and "Sound", with OK, Cancel and Apply.
//
// The pages start from the values the engine holds when the sheet opens.
// OK and Apply write the pages' values as one undo step "Change the scene
// properties" (nothing when they are the values last written); Apply is
// enabled by any change. Cancel undoes the steps this sheet pushed, so the
// engine and the undo stack's position are as they were when it opened;
// the undone steps stay on the stack for redo.

#include <QDialog>
#include <QList>

#include "document/SSceneSettings.h"

class CBackgroundPage;
class CEditorDocument;
class CFogPage;
class CSoundPage;
class CTimePage;
class QPushButton;
class QTabWidget;
class QUndoCommand;

class CScenePropertiesSheet : public QDialog {
    Q_OBJECT

public:
    explicit CScenePropertiesSheet(CEditorDocument& document, QWidget* parent = nullptr);

    // The values the sheet found when it opened.
    const SSceneSettings& OpeningValues() const { return m_Opening; }
    // The values the pages show now.
    SSceneSettings PageValues() const;

    QTabWidget* Tabs() const { return m_pTabs; }
    CTimePage* TimePage() const { return m_pTime; }
    CBackgroundPage* BackgroundPage() const { return m_pBackground; }
    CFogPage* FogPage() const { return m_pFog; }
    CSoundPage* SoundPage() const { return m_pSound; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QPushButton* ApplyButton() const { return m_pApply; }

public slots:
    // OK: writes the pages' values and closes.
    void accept() override;
    // Cancel (also Escape and the window's close button): takes back what
    // Apply wrote and closes.
    void reject() override;
    // Apply: writes the pages' values and stays open.
    void Apply();

private:
    void BuildLayout();
    void OnPageChanged();
    void WritePageValues();
    void UndoOwnSteps();

    CEditorDocument& m_Document;
    SSceneSettings m_Opening;
    // What the sheet last wrote (the opening values before that).
    SSceneSettings m_Written;
    // The steps this sheet pushed, oldest first.
    QList<const QUndoCommand*> m_Pushed;

    QTabWidget* m_pTabs;
    CTimePage* m_pTime;
    CBackgroundPage* m_pBackground;
    CFogPage* m_pFog;
    CSoundPage* m_pSound;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    QPushButton* m_pApply;
};
