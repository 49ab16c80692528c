#include "app/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QTreeView>

#include "app/CPackageProbe.h"
#include "app/CPaneCoordinator.h"
#include "app/CSizedDock.h"
#include "app/CToolbarIcons.h"
#include "controls/CObjectIcons.h"
#include "core/CScreen.h"
#include "dialogs/CAboutDialog.h"
#include "dialogs/CFontImporterDialog.h"
#include "dialogs/CHelpWindow.h"
#include "dialogs/CObjectCreator.h"
#include "export/CExportSettingsDialog.h"
#include "panes/CObjectListPane.h"
#include "panes/CTimelinePane.h"
#include "properties/CIdeOptionsSheet.h"
#include "properties/CPropertiesPane.h"
#include "properties/CScenePropertiesSheet.h"
#include "scene/CObjects.h"
#include "view/C3DView.h"

namespace {

const D3DXVECTOR3 kUserCameraEye(0.0f, 1.0f, -10.0f);
const D3DXVECTOR3 kUserCameraDirection(0.0f, 0.0f, 1.0f);

// The ten creation buttons: class, tool tip, status-bar prompt.
struct SCreationButton {
    const char* type;
    const char* toolTip;
    const char* prompt;
};
const SCreationButton kCreationButtons[] = {
    {"CBoxObject", "Box", "To create a box object."},
    {"CSphereObject", "Sphere", "To create a sphere object."},
    {"CCylinderObject", "Cylinder", "To create a cylinder object."},
    {"CTorusObject", "Torus", "To create a torus object."},
    {"CPlaneObject", "Plane", "To create a plane object."},
    {"CFileMeshObject", "Static Mesh", "To create a static mesh object."},
    {"CAnimFileMeshObject", "Animated Mesh", "To create an animated mesh object."},
    {"CBmpFonts", "Text", "To create a text object."},
    {"CHeightMapObject", "Height Map", "To create a height map object."},
    {"CCameraTrajectoryObject", "Camera", "To create a camera object."},
};

// The text of an action without mnemonics and without the accelerator.
QString PlainText(const QAction& action) {
    QString text = action.text().section(QLatin1Char('\t'), 0, 0);
    text.remove(QLatin1Char('&'));
    return text;
}

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace

CMainFrame::CMainFrame(const SFrameOptions& options, QWidget* parent)
    : QMainWindow(parent),
      m_Options(options),
      m_Settings(std::make_unique<CEditorSettings>()),
      m_CameraModes(CScreen::Instance(), m_Document.Scene()),
      m_Recovery(options.recoveryFolder) {
    setObjectName("MainFrame");
    setMinimumSize(400, 400);
    setMaximumSize(10000, 10000);

    m_View = new C3DView(m_Document, C3DView::BackBufferSizeFor(m_Settings->ViewSize()), this);
    m_View->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(m_View);

    CreateDocks();
    m_ToolBar = new QToolBar("Toolbar", this);
    m_ToolBar->setObjectName("Toolbar");
    m_ToolBar->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, m_ToolBar);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePaneSwitching();
    RestoreDockLayout();

