// The main window: what a first start shows, the title and the Save
// commands, the questions of New and Exit, the scene and user cameras, the
// camera pane of the status bar, the menus and toolbar, what the window
// keeps in the settings, files given on the command line and the end of
// an engine that has no device.

#include <gmock/gmock.h>

#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>

#include "app/CPackageProbe.h"
#include "app/CSizedDock.h"
#include "app/FrameFixture.h"
#include "app/Screenshots.h"
#include "core/CScreen.h"
#include "panes/CObjectListPane.h"
#include "scene/CObjects.h"
#include "view/C3DView.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

class FrameTest : public FrameFixture {
protected:
    QSettings RawSettings() const { return QSettings(lvxtest::CEditorTestHome::SettingsFile(), QSettings::IniFormat); }
    QStringList ToolbarEntries(QToolBar& toolbar) {
        QStringList entries;
        for (QAction* action : toolbar.actions()) {
            entries << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        }
        return entries;
    }
    void MoveUserCamera(float x, float y, float z, float dx, float dy, float dz) {
        CScreen::Instance().SetCamera(x, y, z, dx, dy, dz);
    }
};

// ------------------------------------------------------------ first start

TEST_F(FrameTest, AFirstStartWithEmptySettingsGivesTheDefaultWindowAndView) {
    CMainFrame& frame = MakeFrame();
    EXPECT_EQ(frame.CameraStatus()->text(), "Camera X:0.00 Y:1.00 Z:-10.00");
    frame.Start();

    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(frame.isMaximized());
    EXPECT_EQ(frame.geometry(), QRect(QPoint(20, 20), QPoint(1023, 767)));
    EXPECT_TRUE(frame.View()->IsGridVisible());
    EXPECT_TRUE(frame.View()->IsNavigationEnabled());
    EXPECT_EQ(frame.View()->BackBufferSize(), QSize(800, 600));
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [Untitled]");
    EXPECT_EQ(frame.ReadyStatus()->text(), "Ready");
    EXPECT_GE(frame.CameraStatus()->width(), 170);
}

TEST_F(FrameTest, AFirstStartWithAnEngineAddsTheMainCameraAndShowsItInTheObjectList) {
    CMainFrame& frame = StartWithEngine();
    lvxtest::SaveScreenshot(frame, "editor-main-frame-offscreen");
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    CObjects* selected = frame.ObjectList()->GetSelectedObject();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->GetObjName(), "Main Camera");
    EXPECT_TRUE(frame.Document().IsClean());
}

TEST_F(FrameTest, StoredSettingsChooseThePlacementTheViewSizeAndTheViewFlags) {
    {
        CEditorSettings settings;
        SWindowPlacement placement;
        placement.x1 = 40;
        placement.y1 = 50;
        placement.x2 = 640;
        placement.y2 = 550;
        settings.SetPlacement(placement);
        settings.SetGrid(false);
        settings.SetInvertAxis(true);
        settings.SetViewSize(400);
    }
    CMainFrame& frame = MakeFrame();
    frame.Start();
    EXPECT_EQ(frame.geometry(), QRect(40, 50, 600, 500));
    EXPECT_FALSE(frame.View()->IsGridVisible());
    EXPECT_EQ(frame.View()->BackBufferSize(), QSize(400, 300));
}

TEST_F(FrameTest, AStoredMaximisedWindowStartsMaximised) {
    {
        CEditorSettings settings;
        SWindowPlacement placement;
        placement.show = SWindowPlacement::kShowMaximized;
        settings.SetPlacement(placement);
    }
    CMainFrame& frame = MakeFrame();
    frame.Start();
    EXPECT_TRUE(frame.isMaximized());
}

TEST_F(FrameTest, AnUnusableStoredRectangleGivesTheDefaultPlace) {
    {
        CEditorSettings settings;
        SWindowPlacement placement;
        placement.x1 = 500;
        placement.x2 = 100;  // right of its right edge
        settings.SetPlacement(placement);
    }
    CMainFrame& frame = MakeFrame();
    frame.Start();
    EXPECT_EQ(frame.geometry().topLeft(), QPoint(20, 20));
    EXPECT_GT(frame.geometry().width(), 400);
}

// ------------------------------------------------------------ title, save

TEST_F(FrameTest, TheTitleNamesTheFullPathOfTheFileOnceThereIsOne) {
    EXPECT_EQ(CMainFrame::TitleFor(QString()), "Brennox Skyloom [Untitled]");
    CMainFrame& frame = MakeFrame();
    frame.Start();
    const QString file = File("titled.bgs");
    ASSERT_TRUE(frame.Document().Save(file, false));
    frame.Document().NewScene();
    ASSERT_TRUE(frame.OpenFile(file));
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [" + file + "]");
}

