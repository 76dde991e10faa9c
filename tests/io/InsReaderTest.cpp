#include <gtest/gtest.h>

#include <string>

#include "io/InsReader.h"
#include "io/InsWriter.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

std::string InsText(const std::string& code, const std::string& atoms) {
  return "# Rietveld refinement\nVNS1 = '" + code + "'   # space group\n" +
         "  CELLQ  9.0 8.0 7.0 90.0 90.0 90.0\nCELLQ  5.12345 6.2 7.3 90.0 100.25 90.0 0\n" +
         atoms + "}\nFe9 1.0 0.0 0.0 0.0 0.1\n";
}

TEST(InsReaderTest, ReadsTheThreePartsPassingOverCommentsAndIndentedLines) {
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadInsFile, "a.ins",
                     InsText("A-14-2",
                             "# atoms\nFe1/Fe3+ 1.0 0.1 0.2 0.3 0.45\n   O1 1 0 0 0 0\n"
                             "\n\tO2/O 0.5 0.25 0.0 0.75 1.2\n")));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.data.sgNumber, 14);
  EXPECT_EQ(f.data.settingNumber, 2);
  EXPECT_DOUBLE_EQ(f.data.a, 5.12345);  // the indented CELLQ line is passed over
  EXPECT_DOUBLE_EQ(f.data.beta, 100.25);
  ASSERT_EQ(f.data.atomCount, 2);           // a line after "}" is no atom
  EXPECT_EQ(f.data.atomLabels[1], "O2/O");  // a line that starts with a tab is one
  EXPECT_DOUBLE_EQ(f.data.g[1], 0.5);
  EXPECT_DOUBLE_EQ(f.data.B[1], 1.2);
  EXPECT_EQ(f.results.sgSymbol, "P 21/n");
  EXPECT_EQ(f.results.uniqueAxis, "b");
  EXPECT_EQ(f.conversions, std::vector<int>{0});

  // What Show Structure writes reads back to five decimals; a file without "}" ends its block
  // there.
  CrystalData written;
  written.sgNumber = 227;
  written.settingNumber = 2;
  written.a = written.b = written.c = 5.430712;
  written.alpha = written.beta = written.gamma = 90.0;
  written.atomCount = 1;
  written.atomLabels[0] = "Si1/Si";
  written.g[0] = 1.0;
  written.x[0] = written.y[0] = written.z[0] = 0.125;
  written.B[0] = 1.0 / 3.0;
  std::string text = InsFileText(written);
  ImportFixture w;
  ASSERT_TRUE(w.Read(ReadInsFile, "temp.ins", text.substr(0, text.rfind('}'))));
  EXPECT_EQ(w.data.settingNumber, 2);
  EXPECT_DOUBLE_EQ(w.data.a, 5.43071);
  EXPECT_DOUBLE_EQ(w.data.gamma, 90.0);
  EXPECT_EQ(w.data.atomLabels[0], "Si1/Si");
  EXPECT_DOUBLE_EQ(w.data.z[0], 0.125);
  EXPECT_DOUBLE_EQ(w.data.B[0], 0.33333);
  EXPECT_EQ(w.data.atomCount, 1);
  EXPECT_EQ(w.results.sgSymbol, "F d -3 m");
  EXPECT_EQ(w.results.uniqueAxis, "no");  // three right angles leave it
}

TEST(InsReaderTest, SpaceGroupCodesAndConversionModes) {
  struct Case {
    const char* code;
    int number, setting;
    std::vector<int> conversions;
  };
  for (const Case& c : {Case{"A-62", 62, 1, {1}}, Case{"A-14-12", 14, 1, {0}},
                        Case{"A-15-3", 15, 3, {0}}, Case{"A-16", 16, 1, {1}},
                        Case{"A-74", 74, 1, {1}}, Case{"A-2", 2, 1, {}}, Case{"A-75", 75, 1, {}}}) {
    ImportFixture f;
    ASSERT_TRUE(f.Read(ReadInsFile, "x.ins", InsText(c.code, "")));
    EXPECT_EQ(f.data.sgNumber, c.number) << c.code;
    EXPECT_EQ(f.data.settingNumber, c.setting) << c.code;
    EXPECT_EQ(f.conversions, c.conversions) << c.code;
  }
}

TEST(InsReaderTest, FailureRows) {
  std::string atoms;
  for (int i = 1; i <= 81; ++i) atoms += FormatText("C%d 1 0.1 0.2 0.3 0.4\n", i);
  struct Case {
    std::string text, message;
    int number, atomCount;
    bool cellRead;
  };
  for (const Case& c : {
           Case{"", "", 99, 1, false},  // no file
           Case{"CELLQ 5 5 5 90 90 90\n", "VNS1 not found !!!\n", 99, 1, false},
           Case{"VNS1 = 'A14'\nCELLQ 5 5 5 90 90 90\n", "No sapce group !!!\n", 99, 1, false},
           Case{"VNS1 - 14\nCELLQ 5 5 5 90 90 90\n", "No sapce group !!!\n", 99, 1, false},
           Case{"CELLQ 5 5 5 90 90 90\nVNS1 = 'A-62-1'\n", "No cell dimension !!!\n", 62, 1, false},
           Case{InsText("A-2", atoms), "Number of species exceeds over 80 !!!", 2, 80, true},
       }) {
    ImportFixture f;
    ImportContext context = f.Context();
    const std::string path = c.text.empty() ? f.dir.File("none.ins") : f.Write("bad.ins", c.text);
    EXPECT_FALSE(ReadInsFile(path, context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{
                                 c.text.empty() ? path + " file not found !!!\n" : c.message});
    EXPECT_EQ(f.data.sgNumber, c.number);
    EXPECT_EQ(f.data.atomCount, c.atomCount);
    EXPECT_EQ(f.CellUnchanged(), !c.cellRead);
    EXPECT_EQ(f.results.sgSymbol, "old");
    EXPECT_TRUE(f.conversions.empty());
  }
}

}  // namespace
}  // namespace braxel