    connect(m_View, &C3DView::CameraMoved, this, &CMainFrame::UpdateCameraStatus);
    connect(m_View, &C3DView::EngineFailed, this, &CMainFrame::OnEngineFailed);
    connect(m_View, &C3DView::StatusMessage, this, [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&m_Document, &CEditorDocument::PathChanged, this, [this] {
        UpdateTitle();
        UpdateSaveAction();
    });
    connect(&m_Document, &CEditorDocument::CleanChanged, this, [this](bool clean) {
        if (clean) {
            m_Recovery.RemoveCopy();  // the file on disk holds the work now
        }
    });

    m_CameraTimer.setInterval(m_Options.cameraStatusIntervalMs);
    connect(&m_CameraTimer, &QTimer::timeout, this, &CMainFrame::UpdateCameraStatus);
    m_CameraTimer.start();
    m_RecoveryTimer.setInterval(m_Options.recoveryIntervalMs);
    connect(&m_RecoveryTimer, &QTimer::timeout, this, &CMainFrame::UpdateRecoveryCopy);
    UpdateTitle();
    UpdateSaveAction();
}

CMainFrame::~CMainFrame() {
    // The render thread draws the document's scene: it ends before the
    // scene does, and so do the panes that show the scene.
    m_View->StopEngine();
    delete m_View;
    delete m_ObjectListDock;
    delete m_TimelineDock;
    delete m_PropertiesDock;
    if (m_HelpWindow != nullptr) {
        delete m_HelpWindow;
    }
}

// ---------------------------------------------------------------- panes

void CMainFrame::CreateDocks() {
    const QSize noLimit(CSizedDock::kNoLimit, CSizedDock::kNoLimit);
    const SDockLayout timeline{kTimelineId,    {QSize(420, 120), QSize(420, 120), QSize(420, 120)},
                               QSize(50, 120), QSize(CSizedDock::kNoLimit, 120),
                               QSize(50, 120), QSize(CSizedDock::kNoLimit, 120)};
    const SDockLayout objectList{kObjectListId,   {QSize(190, 200), QSize(190, 200), QSize(190, 300)},
                                 QSize(50, 50),   noLimit,
                                 QSize(100, 100), noLimit};
    const SDockLayout properties{kPropertiesId,   {QSize(290, 380), QSize(290, 380), QSize(290, 380)},
                                 QSize(50, 50),   noLimit,
                                 QSize(290, 380), QSize(290, 380)};

    m_TimelineDock = new CSizedDock("Timeline", "Timeline", timeline, this);
    m_TimelineDock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    m_Timeline = new CTimelinePane(m_Document, m_TimelineDock);
    // The ruler and its header: as wide as the window lets it be, never
    // taller than the header and the ruler's rows.
    m_Timeline->setMinimumSize(200, 100);
    m_Timeline->setMaximumSize(10000, 100);
    m_TimelineDock->setWidget(m_Timeline);

    m_ObjectListDock = new CSizedDock("Object List", "ObjectList", objectList, this);
    m_ObjectList = new CObjectListPane(m_Document, m_ObjectListDock);
    m_ObjectListDock->setWidget(m_ObjectList);

    m_PropertiesDock = new CSizedDock("Properties", "Properties", properties, this);
    m_Properties = new CPropertiesPane(m_Document, m_PropertiesDock);
    m_PropertiesDock->setWidget(m_Properties);

    m_Panes = new CPaneCoordinator(m_Document, *m_ObjectList, *m_Properties, *m_Timeline, this);
    connect(m_Timeline, &CTimelinePane::PropertiesRequested, this, &CMainFrame::ShowSceneProperties);
    connect(&m_Document, &CEditorDocument::SceneSettingsChanged, m_Panes, &CPaneCoordinator::FollowLoadedScene);

    for (CSizedDock* dock : {m_TimelineDock, m_ObjectListDock, m_PropertiesDock}) {
        dock->ReadSizes(*m_Settings);
    }
    addDockWidget(Qt::BottomDockWidgetArea, m_TimelineDock);
    addDockWidget(Qt::LeftDockWidgetArea, m_ObjectListDock);
    splitDockWidget(m_ObjectListDock, m_PropertiesDock, Qt::Vertical);
}

void CMainFrame::RestoreDockLayout() {
    const QByteArray state = m_Settings->BarState();
    if (!state.isEmpty() && restoreState(state)) {
        return;
    }
    // No layout yet: the panes at their sizes. The two left panes share
    // one column, as wide as the wider of them.
    const QSize list = m_ObjectListDock->PreferredSize();
    const QSize properties = m_PropertiesDock->PreferredSize();
    resizeDocks({m_ObjectListDock}, {qMax(list.width(), properties.width())}, Qt::Horizontal);
    resizeDocks({m_ObjectListDock, m_PropertiesDock}, {list.height(), properties.height()}, Qt::Vertical);
    resizeDocks({m_TimelineDock}, {m_TimelineDock->PreferredSize().height()}, Qt::Vertical);
}

// ---------------------------------------------------------------- menus

QAction* CMainFrame::MakeAction(const QString& text, const QString& statusTip, const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setStatusTip(statusTip);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Shortcuts work while the toolbar or the menu bar is hidden.
        addAction(action);
    }
    return action;
}

