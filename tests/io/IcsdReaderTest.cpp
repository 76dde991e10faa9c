#include <gtest/gtest.h>

#include <string>

#include "io/IcsdReader.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

// The keyword layout; the angle names are Latin-1 single bytes (a grave, a acute, c cedilla).
const std::string kKeywordText =
    " COL  ICSD Collection Code 12345\n NAME Test spinel\n"
    " CELL a=8.3940(2) b=8.3940(2) c=8.3940(2) \xe0=90.0 \xe1=90.0 \xe7=90.0\n"
    "      V=591.4 D=5.2 Z=8\n SGR  F d -3 m Z (227) - cubic\n"
    " PARM Atom__No OxStat Wyck -----X----- -----Y----- -----Z----- -SOF-\n"
    "      0.5\n"
    "      Si    1   0.000 8a   0           0           0\n"
    "      Fe    1   3.000 16c  0.1234(5)   1/4         0.5         0.5\n"
    "      0.25\n\n"
    "      O     2  -2.000 32e  0.2625(2)   0.2625(2)   0.2625(2)\n"
    "      Na    1   1.000 4a   0 0 0\n      Cl    1  -1.000 4b   1/2 1/2 1/2 0.875" +
    std::string(80, ' ') +
    "0\n"  // a word past column 120 belongs to its line
    " WYCK e c a\n ITF  Si 1 B=0.46\n";

std::string Entry(int code, const std::string& formula, const std::string& cell,
                  const std::string& group, int number, const std::string& atoms) {
  return FormatText(
      "*data for ICSD #%d\nColl Code %d\nStructured  %s   \nUnit Cell %s\n"
      "Space Group %s\nSG Number %d\nAtom  # OX SITE x y z SOF H\n%s"
      "*end for ICSD #%d\n",
      code, code, formula.c_str(), cell.c_str(), group.c_str(), number, atoms.c_str(), code);
}

const std::string kThreeEntries =
    Entry(1, "Na Cl", "5.6402(3) 5.6402(3) 5.6402(3) 90. 90. 90.", "F m -3 m", 225,
          "Na 1 +1 4 a 0 0 0 1. 0\nCl 1 -1 4 b 0.5 0.5 0.5 1. 0\n") +
    Entry(2, "Ca Fe O3", "5.3 5.4 7.6 90. 97.53(2) 90.", "P 21/c", 14,
          "Ca 1 +2 4 e 0.1 0.2 0.3 1. 0\nFe 1 +3 2 a 0 0 0 0.5 0\nO 1 -2 4 e 1/3 0 0 1. 0\n"
          "Lbl Type\nXx 1 0 1 a 0 0 0\n") +
    Entry(3, "Al2 O3", "4.759 4.759 12.99 90. 90. 120.", "R -3 c H", 167,
          "Al 1 +3 12 c 0 0 0.3522 1. 0\n");

TEST(IcsdReaderTest, KeywordLayout) {
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadIcsdFile, "spinel.txt", kKeywordText));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_DOUBLE_EQ(f.data.c, 8.394);
  EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
  EXPECT_EQ(f.results.uniqueAxis, "no");  // no angle carries an uncertainty
  EXPECT_EQ(f.results.sgSymbol, "F d -3 m Z");
  EXPECT_EQ(f.data.sgNumber, 227);
  EXPECT_EQ(f.data.settingNumber, 2);  // "Z": origin choice 2
  // An occupancy line before the first atom and a blank line are no atoms.
  ASSERT_EQ(f.data.atomCount, 5);
  const char* labels[] = {"Si1/Si", "Fe1/Fe3+", "O2/O2-", "Na1/Na+", "Cl1/Cl-"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.data.atomLabels[i], labels[i]);
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.1234);
  EXPECT_DOUBLE_EQ(f.data.y[1], 0.25);
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.25);  // from the line after it
  EXPECT_DOUBLE_EQ(f.data.g[0], 1.0);
  EXPECT_DOUBLE_EQ(f.data.B[4], 0.5);
  EXPECT_DOUBLE_EQ(f.data.g[4], 0.875);
  EXPECT_TRUE(f.conversions.empty());

  // An uncertain beta, "R" and "H" after the symbol, UTF-8 angle names, no end marker, and a
  // group line without "(" (the number its symbol names rather than the last structure's).
  ImportFixture m;
  ASSERT_TRUE(m.Read(ReadIcsdFile, "m.txt",
                     " COL  1\n CELL a=5.3 b=5.4 c=7.6 α=90. β=97.53(2) γ=90.\n"
                     " SGR  R -3 m H R (14)\n PARM x\n Ca 1 2.000 4e 0.1 0.2 0.3\n"));
  EXPECT_DOUBLE_EQ(m.data.beta, 97.53);
  EXPECT_DOUBLE_EQ(m.data.alpha, 90.0);
  EXPECT_EQ(m.results.uniqueAxis, "b");
  EXPECT_EQ(m.data.settingNumber, 1);
  EXPECT_EQ(m.data.atomLabels[0], "Ca1/Ca2+");
  EXPECT_EQ(m.conversions, std::vector<int>{0});
  ASSERT_TRUE(m.Read(ReadIcsdFile, "n.txt", " COL  1\n CELL a=5\n SGR  P 1\n PARM x\n"));
  EXPECT_EQ(m.data.sgNumber, 1);
}

