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
  return "_cell_length_a " + std::to_string(a) + "\n_cell_length_b " + std::to_string(b) +
         "\n_cell_length_c " + std::to_string(c) + "\n_cell_angle_alpha " + std::to_string(alpha) +
         "\n_cell_angle_beta " + std::to_string(beta) + "\n_cell_angle_gamma " +
         std::to_string(gamma) + "\n";
}

const std::string kOneAtom =
    "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
    "_atom_site_fract_z\nSi1 0.1 0.2 0.3\n";

// Rutile as a structure database writes it: tags in alphabetical order, the current
// dictionary's names, uncertainties, "?" values and several loops.
const std::string kRutile =
    "#------------------------------------------------------------------------------\n"
    "data_9004141\n"
    "loop_\n_publ_author_name\n'Meagher, E. P.'\n'Lager, G. A.'\n"
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
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadCifFile(f.Write("rutile.cif", kRutile), context));
  EXPECT_TRUE(f.ui.messages.empty()) << f.ui.messages[0];
  EXPECT_EQ(f.results.sgSymbol, "P 42/m n m");
  EXPECT_EQ(f.data.sgNumber, 136);  // the number line stands before the symbol: looked up
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_DOUBLE_EQ(f.data.a, 4.5937);
  EXPECT_DOUBLE_EQ(f.data.c, 2.9587);
  EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
  ASSERT_EQ(f.data.atomCount, 2);
  EXPECT_EQ(f.data.atomLabels[0], "Ti/Ti");
  EXPECT_EQ(f.data.atomLabels[1], "O1/O");
  EXPECT_DOUBLE_EQ(f.data.x[1], 0.3048);
  EXPECT_DOUBLE_EQ(f.data.z[1], 0.0);
  EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.0052, 1e-12);
  EXPECT_DOUBLE_EQ(f.data.g[1], 1.0);
  EXPECT_TRUE(f.conversions.empty());
}

TEST(CifReaderTest, OriginChoiceTwoFromTheOperationsGivesDiamondReflections) {
  ASSERT_EQ(testing::FdThreeMOriginTwo().size(), 192u);
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadCifFile(f.Write("si.cif", testing::DiamondCif(true)), context));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.data.sgNumber, 227);
  ASSERT_EQ(f.data.settingNumber, 2);

  const Settings settings =
      ReadSettings(MakeFixedPaths(f.dir.Path().string(), BRAXEL_DATA_DIR), f.ui);
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(run.RunCalculation(MakeRunInput(f.data,
                                              {f.dir.File("Braxel.out"), f.dir.File("Braxel.prf"),
                                               context.tabsgPath, settings.external.fscatPath},
                                              settings.profile),
                                 message))
      << message;
  EXPECT_EQ(run.positions.siteMultiplicity[0], 8);  // 8a; origin choice 1 would give 16
  const auto find = [&](int h, int k, int l) -> const Reflection* {
    for (int i = 0; i < run.entryCount; ++i) {
      const Reflection& e = run.entries[i];
      if (e.code == 1 && e.h == h && e.k == k && e.l == l) return &e;
    }
    return nullptr;
  };
  ASSERT_NE(find(1, 1, 1), nullptr);
  ASSERT_NE(find(2, 2, 0), nullptr);
  ASSERT_NE(find(3, 1, 1), nullptr);
  EXPECT_EQ(find(2, 0, 0), nullptr);
  // Diamond: |F(220)| = 8 f and |F(111)| = 4 sqrt(2) f, while 222 cancels on the 8a site.
  EXPECT_GT(find(2, 2, 0)->fCalc, 40.0);
  EXPECT_GT(find(1, 1, 1)->fCalc, 40.0);
  const Reflection* forbidden = find(2, 2, 2);
  if (forbidden) {
    EXPECT_LT(forbidden->fCalc, 1e-3);
  }

  ImportFixture g;  // without the list the group's first setting is all there is to go by
  ImportContext other = g.Context();
  ASSERT_TRUE(ReadCifFile(g.Write("si.cif", testing::DiamondCif(false)), other));
  EXPECT_EQ(g.data.settingNumber, 1);
}

