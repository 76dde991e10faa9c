#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/TextInput.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(ReadTextFileTest, DecodesTextAndRefusesWhatIsNoTextFileAtOnce) {
  TempDir dir;
  using P = TextFileProblem;
  const std::string utf16le("\xFF\xFEx\0y\0\n\0\xE9\0", 10);
  const std::string bareUtf16le(
      "1\0 \x00"
      "2\0\n\0",
      8);
  const std::string utf16be("\xFE\xFF\0x\0y\xD8\x3D\xDE\x00", 10);
  const struct {
    const char* name;
    std::string bytes;
    P problem;
    std::string text;
  } cases[] = {
      {"plain", "a\r\nb", P::kNone, "a\r\nb"},
      {"bom8",
       "\xEF\xBB\xBF"
       "a b",
       P::kNone, "a b"},
      {"utf16le", utf16le, P::kNone, "xy\n\xC3\xA9"},
      {"bare16", bareUtf16le, P::kNone, "1 2\n"},
      {"utf16be", utf16be, P::kNone, "xy\xF0\x9F\x98\x80"},
      {"odd16", std::string("\xFF\xFEx", 3), P::kNotText, ""},
      {"binary",
       std::string("ab\0\x01\x02"
                   "cd",
                   7),
       P::kNotText, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(dir.File(c.name), c.bytes);
    std::string text = "stale";
    EXPECT_EQ(ReadTextFile(dir.File(c.name), text), c.problem);
    EXPECT_EQ(text, c.text);
  }
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  std::filesystem::resize_file(dir.File("plain"), kMaxTextFileBytes + 1);
  std::string text;
  EXPECT_EQ(ReadTextFile(dir.File("fifo"), text), P::kNotRegular);
  EXPECT_EQ(ReadTextFile("/dev/zero", text), P::kNotRegular);
  EXPECT_EQ(ReadTextFile(dir.File("plain"), text), P::kTooLarge);
  EXPECT_EQ(ReadTextFile(dir.Path().string(), text), P::kFolder);
  EXPECT_EQ(ReadTextFile(dir.File("none"), text), P::kMissing);
  EXPECT_EQ(ReadTextFile(dir.File("plain/x"), text), P::kMissing);
  const LineReader folder(dir.Path().string());
  EXPECT_FALSE(folder.IsOpen());
  EXPECT_EQ(folder.OpenMessage("x not found !!!"),
            dir.Path().string() + " is a folder, not a file !!!");
  EXPECT_EQ(LineReader(dir.File("none")).OpenMessage("x not found !!!"), "x not found !!!");
  EXPECT_EQ(LineReader(dir.File("binary")).OpenMessage("-"),
            dir.File("binary") + " is not a text file !!!");
}

// A text rewritten as it was read reads back the same, even when it begins like a mark.
TEST(ReadTextFileTest, TextFileBytesReadBackAsTheText) {
  TempDir dir;
  for (const std::string text : {"\xFE\xFF"
                                 "ab\n",
                                 "\xFF\xFE"
                                 "ab",
                                 "\xEF\xBB\xBF"
                                 "x",
                                 "plain"}) {
    WriteFile(dir.File("t"), TextFileBytes(text));
    std::string read;
    EXPECT_EQ(ReadTextFile(dir.File("t"), read), TextFileProblem::kNone);
    EXPECT_EQ(read, text);
  }
  EXPECT_EQ(TextFileBytes("plain"), "plain");
}

TEST(LineReaderTest, LinesComeWholeWhateverTheirLength) {
  TempDir dir;
  WriteFile(dir.File("f"), std::string(250, 'a') + "\nshort\nlast");
  LineReader reader(dir.File("f"));
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, std::string(250, 'a') + "\n");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "short\n");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(reader.ReadLine(line));
  reader.Rewind();
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line.size(), 251u);
}

TEST(LineReaderTest, MissingFileIsNotOpen) {
  LineReader reader("/nonexistent/file");
  std::string line = "old";
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(reader.ReadLine(line));
}