void CMainFrame::CreateMenus() {
    CreateFileMenu();
    CreateEditMenu();

    QMenu* scene = menuBar()->addMenu("&Scene");
    QAction* sceneProperties =
        MakeAction("&Properties...\tCtrl-P", "Set this scene properties and settings", QKeySequence("Ctrl+P"));
    connect(sceneProperties, &QAction::triggered, this, &CMainFrame::ShowSceneProperties);
    scene->addAction(sceneProperties);

    QMenu* tools = menuBar()->addMenu("&Tools");
    QAction* options = MakeAction("&Options...\tAlt-O", "Open the IDE Options dialog", QKeySequence("Alt+O"));
    connect(options, &QAction::triggered, this, &CMainFrame::ShowOptions);
    tools->addAction(options);
    QAction* fontImporter = MakeAction("&Font Importer...", "To Import a standard font into Pelavor");
    connect(fontImporter, &QAction::triggered, this, [this] {
        CFontImporterDialog importer(this);
        importer.exec();
    });
    tools->addAction(fontImporter);

    CreateViewMenu();
    CreateShowMenu();
    CreateHelpMenu();
}

void CMainFrame::CreateFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    QAction* newScene = MakeAction("&New", "To create a new scene and erase the previous");
    newScene->setIcon(CToolbarIcons::Icon(CToolbarIcons::EPicture::NewScene));
    newScene->setToolTip("New");
    connect(newScene, &QAction::triggered, this, &CMainFrame::NewScene);
    file->addAction(newScene);

    QAction* open = MakeAction("&Open a scene...\tCtrl-O", "To open an existing Scene", QKeySequence("Ctrl+O"));
    open->setIcon(CToolbarIcons::Icon(CToolbarIcons::EPicture::OpenScene));
    open->setToolTip("Open");
    connect(open, &QAction::triggered, this, &CMainFrame::OpenScene);
    file->addAction(open);

    // The menu's Save needs a file name; the toolbar's asks for one when
    // there is none (and carries the accelerator).
    m_MenuSave = MakeAction("&Save Scene\tCtrl-S", "Save the current scene on disk");
    connect(m_MenuSave, &QAction::triggered, this, &CMainFrame::SaveScene);
    file->addAction(m_MenuSave);
    m_ToolbarSave = MakeAction("Save", "Save the current scene on disk", QKeySequence("Ctrl+S"));
    m_ToolbarSave->setIcon(CToolbarIcons::Icon(CToolbarIcons::EPicture::SaveScene));
    m_ToolbarSave->setToolTip("Save");
    connect(m_ToolbarSave, &QAction::triggered, this, &CMainFrame::SaveScene);

    QAction* saveAs = MakeAction("Save &As Scene...", "Ask for a name, then save the current scene on disk");
    connect(saveAs, &QAction::triggered, this, &CMainFrame::SaveSceneAs);
    file->addAction(saveAs);
    file->addSeparator();
    QAction* savePackage = MakeAction("Save a Package...", QString());
    connect(savePackage, &QAction::triggered, this, &CMainFrame::SavePackage);
    file->addAction(savePackage);
    QAction* loadPackage = MakeAction("Load a Package...", QString());
    connect(loadPackage, &QAction::triggered, this, &CMainFrame::LoadPackage);
    file->addAction(loadPackage);
    file->addSeparator();
    QAction* exportScene = MakeAction("Export...", "Export your project to a stand alone screen saver or executable");
    connect(exportScene, &QAction::triggered, this, [this] { CExportSettingsDialog::Run(m_Document, this); });
    file->addAction(exportScene);
    file->addSeparator();
    QAction* exit = MakeAction("E&xit", "Quit the application; prompts to save documents");
    exit->setToolTip("Exit");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    file->addAction(exit);
}

