#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileReplace.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

int FileCount(const TempDir& dir) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++count;
  }
  return count;
}

TEST(FileReplaceTest, TextArrivesByteForByte) {
  TempDir dir;
  const std::string text = "first\r\nsecond\n\nno line end";
  ASSERT_TRUE(ReplaceFileWithText(dir.File("a.txt"), text));
  EXPECT_EQ(ReadFile(dir.File("a.txt")), text);
  EXPECT_EQ(FileCount(dir), 1);
}

TEST(FileReplaceTest, FailedWriteLeavesTheOldFileAndNothingElse) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), "old");
  EXPECT_FALSE(ReplaceFile(dir.File("a.txt"), [](std::FILE* file) {
    std::fputs("half", file);
    return false;
  }));
  EXPECT_EQ(ReadFile(dir.File("a.txt")), "old");
  EXPECT_EQ(FileCount(dir), 1);
}

TEST(FileReplaceTest, StrayPartFileOfAnEarlierCrashIsNeitherUsedNorLost) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), "old");
  WriteFile(dir.File("a.txt.part"), "stray");
  ASSERT_TRUE(ReplaceFileWithText(dir.File("a.txt"), "new"));
  EXPECT_EQ(ReadFile(dir.File("a.txt")), "new");
  EXPECT_EQ(ReadFile(dir.File("a.txt.part")), "stray");
  EXPECT_EQ(FileCount(dir), 2);
}

TEST(FileReplaceTest, MissingFolderFails) {
  TempDir dir;
  EXPECT_FALSE(ReplaceFileWithText(dir.File("no/such/a.txt"), "new"));
  EXPECT_EQ(FileCount(dir), 0);
}

}  // namespace
}  // namespace braxel
