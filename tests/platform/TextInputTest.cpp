#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>

#include "platform/TextInput.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TempDir;
using testing::WriteFile;
using P = TextFileProblem;
using namespace std::string_literals;

// Decoded text, or the problem and no text at all; files that are no text are refused at once.
TEST(ReadTextFileTest, DecodesTextAndRefusesWhatIsNoTextFile) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  WriteFile(dir.File("huge"), "");
  std::filesystem::resize_file(dir.File("huge"), kMaxTextFileBytes + 1);
  const struct {
    const char* name;
    std::string bytes;  // written to the file unless empty
    P problem;
    std::string text;
  } cases[] = {
      {"plain", "a\r\nb", P::kNone, "a\r\nb"},
      {"short", "abc", P::kNone, "abc"},
      {"bom8", "\xEF\xBB\xBF a", P::kNone, " a"},
      {"utf16le", "\xFF\xFEx\0y\0\n\0\xE9\0"s, P::kNone, "xy\n\xC3\xA9"},
      {"bare16", "1\0 \0002\0\n\0"s, P::kNone, "1 2\n"},
      {"utf16be", "\xFE\xFF\0x\0y\xD8\x3D\xDE\x00"s, P::kNone, "xy\xF0\x9F\x98\x80"},
      {"odd16", "\xFF\xFEx", P::kNotText, ""},
      {"cut16", "\xFF\xFEx\0\x3D\xD8"s, P::kNotText, ""},
      {"binary", "ab\0\1cd"s, P::kNotText, ""},
      {"fifo", "", P::kNotRegular, ""},
      {"huge", "", P::kTooLarge, ""},
      {"", "", P::kFolder, ""},
      {"none", "", P::kMissing, ""},
      {"plain/x", "", P::kMissing, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.bytes.empty()) WriteFile(dir.File(c.name), c.bytes);
    std::string text = "stale";
    EXPECT_EQ(ReadTextFile(dir.File(c.name), text), c.problem);
    EXPECT_EQ(text, c.text);
  }
  std::string text;
  EXPECT_EQ(ReadTextFile("/dev/zero", text), P::kNotRegular);
  EXPECT_EQ(LineReader(dir.File("")).OpenMessage("-"),
            dir.File("") + " is a folder, not a file !!!");
  EXPECT_EQ(LineReader(dir.File("none")).OpenMessage("x not found !!!"), "x not found !!!");
  EXPECT_EQ(LineReader(dir.File("binary")).OpenMessage("-"),
            dir.File("binary") + " is not a text file !!!");
}

// A text rewritten as it was read reads back the same, even when it begins like a mark.
TEST(ReadTextFileTest, TextFileBytesReadBackAsTheText) {
  TempDir dir;
  for (const std::string text : {"\xFE\xFFxy\n", "\xFF\xFExy", "\xEF\xBB\xBFx", "plain"}) {
    WriteFile(dir.File("t"), TextFileBytes(text));
    std::string read;
    EXPECT_EQ(ReadTextFile(dir.File("t"), read), P::kNone);
    EXPECT_EQ(read, text);
  }
}

// Lines come whole whatever their length, with their line break; a keyword is sought from the
// start of a line, and the end of the file gives its message.
TEST(LineReaderTest, LinesAndKeywords) {
  TempDir dir;
  WriteFile(dir.File("f"), std::string(250, 'a') + "\n  Space group\r\nSpace groupX\nlast");
  LineReader reader(dir.File("f"));
  std::string line, message;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, std::string(250, 'a') + "\n");
  ASSERT_EQ(SkipToKeyword(reader, "Space group", line, message), 0);
  EXPECT_EQ(line, "Space groupX\n");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_EQ(SkipToKeyword(reader, "Space group", line, message), -1);
  EXPECT_EQ(message, "Space group not found !!!\n");
  reader.Rewind();
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(WithoutLineEnd(line), "  Space group");
}

// The longest numeric prefix after blanks is taken; without one the value stays as it was.
TEST(ScanTest, NumbersTakeTheLongestPrefix) {
  const struct {
    const char* text;
    bool read;
    int value;
  } ints[] = {{"  12abc", true, 12},
              {"-3", true, -3},
              {"abc", false, 7},
              {"", false, 7},
              {"+", false, 7},
              {"99999999999999999999", true, INT_MAX},
              {"-99999999999", true, INT_MIN}};
  for (const auto& c : ints) {
    int value = 7;
    EXPECT_EQ(ParseInt(c.text, value), c.read) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  // Width-limited fields take at most the width (blank-separated ones are read on every record
  // of the bundled table).
  std::string_view packed = "22512";
  int value = 0;
  ASSERT_TRUE(ScanInt(packed, value, 3));
  EXPECT_EQ(value, 225);
  EXPECT_EQ(packed, "12");
}

// Messages show text from files without control bytes or broken characters.
TEST(PrintableTextTest, KeepsCharactersAndLineBreaksOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\tb\nc", "a\tb\nc"},
      {"line\r\n", "line\n"},
      {"N\0l\x1b[2J\x7f"s, "N?l?[2J?"},
      {"Fe \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "Fe \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"\xE9t\xE9", "?t?"},                         // Latin-1
      {"\xC2\x85\xC0\xAF\xED\xA0\x80", "???????"},  // C1 control, overlong, surrogate
      {"\xE2\x82", "??"},                           // cut short
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(PrintableText(text), shown) << text;
  EXPECT_EQ(PrintableText("abc\xC3\xA9", 4), "abc...");  // never inside a character
  EXPECT_EQ(PrintableText("abcd", 4), "abcd");
}

}  // namespace
}  // namespace braxel
