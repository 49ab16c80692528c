#pragma once
// A main window for the frame's tests, under Qt's offscreen platform: its
// own settings and recovery folder, the engine not started on the view (a
// test that needs a device runs it headless, as CHeadlessEngine does), and
// a user who answers the modal windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <memory>

#include "app/CEditorTestHome.h"
#include "app/CMainFrame.h"
#include "app/CModalResponder.h"
#include "app/QtPrinters.h"

#include "common/QtTestApplication.h"
#include "document/CHeadlessEngine.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

class FrameFixture : public testing::Test {
protected:
    void SetUp() override {
        lvxtest::TestApplication();
        lvxtest::CEditorTestHome::Reset();
    }
    void TearDown() override {
        // The engine draws the frame's scene: it stops first.
        m_Engine.reset();
        if (m_Frame != nullptr) {
            m_Frame->SetConfirmExit(false);
            m_Frame->close();
            m_Frame.reset();
        }
    }

    static SFrameOptions Options() {
        SFrameOptions options;
        options.startEngine = false;
        options.recoveryFolder = lvxtest::CEditorTestHome::RecoveryFolder();
        return options;
    }
    CMainFrame& MakeFrame(const SFrameOptions& options = Options()) {
        m_Frame = std::make_unique<CMainFrame>(options);
        return *m_Frame;
    }
    // A frame whose scene is drawn by a running engine (a device exists).
    CMainFrame& StartWithEngine(const QString& sceneFile = QString()) {
        CMainFrame& frame = MakeFrame();
        m_Engine = std::make_unique<CHeadlessEngine>(frame.Document().Scene());
        EXPECT_TRUE(m_Engine->Start());
        frame.Start(sceneFile);
        return frame;
    }
    // Closes the frame as the user does; true when it closed.
    bool CloseFrame() {
        m_Frame->close();
        return !m_Frame->isVisible();
    }
    std::vector<std::string> SceneNames() {
        std::vector<std::string> names;
        CScene& scene = m_Frame->Document().Scene();
        for (int i = 0; i < scene.GetObjectNumber(); ++i) {
            names.push_back(scene.GetObjectA(i)->GetObjName());
        }
        return names;
    }
    QString File(const char* name) const { return QString::fromStdString(m_Folder.Path(name)); }

    CScreenStateGuard m_ScreenState;  // first: restores the screen after everything else went
    CTempFolder m_Folder;
    CModalResponder m_User;
    std::unique_ptr<CMainFrame> m_Frame;
    std::unique_ptr<CHeadlessEngine> m_Engine;
};