void CMainFrame::CreateEditMenu() {
    QMenu* edit = menuBar()->addMenu("&Edit");
    QUndoStack& stack = m_Document.UndoStack();
    QAction* undo = MakeAction("&Undo\tCtrl+Z", "Undo the last change", QKeySequence("Ctrl+Z"));
    QAction* redo = MakeAction("&Redo\tCtrl+Shift+Z", "Redo the change undone last", QKeySequence("Ctrl+Shift+Z"));
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
    connect(undo, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(redo, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setStatusTip(text.isEmpty() ? QStringLiteral("Undo the last change") : QStringLiteral("Undo: ") + text);
    });
    connect(&stack, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setStatusTip(text.isEmpty() ? QStringLiteral("Redo the change undone last")
                                          : QStringLiteral("Redo: ") + text);
    });
    edit->addAction(undo);
    edit->addAction(redo);
}

QAction* CMainFrame::MakeDockToggle(QMenu* menu, const QString& text, const QString& statusTip, QWidget* pane) {
    QAction* toggle = MakeAction(text, statusTip);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::triggered, pane, [pane] { pane->setVisible(!pane->isVisible()); });
    // The check follows the pane, also when its own close button hid it.
    connect(menu, &QMenu::aboutToShow, toggle, [toggle, pane] { toggle->setChecked(pane->isVisible()); });
    menu->addAction(toggle);
    return toggle;
}

void CMainFrame::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu("&View");
    MakeDockToggle(view, "&Toolbar", "Show or hide the toolbar", m_ToolBar);
    MakeDockToggle(view, "&Status Bar", "Show or hide the status bar", statusBar());
    view->addSeparator();
    MakeDockToggle(view, "Time&line", "Show or hide the timeline", m_TimelineDock);
    MakeDockToggle(view, "&Properties", "Show or hide the properties", m_PropertiesDock);
    MakeDockToggle(view, "&Object List", "Show or hide the object list", m_ObjectListDock);
}

void CMainFrame::CreateShowMenu() {
    QMenu* show = menuBar()->addMenu("Sho&w");
    auto* group = new QActionGroup(this);
    m_SceneCamera =
        MakeAction("&Camera\tF9", "Select this item to show the scene using the camera.", QKeySequence(Qt::Key_F9));
    m_SceneCamera->setIcon(CToolbarIcons::Icon(CToolbarIcons::EPicture::SceneCamera));
    m_SceneCamera->setToolTip("Camera");
    m_UserCamera =
        MakeAction("User\tF10", "Select this item to move the camera using the mouse.", QKeySequence(Qt::Key_F10));
    m_UserCamera->setIcon(CToolbarIcons::Icon(CToolbarIcons::EPicture::UserCamera));
    m_UserCamera->setToolTip("User");
    for (QAction* action : {m_SceneCamera, m_UserCamera}) {
        action->setCheckable(true);
        group->addAction(action);
        show->addAction(action);
    }
    m_UserCamera->setChecked(true);
    connect(m_SceneCamera, &QAction::triggered, this, &CMainFrame::ShowSceneCamera);
    connect(m_UserCamera, &QAction::triggered, this, &CMainFrame::ShowUserCamera);
}