TEST(IcsdReaderTest, TheSymbolSettlesTheSetting) {
  // P 1 21/n 1 is the table's second cell choice, with unique axis b; S after the symbol is
  // origin choice 1, and a number that differs from the symbol's is said to.
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadIcsdFile, "n.txt",
                     " COL  1\n CELL a=5.3 b=5.4 c=7.6 α=90. β=97.5 γ=90.\n"
                     " SGR  P 1 21/n 1 (14) - monoclinic\n PARM x\n Ca 1 2.000 4e 0.1 0.2 0.3\n"));
  EXPECT_EQ(f.data.sgNumber, 14);
  EXPECT_EQ(f.data.settingNumber, 2);
  EXPECT_EQ(f.results.uniqueAxis, "b");
  EXPECT_EQ(f.results.sgSymbol, "P 1 21/n 1");
  EXPECT_TRUE(f.ui.messages.empty());
  ASSERT_TRUE(f.Read(ReadIcsdFile, "s.txt",
                     " COL  1\n CELL a=5.43 b=5.43 c=5.43 α=90. β=90. γ=90.\n"
                     " SGR  F d -3 m S (226) - cubic\n PARM x\n Si 1 0.000 8a 0 0 0\n"));
  EXPECT_EQ(f.data.sgNumber, 227);
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Space group 227 taken from the symbol; the "
                                                    "file's number 226 says otherwise !!!"});
}

TEST(IcsdReaderTest, BlockLayoutEntries) {
  struct Case {
    const char* number;  // typed into the chooser; none: Cancel
    int sgNumber;
    const char* symbol;
    const char* message;
  };
  for (const Case& c : {Case{"2", 14, "P 21/c   ", nullptr}, Case{"3", 167, "R -3 c H  ", nullptr},
                        Case{nullptr, 225, "F m -3 m  ", nullptr},
                        Case{"4", 225, "F m -3 m  ", "Number must be from 1 to 3 !!!"},
                        Case{"0", 225, "F m -3 m  ", "Number must be from 1 to 3 !!!"}}) {
    ImportFixture f;
    if (c.number) f.icsdChoice.number = c.number;
    ASSERT_TRUE(f.Read(ReadIcsdFile, "three.txt", kThreeEntries));
    EXPECT_EQ(f.data.sgNumber, c.sgNumber);
    EXPECT_EQ(f.results.sgSymbol, c.symbol);
    EXPECT_EQ(f.ui.messages,
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    ASSERT_EQ(f.icsdChoice.shownRows.size(), 35u);
    EXPECT_EQ(f.icsdChoice.shownRows[2].number, " 3");
    EXPECT_EQ(f.icsdChoice.shownRows[2].text, "Al2 O3");
    EXPECT_EQ(f.icsdChoice.shownRows[3].number, "");
  }
  ImportFixture f;
  f.icsdChoice.number = "2";
  ASSERT_TRUE(f.Read(ReadIcsdFile, "three.txt", kThreeEntries));
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.results.uniqueAxis, "b");
  ASSERT_EQ(f.data.atomCount, 3);  // "Lbl" ends the list
  EXPECT_EQ(f.data.atomLabels[2], "O1/O2-");
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.5);
  EXPECT_NEAR(f.data.x[2], 1.0 / 3.0, 1e-12);
  EXPECT_EQ(f.conversions, std::vector<int>{0});

  ImportFixture one;  // one entry: no chooser; a charge 0 names the element alone
  ASSERT_TRUE(one.Read(ReadIcsdFile, "one.txt",
                       Entry(7, "Si", "5.43 5.43 5.43 90 90 90", "F d -3 m S", 227,
                             "Si 1 0 8 a 0.125 0.125 0.125 1. 0\n")));
  EXPECT_EQ(one.icsdChoice.shownCount, 0);
  EXPECT_EQ(one.data.atomLabels[0], "Si1/Si");
  EXPECT_EQ(one.results.sgSymbol, "F d -3 m S ");  // ten characters get one blank
}

TEST(IcsdReaderTest, FailureRows) {
  std::string atoms, entries;
  for (int i = 1; i <= 81; ++i) atoms += FormatText("C %d +4 1 a 0.1 0.2 0.3 1. 0\n", i);
  for (int i = 1; i <= 35; ++i) entries += Entry(i, "Si", "5 5 5 90 90 90", "P 1", 1, "");
  struct Case {
    std::string text, message;
    int number, atomCount;
    bool cellRead;
  };
  for (const Case& c : {
           Case{"", "", 99, 1, false},
           Case{"just text\n", "*data not found !!!\n", 99, 1, false},
           Case{" COL  1\n SGR  P 1 (1)\n", " CELL not found !!!\n", 99, 1, false},
           Case{" COL  1\n CELL a=3 b=4 c=5 a=90 b=90 c=90\n", " SGR not found !!!\n", 99, 1, true},
           Case{"*data\nUnit Cell 3 4 5 90 90 90\nSpace Group P 1\nSG Number 1\n",
                "Atom  # not found !!!\n", 1, 1, true},
           Case{Entry(1, "C", "3 4 5 90 90 90", "P 1", 1, atoms),
                "Number of species exceeds over 80 !!!", 1, 80, true},
           Case{entries, "Number of entries exceeds over 34 !!!", 99, 1, false},
       }) {
    ImportFixture f;
    ImportContext context = f.Context();
    const std::string path = c.text.empty() ? f.dir.File("none.txt") : f.Write("bad.txt", c.text);
    EXPECT_FALSE(ReadIcsdFile(path, context));
    EXPECT_EQ(f.ui.messages,
              std::vector<std::string>{c.text.empty() ? path + " file not found !!!" : c.message});
    EXPECT_EQ(f.data.sgNumber, c.number) << c.message;
    EXPECT_EQ(f.data.atomCount, c.atomCount) << c.message;
    EXPECT_EQ(f.CellUnchanged(), !c.cellRead) << c.message;
    EXPECT_EQ(f.icsdChoice.shownCount, 0);
  }
}

}  // namespace
}  // namespace braxel
