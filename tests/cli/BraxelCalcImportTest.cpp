// braxel-calc on the structure files of other programs, with nobody to answer a chooser.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/CifText.h"
#include "support/CommandLine.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::RunBraxelCalc;
using testing::TempDir;
using testing::WriteFile;

const std::string kSettings = testing::kBundledSettingsMessages;

// Whether the printed reflection list holds h k l as a Ka1 entry.
bool Lists(const std::string& out, int h, int k, int l) {
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream row(line);
    int number = 0, rh = 0, rk = 0, rl = 0, code = 0;
    if (row >> number >> rh >> rk >> rl >> code && code == 1 && rh == h && rk == k && rl == l) {
      return true;
    }
  }
  return false;
}

// The printed reflection list without its |Fcal| column, whose last digit depends on which of
// equivalent positions a description names.
std::string WithoutAmplitudes(const std::string& out) {
  std::istringstream lines(out);
  std::ostringstream kept;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream row(line);
    std::vector<std::string> words;
    for (std::string word; row >> word;) words.push_back(word);
    if (words.size() == 10) words.erase(words.begin() + 7);
    for (const std::string& word : words) kept << word << ' ';
    kept << '\n';
  }
  return kept.str();
}

TEST(BraxelCalcImportTest, DiamondFromACifInOriginChoiceTwo) {
  TempDir dir;
  WriteFile(dir.File("si.cif"), testing::DiamondCif(true));
  const auto outcome = RunBraxelCalc(dir, "si.cif");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, kSettings);
  EXPECT_TRUE(Lists(outcome.out, 1, 1, 1));
  EXPECT_TRUE(Lists(outcome.out, 2, 2, 0));
  EXPECT_TRUE(Lists(outcome.out, 3, 1, 1));
  EXPECT_FALSE(Lists(outcome.out, 2, 0, 0));
}

std::string Olivine(const std::string& symbol, const std::string& cell, const std::string& atoms) {
  return "data_x\n_symmetry_space_group_name_H-M '" + symbol +
         "'\n_symmetry_Int_Tables_number 62\n" + cell +
         "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
         "_atom_site_B_iso_or_equiv\n" +
         atoms;
}

TEST(BraxelCalcImportTest, AxesTheTableLacksAreConvertedToTheStandardSetting) {
  TempDir dir;
  WriteFile(dir.File("pbnm.cif"),
            Olivine("P b n m",
                    "_cell_length_a 4.75\n_cell_length_b 10.19\n_cell_length_c 5.98\n"
                    "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n",
                    "Mg1 0 0 0 0.5\nSi1 0.4262 0.094 0.25 0.4\nO1 0.7657 0.092 0.25 0.6\n"));
  WriteFile(dir.File("pnma.cif"),
            Olivine("P n m a",
                    "_cell_length_a 10.19\n_cell_length_b 5.98\n_cell_length_c 4.75\n"
                    "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n",
                    "Mg1 0 0 0 0.5\nSi1 0.094 0.25 0.4262 0.4\nO1 0.092 0.25 0.7657 0.6\n"));
  const auto converted = RunBraxelCalc(dir, "pbnm.cif");
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.err, kSettings +
                               "Cell and coordinates converted to the standard setting P n m a of "
                               "space group 62: a' = b, b' = -c, c' = -a, origin at 0 0 0 of the "
                               "file's axes !!!\npbnm.cif\n");
  const auto standard = RunBraxelCalc(dir, "pnma.cif");
  ASSERT_EQ(standard.status, 0) << standard.err;
  EXPECT_EQ(standard.err, kSettings);
  EXPECT_EQ(WithoutAmplitudes(converted.out), WithoutAmplitudes(standard.out));
}

const char kListing[] =
    " Direct cell parameters: 5.0000             6.0000             7.0000\n"
    "                         90.000             100.00             90.000\n"
    " Space group symbol, as given in the input:    P 21/c\n"
    "                          ***   OUTPUT SECTION   ***\n"
    "                          ***   OUTPUT SECTION   ***\n"
    "   Final R value = 0.3 Rw = 0.31\n"
    " Serial   Atom  Height\n\n   1   Fe    100.0    0.1000   0.2000   0.3000\n\n"
    "                          ***   OUTPUT SECTION   ***\n"
    "                          ***   OUTPUT SECTION   ***\n"
    "   Final R value = 0.2 Rw = 0.21\n"
    " Serial   Atom  Height\n\n   1   Fe    100.0    0.1000   0.2000   0.3000\n"
    "   2   O     50.0     0.4000   0.0500   0.7000\n\n";

TEST(BraxelCalcImportTest, ChoosersAreAnsweredFromTheOptions) {
  TempDir dir;
  WriteFile(dir.File("expo.out"), kListing);
  const auto first = RunBraxelCalc(dir, "expo.out");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, kSettings);
  const auto second = RunBraxelCalc(dir, "--solution 2 expo.out");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_NE(first.out, second.out);

  const auto refused = RunBraxelCalc(dir, "--solution 3 expo.out");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, kSettings + "Number must be from 1 to 2 !!!\nexpo.out\n");

  WriteFile(
      dir.File("two.txt"),
      "*data\nStructured  Na Cl\nUnit Cell 5.64 5.64 5.64 90 90 90\nSpace Group F m -3 m\n"
      "SG Number 225\nAtom  #\nNa 1 0 4 a 0 0 0 1.\nCl 1 0 4 b 0.5 0.5 0.5 1.\n*end for ICSD #1\n"
      "*data\nStructured  Si\nUnit Cell 5.43 5.43 5.43 90 90 90\nSpace Group F d -3 m S\n"
      "SG Number 227\nAtom  #\nSi 1 0 8 a 0 0 0 1.\n*end for ICSD #1\n");
  const auto entry = RunBraxelCalc(dir, "--entry 9 two.txt");
  EXPECT_EQ(entry.status, 1);
  EXPECT_EQ(entry.err, kSettings + "Number must be from 1 to 2 !!!\ntwo.txt\n");
  const auto salt = RunBraxelCalc(dir, "two.txt");
  ASSERT_EQ(salt.status, 0) << salt.err;
  EXPECT_TRUE(Lists(salt.out, 2, 0, 0));
  const auto silicon = RunBraxelCalc(dir, "--entry 2 two.txt");
  ASSERT_EQ(silicon.status, 0) << silicon.err;
  EXPECT_FALSE(Lists(silicon.out, 2, 0, 0));

  WriteFile(dir.File("notes.dat"), "text\n");
  const auto other = RunBraxelCalc(dir, "notes.dat");
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err, kSettings + "notes.dat is not a structure file this program reads !!!\n");
}

}  // namespace
}  // namespace braxel