void CMainFrame::CreateHelpMenu() {
    QMenu* help = menuBar()->addMenu("&Help");
    QAction* manual = MakeAction("&Help\tF1", QString(), QKeySequence(Qt::Key_F1));
    connect(manual, &QAction::triggered, this, &CMainFrame::ShowHelp);
    help->addAction(manual);
    QAction* about =
        MakeAction("&About Brennox 3D Pelavor...", "Display program information, version number and copyright");
    about->setToolTip("About");
    connect(about, &QAction::triggered, this, &CMainFrame::ShowAbout);
    help->addAction(about);
}

void CMainFrame::CreateToolBar() {
    m_ToolBar->addAction(FindAction("New"));
    m_ToolBar->addAction(FindAction("Open a scene..."));
    m_ToolBar->addAction(m_ToolbarSave);
    m_ToolBar->addSeparator();
    m_ToolBar->addAction(m_SceneCamera);
    m_ToolBar->addAction(m_UserCamera);
    m_ToolBar->addSeparator();
    for (const SCreationButton& button : kCreationButtons) {
        QAction* create = MakeAction(button.toolTip, button.prompt);
        create->setIcon(CObjectIcons::ForType(button.type));
        create->setToolTip(button.toolTip);
        const QString type = QString::fromLatin1(button.type);
        connect(create, &QAction::triggered, this, [this, type] { CreateObject(type); });
        m_ToolBar->addAction(create);
    }
}

void CMainFrame::CreateStatusBar() {
    m_ReadyStatus = new QLabel("Ready");
    statusBar()->addWidget(m_ReadyStatus, 1);
    m_CameraStatus = new QLabel(CameraText(kUserCameraEye.x, kUserCameraEye.y, kUserCameraEye.z));
    // 170 pixels, wider where the font needs more for the whole text.
    m_CameraStatus->setMinimumWidth(170);
    statusBar()->addPermanentWidget(m_CameraStatus);
}

void CMainFrame::CreatePaneSwitching() {
    QAction* next = MakeAction("Next Pane", QString(), QKeySequence(Qt::Key_F6));
    connect(next, &QAction::triggered, this, [this] { FocusNextPane(1); });
    QAction* previous = MakeAction("Previous Pane", QString(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previous, &QAction::triggered, this, [this] { FocusNextPane(-1); });
}

void CMainFrame::FocusNextPane(int step) {
    QList<QWidget*> panes{m_View};
    for (CSizedDock* dock : {m_TimelineDock, m_ObjectListDock, m_PropertiesDock}) {
        if (dock->isVisible()) {
            panes.push_back(dock->widget());
        }
    }
    int current = -1;
    QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < panes.size(); ++i) {
        if (focus != nullptr && (focus == panes[i] || panes[i]->isAncestorOf(focus))) {
            current = i;
        }
    }
    const int count = static_cast<int>(panes.size());
    const int target = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    QWidget* pane = panes[target];
    if (pane == m_ObjectList) {
        m_ObjectList->Tree()->setFocus(Qt::ShortcutFocusReason);
    } else {
        pane->setFocus(Qt::ShortcutFocusReason);
    }
}

