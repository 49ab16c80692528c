#include "CPackCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CErrorLog.h"
#include "CPackOutput.h"
#include "CProgramImage.h"
#include "CRunDirectory.h"
#include "CSceneSource.h"
#include "CScratchFolder.h"
#include "CToolArguments.h"
#include "platform/files/CInstallLayout.h"
#include "scene/CScene.h"

namespace {

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void PutLittleEndian32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::string CPackCommand::Help() const {
    return "Usage: lumivexis pack SCENE OUT [--screensaver|--executable] [--resolution 0-5]\n"
           "                      [--windowed|--fullscreen] [--title TEXT]\n"
           "Writes OUT as the editor's export does: the player, the scene with every file\n"
           "it uses inside, and the display format. OUT is made executable and plays by\n"
           "itself (and works as an xscreensaver hack). The display format is the scene's\n"
           "own (a file without one packs as a full-screen screensaver at the desktop's\n"
           "resolution titled \"Brennox Skyloom\"); the options change it.\n"
           "Nothing is written when a file the scene names is missing or the packed scene\n"
           "would not load in the player.\n"
           "\n"
           "  --screensaver     run with the screensaver exit rules, always full screen\n"
           "  --executable      a plain program: Escape or closing the window ends it\n"
           "  --resolution N    0 the desktop's, 1 640x480, 2 800x600, 3 1024x768,\n"
           "                    4 1280x1024, 5 1600x1200\n"
           "  --windowed        an executable in a window\n"
           "  --fullscreen      an executable full screen\n"
           "  --title TEXT      the window title (at most 100 bytes)\n";
}

std::string CPackCommand::PlayerImagePath() {
    const std::string self = CProgramImage::DisplayName();
    const std::filesystem::path folder =
        self.empty() ? std::filesystem::path(".") : std::filesystem::path(self).parent_path();
    // Beside the tool in a build tree, in the installed player folder otherwise.
    return CInstallLayout(folder, CInstallLayout::Installed()).Player().string();
}

std::vector<std::uint8_t> CPackCommand::Trailer(const CDisplayFormat& format, std::uint32_t dataLength) {
    std::vector<std::uint8_t> trailer(CSceneFileProbe::kTrailerSize, 0);
    trailer[0] = 0x0D;
    trailer[1] = 0x0E;
    PutLittleEndian32(&trailer[2], static_cast<std::uint32_t>(format.m_iResolution));
    PutLittleEndian32(&trailer[6], static_cast<std::uint32_t>(format.m_iFlags));
    PutLittleEndian32(&trailer[10], dataLength);
    std::memcpy(&trailer[14], format.m_Name.data(), std::min<size_t>(format.m_Name.size(), 100));
    return trailer;
}

bool CPackCommand::ParseRequest(const CToolArguments& parsed, SPackRequest& request, std::string& error) {
    if (parsed.Has("screensaver") && parsed.Has("executable")) {
        error = "--screensaver and --executable exclude each other";
        return false;
    }
    if (parsed.Has("windowed") && parsed.Has("fullscreen")) {
        error = "--windowed and --fullscreen exclude each other";
        return false;
    }
    if (parsed.Has("screensaver"))
        request.type = TPackType::ScreenSaver;
    if (parsed.Has("executable"))
        request.type = TPackType::Executable;
    if (parsed.Has("windowed") || parsed.Has("fullscreen"))
        request.windowed = parsed.Has("windowed");
    if (parsed.Has("resolution")) {
        int resolution = 0;
        if (!CToolArguments::ParseInt(parsed.Value("resolution"), 0, 5, resolution)) {
            error = "--resolution needs a number from 0 to 5";
            return false;
        }
        request.resolution = resolution;
    }
    if (parsed.Has("title")) {
        if (parsed.Value("title").size() > 100) {
            error = "--title may have at most 100 bytes";
            return false;
        }
        request.title = CString(parsed.Value("title"));
    }
    return true;
}

int CPackCommand::Run(const std::vector<std::string>& arguments) {
    CToolArguments parsed;
    std::string error;
    if (!parsed.Parse(arguments, {"screensaver", "executable", "windowed", "fullscreen"}, {"resolution", "title"},
                      error)) {
        return UsageError(error);
    }
    if (parsed.Positionals().size() != 2)
        return UsageError("needs a scene file and the file to write");
    SPackRequest request;
    if (!ParseRequest(parsed, request, error))
        return UsageError(error);
    m_SceneName = parsed.Positionals()[0];
    m_OutName = parsed.Positionals()[1];

    CSceneSource source;
    if (!source.Open(m_SceneName, error))
        return Fail(error);
    const SSceneFileInfo& info = source.Info();
    CDisplayFormat format;
    if (!CPackFormat::Compute(request, info.hasTrailer ? info.displayFormat : CPackFormat::ExportDefault(), format,
                              error)) {
        return UsageError(error);
    }
    const std::string out = CRunDirectory::Absolute(m_OutName);
    const std::string player = PlayerImagePath();
    if (!std::filesystem::is_regular_file(player)) {
        return Fail("the player \"" + player + "\" is missing; it must lie beside lumivexis");
    }
    CRunDirectory::EnterStateDirectory();

    std::vector<std::uint8_t> package;
    const int built = info.packed ? RepackPackage(source, player, format, package) : PackScene(source, format, package);
    if (built != kExitOk)
        return built;
    if (!CPackOutput::Write(out, {package}, error))
        return Fail("cannot write \"" + m_OutName + "\": " + error);
    if (!CPackOutput::MakeExecutable(out, error))
        return Fail("cannot make \"" + m_OutName + "\" executable: " + error);
    std::fprintf(stderr, "lumivexis pack: wrote %s (%s, %zu bytes)\n", m_OutName.c_str(),
                 CPackFormat::Describe(format).c_str(), package.size());
    return kExitOk;
}

int CPackCommand::PackScene(const CSceneSource& source, const CDisplayFormat& format,
                            std::vector<std::uint8_t>& package) const {
    // The engine saves a package only into a file: it goes to a folder of
    // our own first, so that OUT is written only once the package is known
    // to play.
    CScratchFolder scratch;
    std::string error;
    if (!scratch.Create(error))
        return Fail(error);
    const int errorsBefore = CErrorLog::Count();
    CScene scene;
    if (!source.LoadInto(scene))
        return Fail("cannot load \"" + m_SceneName + "\"; nothing was written");
    // Reading a plain scene reads every file it names, and reports (above)
    // those it cannot find.
    if (CErrorLog::Count() != errorsBefore) {
        return Fail("\"" + m_SceneName + "\" names files that cannot be found; nothing was written");
    }
    *scene.GetDisplayFormat() = format;
    const std::string packed = scratch.Path("package");
    if (!scene.Save(packed, true) || CErrorLog::Count() != errorsBefore)
        return Fail("cannot pack \"" + m_SceneName + "\"; nothing was written");
    if (!ReadWholeFile(packed, package))
        return Fail("cannot read the package back from \"" + packed + "\"; nothing was written");
    return CheckPlays(packed, "the package made from \"" + m_SceneName + "\"");
}

int CPackCommand::RepackPackage(const CSceneSource& source, const std::string& player, const CDisplayFormat& format,
                                std::vector<std::uint8_t>& package) const {
    // The new package holds the same scene data: it plays when this one does.
    const int plays = CheckPlays(source.Path(), "\"" + m_SceneName + "\"");
    if (plays != kExitOk)
        return plays;
    std::vector<std::uint8_t> old;
    if (!ReadWholeFile(source.Path(), old))
        return Fail("cannot read \"" + m_SceneName + "\"");
    const SSceneFileInfo& info = source.Info();
    if (old.size() != info.fileSize)
        return Fail("\"" + m_SceneName + "\" changed while it was read");
    if (!ReadWholeFile(player, package))
        return Fail("cannot read the player \"" + player + "\"");
    // The scene data without its old trailer, then the new one.
    const auto data = old.begin() + static_cast<std::ptrdiff_t>(info.dataOffset);
    package.insert(package.end(), data, data + (info.dataLength - CSceneFileProbe::kTrailerSize));
    const std::vector<std::uint8_t> trailer = Trailer(format, info.dataLength);
    package.insert(package.end(), trailer.begin(), trailer.end());
    return kExitOk;
}

int CPackCommand::CheckPlays(const std::string& path, const std::string& name) const {
    const int errorsBefore = CErrorLog::Count();
    CScene scene;
    if (!scene.Load(path, true) || CErrorLog::Count() != errorsBefore)
        return Fail(name + " does not load as the player loads it; nothing was written");
    return kExitOk;
}