TEST(CifReaderTest, SymbolForms) {
  struct Case {
    std::string lines;
    std::string cell;
    std::string symbol;
    int number, setting;
  };
  const std::string mono = Cell(5.1, 6.2, 7.3, 90, 101, 90);
  const std::string cubic = Cell(5, 5, 5, 90, 90, 90);
  for (const Case& c : {
           Case{"_symmetry_space_group_name_H-M 'P 21/c'\n_symmetry_Int_Tables_number 14\n", mono,
                "P 21/c", 14, 1},
           Case{"_symmetry_space_group_name_H-M   P21/c  \n", mono, "P 21/c", 14, 1},
           Case{"_symmetry_space_group_name_H-M \"P 21/c\"\n", mono, "P 21/c", 14, 1},
           Case{"_symmetry_space_group_name_h-m 'P 1 21/c 1'\n", mono, "P 1 21/c 1", 14, 1},
           Case{"_symmetry_space_group_name_H-M\n'P n m a'\n", Cell(5, 6, 7, 90, 90, 90), "P n m a",
                62, 1},
           Case{"_space_group_name_H-M_alt 'F d -3 m :2'\n", cubic, "F d -3 m", 227, 2},
           Case{"_space_group_name_H-M_alt 'Fd-3m:1'\n_space_group_IT_number 227\n", cubic,
                "F d-3m", 227, 1},
           Case{"_space_group_name_H-M_alt 'R -3 m :H'\n", Cell(3, 3, 20, 90, 90, 120), "R -3 m",
                166, 1},
           Case{"_symmetry_space_group_name_H-M 'R -3 m'\n", Cell(5, 5, 5, 60, 60, 60), "R -3 m",
                166, 2},
           Case{"_symmetry_space_group_name_H-M 'R -3 m'\n_symmetry_Int_Tables_number 166\n",
                Cell(3, 3, 20, 90, 90, 120), "R -3 m", 166, 1},
       }) {
    ImportFixture f;
    ImportContext context = f.Context();
    ASSERT_TRUE(ReadCifFile(f.Write("s.cif", "data_x\n" + c.lines + c.cell + kOneAtom), context));
    EXPECT_EQ(f.results.sgSymbol, c.symbol) << c.lines;
    EXPECT_EQ(f.data.sgNumber, c.number) << c.lines;
    EXPECT_EQ(f.data.settingNumber, c.setting) << c.lines;
    EXPECT_TRUE(f.ui.messages.empty()) << c.lines;
  }
}

TEST(CifReaderTest, CellValues) {
  ImportFixture f;
  ImportContext context = f.Context();
  const std::string ok =
      "_symmetry_space_group_name_H-M 'P 1'\n_symmetry_Int_Tables_number 1\n"
      "_cell_length_a 10.2345(12)\n_cell_length_b 5\n_cell_length_c 6\n"
      "_cell_angle_alpha 91\n_cell_angle_beta 92\n_cell_angle_gamma 93.5(1)\n";
  ASSERT_TRUE(ReadCifFile(f.Write("c.cif", ok + kOneAtom), context));
  EXPECT_DOUBLE_EQ(f.data.a, 10.2345);
  EXPECT_DOUBLE_EQ(f.data.gamma, 93.5);

  ImportFixture q;
  ImportContext unknown = q.Context();
  const std::string gammaUnknown =
      "_symmetry_space_group_name_H-M 'P 1'\n"
      "_symmetry_Int_Tables_number 1\n_cell_length_a 3\n"
      "_cell_length_b 4\n_cell_length_c 5\n_cell_angle_alpha 80\n"
      "_cell_angle_beta 85\n_cell_angle_gamma ?\n" +
      kOneAtom;
  EXPECT_FALSE(ReadCifFile(q.Write("q.cif", gammaUnknown), unknown));
  EXPECT_EQ(q.ui.messages, std::vector<std::string>{"_cell_angle_gamma not found !!"});
  EXPECT_EQ(q.results.sgSymbol, "P 1");
  EXPECT_EQ(q.data.sgNumber, 1);
  EXPECT_EQ(q.data.settingNumber, 1);
  EXPECT_DOUBLE_EQ(q.data.a, 3.0);
  EXPECT_DOUBLE_EQ(q.data.beta, 85.0);
  EXPECT_DOUBLE_EQ(q.data.gamma, 66.0);
  EXPECT_TRUE(q.AtomsUnchanged());

  ImportFixture m;
  ImportContext missing = m.Context();
  EXPECT_FALSE(ReadCifFile(m.Write("m.cif",
                                   "_symmetry_space_group_name_H-M 'P 1'\n"
                                   "_cell_length_b 4\n_cell_length_a 3\n"),
                           missing));
  EXPECT_EQ(m.ui.messages, std::vector<std::string>{"_cell_length_c not found !!"});
  EXPECT_DOUBLE_EQ(m.data.a, 3.0);  // an edge after another is found all the same
  EXPECT_DOUBLE_EQ(m.data.b, 4.0);
  EXPECT_DOUBLE_EQ(m.data.c, 3.3);
}

std::string WithAtoms(const std::string& loop) {
  return "_symmetry_space_group_name_H-M 'P -1'\n_symmetry_Int_Tables_number 2\n" +
         Cell(5, 6, 7, 80, 85, 95) + loop;
}