QAction* CMainFrame::FindAction(const QString& text) const {
    // The frame's own actions: not the menus' titles, not the docks' own
    // toggles.
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        if (PlainText(*action) == text) {
            return action;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- start

void CMainFrame::Start(const QString& sceneFile) {
    if (m_Started) {
        return;
    }
    m_Started = true;
    ApplyPlacement();
    if (m_Options.startEngine) {
        QString error;
        if (!m_View->StartEngine(&error)) {
            ShowError(error);
        }
    }
    WaitForEngine();
    if (m_Closed) {
        return;  // the engine failed and the editor ended
    }
    m_Document.AddMainCamera();
    m_ObjectList->Rebuild(true, true);
    ApplyViewSettings();

    StartRecovery();
    const bool restored = !m_Document.IsClean();
    if (!sceneFile.isEmpty()) {
        if (restored) {
            statusBar()->showMessage(
                QStringLiteral("%1 was not opened: the recovered scene is shown instead.").arg(sceneFile));
        } else {
            OpenFile(sceneFile);
        }
    }
}

bool CMainFrame::WaitForEngine() {
    CScreen& screen = CScreen::Instance();
    if (!m_View->IsEngineStarted() && screen.GetWindow() == nullptr) {
        return true;  // no engine run: nothing to wait for
    }
    QElapsedTimer waited;
    waited.start();
    while (!screen.IsInitialized() && waited.elapsed() < m_Options.engineWaitMs && !m_Closed) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    return screen.IsInitialized();
}

void CMainFrame::ApplyViewSettings() {
    m_View->SetGridVisible(m_Settings->Grid());
    m_View->SetInvertAxis(m_Settings->InvertAxis());
    m_Properties->SetAngleUnit(m_Settings->Angles());
    CScreen::Instance().SetShowFPS(m_Settings->FpsCounter());
}

void CMainFrame::ApplyPlacement() {
    m_StoredPlacement = m_Settings->Placement();
    const SWindowPlacement& placement = m_StoredPlacement;
    QRect normal(placement.x1, placement.y1, placement.x2 - placement.x1, placement.y2 - placement.y1);
    const SWindowPlacement defaults;
    if (normal.width() <= 0 || normal.height() <= 0) {
        normal = QRect(defaults.x1, defaults.y1, defaults.x2 - defaults.x1, defaults.y2 - defaults.y1);
    }
    // A window stored on a screen that is no longer there comes back on the
    // first one.
    if (QGuiApplication::screenAt(normal.center()) == nullptr) {
        normal.moveTopLeft(QPoint(defaults.x1, defaults.y1));
    }
    setGeometry(normal);
    if (placement.show == SWindowPlacement::kShowMaximized) {
        showMaximized();
    } else {
        show();
    }
}

SWindowPlacement CMainFrame::CurrentPlacement() const {
    SWindowPlacement placement = m_StoredPlacement;
    QRect normal = normalGeometry();
    if (!normal.isValid()) {
        normal = geometry();
    }
    placement.x1 = normal.left();
    placement.y1 = normal.top();
    placement.x2 = normal.left() + normal.width();
    placement.y2 = normal.top() + normal.height();
    if (isMinimized()) {
        placement.show = SWindowPlacement::kShowMinimized;
        placement.flags = (windowState() & Qt::WindowMaximized) ? SWindowPlacement::kRestoreToMaximized : 0;
    } else {
        placement.show = isMaximized() ? SWindowPlacement::kShowMaximized : SWindowPlacement::kShowNormal;
        placement.flags = 0;
    }
    return placement;
}

void CMainFrame::SaveLayout() {
    m_Settings->SetPlacement(CurrentPlacement());
    m_Settings->SetBarState(saveState());
    for (CSizedDock* dock : {m_TimelineDock, m_ObjectListDock, m_PropertiesDock}) {
        dock->WriteSizes(*m_Settings);
    }
    m_Settings->Sync();
}

// ---------------------------------------------------------------- recovery

void CMainFrame::StartRecovery() {
    QString error;
    if (!m_Recovery.Claim(&error)) {
        statusBar()->showMessage(error + QStringLiteral(" Unsaved work is not copied."));
        return;
    }
    OfferRecoveredCopies();
    m_RecoveryTimer.start();
    UpdateRecoveryCopy();
}

void CMainFrame::OfferRecoveredCopies() {
    for (const CRecoveryStore::SOrphan& orphan : m_Recovery.FindOrphans()) {
        const QString scene =
            orphan.originalPath.isEmpty()
                ? QStringLiteral("an untitled scene")
                : QStringLiteral("the scene \"%1\"").arg(QDir::toNativeSeparators(orphan.originalPath));
        const QString question =
            QStringLiteral(
                "Pelavor did not end properly. Changes to %1 that were not saved were copied on %2.\n\n"
                "Do you want to restore them? (No deletes the copy.)")
                .arg(scene, QLocale().toString(orphan.written, QLocale::ShortFormat));
        if (!Ask(question)) {
            m_Recovery.Discard(orphan);
            continue;
        }
        QString error;
        if (!m_Document.RestoreCopy(orphan.copyPath, orphan.originalPath, &error)) {
            ShowError(QStringLiteral("The copy could not be restored:\n%1").arg(error));
            m_Recovery.SetAside(orphan);
            continue;
        }
        // The restored work is copied again before the old copy goes.
        UpdateRecoveryCopy();
        m_Recovery.Discard(orphan);
        AfterSceneReplaced();
        return;  // one scene at a time; the others are offered next time
    }
}

void CMainFrame::UpdateRecoveryCopy() {
    if (!m_Recovery.IsClaimed()) {
        return;
    }
    if (m_Document.IsClean()) {
        m_Recovery.RemoveCopy();
        return;
    }
    QString error;
    if (!m_Recovery.WriteCopy(m_Document, &error)) {
        statusBar()->showMessage(QStringLiteral("The recovery copy could not be written: %1").arg(error));
    }
}

// ------------------------------------------------------- document commands

bool CMainFrame::Ask(const QString& question) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void CMainFrame::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Warning, kApplicationTitle, text, QMessageBox::Ok, this);
    box.exec();
}

