#include "CInfoCommand.h"

#include <algorithm>
#include <iostream>

#include "CErrorLog.h"
#include "CRunDirectory.h"
#include "CSceneReport.h"
#include "CSceneSource.h"
#include "CToolArguments.h"
#include "core/CScreen.h"
#include "scene/CScene.h"

namespace {

// The scene reader's words for a file that is neither where the scene says
// nor beside it.
constexpr char kNotFound[] = "Unable to find file \"";

// The file named by the scene reader's "cannot find" report; empty for any
// other report.
std::string MissingFileIn(const std::string& report) {
    const size_t start = report.find(kNotFound);
    if (start == std::string::npos)
        return {};
    const size_t nameStart = start + sizeof kNotFound - 1;
    const size_t nameEnd = report.find("\":", nameStart);
    return nameEnd == std::string::npos ? std::string() : report.substr(nameStart, nameEnd - nameStart);
}

// Loading a plain scene reads every file it names and reports those it cannot
// find; info needs only their names, so those reports become a list. Any
// other report, and every report of a load that fails, is printed.
bool LoadListingMissingFiles(const CSceneSource& source, CScene& scene, std::vector<std::string>& missingFiles) {
    CErrorLog::BeginHolding();
    const bool loaded = source.LoadInto(scene);
    for (const std::string& held : CErrorLog::EndHolding()) {
        const std::string missing = MissingFileIn(held);
        if (!loaded || missing.empty()) {
            CErrorLog::Print(held);
        } else if (std::find(missingFiles.begin(), missingFiles.end(), missing) == missingFiles.end()) {
            missingFiles.push_back(missing);  // reported as often as the scene names it
        }
    }
    return loaded;
}

}  // namespace

std::string CInfoCommand::Help() const {
    return "Usage: lumivexis info SCENE [--json]\n"
           "Shows the display format of a scene file or package, its settings (background,\n"
           "sky box, fog, time, loop, music) and every object with its type, name and key\n"
           "frames, each with the value of every curve at that key. Files the scene names\n"
           "that cannot be found are listed, not reported as errors: info does not need them.\n"
           "\n"
           "  --json    the same as one JSON object on standard output\n";
}

int CInfoCommand::Run(const std::vector<std::string>& arguments) {
    CToolArguments parsed;
    std::string error;
    if (!parsed.Parse(arguments, {"json"}, {}, error))
        return UsageError(error);
    if (parsed.Positionals().size() != 1)
        return UsageError("needs exactly one scene file");

    CSceneSource source;
    if (!source.Open(parsed.Positionals()[0], error))
        return Fail(error);
    CRunDirectory::EnterStateDirectory();

    CScene scene;
    std::vector<std::string> missingFiles;
    if (!LoadListingMissingFiles(source, scene, missingFiles))
        return Fail("cannot load \"" + parsed.Positionals()[0] + "\"");
    SSceneReport report = CSceneReport::Build(scene, CScreen::Instance(), source.Path(), source.Info());
    report.missingFiles = std::move(missingFiles);
    if (parsed.Has("json")) {
        CSceneReport::WriteJson(report, std::cout);
    } else {
        CSceneReport::WriteText(report, std::cout);
    }
    std::cout.flush();
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}