TEST(CifReaderTest, AtomSiteLoops) {
  ImportFixture f;
  ImportContext context = f.Context();
  std::string loop = "loop_\n_atom_site_label\n";
  for (int i = 0; i < 14; ++i) loop += "_atom_site_extra_" + std::to_string(i) + "\n";
  loop +=
      "_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
      "_atom_site_occupancy\n_atom_site_U_iso_or_equiv\n";  // 20 tags
  std::string extras;
  for (int i = 0; i < 14; ++i) extras += " .";
  loop += "Fe1" + extras + " 0.25 0.2500(3) 1/4 0.5 0.0123(4)\n";
  loop += "O12" + extras + "\n -1/3 0.1 0.2 1 0.01\n";  // a row across two lines
  loop += "Ca(2)" + extras + " 0 0 0 1 0.01\nSi" + extras + " 0 0 0 1 0.01\n";
  loop += "Ow3" + extras + " 0 0 0 1 0.01\nMg0" + extras + " 0 0 0 1 0.01\n";
  loop += "# end of atoms\nC9 0 0 0\n";
  ASSERT_TRUE(ReadCifFile(f.Write("a.cif", WithAtoms(loop)), context));
  ASSERT_EQ(f.data.atomCount, 6);
  const char* labels[] = {"Fe1/Fe", "O12/O", "Ca(2)/Ca", "Si/Si", "Ow3/O", "Mg0/Mg0"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.data.atomLabels[i], labels[i]);
  EXPECT_DOUBLE_EQ(f.data.x[0], 0.25);
  EXPECT_DOUBLE_EQ(f.data.y[0], 0.25);
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.25);
  EXPECT_NEAR(f.data.x[1], -1.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.data.g[0], 0.5);
  EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.0123, 1e-12);
  EXPECT_TRUE(f.ui.messages.empty());

  ImportFixture d;  // no U, no occupancy; the loop ends at "_" and at the end of the file
  ImportContext defaults = d.Context();
  ASSERT_TRUE(ReadCifFile(d.Write("d.cif", WithAtoms(kOneAtom + "Na1 0 0 0\n_end 1\n")), defaults));
  ASSERT_EQ(d.data.atomCount, 2);
  EXPECT_DOUBLE_EQ(d.data.g[1], 1.0);
  EXPECT_DOUBLE_EQ(d.data.B[1], 0.5);

  ImportFixture b;  // B given directly; an incomplete last row is dropped
  ImportContext direct = b.Context();
  ASSERT_TRUE(ReadCifFile(b.Write("b.cif", WithAtoms("loop_\n_atom_site_label\n"
                                                     "_atom_site_fract_x\n_atom_site_fract_y\n"
                                                     "_atom_site_fract_z\n"
                                                     "_atom_site_B_iso_or_equiv\n"
                                                     "Na1 0 0 0 1.25(3)\nCl1 0.5 0.5\n")),
                          direct));
  ASSERT_EQ(b.data.atomCount, 1);
  EXPECT_DOUBLE_EQ(b.data.B[0], 1.25);

  ImportFixture t;  // the element symbol first, as some programs write the loop
  ImportContext typeFirst = t.Context();
  ASSERT_TRUE(ReadCifFile(t.Write("t.cif", WithAtoms("loop_\n _atom_site_type_symbol\n"
                                                     " _atom_site_label\n _atom_site_fract_x\n"
                                                     " _atom_site_fract_y\n _atom_site_fract_z\n"
                                                     "  Na  Na1  0.0  0.0  0.0\nloop_\n")),
                          typeFirst));
  ASSERT_EQ(t.data.atomCount, 1);
  EXPECT_EQ(t.data.atomLabels[0], "Na1/Na");
}

