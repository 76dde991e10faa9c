#include <gtest/gtest.h>

#include <string>

#include "io/IcsdReader.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

// The keyword layout; the angle names are Latin-1 single bytes (a grave, a acute, c cedilla).
const std::string kKeywordText =
    " COL  ICSD Collection Code 12345\n"
    " NAME Test spinel\n"
    " CELL a=8.3940(2) b=8.3940(2) c=8.3940(2) \xe0=90.0 \xe1=90.0 \xe7=90.0\n"
    "      V=591.4 D=5.2 Z=8\n"
    " SGR  F d -3 m Z (227) - cubic\n"
    " PARM Atom__No OxStat Wyck -----X----- -----Y----- -----Z----- -SOF-\n"
    "      Si    1   0.000 8a   0           0           0\n"
    "      Fe    1   3.000 16c  0.1234(5)   1/4         0.5         0.5\n"
    "      0.25\n"
    "      O     2  -2.000 32e  0.2625(2)   0.2625(2)   0.2625(2)\n"
    "      Na    1   1.000 4a   0 0 0\n"
    "      Cl    1  -1.000 4b   1/2 1/2 1/2\n"
    " WYCK e c a\n"
    " ITF  Si 1 B=0.46\n";

std::string BlockEntry(int code, const std::string& formula, const std::string& cell,
                       const std::string& group, int number, const std::string& atoms) {
  return "*data for ICSD #" + std::to_string(code) + "\nColl Code " + std::to_string(code) +
         "\nStructured  " + formula + "   \nUnit Cell " + cell + "\nSpace Group " + group +
         "\nSG Number " + std::to_string(number) + "\nAtom  # OX SITE x y z SOF H\n" + atoms +
         "*end for ICSD #" + std::to_string(code) + "\n";
}

const std::string kBlockText =
    BlockEntry(1001, "Na Cl", "5.6402(3) 5.6402(3) 5.6402(3) 90. 90. 90.", "F m -3 m", 225,
               "Na 1 +1 4 a 0 0 0 1. 0\nCl 1 -1 4 b 0.5 0.5 0.5 1. 0\n") +
    BlockEntry(1002, "Ca Fe O3", "5.3 5.4 7.6 90. 97.53(2) 90.", "P 21/c", 14,
               "Ca 1 +2 4 e 0.1 0.2 0.3 1. 0\nFe 1 +3 2 a 0 0 0 0.5 0\nO 1 -2 4 e 1/3 0 0 1. 0\n"
               "Lbl Type\n") +
    BlockEntry(1003, "Al2 O3", "4.759 4.759 12.99 90. 90. 120.", "R -3 c H", 167,
               "Al 1 +3 12 c 0 0 0.3522 1. 0\nO 1 -2 18 e 0.3064 0 0.25 1. 0\n");

TEST(IcsdReaderTest, KeywordLayoutCellGroupAndIons) {
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadIcsdFile(f.Write("spinel.txt", kKeywordText), context));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_DOUBLE_EQ(f.data.a, 8.394);
  EXPECT_DOUBLE_EQ(f.data.c, 8.394);
  EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
  EXPECT_EQ(f.results.uniqueAxis, "no");  // no angle carries an uncertainty
  EXPECT_EQ(f.results.sgSymbol, "F d -3 m Z");
  EXPECT_EQ(f.data.sgNumber, 227);
  EXPECT_EQ(f.data.settingNumber, 2);  // the "Z" of origin choice 2
  ASSERT_EQ(f.data.atomCount, 5);      // the occupancy line adds no atom
  const char* labels[] = {"Si1/Si", "Fe1/Fe3+", "O2/O2-", "Na1/Na+", "Cl1/Cl-"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.data.atomLabels[i], labels[i]);
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.1234);
  EXPECT_DOUBLE_EQ(f.data.y[1], 0.25);
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.25);
  EXPECT_DOUBLE_EQ(f.data.g[0], 1.0);
  EXPECT_DOUBLE_EQ(f.data.x[4], 0.5);
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(f.data.B[i], 0.5);
  EXPECT_TRUE(f.conversions.empty());
}

TEST(IcsdReaderTest, KeywordLayoutUncertainAngleSuffixLettersAndUtf8AngleNames) {
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadIcsdFile(f.Write("mono.txt",
                                   " COL  1\n CELL a=5.3 b=5.4 c=7.6 α=90. β=97.53(2) γ=90.\n"
                                   " SGR  R -3 m H R (14)\n PARM x\n Ca 1 2.000 4e 0.1 0.2 0.3\n"),
                           context));
  EXPECT_DOUBLE_EQ(f.data.beta, 97.53);
  EXPECT_DOUBLE_EQ(f.data.alpha, 90.0);
  EXPECT_EQ(f.results.uniqueAxis, "b");
  EXPECT_EQ(f.data.settingNumber, 1);  // "H" wins over "R"
  EXPECT_EQ(f.data.sgNumber, 14);
  EXPECT_EQ(f.data.atomLabels[0], "Ca1/Ca2+");
  EXPECT_EQ(f.data.atomCount, 1);  // the file ends inside the list
  EXPECT_EQ(f.conversions, std::vector<int>{0});
}

