#pragma once
// The player program "ScreenSaver.dat": reads its command line, finds the
// scene (a file given by path, or the package appended to its own image),
// sets the engine up from the scene's display format, opens the output the
// screensaver daemon (or the user) asked for and plays until the run ends.
//
// Exit status: 0 the scene played (also when a signal or the daemon ended
// it), 1 it could not be played (not a scene, damaged, no display, engine
// start-up failure, screenshot not written), 2 usage error, 128 + the
// signal's number when a signal came before the run or while an error was
// on screen (see CSignalResponse).

#include <string>
#include <vector>

#include "CPlayerOptions.h"
#include "CSceneFileProbe.h"
#include "CSignalResponse.h"

class CPlayerApp {
public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;

    // programName: the name messages start with; startedAs: argv[0], for
    // messages about the program's own file when /proc cannot tell.
    explicit CPlayerApp(std::string programName, std::string startedAs = {})
        : m_ProgramName(std::move(programName)), m_StartedAs(std::move(startedAs)) {}
    // Puts the default error report back: the installed one refers to this.
    ~CPlayerApp();
    CPlayerApp(const CPlayerApp&) = delete;
    CPlayerApp& operator=(const CPlayerApp&) = delete;

    // arguments: argv without the program name.
    int Main(const std::vector<std::string>& arguments);

private:
    int Play(const SPlayerOptions& options);
    int RunSettingsDialog();
    // Locates and checks the scene; false with the exit status set.
    bool FindScene(const SPlayerOptions& options, std::string& path, SSceneFileInfo& info, int& status);
    void InstallErrorReporting(bool interactive);
    void Fail(const std::string& message) const;

    std::string m_ProgramName;
    std::string m_StartedAs;
    CSignalResponse m_Signals;
};
