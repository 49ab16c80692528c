#pragma once
// A fresh folder (by default under the system's temporary folder), removed
// with everything in it when it goes. A test keeps its scratch files in one;
// a test process whose engine writes into the current directory ("log.txt",
// "music.tmp") makes one its working folder, so that parallel test processes
// never share those files.
//
//   CTempFolder folder;
//   const std::string path = folder.Write("scene.bgs", bytes);
//   EXPECT_EQ(CTempFolder::Read(path), bytes);

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

class CTempFolder {
public:
    // A folder below `parent`; programs the test runs from the folder want
    // one below the build's folders rather than the temporary folder, which
    // may be mounted noexec.
    explicit CTempFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    // Leaves the folder first when it is the current directory.
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Root() const { return m_path; }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    // The names of the folder's entries, sorted.
    std::vector<std::string> Entries() const;

    // Write a file into the folder and return its path.
    std::string Write(const std::string& name, const std::vector<BYTE>& bytes) const;
    std::string Write(const std::string& name, const std::string& text) const;
    static std::vector<BYTE> Read(const std::string& path);

    // Makes the folder the current directory until it goes.
    void Enter();

    // Once per process: a folder of its own becomes the current directory
    // until the process ends. Call it before the first CScreen::Instance(),
    // which opens the engine's log in the current directory.
    static const std::filesystem::path& EnterPrivateWorkingFolder();

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;  // the current directory before Enter; empty when not entered
};
