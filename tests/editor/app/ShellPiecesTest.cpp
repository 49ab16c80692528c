// The smaller pieces of the editor's shell: telling packages from scene
// files, the message boxes of the engine's error reports, the help window
// with its manual, the about box and the camera switch on its own.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <thread>

#include "app/CCameraModes.h"
#include "app/CErrorReportDialogs.h"
#include "app/CModalResponder.h"
#include "app/CPackageProbe.h"
#include "app/CToolbarIcons.h"
#include "app/QtPrinters.h"
#include "app/Screenshots.h"
#include "common/QtTestApplication.h"
#include "core/CScreen.h"
#include "dialogs/CAboutDialog.h"
#include "dialogs/CHelpWindow.h"
#include "document/CEditorDocument.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

using testing::HasSubstr;

namespace {

// ------------------------------------------------------------ packages

class PackageProbeTest : public testing::Test {
protected:
    // A 122-byte trailer saying the scene data (with the trailer) is
    // `length` bytes long.
    static QByteArray Trailer(quint32 length) {
        QByteArray trailer(122, '\0');
        trailer[0] = '\x0D';
        trailer[1] = '\x0E';
        for (int i = 0; i < 4; ++i)
            trailer[10 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
        return trailer;
    }
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = QString::fromStdString(m_Folder.Path(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    CTempFolder m_Folder;
};

TEST_F(PackageProbeTest, AScenesDataFillingTheWholeFileIsAPlainScene) {
    const QByteArray data(500, 'd');
    EXPECT_FALSE(CPackageProbe::IsPackage(Write("plain.bgs", data + Trailer(500 + 122))));
}

TEST_F(PackageProbeTest, BytesInFrontOfTheSceneDataMakeAPackage) {
    const QByteArray player(4096, 'p');
    const QByteArray data(500, 'd');
    EXPECT_TRUE(CPackageProbe::IsPackage(Write("package.bgs", player + data + Trailer(500 + 122))));
}

TEST_F(PackageProbeTest, FilesWithoutAnIntactTrailerAreNoPackages) {
    QByteArray noMark = QByteArray(600, 'x') + Trailer(122);
    noMark[600] = 'X';
    EXPECT_FALSE(CPackageProbe::IsPackage(Write("nomark.bgs", noMark)));
    EXPECT_FALSE(CPackageProbe::IsPackage(Write("short.bgs", QByteArray(121, '\x0D'))));
    EXPECT_FALSE(CPackageProbe::IsPackage(Write("toolong.bgs", QByteArray(600, 'x') + Trailer(100000))));
    EXPECT_FALSE(CPackageProbe::IsPackage(Write("tiny.bgs", QByteArray(600, 'x') + Trailer(12))));
    EXPECT_FALSE(CPackageProbe::IsPackage(QString::fromStdString(m_Folder.Path("missing.bgs"))));
}

TEST_F(PackageProbeTest, ASceneSavedByTheEditorIsPlain) {
    CScreenStateGuard screen;
    CEditorDocument document;
    const QString file = QString::fromStdString(m_Folder.Path("saved.bgs"));
    ASSERT_TRUE(document.Save(file, false));
    EXPECT_FALSE(CPackageProbe::IsPackage(file));
}

// ------------------------------------------------------------ error reports

class ErrorReportDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        lvxtest::TestApplication();
        CErrorReportDialogs::Install();
    }
    void TearDown() override { CErrorReportDialogs::Uninstall(); }
};

TEST_F(ErrorReportDialogsTest, AReportOnTheInterfaceThreadIsAMessageBoxThatWaitsForTheUser) {
    CModalResponder user;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    user.onShown = [&](QWidget* modal) {
        title = modal->windowTitle();
        icon = static_cast<QMessageBox*>(modal)->icon();
    };
    user.Answer(CModalResponder::Click(QMessageBox::Ok));

    AfxMessageBox("Unable to open the file.", MB_OK | MB_ICONEXCLAMATION);

    EXPECT_EQ(user.Messages(), QStringList({"Unable to open the file."}));
    EXPECT_EQ(title, "Brennox Skyloom");
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST_F(ErrorReportDialogsTest, AReportFromAnotherThreadIsShownLaterWithoutBlockingThatThread) {
    CModalResponder user;
    user.Answer(CModalResponder::Click(QMessageBox::Ok));
    std::thread renderThread([] { ReportError("from the render thread", "Lumivexis"); });
    renderThread.join();  // returned although nobody has answered yet
    EXPECT_EQ(user.Seen(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return user.Seen() == 1; }, 2000));
    EXPECT_EQ(user.Messages(), QStringList({"from the render thread"}));
    EXPECT_EQ(user.Titles(), QStringList({"Lumivexis"}));
}

// ------------------------------------------------------------ help, about

class HelpAndAboutTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }
    CTempFolder m_Folder;
};

