#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileReplace.h"
#include "support/FaultInjection.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::InChild;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A writer that gives up leaves the old file whole and nothing beside it; a full disk and a
// folder that cannot hold the file are rows of the run's refused writing.
TEST(FileReplaceTest, FailedWriteLeavesTheOldFileAndNothingElse) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), "old");
  EXPECT_FALSE(ReplaceFile(dir.File("a.txt"), [](std::FILE* file) {
    std::fputs("half", file);
    return false;
  }));
  EXPECT_EQ(ReadFile(dir.File("a.txt")), "old");
  EXPECT_EQ(FileNames(dir.Path()), std::set<std::string>{"a.txt"});
}

TEST(FileReplaceTest, WriteKilledHalfwayKeepsTheOldFileAndTheNextWriteClearsItsPart) {
  TempDir dir;
  const std::string path = dir.File("a.txt");
  WriteFile(path, "old");
  // Part files of a running process (init) and files of other names (ten digits are no process
  // number) are not stale parts; one of nine digits is.
  WriteFile(dir.File("a.txt.1.part"), "init's");
  WriteFile(dir.File("a.txt.part"), "someone's");
  WriteFile(dir.File("a.txt.1234567890.part"), "someone's");
  WriteFile(dir.File("a.txt.999999999.part"), "stale");
  const int status = InChild([&] {
    ReplaceFile(path, [](std::FILE* file) {
      std::fputs("half", file);
      std::fflush(file);
      ::raise(SIGKILL);
      return true;
    });
    return 0;
  });
  EXPECT_EQ(status, 128 + SIGKILL);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(FileNames(dir.Path()).size(), 5u);
  ASSERT_TRUE(ReplaceFileWithText(path, "new"));
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(FileNames(dir.Path()), (std::set<std::string>{"a.txt", "a.txt.1.part", "a.txt.part",
                                                          "a.txt.1234567890.part"}));
}

// The text arrives byte for byte through a link, in a file of the old mode, and nothing else stays.
TEST(FileReplaceTest, ReplacementKeepsTheModeAndWritesThroughALink) {
  TempDir dir;
  const std::string text = "first\r\nsecond\n\nno line end";
  WriteFile(dir.File("target.txt"), "old");
  fs::permissions(dir.File("target.txt"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("target.txt", dir.File("link.txt"));
  ASSERT_TRUE(ReplaceFileWithText(dir.File("link.txt"), text));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(ReadFile(dir.File("target.txt")), text);
  EXPECT_EQ(FileNames(dir.Path()), (std::set<std::string>{"link.txt", "target.txt"}));
  EXPECT_EQ(fs::status(dir.File("target.txt")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace braxel
