#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/CalculationRun.h"
#include "io/CifReader.h"
#include "io/CifSymmetry.h"
#include "platform/TextInput.h"
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
    "_atom_site_U_iso_or_equiv\nSi1 0.1 0.2 0.3 0.01\n";

std::string Triclinic(const std::string& loop) {
  return "data_t\n_symmetry_space_group_name_H-M 'P -1'\n_symmetry_Int_Tables_number 2\n" +
         Cell(5, 6, 7, 80, 85, 95) + loop;
}

// Rutile as a structure database writes it: tags in alphabetical order, the number before the
// symbol, the current dictionary's names, uncertainties, "?" values, several loops, a text
// field, a comment, and a symbol quoted on the line after its tag.
const std::string kRutile =
    "#------------------------------------------------------------------------------\n"
    "data_9004141\nloop_\n_publ_author_name\n'Meagher, E. P.'\n'Lager, G. A.'\n"
    "_publ_section_title\n;\n Polyhedral thermal expansion in the TiO2 polymorphs\n;\n"
    "_cell_angle_alpha                90\n_cell_angle_beta                 90\n"
    "_cell_angle_gamma                90 # degrees\n_cell_formula_units_Z            2\n"
    "_cell_length_a                   4.5937(3)\n_cell_length_b                   4.5937(3)\n"
    "_cell_length_c                   2.9587(2)\n_cell_measurement_temperature   ?\n"
    "_space_group_IT_number           136\n_symmetry_space_group_name_Hall  '-P 4n 2n'\n"
    "_space_group_name_H-M_alt\n'P 42/m n m'\n" +
    testing::SymopLoop(
        {"'x, y, z'", "'-y+1/2, x+1/2, z+1/2'", "'-x, -y, z'", "'y+1/2, -x+1/2, z+1/2'",
         "'x+1/2, -y+1/2, -z+1/2'", "'-y, -x, -z'", "'-x+1/2, y+1/2, -z+1/2'", "'y, x, -z'",
         "'-x, -y, -z'", "'y+1/2, -x+1/2, -z+1/2'", "'x, y, -z'", "'-y+1/2, x+1/2, -z+1/2'",
         "'-x+1/2, y+1/2, z+1/2'", "'y, x, z'", "'x+1/2, -y+1/2, z+1/2'", "'-y, -x, z'"}) +
    "loop_\n_atom_site_label\n_atom_site_type_symbol\n_atom_site_fract_x\n"
    "_atom_site_fract_y\n_atom_site_fract_z\n_atom_site_U_iso_or_equiv\n"
    "_atom_site_attached_hydrogens\n"
    "Ti Ti4+ 0 0 0 0.0052(2) ?\nO1 O2- 0.3048(2)\n0.3048(2) 0 0.0061(4) ?\n"
    "loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\nTi 0.0048(2)\n";

TEST(CifReaderTest, ReadsADatabaseFileAsCif) {
  std::string crlf;
  for (const char c : kRutile) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& text : {kRutile, crlf}) {
    ImportFixture f;
    ASSERT_TRUE(f.Read(ReadCifFile, "rutile.cif", text));
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(f.results.sgSymbol, "P 42/m n m");
    EXPECT_EQ(f.data.sgNumber, 136);
    EXPECT_EQ(f.data.settingNumber, 1);
    EXPECT_DOUBLE_EQ(f.data.a, 4.5937);
    EXPECT_DOUBLE_EQ(f.data.c, 2.9587);
    EXPECT_DOUBLE_EQ(f.data.gamma, 90.0);
    ASSERT_EQ(f.data.atomCount, 2);
    EXPECT_EQ(f.data.atomLabels[0], "Ti/Ti4+");
    EXPECT_EQ(f.data.atomLabels[1], "O1/O2-");
    EXPECT_DOUBLE_EQ(f.data.x[1], 0.3048);
    EXPECT_DOUBLE_EQ(f.data.y[1], 0.3048);
    EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.0052, 1e-12);
    EXPECT_DOUBLE_EQ(f.data.g[1], 1.0);
    EXPECT_TRUE(f.conversions.empty());
  }
}

