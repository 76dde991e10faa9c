#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "io/ExpoReader.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

const std::string kSection = "                          ***   OUTPUT SECTION   ***\n";

std::string Solution(const std::string& rw, const std::string& peaks) {
  return kSection + "\n" + kSection + "   Final R value    =  0.1234  Rw =   " + rw + "\n" +
         " Serial   Atom  Height       x        y        z\n" + "\n" + peaks + "\n" +
         " Next part of the listing\n";
}

// A line with texts placed at fixed character positions.
std::string Placed(std::string line,
                   std::initializer_list<std::pair<std::size_t, const char*>> texts) {
  for (const auto& [position, text] : texts) {
    line.resize(position, ' ');
    line += text;
  }
  return line + "\n";
}

// The cell values stand at positions 25, 44 and 63, the symbol at 47.
const std::string kHead =
    "  EXPO listing\n" +
    Placed(" Direct cell parameters:", {{25, "7.1234"}, {44, "8.2345"}, {63, "9.3456"}}) +
    Placed("", {{25, "90.000"}, {44, "95.500"}, {63, "90.000"}}) + " Some text\n" +
    Placed(" Space group symbol, as given in the input:", {{47, "P 21/c    "}});

const std::string kTwoSolutions =
    kHead + Solution("0.2150", "   1   Fe1   100.0    0.1000   0.2000   0.3000\n") +
    Solution("0.1875",
             "   1   O3    90.0    0.333   -0.667   0.1\n"
             "   2   Fe2   80.0    0.3333   0.667   -0.333\n"
             "      \n"
             "   3   Si1   70.0    0.5   0.5   0.5\n");

TEST(ExpoReaderTest, ReadsTheChosenSolution) {
  ImportFixture f;
  f.expoChoice.number = "2";
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadExpoFile(f.Write("two.out", kTwoSolutions), context));
  EXPECT_TRUE(f.ui.messages.empty());
  ASSERT_EQ(f.expoChoice.shownRows.size(), 80u);
  EXPECT_EQ(f.expoChoice.shownRows[0].number, " 1");
  EXPECT_EQ(f.expoChoice.shownRows[0].text, "0.2150");
  EXPECT_EQ(f.expoChoice.shownRows[1].text, "0.1875");
  EXPECT_EQ(f.expoChoice.shownRows[2].number, "");
  EXPECT_DOUBLE_EQ(f.data.a, 7.1234);
  EXPECT_DOUBLE_EQ(f.data.c, 9.3456);
  EXPECT_DOUBLE_EQ(f.data.beta, 95.5);
  EXPECT_EQ(f.results.sgSymbol, "P 21/c");
  EXPECT_EQ(f.data.sgNumber, 0);
  EXPECT_EQ(f.data.settingNumber, 0);
  ASSERT_EQ(f.data.atomCount, 3);  // a line of blanks is no peak
  EXPECT_EQ(f.data.atomLabels[0], "O3/O3");
  EXPECT_DOUBLE_EQ(f.data.x[0], 0.33333);
  EXPECT_DOUBLE_EQ(f.data.y[0], -0.66667);
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.1);
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.3333);  // taken as written
  EXPECT_DOUBLE_EQ(f.data.y[1], 0.66667);
  EXPECT_DOUBLE_EQ(f.data.z[1], -0.33333);
  EXPECT_DOUBLE_EQ(f.data.g[2], 1.0);
  EXPECT_DOUBLE_EQ(f.data.B[2], 0.5);
  EXPECT_TRUE(f.conversions.empty());
}

TEST(ExpoReaderTest, FirstSolutionEndsAtTheEmptyLine) {
  ImportFixture f;
  f.expoChoice.number = " 1";
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadExpoFile(f.Write("two.out", kTwoSolutions), context));
  ASSERT_EQ(f.data.atomCount, 1);
  EXPECT_EQ(f.data.atomLabels[0], "Fe1/Fe1");
}

TEST(ExpoReaderTest, CancelAndRefusedNumbersReadNothing) {
  for (const char* number : {"", "3", "0", "x"}) {
    ImportFixture f;
    if (*number) f.expoChoice.number = number;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadExpoFile(f.Write("two.out", kTwoSolutions), context));
    EXPECT_EQ(f.ui.messages, *number ? std::vector<std::string>{"Number must be from 1 to 2 !!!"}
                                     : std::vector<std::string>{});
    EXPECT_TRUE(f.AtomsUnchanged());
    EXPECT_DOUBLE_EQ(f.data.a, 7.1234);  // cell and symbol were stored before the choice
  }
}

TEST(ExpoReaderTest, FailureRows) {
  struct Case {
    std::string text;
    std::string message;
    bool cellStored;
  };
  for (const Case& c : {
           Case{"no cell here\n", " Direct cell not found !!!\n", false},
           Case{kHead.substr(0, kHead.find(" Some")), " Space group not found !!!\n", true},
           Case{kHead + kSection + kSection + kSection, "No solution found !!!", true},
           Case{kHead, "No solution found !!!", true},
           Case{kHead + kSection + kSection + "   Final R value = 1 Rw = 0.3\n",
                " Serial   Atom  Height not found !!!\n", true},
       }) {
    ImportFixture f;
    f.expoChoice.number = "1";
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadExpoFile(f.Write("bad.out", c.text), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(f.data.a == 7.1234, c.cellStored) << c.message;
    EXPECT_TRUE(f.AtomsUnchanged());
  }
  ImportFixture f;
  ImportContext context = f.Context();
  EXPECT_FALSE(ReadExpoFile(f.dir.File("gone.out"), context));
  EXPECT_EQ(f.ui.messages,
            std::vector<std::string>{f.dir.File("gone.out") + " file not found !!!"});
}

TEST(ExpoReaderTest, AnEightyFirstPeakStopsTheRead) {
  std::string peaks;
  for (int i = 1; i <= 81; ++i) peaks += FormatText(" %d Q%d 9 0.1 0.2 0.3\n", i, i);
  ImportFixture f;
  f.expoChoice.number = "1";
  ImportContext context = f.Context();
  EXPECT_FALSE(ReadExpoFile(f.Write("many.out", kHead + Solution("0.3", peaks)), context));
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Number of species exceeds over 80 !!!"});
  EXPECT_EQ(f.data.atomCount, 80);
  EXPECT_EQ(f.data.atomLabels[79], "Q80/Q80");
  EXPECT_EQ(f.data.sgNumber, 0);
}

}  // namespace
}  // namespace braxel
