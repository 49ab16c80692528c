#include "CInfoCommand.h"

#include <iostream>

#include "CRunDirectory.h"
#include "CSceneReport.h"
#include "CSceneSource.h"
#include "CToolArguments.h"
#include "core/CScreen.h"
#include "scene/CScene.h"

std::string CInfoCommand::Help() const {
    return "Usage: lumivexis info SCENE [--json]\n"
           "Shows the display format of a scene file or package, its settings (background,\n"
           "sky box, fog, time, loop, music) and every object with its type, name and key\n"
           "frames, each with the value of every curve at that key.\n"
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
    if (!source.LoadInto(scene))
        return Fail("cannot load \"" + parsed.Positionals()[0] + "\"");
    const SSceneReport report = CSceneReport::Build(scene, CScreen::Instance(), source.Path(), source.Info());
    if (parsed.Has("json")) {
        CSceneReport::WriteJson(report, std::cout);
    } else {
        CSceneReport::WriteText(report, std::cout);
    }
    std::cout.flush();
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}