TEST(CifReaderTest, TheBlockWithAtomSitesIsReadAndTheUserPicksAmongSeveral) {
  const std::string global = "data_global\n_journal_year 2009\n";
  const std::string first = "data_I\n_chemical_formula_sum 'Si O2'\n" +
                            Triclinic(kOneAtom).substr(std::string("data_t\n").size());
  const std::string second =
      "data_II\n_space_group_IT_number 225\n" + Cell(5.64, 5.64, 5.64, 90, 90, 90) +
      "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
      "_atom_site_B_iso_or_equiv\nNa1 0 0 0 1.1\nCl1 1/2 1/2 1/2 1.2\n";
  ImportFixture one;
  ASSERT_TRUE(one.Read(ReadCifFile, "one.cif", global + second));
  EXPECT_EQ(one.icsdChoice.shownCount, 0);
  EXPECT_EQ(one.data.atomLabels[1], "Cl1/Cl");

  ImportFixture f;
  f.icsdChoice.number = "2";
  ASSERT_TRUE(f.Read(ReadCifFile, "two.cif", global + first + second));
  ASSERT_EQ(f.icsdChoice.shownCount, 1);
  EXPECT_EQ(f.icsdChoice.shownRows[0].text, "data_I  Si O2");
  EXPECT_EQ(f.icsdChoice.shownRows[1].text, "data_II");
  EXPECT_EQ(f.icsdChoice.shownRows[2].text, "");
  EXPECT_EQ(f.data.sgNumber, 225);
  EXPECT_EQ(f.results.sgSymbol, "F m -3 m");  // the table's: the block gives none
  EXPECT_DOUBLE_EQ(f.data.B[1], 1.2);

  ImportFixture cancelled;  // no number: Cancel, and nothing is read
  cancelled.icsdChoice.number.reset();
  EXPECT_FALSE(cancelled.Read(ReadCifFile, "two.cif", global + first + second));
  EXPECT_TRUE(cancelled.ui.messages.empty());
  EXPECT_TRUE(cancelled.CellUnchanged());
  EXPECT_TRUE(cancelled.AtomsUnchanged());
}

TEST(CifReaderTest, SpeciesFromTypeSymbolOrLabel) {
  struct Case {
    const char *type, *label, *species;
  };
  for (const Case& c : {
           Case{"Fe3+", "FeM1", "Fe3+"},
           Case{"O-2", "O1", "O2-"},
           Case{"Si+4", "T1", "Si4+"},
           Case{"Na+", "M1", "Na1+"},
           Case{"Fe2.5+", "M2", "Fe"},
           Case{"O", "OW1", "O"},
           Case{"", "CL1", "Cl"},
           Case{"", "FeM1", "Fe"},
           Case{"", "SiT1", "Si"},
           Case{"", "Wat7", "O"},
           Case{"", "OW3", "O"},
           Case{"", "O-H6", "O"},
           Case{"", "HW", "H"},
           Case{"", "D1", "D"},
           Case{"", "NO1", "N"},
           Case{"", "Mg0", "Mg"},
           Case{"", "M1", "M1"},
           Case{"X", "Q", "X"},
       }) {
    EXPECT_EQ(ScatteringSpecies(c.type, c.label), c.species) << c.type << " " << c.label;
  }
}

// A monoclinic cell and its metric, for equivalent isotropic values by hand.
TEST(CifReaderTest, DisplacementsIsotropicAnisotropicOrNone) {
  const std::string loop =
      "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
      "_atom_site_U_iso_or_equiv\n_atom_site_B_iso_or_equiv\n"
      "U1 0 0 0 0.02 .\nB1 0 0 0 ? 1.5\nA1 0 0 0 ? ?\nA2 0 0 0 . .\nN1 0 0 0 ? ?\n"
      "loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\n_atom_site_aniso_U_22\n"
      "_atom_site_aniso_U_33\n_atom_site_aniso_U_12\n_atom_site_aniso_U_13\n"
      "_atom_site_aniso_U_23\nA1 0.01 0.02 0.03 0 0.005 0\n"
      "loop_\n_atom_site_aniso_label\n_atom_site_aniso_B_11\n_atom_site_aniso_B_22\n"
      "_atom_site_aniso_B_33\n_atom_site_aniso_B_12\n_atom_site_aniso_B_13\n"
      "_atom_site_aniso_B_23\nA2 1 2 3 0 0.5 0\n";
  ImportFixture f;
  ASSERT_TRUE(f.Read(
      ReadCifFile, "d.cif",
      "data_m\n_symmetry_space_group_name_H-M 'P 1 2/m 1'\n" + Cell(5, 6, 7, 90, 100, 90) + loop));
  ASSERT_EQ(f.data.atomCount, 5);
  EXPECT_NEAR(f.data.B[0], kEightPiSquared * 0.02, 1e-12);
  EXPECT_DOUBLE_EQ(f.data.B[1], 1.5);
  // Monoclinic (b unique): Ueq = (U11 + U22 + U33 + 2 U13 cos(beta)) / 3 ... with the
  // reciprocal lengths a* = 1/(a sin beta), c* = 1/(c sin beta):
  // Ueq = (U11 a*^2 a^2 + U22 + U33 c*^2 c^2 + 2 U13 a* c* a c cos(beta)) / 3.
  const double s2 = std::pow(std::sin(100 * M_PI / 180), 2), cb = std::cos(100 * M_PI / 180);
  const double ueq = (0.01 / s2 + 0.02 + 0.03 / s2 + 2 * 0.005 * cb / s2) / 3;
  EXPECT_NEAR(f.data.B[2], kEightPiSquared * ueq, 1e-10);
  const double beq = (1 / s2 + 2 + 3 / s2 + 2 * 0.5 * cb / s2) / 3;
  EXPECT_NEAR(f.data.B[3], beq, 1e-10);
  EXPECT_DOUBLE_EQ(f.data.B[4], 0.5);
  EXPECT_EQ(f.results.uniqueAxis, "b");  // for the axis conversion that follows
  EXPECT_EQ(f.ui.messages,
            std::vector<std::string>{
                "No displacement parameter for 1 of 5 atom sites: B = 0.5 is taken for them !!"});
}

