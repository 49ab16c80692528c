// Pelavor, the editor: opens its main window, on a scene file or package
// given on the command line when there is one.
//
//   Pelavor [SCENE]
//
// The 3D view needs an X11 window for the engine to draw into, so the
// editor runs on Qt's xcb platform (through XWayland on a Wayland desktop)
// unless the user chose a platform.

#include <QApplication>
#include <QCommandLineParser>

#include "app/CEditorSettings.h"
#include "app/CErrorReportDialogs.h"
#include "app/CMainFrame.h"
#include "dialogs/CAboutDialog.h"

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(CEditorSettings::kOrganisation);
    QApplication::setApplicationName(CEditorSettings::kApplication);
    QApplication::setApplicationVersion(CAboutDialog::kVersion);
    // Desktops match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName("org.lumivexis.Pelavor");

    QCommandLineParser parser;
    parser.setApplicationDescription("Pelavor, the scene editor of the Lumivexis engine.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("scene", "A scene file or package to open.", "[SCENE]");
    parser.process(application);

    CErrorReportDialogs::Install();
    int result = 0;
    {
        CMainFrame frame;
        frame.Start(parser.positionalArguments().value(0));
        result = frame.isVisible() ? QApplication::exec() : 1;
    }
    CErrorReportDialogs::Uninstall();
    return result;
}
