// Atomic replacement of a file: the target changes only when the new content
// is published, nothing is left behind by a writer that fails or gives up,
// the permissions the published file gets, and the texts of failures. Links
// lead to the file that is replaced; devices and pipes are written in place.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

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

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
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
    std::filesystem::create_symlink("taken", folder.Path("link"));
    for (const std::string& path : {target, folder.Path("link")}) {
        CAtomicFile file(path);
        EXPECT_FALSE(file.Open());
        EXPECT_EQ(file.GetError(), "Cannot write \"" + path + "\": Is a directory.");
        EXPECT_FALSE(WriteString(file, "new"));
        EXPECT_FALSE(file.Finish());
        EXPECT_FALSE(file.Publish());
        EXPECT_EQ(file.GetErrorNumber(), EISDIR);
    }
    EXPECT_EQ(ReadText(folder.Path("taken/keep.txt")), "old");
    EXPECT_THAT(folder.Entries(), ElementsAre("link", "taken"));
}

TEST(AtomicFileFailure, NothingIsReportedDoneThatWasNeverStarted) {
    CTempFolder folder;
    CAtomicFile file(folder.Path("never"));
    EXPECT_FALSE(WriteString(file, "data"));
    EXPECT_FALSE(file.Finish());
    EXPECT_FALSE(file.Publish());
    EXPECT_EQ(file.GetErrorNumber(), EBADF);
    EXPECT_THAT(file.GetError(), StartsWith("Cannot write \"" + folder.Path("never") + "\": "));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(AtomicFileLinks, ALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
    CTempFolder folder;
    CUmask mask(022);
    const std::string real = folder.Path("real.png");
    WriteText(real, "old");
    ::chmod(real.c_str(), 0604);
    std::filesystem::create_symlink("real.png", folder.Path("shot.png"));
    CAtomicFile file(folder.Path("shot.png"));
    file.KeepPermissions(0755);
    ASSERT_TRUE(file.Open() && WriteString(file, "new") && file.Finish() && file.Publish()) << file.GetError();

    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("shot.png")));
    EXPECT_EQ(std::filesystem::read_symlink(folder.Path("shot.png")), "real.png");
    EXPECT_EQ(ReadText(real), "new");
    EXPECT_EQ(ModeOf(real), 0604u);
    EXPECT_THAT(folder.Entries(), ElementsAre("real.png", "shot.png"));
}

TEST(AtomicFileLinks, AChainOfLinksIsFollowedFromEachLinksOwnFolder) {
    CTempFolder folder;
    for (const char* name : {"a", "b", "c"}) {
        std::filesystem::create_directory(folder.Path(name));
    }
    const std::string real = folder.Path("c/scene.bgs");
    WriteText(real, "old");
    // A relative link in a, an absolute one in b.
    std::filesystem::create_symlink("../b/next", folder.Path("a/out"));
    std::filesystem::create_symlink(real, folder.Path("b/next"));

    CAtomicFile file(folder.Path("a/out"));
    ASSERT_TRUE(file.Open() && WriteString(file, "new") && file.Finish()) << file.GetError();
    // The new content waits beside the file it replaces, not the link.
    const std::vector<std::string> waiting = NamesIn(folder.Path("c"));
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_THAT(waiting[1], StartsWith("scene.bgs.tmp-"));
    EXPECT_THAT(NamesIn(folder.Path("a")), ElementsAre("out"));
    ASSERT_TRUE(file.Publish()) << file.GetError();

    EXPECT_EQ(ReadText(real), "new");
    EXPECT_EQ(std::filesystem::read_symlink(folder.Path("a/out")), "../b/next");
    EXPECT_EQ(std::filesystem::read_symlink(folder.Path("b/next")), real);
    EXPECT_THAT(NamesIn(folder.Path("c")), ElementsAre("scene.bgs"));
}

TEST(AtomicFileLinks, ADanglingLinkGetsTheFileItNames) {
    CTempFolder folder;
    CUmask mask(022);
    std::filesystem::create_directory(folder.Path("out"));
    std::filesystem::create_symlink("out/package", folder.Path("link"));
    CAtomicFile file(folder.Path("link"));
    file.KeepPermissions(0755);
    ASSERT_TRUE(file.Open() && WriteString(file, "new") && file.Finish() && file.Publish()) << file.GetError();
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("link")));
    EXPECT_EQ(ReadText(folder.Path("out/package")), "new");
    EXPECT_EQ(ModeOf(folder.Path("out/package")), 0755u);
}