TEST(CifReaderTest, RowsAsFilesWriteThem) {
  // A value on the next line, fractions, a row across lines, a row past 120 characters, a dummy
  // site, occupancies, and tags a second time with other values (the first counts).
  std::string loop =
      "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
      "_atom_site_occupancy\n_atom_site_calc_flag\n_atom_site_U_iso_or_equiv\n"
      "Fe1 0.25 0.2500(3) 1/4 0.5 d 0.01\nO12\n-1/3 0.1 0.2 1 d 0.01\n"
      "Cg1 0.1 0.1 0.1 1 dum .\nCl1 0.5 0.5 0.5 0.875 d 0.01 " +
      std::string(130, ' ') + "\n";
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadCifFile, "r.cif", Triclinic(loop) + "_cell_length_a 9\n"));
  ASSERT_EQ(f.data.atomCount, 3);
  EXPECT_DOUBLE_EQ(f.data.a, 5);
  EXPECT_EQ(f.data.atomLabels[1], "O12/O");
  EXPECT_DOUBLE_EQ(f.data.y[0], 0.25);
  EXPECT_DOUBLE_EQ(f.data.z[0], 0.25);
  EXPECT_NEAR(f.data.x[1], -1.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(f.data.g[0], 0.5);
  EXPECT_DOUBLE_EQ(f.data.g[2], 0.875);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(CifReaderTest, GroupAndSettingFromWhatTheFileStates) {
  struct Case {
    std::string lines, cell, symbol;
    int number, setting;
    std::string message;  // "" for none
  };
  const std::string mono = Cell(5.1, 6.2, 7.3, 90, 101, 90);
  const std::string ortho = Cell(5, 6, 7, 90, 90, 90);
  const std::string cubic = Cell(5, 5, 5, 90, 90, 90);
  const std::string hexagonal = Cell(3, 3, 20, 90, 90, 120);
  const std::string pbnm =
      "loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\n-x,-y,1/2+z\nx+1/2,-y+1/2,-z\n"
      "-x+1/2,y+1/2,-z+1/2\n-x,-y,-z\nx,y,-z+1/2\n-x+1/2,y+1/2,z\nx+1/2,-y+1/2,z+1/2\n";
  for (const Case& c : {
           Case{"_symmetry_space_group_name_H-M 'P 21/c'\n_symmetry_Int_Tables_number 14\n", mono,
                "P 21/c", 14, 1, ""},
           Case{"_symmetry_space_group_name_H-M   P21/c  \n", mono, "P 21/c", 14, 1, ""},
           Case{"_symmetry_space_group_name_H-M 'P2~1~/n'\n", mono, "P 21/n", 14, 2, ""},
           Case{"_space_group_name_H-M_alt 'F d -3 m :2'\n", cubic, "F d -3 m", 227, 2, ""},
           Case{"_space_group_name_H-M_alt 'F d 3 m'\n", cubic, "F d 3 m", 227, 2, ""},
           Case{"_symmetry_space_group_name_H-M 'R -3 m'\n", Cell(5, 5, 5, 60, 60, 60), "R -3 m",
                166, 2, ""},
           Case{"_space_group_name_Hall '-P 2ac 2n'\n", ortho, "P n m a", 62, 1, ""},
           Case{"_space_group_IT_number 62\n", ortho, "P n m a", 62, 1, ""},
           // The operations decide and the rest is said to differ.
           Case{"_symmetry_space_group_name_H-M 'P b c a'\n_symmetry_Int_Tables_number 61\n" + pbnm,
                ortho, "P n m a", 62, 1,
                "Space group 62 taken from the symmetry operations; the file's symbol P b c a, "
                "number 61 say otherwise !!!"},
           Case{"_symmetry_space_group_name_H-M 'P 4'\n_symmetry_Int_Tables_number 75\n", cubic,
                "P 4", 75, 1, ""},
           // Operations listed twice are no group's: the symbol decides.
           Case{"_symmetry_space_group_name_H-M 'P 21/c'\n"
                "loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\nx-1,y,z\n",
                mono, "P 21/c", 14, 1,
                "Symmetry operations of the file are not those of a space group and are not used "
                "!!!"},
           // A lattice the tables do not combine with the rest of the symbol.
           Case{"_symmetry_space_group_name_H-M 'B 1 21 1'\n", mono, "P 21", 4, 1,
                "Cell and coordinates converted to the standard setting P 21 of space group 4: "
                "a' = 1/2a+1/2c, b' = -b, c' = 1/2a-1/2c, origin at 0 0 0 of the file's axes !!!"},
       }) {
    ImportFixture f;
    ASSERT_TRUE(f.Read(ReadCifFile, "s.cif", "data_x\n" + c.lines + c.cell + kOneAtom)) << c.lines;
    EXPECT_EQ(f.results.sgSymbol, c.symbol) << c.lines;
    EXPECT_EQ(f.data.sgNumber, c.number) << c.lines;
    EXPECT_EQ(f.data.settingNumber, c.setting) << c.lines;
    if (c.message.empty()) {
      EXPECT_TRUE(f.ui.messages.empty()) << c.lines << f.ui.messages.front();
    } else {
      ASSERT_FALSE(f.ui.messages.empty()) << c.lines;
      EXPECT_EQ(f.ui.messages.front(), c.message);
    }
  }
}

TEST(CifReaderTest, TheOperationsChooseTheOriginASymbolLeavesOpen) {
  ImportFixture f;
  ASSERT_TRUE(f.Read(ReadCifFile, "si.cif", testing::DiamondCif(true)));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(f.results.sgSymbol, "F d -3 m");
  EXPECT_EQ(f.data.sgNumber, 227);
  EXPECT_EQ(f.data.settingNumber, 2);
}

TEST(CifReaderTest, AxesTheTableLacksAreCarriedToTheStandardSetting) {
  // P b n m: a' = b, b' = -c, c' = -a of P n m a, so x' = y, y' = -z, z' = -x.
  ImportFixture f;
  ASSERT_TRUE(f.Read(
      ReadCifFile, "pbnm.cif",
      "data_x\n_symmetry_space_group_name_H-M 'P b n m'\n" + Cell(4.75, 10.19, 5.98, 90, 90, 90) +
          "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
          "_atom_site_B_iso_or_equiv\nSi1 0.4262 0.094 0.25 0.4\n"));
  EXPECT_EQ(f.data.sgNumber, 62);
  EXPECT_EQ(f.data.settingNumber, 1);
  EXPECT_EQ(f.results.sgSymbol, "P n m a");
  EXPECT_DOUBLE_EQ(f.data.a, 10.19);
  EXPECT_DOUBLE_EQ(f.data.b, 5.98);
  EXPECT_DOUBLE_EQ(f.data.c, 4.75);
  EXPECT_NEAR(f.data.x[0], 0.094, 1e-12);
  EXPECT_NEAR(f.data.y[0], 0.75, 1e-12);
  EXPECT_NEAR(f.data.z[0], 1 - 0.4262, 1e-12);
  EXPECT_EQ(f.ui.messages,
            std::vector<std::string>{
                "Cell and coordinates converted to the standard setting P n m a of space group 62: "
                "a' = b, b' = -c, c' = -a, origin at 0 0 0 of the file's axes !!!"});
  EXPECT_EQ(f.conversions, std::vector<int>{1});

  // A -1 goes to a primitive cell of half the volume; its two atoms stay two.
  ImportFixture t;
  ASSERT_TRUE(t.Read(ReadCifFile, "a1.cif",
                     "data_x\n_symmetry_space_group_name_H-M 'A -1'\n" + Cell(5, 8, 9, 90, 90, 90) +
                         kOneAtom + "O1 0.2 0.3 0.1 0.01\n"));
  EXPECT_EQ(t.data.sgNumber, 2);
  EXPECT_EQ(t.data.settingNumber, 1);
  EXPECT_EQ(t.data.atomCount, 2);
  const double volume =
      t.data.a * t.data.b * t.data.c *
      std::sqrt(1 - std::pow(std::cos(t.data.alpha * M_PI / 180), 2) -
                std::pow(std::cos(t.data.beta * M_PI / 180), 2) -
                std::pow(std::cos(t.data.gamma * M_PI / 180), 2) +
                2 * std::cos(t.data.alpha * M_PI / 180) * std::cos(t.data.beta * M_PI / 180) *
                    std::cos(t.data.gamma * M_PI / 180));
  EXPECT_NEAR(volume, 5 * 8 * 9 / 2.0, 1e-6);
}

TEST(CifReaderTest, RefusalsLeaveTheRecordAsItWas) {
  std::string rows;
  for (int i = 1; i <= 81; ++i) rows += FormatText("C%d 0.1 0.2 0.3 0.01\n", i);
  const std::string p1 = "data_p\n_symmetry_space_group_name_H-M 'P 1'\n";
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"", "CIF file not found !!"},
           {"data_x\n_cell_length_a 'unterminated\n",
            "CIF syntax error in line 2: unterminated "
            "'string' !!"},
           {"data_x\n" + Cell(5, 6, 7, 80, 85, 95) + kOneAtom, "Space group name not found !!"},
           {p1 + "_cell_length_a 3\n_cell_length_b 4\n" + kOneAtom, "_cell_length_c not found !!"},
           {p1 +
                "_cell_length_a 3\n_cell_length_b 4\n_cell_length_c 5\n_cell_angle_alpha 80\n"
                "_cell_angle_beta 85\n_cell_angle_gamma ?\n" +
                kOneAtom,
            "_cell_angle_gamma not found !!"},
           {Triclinic("loop_\n_atom_site_aniso_label\n_atom_site_aniso_U_11\nSi1 0.01\n"),
            "atom site not found !!"},
           {Triclinic(kOneAtom + rows), "Number of species exceeds over 80 !!!"},
           {Triclinic("loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\n-x,y,z\n" + kOneAtom),
            "The symmetry operations of the file fit no setting of the space-group table !!!"},
       }) {
    ImportFixture f;
    ImportContext context = f.Context();
    const std::string path = text.empty() ? f.dir.File("none.cif") : f.Write("bad.cif", text);
    EXPECT_FALSE(ReadCifFile(path, context));
    ASSERT_FALSE(f.ui.messages.empty());
    EXPECT_EQ(f.ui.messages.back(), message);
    EXPECT_EQ(f.data.sgNumber, 99) << message;
    EXPECT_TRUE(f.CellUnchanged()) << message;
    EXPECT_TRUE(f.AtomsUnchanged()) << message;
    EXPECT_EQ(f.results.sgSymbol, "old");
  }
  // A symbol that no table knows, and nothing else: read, the number left to the user.
  ImportFixture u;
  ASSERT_TRUE(u.Read(
      ReadCifFile, "u.cif",
      "data_u\n_symmetry_space_group_name_H-M 'Q 9 9'\n" + Cell(5, 5, 7, 90, 90, 90) + kOneAtom));
  EXPECT_EQ(u.ui.messages.back(), "Space group number not found !!!");
  EXPECT_EQ(u.data.sgNumber, 0);
  EXPECT_EQ(u.data.atomLabels[0], "Si1/Si");
}

TEST(CifReaderTest, OperationsAsFilesWriteThem) {
  SymmetryOperation op;
  ASSERT_TRUE(ParseCifOperation("'1/2+X, -y+x, z+5/6'", op));
  EXPECT_DOUBLE_EQ(op.t[0], 0.5);
  EXPECT_EQ(op.R[1][0], 1.0);
  EXPECT_EQ(op.R[1][1], -1.0);
  EXPECT_NEAR(op.t[2], 5.0 / 6.0, 1e-12);
  ASSERT_TRUE(ParseCifOperation("x-0.5, x-y, z-0.16667", op));
  EXPECT_DOUBLE_EQ(op.t[0], -0.5);
  for (const char* bad : {"x,y", "x,y,z,x", "a,b,c", "x,,z", "x,y,1/2", "x,y/0,z"}) {
    EXPECT_FALSE(ParseCifOperation(bad, op)) << bad;
  }
}

}  // namespace
}  // namespace braxel