void CMainFrame::NewScene() {
    if (!Ask("Are you sure you want to erase the current document?")) {
        return;
    }
    m_Document.NewScene();
    AfterSceneReplaced();
    m_Panes->ResetTimeline();
    CScreen::Instance().SetCamera(kUserCameraEye, kUserCameraDirection);
    UpdateCameraStatus();
}

void CMainFrame::OpenScene() {
    const QString path = AskOpenFile(kSceneFilter);
    if (!path.isEmpty()) {
        OpenPath(path, false);
    }
}

void CMainFrame::LoadPackage() {
    const QString path = AskOpenFile(QStringLiteral("%1;;All Files (*)").arg(kPackageFilter));
    if (!path.isEmpty()) {
        OpenPath(path, true);
    }
}

bool CMainFrame::OpenFile(const QString& path) {
    return OpenPath(path, CPackageProbe::IsPackage(path));
}

bool CMainFrame::OpenPath(const QString& path, bool package) {
    QString message;
    bool opened = false;
    {
        CWaitCursor wait;
        opened = m_Document.Open(path, package, &message);
    }
    if (!opened) {
        ShowError(message);
        return false;
    }
    AfterSceneReplaced();
    if (!message.isEmpty()) {
        ShowError(message);  // what the scene's objects could not find
    }
    return true;
}

void CMainFrame::SaveScene() {
    if (m_Document.Path().isEmpty()) {
        SaveSceneAs();
        return;
    }
    SaveTo(m_Document.Path(), false);
}

void CMainFrame::SaveSceneAs() {
    const QString path = AskSaveFile(kSceneFilter);
    if (!path.isEmpty()) {
        SaveTo(path, false);
    }
}

void CMainFrame::SavePackage() {
    const QString path = AskSaveFile(kSceneFilter);
    if (!path.isEmpty()) {
        SaveTo(path, true);
    }
}

void CMainFrame::SaveTo(const QString& path, bool package) {
    QString message;
    bool saved = false;
    {
        CWaitCursor wait;
        saved = m_Document.Save(path, package, &message);
    }
    UpdateTitle();
    if (!saved || !message.isEmpty()) {
        ShowError(message);
    }
}