TEST_F(HelpAndAboutTest, TheHelpWindowShowsTheManualsFirstPageAndFollowsItsLinks) {
    const QString folder = QString::fromStdString(m_Folder.Root().string());
    m_Folder.Write("index.html", std::string("<h1>Contents</h1><a href=\"view.html\">The 3D view</a>"));
    m_Folder.Write("view.html", std::string("<h1>The 3D view</h1>"));
    CHelpWindow help(folder);
    EXPECT_TRUE(help.HasManual());
    EXPECT_THAT(help.Browser()->toPlainText().toStdString(), HasSubstr("Contents"));
    help.Browser()->setSource(QUrl("view.html"));
    EXPECT_THAT(help.Browser()->toPlainText().toStdString(), HasSubstr("The 3D view"));
    help.ShowContents();
    EXPECT_THAT(help.Browser()->toPlainText().toStdString(), HasSubstr("Contents"));
}

TEST_F(HelpAndAboutTest, AMissingManualSaysWhereItWasLookedFor) {
    CHelpWindow help(QString::fromStdString(m_Folder.Path("nowhere")));
    EXPECT_FALSE(help.HasManual());
    EXPECT_THAT(help.Browser()->toPlainText().toStdString(), HasSubstr("nowhere"));
}

TEST_F(HelpAndAboutTest, TheShippedManualIsFoundBesideTheProgram) {
    // The build puts the manual into the binaries' media folder, where the
    // test programs live too.
    CHelpWindow help;
    help.show();
    lvxtest::SaveScreenshot(help, "editor-help-window");
    EXPECT_EQ(help.Folder(), QDir(QCoreApplication::applicationDirPath()).filePath("media/help"));
    ASSERT_TRUE(help.HasManual());
    // Every picture the manual shows is shipped with it.
    const QString index = QDir(help.Folder()).filePath("index.html");
    QFile file(index);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression image("<img[^>]*src=\"([^\"]+)\"");
    int pictures = 0;
    for (auto match = image.globalMatch(html); match.hasNext(); ++pictures) {
        const QString source = match.next().captured(1);
        EXPECT_TRUE(QFile::exists(QDir(help.Folder()).filePath(source))) << source.toStdString();
    }
    EXPECT_GT(pictures, 0);
}

TEST_F(HelpAndAboutTest, TheAboutBoxNamesProductVersionHomePageAndInstallerBuilder) {
    CAboutDialog about;
    about.show();
    lvxtest::SaveScreenshot(about, "editor-about-box");
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    const QString all = texts.join('\n');
    EXPECT_THAT(all.toStdString(), HasSubstr("Brennox 3D Pelavor"));
    EXPECT_THAT(all.toStdString(), HasSubstr("0.3.5"));
    EXPECT_THAT(all.toStdString(), HasSubstr("This software uses makeself to create installers."));
    EXPECT_TRUE(about.Link()->openExternalLinks());
    EXPECT_THAT(about.Link()->text().toStdString(), HasSubstr("href=\"https://"));
}

// ------------------------------------------------------------ cameras

TEST(CameraModesTest, TheSceneCameraShownTwiceStillReturnsToTheFirstUserCamera) {
    lvxtest::TestApplication();
    CScreenStateGuard screen;
    CEditorDocument document;
    CCameraModes modes(CScreen::Instance(), document.Scene());
    CScreen::Instance().SetCamera(1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 1.0f);
    modes.ShowSceneCamera();
    CScreen::Instance().SetCamera(9.0f, 9.0f, 9.0f, 1.0f, 0.0f, 0.0f);  // a scene camera moved it
    modes.ShowSceneCamera();
    modes.ShowUserCamera();
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    EXPECT_EQ(eye, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(direction, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(modes.IsNavigationAllowed());
}

TEST(ToolbarIconsTest, EveryPictureDrawsSomethingAtEverySize) {
    lvxtest::TestApplication();
    for (auto picture :
         {CToolbarIcons::EPicture::NewScene, CToolbarIcons::EPicture::OpenScene, CToolbarIcons::EPicture::SaveScene,
          CToolbarIcons::EPicture::SceneCamera, CToolbarIcons::EPicture::UserCamera}) {
        for (int size : {16, 24, 32}) {
            const QImage image = CToolbarIcons::Draw(picture, size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size));
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            EXPECT_GT(opaque, size * size / 8) << static_cast<int>(picture) << " at " << size;
            EXPECT_LT(opaque, size * size) << "transparent around the picture";
        }
    }
}

}  // namespace
