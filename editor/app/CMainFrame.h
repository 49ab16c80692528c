#pragma once
// The editor's main window, "Brennox Skyloom [<file>]": the 3D view in the
// middle, the "Timeline" pane at the bottom and the "Object List" and
// "Properties" panes sharing the left column, the menus, the toolbar and the
// status bar with the camera's position. The frame owns the document (the
// scene being edited) and runs the document commands (new, open, save, the
// packages), the switch between the scene camera (F9) and the user camera
// (F10), help, exit and the recovery copies of unsaved work.
//
//   CMainFrame frame;
//   frame.Start(sceneFile);   // placement, engine, main camera, settings
//   application.exec();
//
// User-interface thread only.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/CCameraModes.h"
#include "app/CEditorSettings.h"
#include "app/CRecoveryStore.h"
#include "document/CEditorDocument.h"

class C3DView;
class CHelpWindow;
class CObjectListPane;
class CObjects;
class CPaneCoordinator;
class CPropertiesPane;
class CTimelinePane;
class CSizedDock;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

struct SFrameOptions {
    // Start the engine on the 3D view (tests run it themselves, headless).
    bool startEngine = true;
    // How long the first showing waits for the engine's start-up.
    int engineWaitMs = 30000;
    int recoveryIntervalMs = 60000;
    int cameraStatusIntervalMs = 500;
    QString recoveryFolder = CRecoveryStore::DefaultFolder();
};

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kApplicationTitle = "Brennox Skyloom";
    static constexpr const char* kSceneFilter = "3D Screen Saver Files (*.bgs)";
    static constexpr const char* kPackageFilter = "3D Screen Saver Files (*.bgs *.exe)";
    // Ids of the panes in the settings.
    static constexpr int kTimelineId = 123;
    static constexpr int kPropertiesId = 124;
    static constexpr int kObjectListId = 125;

    explicit CMainFrame(const SFrameOptions& options = SFrameOptions(), QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The first showing: the stored placement, the engine's start-up, "Main
    // Camera", the object list, the settings; then a recovery copy left by an
    // editor that did not end is offered, and sceneFile (a scene or a
    // package) is opened when given.
    void Start(const QString& sceneFile = QString());

    // --- document commands (the menu's and toolbar's actions) -----------
    void NewScene();
    void OpenScene();
    void SaveScene();
    void SaveSceneAs();
    void SavePackage();
    void LoadPackage();
    // Opens a file given by name (the command line); a package is told by
    // its trailer. A file that cannot be opened is reported.
    bool OpenFile(const QString& path);
    void ShowSceneCamera();
    void ShowUserCamera();
    // The toolbar's creation buttons: a new object of that class, named by
    // the first free "untitled_%d", selected in the object list.
    CObjects* CreateObject(const QString& type);
    // Scene > Properties... (also the timeline's "Properties...") and
    // Tools > Options...: the two modal sheets.
    void ShowSceneProperties();
    void ShowOptions();
    void ShowHelp();
    void ShowAbout();

    // "Brennox Skyloom [Untitled]" or "Brennox Skyloom [<full path>]".
    static QString TitleFor(const QString& path);
    // "Camera X:0.00 Y:1.00 Z:-10.00".
    static QString CameraText(float x, float y, float z);

    CEditorDocument& Document() { return m_Document; }
    CEditorSettings& Settings() { return *m_Settings; }
    C3DView* View() const { return m_View; }
    CObjectListPane* ObjectList() const { return m_ObjectList; }
    CPropertiesPane* Properties() const { return m_Properties; }
    CTimelinePane* Timeline() const { return m_Timeline; }
    CSizedDock* TimelineDock() const { return m_TimelineDock; }
    CSizedDock* ObjectListDock() const { return m_ObjectListDock; }
    CSizedDock* PropertiesDock() const { return m_PropertiesDock; }
    QToolBar* ToolBar() const { return m_ToolBar; }
    QLabel* CameraStatus() const { return m_CameraStatus; }
    QLabel* ReadyStatus() const { return m_ReadyStatus; }
    CRecoveryStore& Recovery() { return m_Recovery; }
    bool IsSceneCameraShown() const { return m_CameraModes.IsSceneCameraShown(); }
    // Closing asks first while this is set; cleared when the engine failed.
    void SetConfirmExit(bool confirm) { m_ConfirmExit = confirm; }

    // The action of a menu item or toolbar button by its text without "&"
    // and accelerator ("Save Scene", "Open a scene...", "Box").
    QAction* FindAction(const QString& text) const;
    QAction* MenuSaveAction() const { return m_MenuSave; }
    QAction* ToolbarSaveAction() const { return m_ToolbarSave; }

public slots:
    // Refreshes the status bar's camera pane.
    void UpdateCameraStatus();
    // Writes or removes the recovery copy as the document's state asks.
    void UpdateRecoveryCopy();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateDocks();
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    void CreateShowMenu();
    void CreateHelpMenu();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePaneSwitching();
    QAction* MakeAction(const QString& text, const QString& statusTip, const QKeySequence& shortcut = {});
    QAction* MakeDockToggle(QMenu* menu, const QString& text, const QString& statusTip, QWidget* pane);

    void ApplyPlacement();
    SWindowPlacement CurrentPlacement() const;
    void RestoreDockLayout();
    void SaveLayout();
    bool WaitForEngine();
    void ApplyViewSettings();
    void OfferRecoveredCopies();
    void StartRecovery();

    // Asks for a file to open or save (Qt's own dialog); empty when cancelled.
    QString AskOpenFile(const QString& filter);
    QString AskSaveFile(const QString& filter);
    void SaveTo(const QString& path, bool package);
    bool OpenPath(const QString& path, bool package);
    void AfterSceneReplaced();
    void UpdateTitle();
    void UpdateSaveAction();
    void FocusNextPane(int step);
    bool Ask(const QString& question);
    void ShowError(const QString& text);
    void OnEngineFailed();

    SFrameOptions m_Options;
    std::unique_ptr<CEditorSettings> m_Settings;
    CEditorDocument m_Document;
    CCameraModes m_CameraModes;
    CRecoveryStore m_Recovery;
    SWindowPlacement m_StoredPlacement;

    C3DView* m_View = nullptr;
    CObjectListPane* m_ObjectList = nullptr;
    CPropertiesPane* m_Properties = nullptr;
    CTimelinePane* m_Timeline = nullptr;
    CPaneCoordinator* m_Panes = nullptr;
    CSizedDock* m_TimelineDock = nullptr;
    CSizedDock* m_ObjectListDock = nullptr;
    CSizedDock* m_PropertiesDock = nullptr;
    QToolBar* m_ToolBar = nullptr;
    QLabel* m_ReadyStatus = nullptr;
    QLabel* m_CameraStatus = nullptr;
    QAction* m_MenuSave = nullptr;
    QAction* m_ToolbarSave = nullptr;
    QAction* m_SceneCamera = nullptr;
    QAction* m_UserCamera = nullptr;
    QPointer<CHelpWindow> m_HelpWindow;

    QTimer m_CameraTimer;
    QTimer m_RecoveryTimer;
    bool m_ConfirmExit = true;
    bool m_Started = false;
    bool m_Closed = false;
};
