#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/CalculationRun.h"
#include "io/CifReader.h"
#include "io/CifSymmetry.h"
#include "platform/TextInput.h"
#include "settings/SettingsFile.h"
#include "support/CifText.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ImportFixture;

constexpr double kEightPiSquared = 8 * M_PI * M_PI;

std::string Cell(double a, double b, double c, double alpha, double beta, double gamma) {
  return FormatText(
      "_cell_length_a %g\n_cell_length_b %g\n_cell_length_c %g\n"
      "_cell_angle_alpha %g\n_cell_angle_beta %g\n_cell_angle_gamma %g\n",
      a, b, c, alpha, beta, gamma);
}

const std::string kOneAtom =
    "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
    "Si1 0.1 0.2 0.3\n";

std::string Triclinic(const std::string& loop) {
  return "_symmetry_space_group_name_H-M 'P -1'\n_symmetry_Int_Tables_number 2\n" +
         Cell(5, 6, 7, 80, 85, 95) + loop;
}

// Rutile as a structure database writes it: tags in alphabetical order, the current
// dictionary's names, uncertainties, "?" values and several loops.
const std::string kRutile =
    "#------------------------------------------------------------------------------\n"
    "data_9004141\nloop_\n_publ_author_name\n'Meagher, E. P.'\n'Lager, G. A.'\n"
    "_cell_angle_alpha                90\n_cell_angle_beta                 90\n"
    "_cell_angle_gamma                90\n_cell_formula_units_Z            2\n"
    "_cell_length_a                   4.5937(3)\n_cell_length_b                   4.5937(3)\n"
    "_cell_length_c                   2.9587(2)\n_cell_measurement_temperature   ?\n"
    "_space_group_IT_number           136\n_symmetry_space_group_name_Hall  '-P 4n 2n'\n"
    "_space_group_name_H-M_alt        'P 42/m n m'\n" +
    testing::SymopLoop(
        {"'x, y, z'", "'-y+1/2, x+1/2, z+1/2'", "'-x, -y, z'", "'y+1/2, -x+1/2, z+1/2'",
         "'x+1/2, -y+1/2, -z+1/2'", "'-y, -x, -z'", "'-x+1/2, y+1/2, -z+1/2'", "'y, x, -z'",
         "'-x, -y, -z'", "'y+1/2, -x+1/2, -z+1/2'", "'x, y, -z'", "'-y+1/2, x+1/2, -z+1/2'",
         "'-x+1/2, y+1/2, z+1/2'", "'y, x, z'", "'x+1/2, -y+1/2, z+1/2'", "'-y, -x, z'"}) +
    "loop_\n_atom_site_label\n_atom_site_type_symbol\n_atom_site_fract_x\n"
    "_atom_site_fract_y\n_atom_site_fract_z\n_atom_site_U_iso_or_equiv\n"
    "_atom_site_attached_hydrogens\n"
    "Ti Ti4+ 0 0 0 0.0052(2) ?\nO1 O2- 0.3048(2) 0.3048(2) 0 0.0061(4) ?\n"
    "loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\nTi 0.0048(2)\n";

TEST(CifReaderTest, ReadsADatabaseFile) {
  std::string crlf;
  for (const char c : kRutile) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& text : {kRutile, crlf}) {
    ImportFixture f;
    ASSERT_TRUE(f.Read(ReadCifFile, "rutile.cif", text));
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(f.results.sgSymbol, "P 42/m n m");
    EXPECT_EQ(f.data.sgNumber, 136);  // the number line stands before the symbol: looked up
    EXPECT_EQ(f.data.settingNumber, 1);
    EXPECT_DOUBLE_EQ(f.data.a, 4.5937);  // angles before edges are found all the same
    EXPECT_DOUBLE_EQ(f.data.c, 2.9587);
    EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
    ASSERT_EQ(f.data.atomCount, 2);
    EXPECT_EQ(f.data.atomLabels[0], "Ti/Ti");
    EXPECT_EQ(f.data.atomLabels[1], "O1/O");
    EXPECT_DOUBLE_EQ(f.data.x[1], 0.3048);
    EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.0052, 1e-12);
    EXPECT_DOUBLE_EQ(f.data.g[1], 1.0);
    EXPECT_TRUE(f.conversions.empty());
  }
}