TEST(AtomicFileLinks, ALoopOfLinksIsAClearError) {
    CTempFolder folder;
    std::filesystem::create_symlink("second", folder.Path("first"));
    std::filesystem::create_symlink("first", folder.Path("second"));
    CAtomicFile file(folder.Path("first"));
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), "Cannot write \"" + folder.Path("first") + "\": Too many levels of symbolic links.");
    EXPECT_EQ(file.GetErrorNumber(), ELOOP);
    EXPECT_FALSE(file.Finish());
    EXPECT_THAT(folder.Entries(), ElementsAre("first", "second"));
}

bool IsCharacterDevice(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

// Devices are reached through links in a test folder: a writer that
// replaced its target would replace the link, never the system's device.
TEST(AtomicFileDevices, ADeviceIsWrittenInPlace) {
    CTempFolder folder;
    std::filesystem::create_symlink("/dev/null", folder.Path("null"));
    std::string error;
    const std::string data(100000, 'd');
    ASSERT_TRUE(CAtomicFile::WriteWhole(folder.Path("null"), data.data(), data.size(), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("null")));
    EXPECT_TRUE(IsCharacterDevice("/dev/null"));
    EXPECT_EQ(ModeOf("/dev/null"), 0666u);
    EXPECT_THAT(folder.Entries(), ElementsAre("null"));
}

TEST(AtomicFileDevices, AFullDeviceFailsTheWriteWithItsReason) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "/dev/full cannot be written here";
    }
    CTempFolder folder;
    const std::string target = folder.Path("full");
    std::filesystem::create_symlink("/dev/full", target);
    const std::string expected = "Cannot write \"" + target + "\": No space left on device.";

    // A little data waits in the buffer until Finish flushes it.
    CAtomicFile small(target);
    ASSERT_TRUE(small.Open());
    EXPECT_TRUE(WriteString(small, "tiny"));
    EXPECT_FALSE(small.Finish());
    EXPECT_FALSE(small.Publish());
    EXPECT_EQ(small.GetError(), expected);
    EXPECT_EQ(small.GetErrorNumber(), ENOSPC);

    std::string error;
    const std::string data(100000, 'd');
    EXPECT_FALSE(CAtomicFile::WriteWhole(target, data.data(), data.size(), error));
    EXPECT_EQ(error, expected);
    EXPECT_TRUE(std::filesystem::is_symlink(target));
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
}

TEST(AtomicFileDevices, APipeGetsEveryByteWhileItsReaderReads) {
    CTempFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Opened without waiting for a writer, then read with blocking reads
    // once the writer is there (before, a read would see the end at once).
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETFL, ::fcntl(reader, F_GETFL) & ~O_NONBLOCK);
    CAtomicFile file(pipe);
    ASSERT_TRUE(file.Open()) << file.GetError();
    std::string received;
    std::thread reading([&] {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(reader, buffer, sizeof buffer)) > 0) {
            received.append(buffer, static_cast<std::size_t>(got));
        }
    });
    // More than the pipe holds: the writer waits for the reader.
    std::string data(300000, 'p');
    data.back() = 'e';
    const bool written = WriteString(file, data) && file.Finish() && file.Publish();
    reading.join();
    ::close(reader);
    ASSERT_TRUE(written) << file.GetError();
    EXPECT_EQ(received, data);
    struct stat status {};
    ASSERT_EQ(::lstat(pipe.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST(AtomicFileDevices, APipeWithoutReaderFailsAtOnce) {
    CTempFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    CAtomicFile file(pipe);
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.GetError(), "Cannot write \"" + pipe + "\": no program reads from this pipe.");
    EXPECT_EQ(file.GetErrorNumber(), ENXIO);
    EXPECT_FALSE(file.Finish());
    struct stat status {};
    ASSERT_EQ(::lstat(pipe.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST(AtomicFileDevices, AReaderThatGoesAwayFailsTheWriteNotTheProgram) {
    CTempFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    CAtomicFile file(pipe);
    ASSERT_TRUE(file.Open()) << file.GetError();
    ::close(reader);
    const std::string data(100000, 'd');
    EXPECT_FALSE(WriteString(file, data) && file.Finish());
    EXPECT_FALSE(file.Publish());
    EXPECT_EQ(file.GetError(), "Cannot write \"" + pipe + "\": Broken pipe.");
    EXPECT_EQ(file.GetErrorNumber(), EPIPE);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE));
}

TEST(AtomicFileDevices, AnOpenDescriptorNamedThroughProcIsWritten) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    // "/proc/self/fd/N" leads to "pipe:[inode]", which is no path.
    const std::string target = "/proc/self/fd/" + std::to_string(ends[1]);
    std::string error;
    const bool written = CAtomicFile::WriteWhole(target, "through proc", 12, error);
    ::close(ends[1]);
    char buffer[64] = {};
    const ssize_t got = ::read(ends[0], buffer, sizeof buffer);
    ::close(ends[0]);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0), "through proc");
}

}  // namespace
