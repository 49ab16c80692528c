#include "platform/files/CInstallLayout.h"

#include <algorithm>
#include <system_error>
#include <utility>

// The build passes its installed folders (cmake/Install.cmake); these are
// GNUInstallDirs' own defaults for a build that does not.
#ifndef LVX_INSTALL_BINDIR
#define LVX_INSTALL_BINDIR "bin"
#endif
#ifndef LVX_INSTALL_PLAYERDIR
#define LVX_INSTALL_PLAYERDIR "libexec/lumivexis"
#endif
#ifndef LVX_INSTALL_LIBDIR
#define LVX_INSTALL_LIBDIR "lib"
#endif
#ifndef LVX_INSTALL_DATADIR
#define LVX_INSTALL_DATADIR "share/lumivexis"
#endif
#ifndef LVX_INSTALL_PREFIX
#define LVX_INSTALL_PREFIX "/usr/local"
#endif

namespace {

using std::filesystem::path;

// The path's names, without the empty one a trailing slash leaves.
std::vector<path> Names(const path& folder) {
    std::vector<path> names;
    for (const path& name : folder.lexically_normal()) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

// `folder` without `tail` at its end; empty unless it ends with all of
// `tail`'s names and keeps at least its root above them.
path WithoutTail(const path& folder, const path& tail) {
    const std::vector<path> names = Names(folder);
    const std::vector<path> tailNames = Names(tail);
    if (tailNames.empty() || tailNames.size() >= names.size() ||
        !std::equal(tailNames.begin(), tailNames.end(), names.end() - static_cast<std::ptrdiff_t>(tailNames.size()))) {
        return {};
    }
    path head;
    for (auto name = names.begin(); name != names.end() - static_cast<std::ptrdiff_t>(tailNames.size()); ++name) {
        head /= *name;
    }
    return head;
}

}  // namespace

CInstallLayout::SFolders CInstallLayout::Installed() {
    return {LVX_INSTALL_BINDIR, LVX_INSTALL_PLAYERDIR, LVX_INSTALL_LIBDIR, LVX_INSTALL_DATADIR, LVX_INSTALL_PREFIX};
}

CInstallLayout CInstallLayout::OfRunningProgram() {
    std::error_code error;
    const path program = std::filesystem::read_symlink("/proc/self/exe", error);
    // Without /proc the names stay relative: they are then looked for in
    // the current folder.
    return CInstallLayout(error ? path() : program.parent_path(), Installed());
}

CInstallLayout::CInstallLayout(path programFolder, SFolders folders)
    : m_ProgramFolder(std::move(programFolder)), m_Folders(std::move(folders)) {}

path CInstallLayout::Prefix() const {
    for (const path* installed : {&m_Folders.m_Programs, &m_Folders.m_Player, &m_Folders.m_Library}) {
        if (installed->is_absolute()) {
            if (Names(*installed) == Names(m_ProgramFolder)) {
                return m_Folders.m_ConfiguredPrefix;
            }
            continue;
        }
        path prefix = WithoutTail(m_ProgramFolder, *installed);
        if (!prefix.empty()) {
            return prefix;
        }
    }
    return {};
}

std::vector<path> CInstallLayout::Folders(const path& installed) const {
    std::vector<path> candidates{m_ProgramFolder};
    // An absolute installed folder ignores the prefix it is appended to.
    const path prefix = Prefix();
    if (!prefix.empty()) {
        candidates.push_back(prefix / installed);
    }
    if (!m_Folders.m_ConfiguredPrefix.empty()) {
        candidates.push_back(m_Folders.m_ConfiguredPrefix / installed);
    }
    std::vector<path> folders;
    for (const path& candidate : candidates) {
        const bool seen = std::any_of(folders.begin(), folders.end(),
                                      [&](const path& folder) { return Names(folder) == Names(candidate); });
        if (!seen) {
            folders.push_back(candidate);
        }
    }
    return folders;
}

path CInstallLayout::FirstExisting(const std::vector<path>& folders, const path& relative) const {
    for (const path& folder : folders) {
        std::error_code error;
        if (std::filesystem::exists(folder / relative, error)) {
            return folder / relative;
        }
    }
    return m_ProgramFolder / relative;
}

std::vector<path> CInstallLayout::DataFolders() const {
    return Folders(m_Folders.m_Data);
}

path CInstallLayout::Find(const path& relative) const {
    return FirstExisting(DataFolders(), relative);
}

path CInstallLayout::Player() const {
    return FirstExisting(Folders(m_Folders.m_Player), kPlayerName);
}
