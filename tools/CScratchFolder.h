#pragma once
// A private folder under the system's temporary folder ($TMPDIR or /tmp)
// for files a command needs only while it runs (the package pack checks
// before it writes OUT); removed with everything in it when it goes.

#include <string>

class CScratchFolder {
public:
    CScratchFolder() = default;
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    // False, with the reason in error, when the folder cannot be made.
    bool Create(std::string& error);
    // name inside the folder.
    std::string Path(const std::string& name) const;

private:
    std::string m_Folder;
};