TEST(CifReaderTest, OriginChoiceTwoFromTheOperationsGivesDiamondReflections) {
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadCifFile, "si.cif", testing::DiamondCif(true)));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.data.sgNumber, 227);
  ASSERT_EQ(f.data.settingNumber, 2);
  const Settings settings =
      ReadSettings(MakeFixedPaths(f.dir.Path().string(), BRAXEL_DATA_DIR), f.ui);
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(run.RunCalculation(MakeRunInput(f.data,
                                              {f.dir.File("Braxel.out"), f.dir.File("Braxel.prf"),
                                               f.Context().tabsgPath, settings.external.fscatPath},
                                              settings.profile),
                                 message))
      << message;
  EXPECT_EQ(run.positions.siteMultiplicity[0], 8);  // 8a; origin choice 1 would give 16
  const auto fCalc = [&](int h, int k, int l) {
    for (int i = 0; i < run.entryCount; ++i) {
      const Reflection& e = run.entries[i];
      if (e.code == 1 && e.h == h && e.k == k && e.l == l) return e.fCalc;
    }
    return -1.0;  // not listed
  };
  // Diamond: |F(111)| = 4 sqrt(2) f, |F(220)| = 8 f, 200 absent, 222 cancels on 8a.
  EXPECT_GT(fCalc(1, 1, 1), 40.0);
  EXPECT_GT(fCalc(2, 2, 0), 40.0);
  EXPECT_GT(fCalc(3, 1, 1), 20.0);
  EXPECT_EQ(fCalc(2, 0, 0), -1.0);
  EXPECT_LT(fCalc(2, 2, 2), 1e-3);

  ImportFixture g;  // without the list the group's first setting is all there is to go by
  ASSERT_TRUE(g.Read(ReadCifFile, "si.cif", testing::DiamondCif(false)));
  EXPECT_EQ(g.data.settingNumber, 1);
}

TEST(CifReaderTest, SymbolNumberAndSetting) {
  struct Case {
    std::string lines, cell, symbol;
    int number, setting;
    std::vector<int> conversions;
  };
  const std::string mono = Cell(5.1, 6.2, 7.3, 90, 101, 90);
  const std::string ortho = Cell(5, 6, 7, 90, 90, 90);
  const std::string cubic = Cell(5, 5, 5, 90, 90, 90);
  const std::string hexagonal = Cell(3, 3, 20, 90, 90, 120);
  for (const Case& c : {
           Case{"_symmetry_space_group_name_H-M 'P 21/c'\n_symmetry_Int_Tables_number 14\n",
                mono,
                "P 21/c",
                14,
                1,
                {0}},
           Case{"_symmetry_space_group_name_H-M   P21/c  \n", mono, "P 21/c", 14, 1, {0}},
           Case{"_symmetry_space_group_name_H-M \"P 21/c\"\n", mono, "P 21/c", 14, 1, {0}},
           Case{"_symmetry_space_group_name_h-m 'P 1 21/c 1'\n", mono, "P 1 21/c 1", 14, 1, {0}},
           Case{"_symmetry_space_group_name_H-M\n'P n m a'\n", ortho, "P n m a", 62, 1, {1}},
           Case{"_symmetry_space_group_name_H-M 'P b n m'\n", ortho, "P b n m", 62, 3, {1}},
           Case{"_space_group_name_H-M_alt 'F d -3 m :2'\n", cubic, "F d -3 m", 227, 2, {}},
           Case{"_space_group_name_H-M_alt 'Fd-3m:1'\n_space_group_IT_number 227\n",
                cubic,
                "F d-3m",
                227,
                1,
                {}},
           Case{"_space_group_name_H-M_alt 'R -3 m :H'\n", hexagonal, "R -3 m", 166, 1, {}},
           Case{"_symmetry_space_group_name_H-M 'R -3 m'\n",
                Cell(5, 5, 5, 60, 60, 60),
                "R -3 m",
                166,
                2,
                {}},
           Case{"_symmetry_space_group_name_H-M 'P 4'\n_symmetry_Int_Tables_number 75\n",
                cubic,
                "P 4",
                75,
                1,
                {}},
       }) {
    ImportFixture f;
    ASSERT_TRUE(f.Read(ReadCifFile, "s.cif", "data_x\n" + c.lines + c.cell + kOneAtom));
    EXPECT_EQ(f.results.sgSymbol, c.symbol) << c.lines;
    EXPECT_EQ(f.data.sgNumber, c.number) << c.lines;
    EXPECT_EQ(f.data.settingNumber, c.setting) << c.lines;
    EXPECT_EQ(f.conversions, c.conversions) << c.lines;
    EXPECT_TRUE(f.ui.messages.empty()) << c.lines;
  }
}

