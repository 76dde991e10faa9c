#include <gtest/gtest.h>

#include <string>

#include "io/InsReader.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

std::string InsText(const std::string& code, const std::string& atoms) {
  return "# Rietveld refinement of a monoclinic phase\n"
         "NBEAM = 1\n"
         "VNS1 = '" +
         code +
         "'   # space group\n"
         "  CELLQ  9.0 8.0 7.0 90.0 90.0 90.0\n"
         "CELLQ  5.12345 6.2 7.3 90.0 100.25 90.0 0\n" +
         atoms + "}\n" + "Fe9 1.0 0.0 0.0 0.0 0.1\n";
}

TEST(InsReaderTest, ReadsTheThreePartsPassingOverCommentsAndIndentedLines) {
  ImportFixture f;
  ImportContext context = f.Context();
  const std::string path = f.Write("phase.ins", InsText("A-14-2",
                                                        "# atoms\n"
                                                        "Fe1/Fe3+ 1.0 0.1 0.2 0.3 0.45\n"
                                                        "   O1 1.0 0.5 0.5 0.5 0.6\n"
                                                        "\n"
                                                        "\tO2/O 0.5 0.25 0.0 0.75 1.2\n"));
  ASSERT_TRUE(ReadInsFile(path, context));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.data.sgNumber, 14);
  EXPECT_EQ(f.data.settingNumber, 2);
  EXPECT_DOUBLE_EQ(f.data.a, 5.12345);
  EXPECT_DOUBLE_EQ(f.data.beta, 100.25);
  ASSERT_EQ(f.data.atomCount, 2);  // the line after "}" is no atom
  EXPECT_EQ(f.data.atomLabels[0], "Fe1/Fe3+");
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.3);
  EXPECT_EQ(f.data.atomLabels[1], "O2/O");  // a line starting with a tab is an atom
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.5);
  EXPECT_DOUBLE_EQ(f.data.B[1], 1.2);
  EXPECT_EQ(f.results.sgSymbol, "P 21/n");
  EXPECT_EQ(f.results.uniqueAxis, "b");
  EXPECT_EQ(f.conversions, std::vector<int>{0});
}

TEST(InsReaderTest, SpaceGroupCodeUniqueAxisAndConversionMode) {
  struct Case {
    std::string code;
    int number, setting;
    std::vector<int> conversions;
  };
  for (const Case& c : {Case{"A-62", 62, 1, {1}}, Case{"A-14-12", 14, 1, {0}},
                        Case{"A-15-3", 15, 3, {0}}, Case{"A-16", 16, 1, {1}},
                        Case{"A-74", 74, 1, {1}}, Case{"A-2", 2, 1, {}}, Case{"A-75", 75, 1, {}}}) {
    ImportFixture f;
    ImportContext context = f.Context();
    const std::string path =
        f.Write("x.ins", "VNS1 = '" + c.code + "'\nCELLQ  5 5 5 90 90 90\nSi 1 0 0 0 0.5\n}\n");
    ASSERT_TRUE(ReadInsFile(path, context)) << c.code;
    EXPECT_EQ(f.data.sgNumber, c.number) << c.code;
    EXPECT_EQ(f.data.settingNumber, c.setting) << c.code;
    EXPECT_EQ(f.conversions, c.conversions) << c.code;
    EXPECT_EQ(f.results.uniqueAxis, "no") << "three right angles leave the axis";
  }
}

TEST(InsReaderTest, AWrittenStructureReadsBackToFiveDecimals) {
  ImportFixture f;
  ImportContext context = f.Context();
  const std::string path = f.Write("temp.ins",
                                   "VNS1 = 'A-227-2'\n"
                                   "CELLQ     5.43070    5.43070    5.43070   90.00000   90.00000"
                                   "   90.00000\n"
                                   "Si1/Si    1.00000    0.12500    0.12500    0.12500    0.46000\n"
                                   "}\n");
  ASSERT_TRUE(ReadInsFile(path, context));
  EXPECT_EQ(f.data.sgNumber, 227);
  EXPECT_EQ(f.data.settingNumber, 2);
  EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
  EXPECT_DOUBLE_EQ(f.data.x[0], 0.125);
  EXPECT_EQ(f.results.sgSymbol, "F d -3 m");
}

TEST(InsReaderTest, AFileEndingInsideTheAtomBlockKeepsItsAtoms) {
  ImportFixture f;
  ImportContext context = f.Context();
  const std::string path =
      f.Write("cut.ins", "VNS1 = 'A-225'\nCELLQ 5.64 5.64 5.64 90 90 90\nNa 1 0 0 0 0.8\nCl 1 0.5");
  ASSERT_TRUE(ReadInsFile(path, context));
  ASSERT_EQ(f.data.atomCount, 2);
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.5);
  EXPECT_DOUBLE_EQ(f.data.z[1], 0.0);
}

TEST(InsReaderTest, FailuresBeforeTheCellLeaveTheRecord) {
  struct Case {
    std::string text;
    std::string message;
  };
  for (const Case& c : {Case{"NBEAM = 1\nCELLQ 5 5 5 90 90 90\n", "VNS1 not found !!!\n"},
                        Case{"VNS1 = 'A14'\nCELLQ 5 5 5 90 90 90\n", "No sapce group !!!\n"},
                        Case{"VNS1 - 14\nCELLQ 5 5 5 90 90 90\n", "No sapce group !!!\n"}}) {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadInsFile(f.Write("bad.ins", c.text), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(f.data.sgNumber, 99);
    EXPECT_EQ(f.data.settingNumber, 7);
    EXPECT_TRUE(f.CellUnchanged() && f.AtomsUnchanged());
  }
  ImportFixture f;
  ImportContext context = f.Context();
  EXPECT_FALSE(ReadInsFile(f.dir.File("none.ins"), context));
  EXPECT_EQ(f.ui.messages,
            std::vector<std::string>{f.dir.File("none.ins") + " file not found !!!\n"});
}

TEST(InsReaderTest, ACellLineBeforeTheSpaceGroupLineIsNotFound) {
  ImportFixture f;
  ImportContext context = f.Context();
  EXPECT_FALSE(
      ReadInsFile(f.Write("order.ins", "CELLQ 5 5 5 90 90 90\nVNS1 = 'A-62-1'\n"), context));
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{"No cell dimension !!!\n"});
  EXPECT_EQ(f.data.sgNumber, 62);
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_TRUE(f.CellUnchanged() && f.AtomsUnchanged());
  EXPECT_EQ(f.results.sgSymbol, "old");
}

TEST(InsReaderTest, AnEightyFirstAtomStopsTheRead) {
  ImportFixture f;
  ImportContext context = f.Context();
  std::string atoms;
  for (int i = 1; i <= 81; ++i) atoms += FormatText("C%d 1 0.1 0.2 0.3 0.4\n", i);
  EXPECT_FALSE(ReadInsFile(f.Write("many.ins", InsText("A-2", atoms)), context));
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Number of species exceeds over 80 !!!"});
  EXPECT_EQ(f.data.sgNumber, 2);
  EXPECT_DOUBLE_EQ(f.data.a, 5.12345);
  EXPECT_EQ(f.data.atomCount, 80);
  EXPECT_EQ(f.data.atomLabels[79], "C80");
  EXPECT_EQ(f.results.sgSymbol, "old");
  EXPECT_TRUE(f.conversions.empty());
}

}  // namespace
}  // namespace braxel
