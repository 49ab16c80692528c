// Atomic replacement of a file: the target changes only when the new content
// is published, nothing is left behind by a writer that fails or gives up,
// the permissions the published file gets, and the texts of failures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files/CAtomicFile.h"
#include "support/CFileSizeLimit.h"
#include "support/CTempFolder.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class CUmask {
public:
    explicit CUmask(mode_t mask) : m_previous(::umask(mask)) {}
    ~CUmask() { ::umask(m_previous); }

private:
    mode_t m_previous;
};

bool WriteString(CAtomicFile& file, const std::string& text) {
    return file.Write(text.data(), text.size());
}

TEST(AtomicFileReplace, TargetKeepsItsOldContentUntilPublished) {
    CTempFolder folder;
    const std::string target = folder.Path("scene.bgs");
    WriteText(target, "old");
    CAtomicFile file(target);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(WriteString(file, "new "));
    ASSERT_TRUE(WriteString(file, "content"));
    ASSERT_TRUE(file.Finish());
    EXPECT_EQ(ReadText(target), "old");
    // The new content waits beside the target, in the same folder.
    const std::vector<std::string> waiting = folder.Entries();
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_THAT(waiting[1], StartsWith("scene.bgs.tmp-"));

    ASSERT_TRUE(file.Publish());
    EXPECT_EQ(ReadText(target), "new content");
    EXPECT_THAT(folder.Entries(), ElementsAre("scene.bgs"));
    EXPECT_EQ(file.GetError(), "");
}

TEST(AtomicFileReplace, WriterGivenUpBeforePublishingLeavesNoTrace) {
    CTempFolder folder;
    const std::string target = folder.Path("settings");
    WriteText(target, "old");
    {
        CAtomicFile file(target);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteString(file, "half"));
    }
    {
        CAtomicFile file(target);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteString(file, "whole"));
        ASSERT_TRUE(file.Finish());
    }
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_THAT(folder.Entries(), ElementsAre("settings"));
}

TEST(AtomicFileReplace, WriteWholeStoresEveryByte) {
    CTempFolder folder;
    const std::string bytes("\x89PNG\0\r\n\x1a\0\xff", 10);
    std::string error;
    ASSERT_TRUE(CAtomicFile::WriteWhole(folder.Path("image.png"), bytes.data(), bytes.size(), error)) << error;
    EXPECT_EQ(ReadText(folder.Path("image.png")), bytes);

    WriteText(folder.Path("empty"), "something");
    ASSERT_TRUE(CAtomicFile::WriteWhole(folder.Path("empty"), nullptr, 0, error)) << error;
    EXPECT_EQ(ReadText(folder.Path("empty")), "");
    EXPECT_THAT(folder.Entries(), ElementsAre("empty", "image.png"));
}

TEST(AtomicFileReplace, TargetWithTheLongestNameAFolderTakes) {
    CTempFolder folder;
    const std::string name(255, 'n');
    std::string error;
    ASSERT_TRUE(CAtomicFile::WriteWhole(folder.Path(name), "x", 1, error)) << error;
    EXPECT_EQ(ReadText(folder.Path(name)), "x");
    EXPECT_THAT(folder.Entries(), ElementsAre(name));
}

TEST(AtomicFilePermissions, ByDefaultThoseOfANewFile) {
    CTempFolder folder;
    CUmask mask(027);
    const std::string target = folder.Path("fresh");
    std::string error;
    ASSERT_TRUE(CAtomicFile::WriteWhole(target, "a", 1, error)) << error;
    EXPECT_EQ(ModeOf(target), 0640u);

    // A replaced file does not pass its own on.
    ::chmod(target.c_str(), 0600);
    ASSERT_TRUE(CAtomicFile::WriteWhole(target, "b", 1, error)) << error;
    EXPECT_EQ(ModeOf(target), 0640u);
}

TEST(AtomicFilePermissions, KeptFromTheReplacedFileOrExactlyAsGivenForANewOne) {
    CTempFolder folder;
    CUmask mask(077);
    const std::string replaced = folder.Path("private.bgs");
    WriteText(replaced, "old");
    ::chmod(replaced.c_str(), 0604);
    CAtomicFile file(replaced);
    file.KeepPermissions(0755);
    ASSERT_TRUE(file.Open() && WriteString(file, "new") && file.Finish() && file.Publish()) << file.GetError();
    EXPECT_EQ(ModeOf(replaced), 0604u);

    // The umask does not take execute permission away from a new package.
    const std::string fresh = folder.Path("package");
    CAtomicFile created(fresh);
    created.KeepPermissions(0755);
    ASSERT_TRUE(created.Open() && WriteString(created, "new") && created.Finish() && created.Publish());
    EXPECT_EQ(ModeOf(fresh), 0755u);
}

TEST(AtomicFileFailure, MissingFolderCannotTakeTheFile) {
    CTempFolder folder;
    const std::string target = folder.Path("missing/font.png");
    CAtomicFile file(target);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), "Cannot create \"" + target + "\": No such file or directory.");
    EXPECT_EQ(file.GetErrorNumber(), ENOENT);
    EXPECT_FALSE(WriteString(file, "data"));
    EXPECT_FALSE(file.Finish());
    EXPECT_FALSE(file.Publish());

    // Opening again starts afresh.
    std::filesystem::create_directory(folder.Path("missing"));
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetError(), "");
    EXPECT_EQ(file.GetErrorNumber(), 0);
}

TEST(AtomicFileFailure, FullDiskKeepsThePreviousFileAndItsFirstReason) {
    CTempFolder folder;
    const std::string target = folder.Path("scene.bgs");
    WriteText(target, "old");
    CAtomicFile file(target);
    ASSERT_TRUE(file.Open());
    {
        CFileSizeLimit diskFull(64);
        const std::string data(20000, 'd');
        EXPECT_FALSE(WriteString(file, data) && file.Finish());
    }
    EXPECT_EQ(file.GetError(), "Cannot write \"" + target + "\": File too large.");
    EXPECT_EQ(file.GetErrorNumber(), EFBIG);
    EXPECT_FALSE(file.Finish());
    EXPECT_FALSE(file.Publish());
    EXPECT_EQ(file.GetErrorNumber(), EFBIG);
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_THAT(folder.Entries(), ElementsAre("scene.bgs"));
}

TEST(AtomicFileFailure, FolderInTheTargetsPlaceStaysAsItWas) {
    CTempFolder folder;
    const std::string target = folder.Path("taken");
    std::filesystem::create_directory(target);
    WriteText(folder.Path("taken/keep.txt"), "old");
    CAtomicFile file(target);
    ASSERT_TRUE(file.Open() && WriteString(file, "new") && file.Finish());
    EXPECT_FALSE(file.Publish());
    EXPECT_EQ(file.GetError(), "Cannot write \"" + target + "\": Is a directory.");
    EXPECT_EQ(ReadText(folder.Path("taken/keep.txt")), "old");
    EXPECT_THAT(folder.Entries(), ElementsAre("taken"));
}

}  // namespace
