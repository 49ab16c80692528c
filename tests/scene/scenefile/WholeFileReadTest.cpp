// Whole-file reads: every byte comes back whatever the file's size, and files
// whose size is unknown beforehand (pipes) are read to their end.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <thread>

#include "scene/CBNFile.h"
#include "support/CTempFolder.h"

namespace {

std::vector<BYTE> Pattern(size_t size) {
    std::vector<BYTE> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<BYTE>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

}  // namespace

TEST(WholeFileRead, EverySizeAroundTheReadChunkComesBackWhole) {
    CTempFolder folder;
    for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{300000}}) {
        const std::vector<BYTE> written = Pattern(size);
        const std::string path = folder.Write("data.bin", written);
        std::vector<BYTE> read{1, 2, 3};
        ASSERT_TRUE(CBNFile::ReadAll(path, read)) << size;
        EXPECT_EQ(read, written) << size;

        unsigned int blockSize = 12345;
        BYTE* block = CBNFile::Open(path, blockSize);
        ASSERT_NE(block, nullptr) << size;
        EXPECT_EQ(blockSize, size);
        EXPECT_TRUE(std::equal(written.begin(), written.end(), block)) << size;
        delete[] block;
    }
}

TEST(WholeFileRead, APipeIsReadToItsEnd) {
    CTempFolder folder;
    const std::string path = folder.Path("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const std::vector<BYTE> written = Pattern(200000);
    std::thread writer([&] {
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(written.data(), 1, written.size(), out);
        std::fclose(out);
    });
    std::vector<BYTE> read;
    const bool ok = CBNFile::ReadAll(path, read);
    writer.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(read, written);
}

TEST(WholeFileRead, MissingFilesAndFoldersGiveNothing) {
    CTempFolder folder;
    std::vector<BYTE> read{1};
    EXPECT_FALSE(CBNFile::ReadAll(folder.Path("missing.bin"), read));
    EXPECT_TRUE(read.empty());
    unsigned int size = 7;
    EXPECT_EQ(CBNFile::Open(folder.Path("missing.bin"), size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(CBNFile::ReadAll(folder.Root().string(), read));
}
