// Reading a whole file for the D3DX functions: what is read, what is
// refused before reading (no file, a folder, a device, too large), and
// Windows paths with backslashes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/WholeFile.h"
#include "support/CTempFolder.h"

namespace {

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

}  // namespace

TEST(WholeFile, ReadsARegularFileWithinTheLimit) {
    CTempFolder folder;
    const std::string path = folder.Write("program.vsh", Bytes("vs.1.1\n"));
    std::vector<BYTE> bytes;
    EXPECT_EQ(ReadWholeFile(path.c_str(), 7, bytes), EWholeFile::Read);
    EXPECT_EQ(bytes, Bytes("vs.1.1\n"));
    EXPECT_EQ(ReadWholeFile(folder.Write("empty", Bytes("")).c_str(), 7, bytes), EWholeFile::Read);
    EXPECT_TRUE(bytes.empty());
}

TEST(WholeFile, RefusesWhatIsNoFileOrTooLargeBeforeReading) {
    CTempFolder folder;
    std::vector<BYTE> bytes = Bytes("left over");
    EXPECT_EQ(ReadWholeFile(folder.Path("absent").c_str(), 100, bytes), EWholeFile::Missing);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadWholeFile(folder.Root().c_str(), 100, bytes), EWholeFile::Missing);
    EXPECT_EQ(ReadWholeFile("/dev/zero", 100, bytes), EWholeFile::Missing);  // would never end
    EXPECT_EQ(ReadWholeFile(nullptr, 100, bytes), EWholeFile::Missing);
    EXPECT_EQ(ReadWholeFile("", 100, bytes), EWholeFile::Missing);
    EXPECT_EQ(ReadWholeFile(folder.Write("big", Bytes("12345678")).c_str(), 7, bytes), EWholeFile::TooLarge);
    EXPECT_TRUE(bytes.empty());
}

TEST(WholeFile, FindsAWindowsPathWrittenWithBackslashes) {
    CTempFolder folder;
    folder.Write("texture.bmp", Bytes("BM"));
    std::string windowsPath = folder.Root().string() + "\\texture.bmp";
    std::vector<BYTE> bytes;
    EXPECT_EQ(ReadWholeFile(windowsPath.c_str(), 100, bytes), EWholeFile::Read);
    EXPECT_EQ(bytes, Bytes("BM"));
}
