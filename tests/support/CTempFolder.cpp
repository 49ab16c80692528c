#include "CTempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

CTempFolder::CTempFolder(const std::filesystem::path& parent) {
    std::string pattern = (parent / "lvx-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    if (!m_previous.empty()) {
        std::filesystem::current_path(m_previous, ignored);
    }
    if (m_path.empty()) {
        return;
    }
    // A test may have taken the permissions away to make writing fail.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> CTempFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CTempFolder::Write(const std::string& name, const std::vector<BYTE>& bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return Path(name);
}

std::string CTempFolder::Write(const std::string& name, const std::string& text) const {
    return Write(name, std::vector<BYTE>(text.begin(), text.end()));
}

std::vector<BYTE> CTempFolder::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CTempFolder::Enter() {
    if (m_previous.empty()) {
        m_previous = std::filesystem::current_path();
    }
    std::filesystem::current_path(m_path);
}

const std::filesystem::path& CTempFolder::EnterPrivateWorkingFolder() {
    // Removed at exit, after the statics the tests made later.
    static CTempFolder folder;
    static const bool entered = (folder.Enter(), true);
    (void)entered;
    return folder.Root();
}