TEST(CifReaderTest, OperationsOfNoTableSettingAreReported) {
  ImportFixture f;
  ASSERT_TRUE(
      f.Read(ReadCifFile, "pbnm.cif",
             "_symmetry_space_group_name_H-M 'P b n m'\n_symmetry_Int_Tables_number 62\n" +
                 Cell(5, 6, 7, 90, 90, 90) +
                 "loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\n-x,-y,1/2+z\nx+1/2,-y+1/2,-z\n"
                 "-x+1/2,y+1/2,-z+1/2\n-x,-y,-z\nx,y,-z+1/2\n-x+1/2,y+1/2,z\nx+1/2,-y+1/2,z+1/2\n" +
                 kOneAtom));
  EXPECT_EQ(f.ui.messages,
            std::vector<std::string>{
                "Symmetry operations of the file match no setting of space group 62 !!!"});
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.conversions, std::vector<int>{1});

  SymmetryOperation op, shifted;
  ASSERT_TRUE(ParseCifOperation("'1/2+X, -y+x, z+5/6'", op));
  EXPECT_DOUBLE_EQ(op.t[0], 0.5);
  EXPECT_EQ(op.R[1][0], 1.0);
  EXPECT_EQ(op.R[1][1], -1.0);
  ASSERT_TRUE(ParseCifOperation("x-0.5, x-y, z-0.16667", shifted));
  EXPECT_TRUE(SameOperation(op, shifted));  // translations modulo 1
  ASSERT_TRUE(ParseCifOperation("x, x-y, z+5/6", shifted));
  EXPECT_FALSE(SameOperation(op, shifted));
  for (const char* bad : {"x,y", "x,y,z,x", "a,b,c", "x,,z", "x,y,1/2", "x,y/0,z"}) {
    EXPECT_FALSE(ParseCifOperation(bad, op)) << bad;
  }
}