TEST(LineEndTest, OnlyTheLineBreakIsRemoved) {
  EXPECT_EQ(WithoutLineEnd("x,y,z\n"), "x,y,z");
  EXPECT_EQ(WithoutLineEnd("x,y,z\r\n"), "x,y,z");
  // A last line without a line break keeps all its characters.
  EXPECT_EQ(WithoutLineEnd("x,y,z"), "x,y,z");
}

TEST(SkipToKeywordTest, StopsAfterTheLineThatBeginsWithTheKeyword) {
  TempDir dir;
  WriteFile(dir.File("f"), "  Space group\nSpace groupX\nnext\n");
  LineReader reader(dir.File("f"));
  std::string line;
  std::string message;
  ASSERT_EQ(SkipToKeyword(reader, "Space group", line, message), 0);
  EXPECT_EQ(line, "Space groupX\n");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "next\n");
  EXPECT_EQ(message, "");
}

TEST(SkipToKeywordTest, EndOfFileGivesTheMessage) {
  TempDir dir;
  WriteFile(dir.File("f"), "space group\n");
  LineReader reader(dir.File("f"));
  std::string line;
  std::string message;
  EXPECT_EQ(SkipToKeyword(reader, "Space group", line, message), -1);
  EXPECT_EQ(message, "Space group not found !!!\n");
}

TEST(ScanTest, IntegersTakeTheLongestPrefix) {
  int value = 7;
  EXPECT_TRUE(ParseInt("  12abc", value));
  EXPECT_EQ(value, 12);
  EXPECT_TRUE(ParseInt("-3", value));
  EXPECT_EQ(value, -3);
  EXPECT_FALSE(ParseInt("abc", value));
  EXPECT_EQ(value, -3);  // left as it was
  EXPECT_FALSE(ParseInt("", value));
  EXPECT_TRUE(ParseInt("99999999999999999999", value));
  EXPECT_EQ(value, 2147483647);
  EXPECT_EQ(LeadingInt("x12"), 0);
  EXPECT_EQ(LeadingInt("4.5"), 4);
}

TEST(ScanTest, WidthLimitedFieldsSkipBlanksFirst) {
  std::string_view cursor = "  1  1  1  0  1   P 1";
  int values[5] = {};
  for (int& value : values) ASSERT_TRUE(ScanInt(cursor, value, 3));
  EXPECT_EQ(values[0] + values[1] + values[2] + values[4], 4);
  EXPECT_EQ(values[3], 0);
  std::string_view packed = "225 12";
  int number = 0;
  int setting = 0;
  ASSERT_TRUE(ScanInt(packed, number, 3));
  ASSERT_TRUE(ScanInt(packed, setting, 3));
  EXPECT_EQ(number, 225);
  EXPECT_EQ(setting, 12);
}

TEST(ScanTest, DoublesTakeTheLongestPrefix) {
  double value = 1.0;
  EXPECT_TRUE(ParseDouble(" 1.5e2x", value));
  EXPECT_DOUBLE_EQ(value, 150.0);
  EXPECT_FALSE(ParseDouble("x1", value));
  EXPECT_DOUBLE_EQ(value, 150.0);
  EXPECT_DOUBLE_EQ(LeadingDouble("abc"), 0.0);
  double three[3] = {};
  EXPECT_EQ(ScanDoubles("1 2.5 -3 4", three, 3), 3);
  EXPECT_DOUBLE_EQ(three[2], -3.0);
  EXPECT_EQ(ScanDoubles("1 x 3", three, 3), 1);
}

TEST(FormatTextTest, FillsTheFormat) {
  EXPECT_EQ(FormatText("Number of species exceeds over %d !!!", 80),
            "Number of species exceeds over 80 !!!");
  EXPECT_EQ(FormatText("%s file not found !!!\n", "/a/b"), "/a/b file not found !!!\n");
}

// Messages show text from files without control bytes or broken characters.
TEST(PrintableTextTest, KeepsCharactersAndLineBreaksOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\tb\nc", "a\tb\nc"},
      {"line\r\n", "line\n"},
      {std::string("N\0l\x1b[2J\x7f", 8), "N?l?[2J?"},
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