TEST_F(FrameTest, MenuSaveIsGreyedWithoutAFileWhileTheToolbarButtonIsNot) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    EXPECT_FALSE(frame.MenuSaveAction()->isEnabled());
    EXPECT_TRUE(frame.ToolbarSaveAction()->isEnabled());
    EXPECT_TRUE(frame.ToolBar()->actions().contains(frame.ToolbarSaveAction()));

    ASSERT_TRUE(frame.Document().Save(File("named.bgs"), false));
    EXPECT_TRUE(frame.MenuSaveAction()->isEnabled());
}

TEST_F(FrameTest, SaveWithoutAFileAsksForOneLikeSaveAsAndAddsTheExtension) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    m_User.Answer(CModalResponder::ChooseFile(File("chosen")));

    frame.ToolbarSaveAction()->trigger();

    EXPECT_FALSE(m_User.SawNativeFileDialog());
    EXPECT_TRUE(QFile::exists(File("chosen.bgs")));
    EXPECT_EQ(frame.Document().Path(), File("chosen.bgs"));
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [" + File("chosen.bgs") + "]");
    EXPECT_THAT(m_User.Messages(), IsEmpty());
}

TEST_F(FrameTest, SaveWithAFileWritesItWithoutAsking) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    const QString file = File("again.bgs");
    ASSERT_TRUE(frame.Document().Save(file, false));
    QFile::remove(file);

    frame.SaveScene();

    EXPECT_EQ(m_User.Seen(), 0);
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(FrameTest, CancellingAFileDialogChangesNothing) {
    CMainFrame& frame = StartWithEngine();
    m_User.Answer(CModalResponder::Cancel());
    m_User.Answer(CModalResponder::Cancel());
    frame.SaveSceneAs();
    frame.OpenScene();
    EXPECT_EQ(m_User.Seen(), 2);
    EXPECT_TRUE(frame.Document().Path().isEmpty());
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [Untitled]");
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
}

TEST_F(FrameTest, OpeningADamagedFileSaysWhyAndKeepsSceneAndTitle) {
    CMainFrame& frame = StartWithEngine();
    const QString file = File("broken.bgs");
    {
        QFile broken(file);
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(300, '\x0D'));
    }
    m_User.Answer(CModalResponder::ChooseFile(file));
    m_User.Answer(CModalResponder::Click(QMessageBox::Ok));

    frame.OpenScene();

    ASSERT_EQ(m_User.Messages().size(), 1);
    EXPECT_FALSE(m_User.Messages().at(0).isEmpty());
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [Untitled]");
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
}

TEST_F(FrameTest, APackageSavedAndLoadedAgainKeepsItsObjects) {
    CMainFrame& frame = StartWithEngine();
    const QString package = File("scene-package.bgs");
    m_User.Answer(CModalResponder::ChooseFile(package));
    frame.SavePackage();
    if (!QFile::exists(package)) {
        GTEST_SKIP() << "no player program beside the test to pack: " << m_User.Messages().join(" / ").toStdString();
    }
    EXPECT_TRUE(CPackageProbe::IsPackage(package));
    EXPECT_EQ(frame.Document().Path(), package);
    frame.Document().NewScene();
    {
        CSceneLock lock(frame.Document().Scene());
        frame.Document().Scene().CleanUp();
    }
    m_User.Answer(CModalResponder::ChooseFile(package));
    frame.LoadPackage();
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [" + package + "]");
}

// ------------------------------------------------------------ new, exit

TEST_F(FrameTest, NoToTheNewQuestionLeavesTheSceneAsItWas) {
    CMainFrame& frame = StartWithEngine();
    ASSERT_NE(frame.CreateObject("CBoxObject"), nullptr);
    m_User.Answer(CModalResponder::Click(QMessageBox::No));

    frame.FindAction("New")->trigger();

    EXPECT_THAT(m_User.Messages(), ElementsAre("Are you sure you want to erase the current document?"));
    EXPECT_THAT(SceneNames(), testing::UnorderedElementsAre("Main Camera", "untitled_0"));
    EXPECT_TRUE(frame.Document().UndoStack().canUndo());
}