TEST(CifReaderTest, FailureRows) {
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadCifFile(f.dir.File("none.cif"), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"CIF file not found !!"});
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadCifFile(f.Write("n.cif", "\n_symmetry_Int_Tables_number 2\n" +
                                                  Cell(5, 6, 7, 80, 85, 95) + kOneAtom),
                             context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Space group name not found !!"});
    EXPECT_EQ(f.data.sgNumber, 99);
    EXPECT_EQ(f.results.sgSymbol, "old");
    EXPECT_TRUE(f.CellUnchanged() && f.AtomsUnchanged());
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    EXPECT_FALSE(ReadCifFile(
        f.Write("s.cif", WithAtoms("loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\n"
                                   "Si1 0.01\n")),
        context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"atom site not found !!"});
    EXPECT_EQ(f.results.sgSymbol, "P -1");
    EXPECT_EQ(f.data.sgNumber, 2);
    EXPECT_DOUBLE_EQ(f.data.gamma, 95.0);
    EXPECT_TRUE(f.AtomsUnchanged());
  }
  {
    ImportFixture f;
    ImportContext context = f.Context();
    std::string rows;
    for (int i = 1; i <= 81; ++i) rows += FormatText("C%d 0.1 0.2 0.3\n", i);
    EXPECT_FALSE(ReadCifFile(f.Write("m.cif", WithAtoms(kOneAtom + rows)), context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Number of species exceeds over 80 !!!"});
    EXPECT_EQ(f.data.atomCount, 80);
    EXPECT_EQ(f.data.atomLabels[0], "Si1");  // without the element
    EXPECT_EQ(f.data.atomLabels[79], "C79");
    EXPECT_EQ(f.data.sgNumber, 2);
  }
  {
    ImportFixture f;  // the file ends among the tags
    ImportContext context = f.Context();
    ASSERT_TRUE(ReadCifFile(f.Write("e.cif", WithAtoms("loop_\n_atom_site_label\n"
                                                       "_atom_site_fract_x")),
                            context));
    EXPECT_EQ(f.data.atomCount, 0);
  }
  {
    ImportFixture f;  // neither table knows the symbol; a = b gives no setting-table hint
    ImportContext context = f.Context();
    ASSERT_TRUE(ReadCifFile(f.Write("u.cif", "_symmetry_space_group_name_H-M 'P b n m'\n" +
                                                 Cell(5, 5, 7, 90, 90, 90) + kOneAtom),
                            context));
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{"Space group number not found !!!"});
    EXPECT_EQ(f.data.sgNumber, 0);
    EXPECT_TRUE(f.conversions.empty());
  }
}

TEST(CifReaderTest, SettingTableHintAndAxisConversion) {
  ImportFixture f;
  ImportContext context = f.Context();
  ASSERT_TRUE(ReadCifFile(f.Write("o.cif", "_symmetry_space_group_name_H-M 'P b n m'\n" +
                                               Cell(5, 6, 7, 90, 90, 90) + kOneAtom),
                          context));
  EXPECT_EQ(f.data.sgNumber, 62);
  EXPECT_EQ(f.data.settingNumber, 3);
  EXPECT_EQ(f.conversions, std::vector<int>{1});

  ImportFixture t;  // 75 offers no conversion
  ImportContext tetragonal = t.Context();
  ASSERT_TRUE(ReadCifFile(t.Write("t.cif",
                                  "_symmetry_space_group_name_H-M 'P 4'\n"
                                  "_symmetry_Int_Tables_number 75\n" +
                                      Cell(5, 5, 7, 90, 90, 90) + kOneAtom),
                          tetragonal));
  EXPECT_TRUE(t.conversions.empty());
}

TEST(CifReaderTest, OperationsOfNoTableSettingAreReported) {
  ImportFixture f;
  ImportContext context = f.Context();
  const std::string text =
      "_symmetry_space_group_name_H-M 'P b n m'\n_symmetry_Int_Tables_number 62\n" +
      Cell(5, 6, 7, 90, 90, 90) +
      "loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\n-x,-y,1/2+z\nx+1/2,-y+1/2,-z\n"
      "-x+1/2,y+1/2,-z+1/2\n-x,-y,-z\nx,y,-z+1/2\n-x+1/2,y+1/2,z\nx+1/2,-y+1/2,z+1/2\n" +
      kOneAtom;
  ASSERT_TRUE(ReadCifFile(f.Write("pbnm.cif", text), context));
  EXPECT_EQ(f.ui.messages, std::vector<std::string>{
                               "Symmetry operations of the file match no setting of space group "
                               "62 !!!"});
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.conversions, std::vector<int>{1});
}

TEST(CifReaderTest, OperationTexts) {
  SymmetryOperation op;
  ASSERT_TRUE(ParseCifOperation("'1/2+X, -y+x, z-0.25'", op));
  EXPECT_EQ(op.R[0][0], 1.0);
  EXPECT_DOUBLE_EQ(op.t[0], 0.5);
  EXPECT_EQ(op.R[1][0], 1.0);
  EXPECT_EQ(op.R[1][1], -1.0);
  EXPECT_DOUBLE_EQ(op.t[2], -0.25);
  ASSERT_TRUE(ParseCifOperation("y,z+5/6,x", op));
  EXPECT_NEAR(op.t[1], 5.0 / 6.0, 1e-12);
  for (const char* bad : {"x,y", "x,y,z,x", "a,b,c", "x,,z", "x,y,1/2", "x,y/0,z"}) {
    EXPECT_FALSE(ParseCifOperation(bad, op)) << bad;
  }
  SymmetryOperation shifted;
  ASSERT_TRUE(ParseCifOperation("x+1, y-1/2, z+0.3333", shifted));
  ASSERT_TRUE(ParseCifOperation("x, y+1/2, z+1/3", op));
  EXPECT_TRUE(SameOperation(op, shifted));
}

}  // namespace
}  // namespace braxel
