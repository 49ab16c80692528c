#include "CPackCommand.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CErrorLog.h"
#include "CPackFormat.h"
#include "CProgramImage.h"
#include "CRunDirectory.h"
#include "CSceneSource.h"
#include "CToolArguments.h"
#include "platform/files/CAtomicFile.h"
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

// Execute permission wherever there is read permission: the package is a
// program (a file that existed keeps its other permissions).
bool MakeExecutable(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return false;
    const mode_t mode = status.st_mode & 07777;
    const mode_t execute = ((mode & 0444) >> 2) | S_IXUSR;
    return ::chmod(path.c_str(), mode | execute) == 0;
}

}  // namespace

std::string CPackCommand::Help() const {
    return "Usage: lumivexis pack SCENE OUT [--screensaver|--executable] [--resolution 0-5]\n"
           "                      [--windowed] [--title TEXT]\n"
           "Writes OUT as the editor's export does: the player, the scene with every file\n"
           "it uses inside, and the display format. OUT is made executable and plays by\n"
           "itself (and works as an xscreensaver hack).\n"
           "\n"
           "  --screensaver     run with the screensaver exit rules, full screen (default)\n"
           "  --executable      a plain program: Escape or closing the window ends it\n"
           "  --resolution N    0 the desktop's (default), 1 640x480, 2 800x600,\n"
           "                    3 1024x768, 4 1280x1024, 5 1600x1200\n"
           "  --windowed        an executable in a window instead of full screen\n"
           "  --title TEXT      the window title (default \"Brennox Skyloom\")\n";
}

std::string CPackCommand::PlayerImagePath() {
    const std::string self = CProgramImage::DisplayName();
    const std::filesystem::path folder =
        self.empty() ? std::filesystem::path(".") : std::filesystem::path(self).parent_path();
    return (folder / "ScreenSaver.dat").string();
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

int CPackCommand::Run(const std::vector<std::string>& arguments) {
    CToolArguments parsed;
    std::string error;
    if (!parsed.Parse(arguments, {"screensaver", "executable", "windowed"}, {"resolution", "title"}, error)) {
        return UsageError(error);
    }
    if (parsed.Positionals().size() != 2)
        return UsageError("needs a scene file and the file to write");
    if (parsed.Has("screensaver") && parsed.Has("executable")) {
        return UsageError("--screensaver and --executable exclude each other");
    }
    SPackRequest request;
    request.type = parsed.Has("executable") ? TPackType::Executable : TPackType::ScreenSaver;
    request.windowed = parsed.Has("windowed");
    if (request.windowed && request.type == TPackType::ScreenSaver) {
        return UsageError("a screensaver always runs full screen; --windowed needs --executable");
    }
    if (parsed.Has("resolution") && !CToolArguments::ParseInt(parsed.Value("resolution"), 0, 5, request.resolution)) {
        return UsageError("--resolution needs a number from 0 to 5");
    }
    if (parsed.Has("title")) {
        request.title = parsed.Value("title");
        if (request.title.size() > 100)
            return UsageError("--title may have at most 100 bytes");
    }

    CSceneSource source;
    if (!source.Open(parsed.Positionals()[0], error))
        return Fail(error);
    const std::string out = CRunDirectory::Absolute(parsed.Positionals()[1]);
    const std::string player = PlayerImagePath();
    if (!std::filesystem::is_regular_file(player)) {
        return Fail("the player \"" + player + "\" is missing; it must lie beside lumivexis");
    }
    const CDisplayFormat format = CPackFormat::Compute(request, source.Info().displayFormat.m_iFlags);
    CRunDirectory::EnterStateDirectory();

    if (source.Info().packed) {
        // The scene data of a package already holds its files.
        std::vector<std::uint8_t> package;
        std::vector<std::uint8_t> image;
        if (!ReadWholeFile(source.Path(), package))
            return Fail("cannot read \"" + parsed.Positionals()[0] + "\"");
        if (!ReadWholeFile(player, image))
            return Fail("cannot read the player \"" + player + "\"");
        const SSceneFileInfo& info = source.Info();
        if (package.size() != info.fileSize)
            return Fail("\"" + parsed.Positionals()[0] + "\" changed while it was read");
        const std::vector<std::uint8_t> trailer = Trailer(format, info.dataLength);
        CAtomicFile file(out);
        const auto* data = package.data() + info.dataOffset;
        const size_t dataBytes = info.dataLength - CSceneFileProbe::kTrailerSize;
        if (!file.Open() || !file.Write(image.data(), image.size()) || !file.Write(data, dataBytes) ||
            !file.Write(trailer.data(), trailer.size()) || !file.Finish() || !file.Publish()) {
            return Fail("cannot write \"" + parsed.Positionals()[1] + "\": " + file.GetError());
        }
    } else {
        CScene scene;
        if (!source.LoadInto(scene))
            return Fail("cannot load \"" + parsed.Positionals()[0] + "\"");
        *scene.GetDisplayFormat() = format;
        const int errorsBefore = CErrorLog::Count();
        if (!scene.Save(out, true))
            return Fail("cannot write \"" + parsed.Positionals()[1] + "\"");
        if (CErrorLog::Count() != errorsBefore) {
            MakeExecutable(out);
            return Fail("\"" + parsed.Positionals()[1] + "\" was written without the files named above");
        }
    }
    if (!MakeExecutable(out))
        return Fail("cannot make \"" + parsed.Positionals()[1] + "\" executable");
    return kExitOk;
}