TEST_F(FrameTest, AfterNewOnlyTheMainCameraIsLeftAndThePaneShowsItsPlaceInTime) {
    CMainFrame& frame = StartWithEngine();
    ASSERT_NE(frame.CreateObject("CSphereObject"), nullptr);
    MoveUserCamera(7.0f, 8.0f, 9.0f, 1.0f, 0.0f, 0.0f);
    frame.UpdateCameraStatus();
    ASSERT_EQ(frame.CameraStatus()->text(), "Camera X:7.00 Y:8.00 Z:9.00");
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));

    frame.NewScene();

    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_FALSE(frame.Document().UndoStack().canUndo());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.CameraStatus()->text() == "Camera X:0.00 Y:1.00 Z:-10.00"; }, 500));
    EXPECT_EQ(frame.ObjectList()->GetSelectedObject()->GetObjName(), "Main Camera");
}

TEST_F(FrameTest, TheCameraPaneFollowsTheCameraWithinHalfASecond) {
    CMainFrame& frame = StartWithEngine();
    MoveUserCamera(-1.5f, 2.25f, 3.125f, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.CameraStatus()->text() == "Camera X:-1.50 Y:2.25 Z:3.13"; }, 600));
}

TEST_F(FrameTest, NoToTheExitQuestionKeepsTheWindowOpenAndWritesNothing) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    m_User.Answer(CModalResponder::Click(QMessageBox::No));

    EXPECT_FALSE(CloseFrame());

    EXPECT_THAT(m_User.Messages(), ElementsAre("Do you really want to leave the application?"));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(RawSettings().contains("Main Window Coordinates/x1"));
}

TEST_F(FrameTest, ExitWritesThePlacementAndTheLayoutOfThePanes) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    frame.setGeometry(QRect(60, 70, 900, 640));
    frame.PropertiesDock()->hide();
    m_User.Answer(CModalResponder::Click(QMessageBox::Yes));

    ASSERT_TRUE(CloseFrame());

    QSettings raw = RawSettings();
    EXPECT_EQ(raw.value("Main Window Coordinates/x1").toInt(), 60);
    EXPECT_EQ(raw.value("Main Window Coordinates/y1").toInt(), 70);
    EXPECT_EQ(raw.value("Main Window Coordinates/x2").toInt(), 960);
    EXPECT_EQ(raw.value("Main Window Coordinates/y2").toInt(), 710);
    EXPECT_EQ(raw.value("Main Window Coordinates/show").toInt(), 1);
    EXPECT_EQ(raw.value("Main Window Coordinates/xmax").toInt(), 100000);
    for (int id : {123, 124, 125}) {
        EXPECT_TRUE(raw.contains(CEditorSettings::DockSection(id) + "/sizeVertCX")) << id;
    }
    EXPECT_TRUE(raw.contains("Brennox_SCSB_BARSTATE/state"));

    // The next start puts everything back.
    m_Frame.reset();
    CMainFrame& again = MakeFrame();
    again.Start();
    EXPECT_EQ(again.geometry(), QRect(60, 70, 900, 640));
    EXPECT_FALSE(again.PropertiesDock()->isVisible());
    EXPECT_TRUE(again.ObjectListDock()->isVisible());
    EXPECT_EQ(again.dockWidgetArea(again.TimelineDock()), Qt::BottomDockWidgetArea);
}

TEST_F(FrameTest, AnEngineWithoutADeviceEndsTheEditorWithoutAQuestion) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    emit frame.View()->EngineFailed();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(m_User.Seen(), 0);
}

// ------------------------------------------------------------ cameras

TEST_F(FrameTest, F9ThenF10ReturnsTheUserCameraExactlyWhereItWas) {
    CMainFrame& frame = StartWithEngine();
    ASSERT_NE(frame.CreateObject("CCameraTrajectoryObject"), nullptr);
    const D3DXVECTOR3 eye(3.25f, -1.5f, 12.0f);
    const D3DXVECTOR3 direction(0.6f, 0.0f, 0.8f);
    CScreen::Instance().SetCamera(eye, direction);
    QApplication::setActiveWindow(&frame);

    QTest::keyClick(&frame, Qt::Key_F9);
    EXPECT_TRUE(frame.IsSceneCameraShown());
    EXPECT_FALSE(frame.Document().Scene().GetFreeCamera());
    EXPECT_FALSE(frame.View()->IsNavigationEnabled());
    m_Engine->WaitFrames(3);  // the scene's camera has moved the view meanwhile

    QTest::keyClick(&frame, Qt::Key_F10);
    D3DXVECTOR3 eyeNow, directionNow;
    CScreen::Instance().GetCameraPosition(eyeNow, directionNow);
    EXPECT_EQ(eyeNow, eye);
    EXPECT_EQ(directionNow, direction);
    EXPECT_FALSE(frame.IsSceneCameraShown());
    EXPECT_TRUE(frame.Document().Scene().GetFreeCamera());
    EXPECT_TRUE(frame.View()->IsNavigationEnabled());
}

