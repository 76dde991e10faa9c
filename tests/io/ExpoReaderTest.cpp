#include <gtest/gtest.h>

#include <string>

#include "io/ExpoReader.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

const std::string kSection = "                          ***   OUTPUT SECTION   ***\n";

std::string Solution(const std::string& rw, const std::string& peaks) {
  return kSection + "\n" + kSection + "   Final R value    =  0.1234  Rw =   " + rw + "\n" +
         " Serial   Atom  Height       x        y        z\n\n" + peaks + "\n Next part\n";
}

// The cell values stand at positions 25, 44 and 63, the symbol at 47.
const std::string kHead =
    "  EXPO listing\n"
    " Direct cell parameters: 7.1234             8.2345             9.3456\n"
    "                         90.000             95.500             90.000\n Some text\n"
    " Space group symbol, as given in the input:    P 21/c    \n";

const std::string kTwoSolutions =
    kHead + Solution("0.2150", "   1   Fe1   100.0    0.1000   0.2000   0.3000\n") +
    Solution("0.1875",
             // A peak line of exactly 120 characters is one line, not the end of the list.
             "   1   O3    90.0    0.333   -0.667   0.1" + std::string(79, ' ') +
                 "\n   2   Fe2   80.0    0.3333   0.667   "
                 "-0.333\n      \n   3   Si1   70.0    0.5   0.5   0.5\n");

TEST(ExpoReaderTest, ReadsTheChosenSolution) {
  ImportFixture f;
  f.expoChoice.number = "2";
  ASSERT_TRUE(f.Read(ReadExpoFile, "two.out", kTwoSolutions));
  EXPECT_TRUE(f.ui.messages.empty());
  ASSERT_EQ(f.expoChoice.shownRows.size(), 80u);
  EXPECT_EQ(f.expoChoice.shownRows[1].number, " 2");
  EXPECT_EQ(f.expoChoice.shownRows[1].text, "0.1875");
  EXPECT_EQ(f.expoChoice.shownRows[2].number, "");
  EXPECT_DOUBLE_EQ(f.data.a, 7.1234);
  EXPECT_DOUBLE_EQ(f.data.c, 9.3456);
  EXPECT_DOUBLE_EQ(f.data.beta, 95.5);
  EXPECT_EQ(f.results.sgSymbol, "P 21/c");
  EXPECT_EQ(f.data.sgNumber, 14);  // from the symbol, as File Open and braxel-calc find it
  EXPECT_EQ(f.data.settingNumber, 1);
  ASSERT_EQ(f.data.atomCount, 3);  // a line of blanks is no peak
  EXPECT_EQ(f.data.atomLabels[0], "O3/O3");
  EXPECT_DOUBLE_EQ(f.data.x[0], 0.33333);
  EXPECT_DOUBLE_EQ(f.data.y[0], -0.66667);
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.1);
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.3333);  // taken as written
  EXPECT_DOUBLE_EQ(f.data.z[1], -0.33333);
  EXPECT_DOUBLE_EQ(f.data.g[2], 1.0);
  EXPECT_DOUBLE_EQ(f.data.B[2], 0.5);
  EXPECT_EQ(f.conversions, std::vector<int>{0});

  f.expoChoice.number = " 1";  // the first solution ends at its empty line
  ASSERT_TRUE(f.Read(ReadExpoFile, "two.out", kTwoSolutions));
  ASSERT_EQ(f.data.atomCount, 1);
  EXPECT_EQ(f.data.atomLabels[0], "Fe1/Fe1");
}

TEST(ExpoReaderTest, CancelAndRefusedNumbersReadNothing) {
  std::string many = kHead;  // 81 solutions: the list holds the first 80
  for (int i = 0; i < 81; ++i) many += Solution(FormatText("0.%02d", i), "   1   C    9   0 0 0\n");
  for (const char* number : {"", "3", "0", "x", "81"}) {
    ImportFixture f;
    if (*number) f.expoChoice.number = number;
    const bool manySolutions = std::string(number) == "81";
    EXPECT_FALSE(f.Read(ReadExpoFile, "c.out", manySolutions ? many : kTwoSolutions));
    EXPECT_EQ(f.ui.messages, !*number ? std::vector<std::string>{}
                             : manySolutions
                                 ? std::vector<std::string>{"Number must be from 1 to 80 !!!"}
                                 : std::vector<std::string>{"Number must be from 1 to 2 !!!"});
    EXPECT_TRUE(f.AtomsUnchanged());
    EXPECT_DOUBLE_EQ(f.data.a, 7.1234);  // cell and symbol were stored before the choice
    if (manySolutions) {
      EXPECT_EQ(f.expoChoice.shownRows[79].text, "0.79");
    }
  }
}

TEST(ExpoReaderTest, FailureRows) {
  std::string peaks;
  for (int i = 1; i <= 81; ++i) peaks += FormatText(" %d Q%d 9 0.1 0.2 0.3\n", i, i);
  struct Case {
    std::string text, message;
    int atomCount;
    bool cellRead;
  };
  for (const Case& c : {
           Case{"", "", 1, false},
           Case{"no cell here\n", " Direct cell not found !!!\n", 1, false},
           Case{kHead.substr(0, kHead.find(" Some")), " Space group not found !!!\n", 1, true},
           Case{kHead + kSection + kSection + kSection, "No solution found !!!", 1, true},
           Case{kHead, "No solution found !!!", 1, true},
           Case{kHead + kSection + kSection, " Serial   Atom  Height not found !!!\n", 1, true},
           Case{kHead + Solution("0.3", peaks), "Number of species exceeds over 80 !!!", 80, true},
       }) {
    ImportFixture f;
    f.expoChoice.number = "1";
    ImportContext context = f.Context();
    const std::string path = c.text.empty() ? f.dir.File("none.out") : f.Write("bad.out", c.text);
    EXPECT_FALSE(ReadExpoFile(path, context));
    EXPECT_EQ(f.ui.messages,
              std::vector<std::string>{c.text.empty() ? path + " file not found !!!" : c.message});
    EXPECT_EQ(f.data.a == 7.1234, c.cellRead) << c.message;
    EXPECT_EQ(f.data.sgNumber, c.message.starts_with(" Space") || !c.cellRead ? 99 : 0);
    EXPECT_EQ(f.data.atomCount, c.atomCount);
  }
}

}  // namespace
}  // namespace braxel