TEST(CifReaderTest, AtomSiteLoops) {
  std::string loop = "loop_\n_atom_site_label\n", extras;
  for (int i = 0; i < 14; ++i) loop += FormatText("_atom_site_extra_%d\n", i);
  for (int i = 0; i < 14; ++i) extras += " .";
  loop +=
      "_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n_atom_site_occupancy\n"
      "_atom_site_U_iso_or_equiv\nFe1" +
      extras + " 0.25 0.2500(3) 1/4 0.5 0.0123(4)\n" + "O12" + extras +
      "\n -1/3 0.1 0.2 1 0.01\n";  // 20 tags; a row across two lines
  for (const char* label : {"Ca(2)", "Si", "Ow3", "Mg0"}) loop += label + extras + " 0 0 0 1 0\n";
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadCifFile, "a.cif", Triclinic(loop + "# end\nC9 0 0 0\n")));
  ASSERT_EQ(f.data.atomCount, 6);
  const char* labels[] = {"Fe1/Fe", "O12/O", "Ca(2)/Ca", "Si/Si", "Ow3/O", "Mg0/Mg0"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.data.atomLabels[i], labels[i]);
  EXPECT_DOUBLE_EQ(f.data.x[0], 0.25);
  EXPECT_DOUBLE_EQ(f.data.y[0], 0.25);
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.25);
  EXPECT_NEAR(f.data.x[1], -1.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.data.g[0], 0.5);
  EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.0123, 1e-12);

  // No U and no occupancy column; the loop ends at a tag.
  ASSERT_TRUE(f.Read(ReadCifFile, "d.cif", Triclinic(kOneAtom + "Na1 0 0 0\n_end 1\n")));
  ASSERT_EQ(f.data.atomCount, 2);
  EXPECT_DOUBLE_EQ(f.data.g[1], 1.0);
  EXPECT_DOUBLE_EQ(f.data.B[1], 0.5);
  // B given directly; an incomplete last row is dropped.
  ASSERT_TRUE(f.Read(ReadCifFile, "b.cif",
                     Triclinic("loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
                               "_atom_site_fract_z\n_atom_site_B_iso_or_equiv\n"
                               "Na1 0 0 0 1.25(3)\nCl1 0.5 0.5\n")));
  ASSERT_EQ(f.data.atomCount, 1);
  EXPECT_DOUBLE_EQ(f.data.B[0], 1.25);
  // The element symbol first, as some programs write the loop, after a blank line.
  ASSERT_TRUE(f.Read(ReadCifFile, "t.cif",
                     Triclinic("loop_\n\n _atom_site_type_symbol\n _atom_site_label\n"
                               " _atom_site_fract_x\n _atom_site_fract_y\n _atom_site_fract_z\n"
                               "  Na  Na1  0.0  0.0  0.0\nloop_\n")));
  EXPECT_EQ(f.data.atomLabels[0], "Na1/Na");
  // The file ends among the tags.
  ASSERT_TRUE(f.Read(ReadCifFile, "e.cif", Triclinic("loop_\n_atom_site_label\n_atom_site_x")));
  EXPECT_EQ(f.data.atomCount, 0);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(CifReaderTest, FailureRows) {
  std::string rows;
  for (int i = 1; i <= 81; ++i) rows += FormatText("C%d 0.1 0.2 0.3\n", i);
  const std::string p1 = "_symmetry_space_group_name_H-M 'P 1'\n_symmetry_Int_Tables_number 1\n";
  struct Case {
    std::string text, message;
    int number, atomCount;
    double a, gamma;  // 1.1 and 66 as before the read
  };
  for (const Case& c : {
           Case{"", "CIF file not found !!", 99, 1, 1.1, 66},
           Case{"\n_symmetry_Int_Tables_number 2\n" + Cell(5, 6, 7, 80, 85, 95) + kOneAtom,
                "Space group name not found !!", 99, 1, 1.1, 66},
           Case{p1 + "_cell_length_a 3\n_cell_length_b 4\n" + kOneAtom,
                "_cell_length_c not found !!", 1, 1, 3, 66},
           Case{p1 +
                    "_cell_length_a 3\n_cell_length_b 4\n_cell_length_c 5\n_cell_angle_alpha 80\n"
                    "_cell_angle_beta 85\n_cell_angle_gamma ?\n" +
                    kOneAtom,
                "_cell_angle_gamma not found !!", 1, 1, 3, 66},
           Case{Triclinic("loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\nSi1 0.01\n"),
                "atom site not found !!", 2, 1, 5, 95},
           Case{Triclinic(kOneAtom + rows), "Number of species exceeds over 80 !!!", 2, 80, 5, 95},
       }) {
    ImportFixture f;
    ImportContext context = f.Context();
    const std::string path = c.text.empty() ? f.dir.File("none.cif") : f.Write("bad.cif", c.text);
    EXPECT_FALSE(ReadCifFile(path, context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(f.data.sgNumber, c.number) << c.message;
    EXPECT_EQ(f.data.atomCount, c.atomCount) << c.message;
    EXPECT_DOUBLE_EQ(f.data.a, c.a) << c.message;
    EXPECT_DOUBLE_EQ(f.data.gamma, c.gamma) << c.message;
    EXPECT_EQ(f.results.sgSymbol, c.number == 99 ? "old" : c.number == 1 ? "P 1" : "P -1");
  }
  ImportFixture f;  // 80 atoms read so far stay, still without their element
  ASSERT_FALSE(f.Read(ReadCifFile, "m.cif", Triclinic(kOneAtom + rows)));
  EXPECT_EQ(f.data.atomLabels[79], "C79");

  // Neither table knows the symbol, and a = b gives no setting-table hint: read all the same.
  ImportFixture u;
  ASSERT_TRUE(
      u.Read(ReadCifFile, "u.cif",
             "_symmetry_space_group_name_H-M 'P b n m'\n" + Cell(5, 5, 7, 90, 90, 90) + kOneAtom));
  EXPECT_EQ(u.ui.messages, std::vector<std::string>{"Space group number not found !!!"});
  EXPECT_EQ(u.data.sgNumber, 0);
  EXPECT_EQ(u.data.atomLabels[0], "Si1/Si");
}

}  // namespace
}  // namespace braxel