TEST_F(FrameTest, TheShowMenuChecksTheCameraInUse) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    QAction* camera = frame.FindAction("Camera");
    QAction* user = frame.FindAction("User");
    EXPECT_TRUE(user->isChecked());
    EXPECT_FALSE(camera->isChecked());
    frame.ShowSceneCamera();
    EXPECT_TRUE(camera->isChecked());
    EXPECT_FALSE(user->isChecked());
    frame.ShowUserCamera();
    EXPECT_TRUE(user->isChecked());
}

TEST_F(FrameTest, F10WhileTheUserCameraIsShownLeavesItAlone) {
    CMainFrame& frame = StartWithEngine();
    CScreen::Instance().SetCamera(1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 1.0f);
    frame.ShowUserCamera();
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    EXPECT_EQ(eye, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
}

// ------------------------------------------------------------ menus, toolbar

TEST_F(FrameTest, TheMenusComeInTheirOrderWithEditBetweenFileAndScene) {
    CMainFrame& frame = MakeFrame();
    QStringList titles;
    for (QAction* menu : frame.menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Scene", "&Tools", "&View", "Sho&w", "&Help"}));
}

TEST_F(FrameTest, MenuItemsCarryTheirTextsAcceleratorsAndPrompts) {
    CMainFrame& frame = MakeFrame();
    struct SItem {
        const char* name;
        const char* text;
        QKeySequence key;
        const char* prompt;
    };
    const SItem items[] = {
        {"New", "&New", {}, "To create a new scene and erase the previous"},
        {"Open a scene...", "&Open a scene...\tCtrl-O", QKeySequence("Ctrl+O"), "To open an existing Scene"},
        {"Save Scene", "&Save Scene\tCtrl-S", {}, "Save the current scene on disk"},
        {"Save As Scene...", "Save &As Scene...", {}, "Ask for a name, then save the current scene on disk"},
        {"Export...", "Export...", {}, "Export your project to a stand alone screen saver or executable"},
        {"Exit", "E&xit", {}, "Quit the application; prompts to save documents"},
        {"Undo", "&Undo\tCtrl+Z", QKeySequence("Ctrl+Z"), "Undo the last change"},
        {"Redo", "&Redo\tCtrl+Shift+Z", QKeySequence("Ctrl+Shift+Z"), "Redo the change undone last"},
        {"Options...", "&Options...\tAlt-O", QKeySequence("Alt+O"), "Open the IDE Options dialog"},
        {"Font Importer...", "&Font Importer...", {}, "To Import a standard font into Pelavor"},
        {"Timeline", "Time&line", {}, "Show or hide the timeline"},
        {"Object List", "&Object List", {}, "Show or hide the object list"},
        {"Camera", "&Camera\tF9", QKeySequence(Qt::Key_F9), "Select this item to show the scene using the camera."},
        {"User", "User\tF10", QKeySequence(Qt::Key_F10), "Select this item to move the camera using the mouse."},
        {"Help", "&Help\tF1", QKeySequence(Qt::Key_F1), ""},
        {"About Brennox 3D Pelavor...", "&About Brennox 3D Pelavor...", {}, nullptr},
    };
    for (const SItem& item : items) {
        QAction* action = frame.FindAction(item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), item.text);
        EXPECT_EQ(action->shortcut(), item.key) << item.name;
        if (item.prompt != nullptr) {
            EXPECT_EQ(action->statusTip(), item.prompt) << item.name;
        }
    }
    EXPECT_EQ(frame.ToolbarSaveAction()->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(frame.FindAction("Properties...")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(frame.FindAction("Next Pane")->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(frame.FindAction("Previous Pane")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
}

TEST_F(FrameTest, TheToolbarHoldsItsButtonsInOrder) {
    CMainFrame& frame = MakeFrame();
    EXPECT_EQ(ToolbarEntries(*frame.ToolBar()),
              QStringList({"New", "Open", "Save", "|", "Camera", "User", "|", "Box", "Sphere", "Cylinder", "Torus",
                           "Plane", "Static Mesh", "Animated Mesh", "Text", "Height Map", "Camera"}));
    for (QAction* action : frame.ToolBar()->actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
            EXPECT_FALSE(action->statusTip().isEmpty()) << action->toolTip().toStdString();
        }
    }
}

TEST_F(FrameTest, ViewItemsShowAndHideThePanes) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    frame.FindAction("Timeline")->trigger();
    EXPECT_FALSE(frame.TimelineDock()->isVisible());
    frame.FindAction("Timeline")->trigger();
    EXPECT_TRUE(frame.TimelineDock()->isVisible());
    frame.FindAction("Toolbar")->trigger();
    EXPECT_FALSE(frame.ToolBar()->isVisible());
}

TEST_F(FrameTest, ThePanesDockWhereTheyBelong) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    EXPECT_EQ(frame.TimelineDock()->windowTitle(), "Timeline");
    EXPECT_EQ(frame.ObjectListDock()->windowTitle(), "Object List");
    EXPECT_EQ(frame.PropertiesDock()->windowTitle(), "Properties");
    EXPECT_EQ(frame.dockWidgetArea(frame.TimelineDock()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(frame.ObjectListDock()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(frame.PropertiesDock()), Qt::LeftDockWidgetArea);
    EXPECT_LT(frame.ObjectListDock()->y(), frame.PropertiesDock()->y());
    EXPECT_FALSE(frame.TimelineDock()->isAreaAllowed(Qt::LeftDockWidgetArea));
    EXPECT_EQ(frame.TimelineDock()->maximumHeight(), 120);
    EXPECT_EQ(frame.ObjectListDock()->maximumSize(), QSize(40000, 40000));
}

TEST_F(FrameTest, AFloatingPaneTakesItsFloatingSizeAndLimits) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    frame.PropertiesDock()->setFloating(true);
    EXPECT_EQ(frame.PropertiesDock()->size(), QSize(290, 380));
    EXPECT_EQ(frame.PropertiesDock()->maximumSize(), QSize(290, 380));
    frame.ObjectListDock()->setFloating(true);
    EXPECT_EQ(frame.ObjectListDock()->size(), QSize(190, 300));
    EXPECT_EQ(frame.ObjectListDock()->minimumSize(), QSize(100, 100));
}

TEST_F(FrameTest, F6MovesTheFocusFromPaneToPane) {
    CMainFrame& frame = MakeFrame();
    frame.Start();
    QApplication::setActiveWindow(&frame);
    frame.View()->setFocus();
    frame.FindAction("Next Pane")->trigger();
    EXPECT_EQ(QApplication::focusWidget(), frame.TimelineDock()->widget());
    frame.FindAction("Next Pane")->trigger();
    EXPECT_EQ(QApplication::focusWidget(), frame.ObjectList()->Tree());
    frame.FindAction("Previous Pane")->trigger();
    frame.FindAction("Previous Pane")->trigger();
    EXPECT_EQ(QApplication::focusWidget(), frame.View());
}

// ------------------------------------------------------------ objects

TEST_F(FrameTest, ACreationButtonAddsANamedObjectSelectsItAndCanBeUndone) {
    CMainFrame& frame = StartWithEngine();
    QAction* box = frame.FindAction("Box");
    ASSERT_NE(box, nullptr);
    box->trigger();
    ASSERT_NE(frame.ObjectList()->GetSelectedObject(), nullptr);
    EXPECT_EQ(frame.ObjectList()->GetSelectedObject()->GetObjName(), "untitled_0");
    EXPECT_FALSE(frame.Document().IsClean());

    frame.FindAction("Undo")->trigger();
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_TRUE(frame.Document().IsClean());
    frame.FindAction("Redo")->trigger();
    EXPECT_THAT(SceneNames(), testing::UnorderedElementsAre("Main Camera", "untitled_0"));
}

// ------------------------------------------------------------ command line

TEST_F(FrameTest, AFileOnTheCommandLineIsOpened) {
    const QString file = File("given.bgs");
    {
        CEditorDocument document;
        ASSERT_TRUE(document.Save(file, false));
    }
    CMainFrame& frame = StartWithEngine(file);
    EXPECT_EQ(frame.Document().Path(), file);
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [" + file + "]");
    EXPECT_THAT(SceneNames(), IsEmpty());
}

TEST_F(FrameTest, ADamagedFileOnTheCommandLineIsReportedAndTheEditorStartsEmpty) {
    const QString file = File("damaged.bgs");
    {
        QFile damaged(file);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a scene at all");
    }
    m_User.Answer(CModalResponder::Click(QMessageBox::Ok));
    CMainFrame& frame = StartWithEngine(file);
    EXPECT_EQ(m_User.Messages().size(), 1);
    EXPECT_THAT(SceneNames(), ElementsAre("Main Camera"));
    EXPECT_EQ(frame.windowTitle(), "Brennox Skyloom [Untitled]");
}

}  // namespace