TEST(IcsdReaderTest, BlockLayoutChoosesAnEntry) {
  ImportFixture f;
  f.icsdChoice.number = "2";
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadIcsdFile(f.Write("three.txt", kBlockText), context));
  ASSERT_EQ(f.icsdChoice.shownCount, 1);
  ASSERT_EQ(f.icsdChoice.shownRows.size(), 35u);
  EXPECT_EQ(f.icsdChoice.shownRows[0].number, " 1");
  EXPECT_EQ(f.icsdChoice.shownRows[0].text, "Na Cl");
  EXPECT_EQ(f.icsdChoice.shownRows[2].text, "Al2 O3");
  EXPECT_EQ(f.icsdChoice.shownRows[3].number, "");
  EXPECT_EQ(f.results.sgSymbol, "P 21/c   ");
  EXPECT_EQ(f.data.sgNumber, 14);
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.results.uniqueAxis, "b");
  ASSERT_EQ(f.data.atomCount, 3);  // "Lbl" ends the list
  EXPECT_EQ(f.data.atomLabels[0], "Ca1/Ca2+");
  EXPECT_EQ(f.data.atomLabels[2], "O1/O2-");
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.5);
  EXPECT_NEAR(f.data.x[2], 1.0 / 3.0, 1e-12);
  EXPECT_EQ(f.conversions, std::vector<int>{0});
}

TEST(IcsdReaderTest, CancelOrARefusedNumberReadsTheFirstEntry) {
  for (const char* number : {"", "4", "0"}) {
    ImportFixture f;
    if (*number) f.icsdChoice.number = number;
    ImportContext context = f.Context();
    ASSERT_TRUE(ReadIcsdFile(f.Write("three.txt", kBlockText), context));
    EXPECT_EQ(f.data.sgNumber, 225) << number;
    EXPECT_EQ(f.results.sgSymbol, "F m -3 m  ");
    EXPECT_EQ(f.data.atomLabels[0], "Na1/Na+");
    EXPECT_EQ(f.data.atomLabels[1], "Cl1/Cl-");
    if (*number) {
      EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Number must be from 1 to 3 !!!"});
    }
  }
  ImportFixture f;
  f.icsdChoice.number = "3";
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadIcsdFile(f.Write("three.txt", kBlockText), context));
  EXPECT_EQ(f.data.sgNumber, 167);
  EXPECT_EQ(f.data.settingNumber, 1);  // "H": hexagonal axes
  EXPECT_EQ(f.results.uniqueAxis, "no");
}

TEST(IcsdReaderTest, OneEntryIsReadWithoutTheChooser) {
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(
      ReadIcsdFile(f.Write("one.txt", BlockEntry(7, "Si", "5.43 5.43 5.43 90 90 90", "F d -3 m S",
                                                 227, "Si 1 0 8 a 0.125 0.125 0.125 1. 0\n")),
                   context));
  EXPECT_EQ(f.icsdChoice.shownCount, 0);
  EXPECT_EQ(f.data.atomLabels[0], "Si1/Si");
  EXPECT_EQ(f.results.sgSymbol, "F d -3 m S ");  // ten characters get one blank
}

TEST(IcsdReaderTest, FailuresKeepWhatEarlierStepsStored) {
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadIcsdFile(f.Write("none.txt", "just text\n"), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"*data not found !!!\n"});
    EXPECT_TRUE(f.CellUnchanged() && f.AtomsUnchanged());
    EXPECT_EQ(f.data.sgNumber, 99);
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadIcsdFile(f.dir.File("gone.txt"), context));
    EXPECT_EQ(f.ui.messages,
              std::vector<std::string>{f.dir.File("gone.txt") + " file not found !!!"});
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(
        ReadIcsdFile(f.Write("nosgr.txt", " COL  1\n CELL a=3 b=4 c=5 a=90 b=90 c=90\n"), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{" SGR not found !!!\n"});
    EXPECT_DOUBLE_EQ(f.data.c, 5.0);
    EXPECT_EQ(f.data.settingNumber, 1);
    EXPECT_EQ(f.data.sgNumber, 99);
    EXPECT_TRUE(f.AtomsUnchanged());
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadIcsdFile(f.Write("nocell.txt", " COL  1\n SGR  P 1 (1)\n"), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{" CELL not found !!!\n"});
    EXPECT_TRUE(f.CellUnchanged() && f.AtomsUnchanged());
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadIcsdFile(
        f.Write("noatoms.txt", "*data\nUnit Cell 3 4 5 90 90 90\nSpace Group P 1\nSG Number 1\n"),
        context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Atom  # not found !!!\n"});
    EXPECT_EQ(f.data.sgNumber, 1);
    EXPECT_EQ(f.results.sgSymbol, "P 1    ");
    EXPECT_TRUE(f.AtomsUnchanged());
  }
}

TEST(IcsdReaderTest, CapacitiesOfAtomsAndEntries) {
  ImportFixture f;
  ImportContext context = f.Context();
  std::string atoms;
  for (int i = 1; i <= 81; ++i) atoms += "C " + std::to_string(i) + " +4 1 a 0.1 0.2 0.3 1. 0\n";
  EXPECT_FALSE(ReadIcsdFile(
      f.Write("many.txt", BlockEntry(1, "C", "3 4 5 90 90 90", "P 1", 1, atoms)), context));
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Number of species exceeds over 80 !!!"});
  EXPECT_EQ(f.data.atomCount, 80);
  EXPECT_EQ(f.data.atomLabels[79], "C80/C4+");
  EXPECT_EQ(f.data.sgNumber, 1);

  ImportFixture g;
  ImportContext other = g.Context();
  std::string entries;
  for (int i = 1; i <= 35; ++i) entries += BlockEntry(i, "Si", "5 5 5 90 90 90", "P 1", 1, "");
  EXPECT_FALSE(ReadIcsdFile(g.Write("entries.txt", entries), other));
  EXPECT_EQ(g.ui.messages, std::vector<std::string>{"Number of entries exceeds over 34 !!!"});
  EXPECT_EQ(g.icsdChoice.shownCount, 0);
  EXPECT_TRUE(g.CellUnchanged() && g.AtomsUnchanged());
}

}  // namespace
}  // namespace braxel
