// Where the program image at the start of a file ends: what tells a bare
// player (nothing after its image) from a package whose appended bytes were
// damaged.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "CElfImage.h"
#include "ElfTestImage.h"

namespace {

struct SFileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

std::optional<std::uint64_t> ImageEndOf(const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<FILE, SFileCloser> file(std::tmpfile());
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::fflush(file.get());
    return CElfImage::ImageEnd(file.get(), bytes.size());
}

}  // namespace

TEST(ElfImage, TheImageEndsWithItsFurthestTableOrSection) {
    // The usual layout: sections, then the section header table last.
    std::vector<std::uint8_t> image = elftest::Image64(1000, elftest::kTableLast);
    const std::uint64_t size = image.size();
    EXPECT_EQ(ImageEndOf(image), size);
    // Bytes appended to the file are not part of the image.
    image.resize(size + 10, 0xAB);
    EXPECT_EQ(ImageEndOf(image), size);

    // A section behind the table (some linkers put the table first).
    const std::vector<std::uint8_t> tableFirst = elftest::Image64(1000, elftest::kTableFirst);
    EXPECT_EQ(ImageEndOf(tableFirst), tableFirst.size());

    // 32-bit programs are measured the same way.
    const std::vector<std::uint8_t> image32 = elftest::Image32(300);
    EXPECT_EQ(ImageEndOf(image32), image32.size());
}

TEST(ElfImage, SectionsWithoutFileBytesDoNotCount) {
    // .bss has a size but no bytes in the file.
    const std::vector<std::uint8_t> image = elftest::Image64(200, elftest::kTableLast, 1u << 30);
    EXPECT_EQ(ImageEndOf(image), image.size());
}

TEST(ElfImage, ARealProgramEndsAtItsFileSize) {
    // This test program, as linked.
    const std::uint64_t size = std::filesystem::file_size("/proc/self/exe");
    std::unique_ptr<FILE, SFileCloser> self(std::fopen("/proc/self/exe", "rb"));
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(CElfImage::ImageEnd(self.get(), size), size);
}

TEST(ElfImage, OtherFilesHaveNoImage) {
    EXPECT_EQ(ImageEndOf({}), std::nullopt);
    EXPECT_EQ(ImageEndOf(std::vector<std::uint8_t>(200, 'x')), std::nullopt);
    // The magic alone is no header.
    EXPECT_EQ(ImageEndOf({0x7F, 'E', 'L', 'F', 2, 1, 1}), std::nullopt);
    // Offsets of a damaged header that would wrap around reach "everything".
    std::vector<std::uint8_t> wrapping = elftest::Image64(100, elftest::kTableLast);
    for (int i = 0; i < 8; ++i)
        wrapping[0x28 + i] = 0xFF;  // e_shoff
    EXPECT_GT(ImageEndOf(wrapping).value_or(0), wrapping.size());
}
