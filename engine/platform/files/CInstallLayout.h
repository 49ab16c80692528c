#pragma once
// Where a program finds the files the build puts beside it: the player
// "ScreenSaver.dat", the media folder (default font, demo, help) and the
// installer template. In a build tree they all lie in bin/ with the
// programs; `cmake --install` spreads them the way Linux expects:
//
//   <prefix>/bin/Pelavor, <prefix>/bin/lumivexis      the programs
//   <prefix>/libexec/lumivexis/ScreenSaver.dat        the player
//   <prefix>/lib/libLumivexis_mt.so.2                 the engine library
//   <prefix>/share/lumivexis/media, .../installer     everything else
//
// A lookup tries the program's own folder first (a build tree, or a folder
// copied as a whole), then the installed folder of the prefix the program
// lies in (found from the program's folder, so an installation can move),
// then that of the prefix the build was configured for (a packed
// screensaver copied anywhere still finds the installed default font).
//
//   const CInstallLayout layout = CInstallLayout::OfRunningProgram();
//   const std::filesystem::path help = layout.Find("media/help");
//   const std::filesystem::path player = layout.Player();

#include <filesystem>
#include <string>
#include <vector>

class CInstallLayout {
public:
    // The installed folders. Relative ones are below a prefix; an absolute
    // one (a distribution's choice) is that folder whatever the prefix.
    struct SFolders {
        std::filesystem::path m_Programs;          // "bin"
        std::filesystem::path m_Player;            // "libexec/lumivexis"
        std::filesystem::path m_Library;           // "lib", "lib/x86_64-linux-gnu"
        std::filesystem::path m_Data;              // "share/lumivexis"
        std::filesystem::path m_ConfiguredPrefix;  // "/usr/local"; empty: none
    };

    static constexpr const char* kPlayerName = "ScreenSaver.dat";

    // The folders of this build's installation.
    static SFolders Installed();
    // The running program's folder (/proc/self/exe) with Installed().
    static CInstallLayout OfRunningProgram();

    CInstallLayout(std::filesystem::path programFolder, SFolders folders);

    const std::filesystem::path& ProgramFolder() const { return m_ProgramFolder; }
    // The prefix the program folder is installed in (the folder above
    // <prefix>/bin, <prefix>/libexec/lumivexis or <prefix>/lib); empty when
    // it is none of them.
    std::filesystem::path Prefix() const;

    // The folders that may hold what the build puts beside the programs, in
    // search order, without repeats: the program's own, the installed data
    // folder of its prefix, that of the configured prefix.
    std::vector<std::filesystem::path> DataFolders() const;
    // `relative` as the build lays it out beside the programs ("media/help",
    // "installer/screensaver.sh") in the first data folder that has it; the
    // place beside the program when none has it, so that a message about
    // the missing file names the first place looked at.
    std::filesystem::path Find(const std::filesystem::path& relative) const;
    // The player program, looked for like Find() but in the player folders.
    std::filesystem::path Player() const;

private:
    std::vector<std::filesystem::path> Folders(const std::filesystem::path& installed) const;
    std::filesystem::path FirstExisting(const std::vector<std::filesystem::path>& folders,
                                        const std::filesystem::path& relative) const;

    std::filesystem::path m_ProgramFolder;
    SFolders m_Folders;
};