QString CMainFrame::AskOpenFile(const QString& filter) {
    QFileDialog dialog(this, "Open");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString CMainFrame::AskSaveFile(const QString& filter) {
    QFileDialog dialog(this, "Save As");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix("bgs");
    if (!m_Document.Path().isEmpty()) {
        dialog.selectFile(m_Document.Path());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void CMainFrame::AfterSceneReplaced() {
    UpdateTitle();
    UpdateSaveAction();
    // The objects shown so far are gone: nothing of theirs is committed.
    m_ObjectList->Rebuild(true, false);
    m_Panes->FollowLoadedScene();
}

QString CMainFrame::TitleFor(const QString& path) {
    return QStringLiteral("%1 [%2]").arg(kApplicationTitle, path.isEmpty() ? QStringLiteral("Untitled") : path);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(TitleFor(m_Document.Path()));
}

void CMainFrame::UpdateSaveAction() {
    m_MenuSave->setEnabled(!m_Document.Path().isEmpty());
}

// ---------------------------------------------------------------- cameras

void CMainFrame::ShowSceneCamera() {
    m_CameraModes.ShowSceneCamera();
    m_View->SetNavigationEnabled(false);
    m_SceneCamera->setChecked(true);
}

void CMainFrame::ShowUserCamera() {
    m_CameraModes.ShowUserCamera();
    m_View->SetNavigationEnabled(true);
    m_UserCamera->setChecked(true);
    UpdateCameraStatus();
}

QString CMainFrame::CameraText(float x, float y, float z) {
    return QString::asprintf("Camera X:%2.2f Y:%2.2f Z:%2.2f", x, y, z);
}

void CMainFrame::UpdateCameraStatus() {
    float x = 0.0f, y = 0.0f, z = 0.0f, dirX = 0.0f, dirY = 0.0f, dirZ = 0.0f;
    CScreen::Instance().GetCameraPosition(x, y, z, dirX, dirY, dirZ);
    m_CameraStatus->setText(CameraText(x, y, z));
}

// ---------------------------------------------------------------- objects

CObjects* CMainFrame::CreateObject(const QString& type) {
    CObjectCreator creator(m_Document, this);
    CObjects* object = creator.CreateObject(type, QString());
    if (object != nullptr) {
        const QString name = QString::fromStdString(object->GetObjName());
        m_ObjectList->Rebuild(true, true);
        m_ObjectList->SelectByName(name);
    }
    return object;
}

// ---------------------------------------------------------------- sheets

void CMainFrame::ShowSceneProperties() {
    // Its OK and Apply are undoable commands; the document tells the
    // timeline when the total time or the music changed.
    CScenePropertiesSheet sheet(m_Document, this);
    sheet.exec();
}

void CMainFrame::ShowOptions() {
    CIdeOptionsSheet sheet(*m_Settings, this);
    if (sheet.exec() != QDialog::Accepted) {
        return;
    }
    // At once: the grid, the axis, the counter, and the pages in the new
    // angle unit. The view size waits for the next start.
    ApplyViewSettings();
    m_Panes->ShowSelection(true);
}

// ---------------------------------------------------------------- help

void CMainFrame::ShowHelp() {
    if (m_HelpWindow == nullptr) {
        m_HelpWindow = new CHelpWindow();
        m_HelpWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_HelpWindow->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_HelpWindow->show();
    m_HelpWindow->raise();
    m_HelpWindow->activateWindow();
}

void CMainFrame::ShowAbout() {
    CAboutDialog about(this);
    about.exec();
}

// ---------------------------------------------------------------- exit

void CMainFrame::OnEngineFailed() {
    // The engine has shown its errors; without a device there is nothing
    // to edit, and nothing to ask.
    m_ConfirmExit = false;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_Closed) {
        event->accept();
        return;
    }
    if (m_ConfirmExit && !Ask("Do you really want to leave the application?")) {
        event->ignore();
        return;
    }
    m_Closed = true;
    m_CameraTimer.stop();
    m_RecoveryTimer.stop();
    m_View->StopEngine();
    SaveLayout();
    m_Recovery.Release();
    if (m_HelpWindow != nullptr) {
        m_HelpWindow->close();
    }
    event->accept();
}
