// Scratch folders: what goes when they go, the current directory they lend
// and give back, and the files written into them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/CTempFolder.h"

using testing::ElementsAre;

TEST(TempFolder, GoesWithEverythingInItEvenWhenTheTestTookItsPermissionsAway) {
    std::filesystem::path root;
    {
        CTempFolder folder;
        root = folder.Root();
        ASSERT_TRUE(std::filesystem::is_directory(root));
        std::filesystem::create_directories(root / "nested" / "deeper");
        std::ofstream(root / "nested" / "deeper" / "file.txt") << "text";
        std::filesystem::permissions(root, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(TempFolder, EachIsFreshAndBelowTheParentItWasGiven) {
    CTempFolder parent;
    CTempFolder first(parent.Root());
    CTempFolder second(parent.Root());
    EXPECT_NE(first.Root(), second.Root());
    EXPECT_EQ(first.Root().parent_path(), parent.Root());
    EXPECT_TRUE(first.Entries().empty());
}

TEST(TempFolder, EnteredItIsTheCurrentDirectoryUntilItGoes) {
    const std::filesystem::path before = std::filesystem::current_path();
    {
        CTempFolder folder;
        folder.Enter();
        EXPECT_EQ(std::filesystem::current_path(), folder.Root());
        std::ofstream("log.txt") << "written relative to the folder";
        EXPECT_THAT(folder.Entries(), ElementsAre("log.txt"));
    }
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST(TempFolder, FilesComeBackByteForByteAndEntriesAreSorted) {
    CTempFolder folder;
    const std::vector<BYTE> bytes = {0x00, 0x0D, 0x0A, 0xFF, 0x1A};
    const std::string binary = folder.Write("b.bin", bytes);
    folder.Write("a.txt", "text");
    EXPECT_EQ(binary, folder.Path("b.bin"));
    EXPECT_EQ(CTempFolder::Read(binary), bytes);
    EXPECT_EQ(CTempFolder::Read(folder.Path("a.txt")), (std::vector<BYTE>{'t', 'e', 'x', 't'}));
    EXPECT_THAT(folder.Entries(), ElementsAre("a.txt", "b.bin"));
    EXPECT_TRUE(CTempFolder::Read(folder.Path("missing")).empty());
}

TEST(TempFolder, TheProcessFolderIsEnteredOnceAndStays) {
    const std::filesystem::path& first = CTempFolder::EnterPrivateWorkingFolder();
    EXPECT_EQ(std::filesystem::current_path(), first);
    EXPECT_EQ(CTempFolder::EnterPrivateWorkingFolder(), first);
}
