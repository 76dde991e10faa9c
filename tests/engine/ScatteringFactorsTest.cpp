// Scattering factors as the run forms them, and the scattering-factor file that comes with
// the\nprogram.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/ScatteringFactors.h"
#include "platform/TextInput.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::FscatRecord;
using testing::WriteFile;

const std::initializer_list<double> kAnomalous = {1.1, 1.2, 2.1, 2.2, 3.1, 3.2,
                                                  4.1, 4.2, 5.1, 5.2, 6.1, 6.2};

// A record whose form factor is the same at every angle: 4 + c.
std::string Flat(const std::string& name, double c, double weight = 22.9898) {
  return FscatRecord(name, weight, {1, 0, 1, 0, 1, 0, 1, 0, c}, kAnomalous);
}

class ScatteringFactorsTest : public ::testing::Test {
 protected:
  int Compute(std::vector<std::string> species, const std::vector<std::array<int, 3>>& hkl,
              const Cell& cell, int target = 4, double lambda = 1.540562) {
    for (std::size_t i = 0; i < hkl.size(); ++i) {
      entries[i].h = hkl[i][0];
      entries[i].k = hkl[i][1];
      entries[i].l = hkl[i][2];
    }
    const std::span<Reflection> listed(entries.data(), hkl.size());
    if (ComputeReflectionGeometry(cell, lambda, listed, volume, message) != 0) return -1;
    return ComputeScatteringFactors(dir.File("fscat"), static_cast<int>(species.size()),
                                    species.data(), listed, static_cast<int>(hkl.size()), target, f,
                                    atoms, message);
  }

  testing::TempDir dir;
  std::vector<Reflection> entries = std::vector<Reflection>(kMaxReflectionEntries);
  ScatteringFactorTable f;
  AtomScattering atoms;
  double volume = 0.0;
  std::string message;
};

// Spacing, (1 / 2d)^2 and angle in a cube, 180 degrees for an angle beyond the sphere (oblique
// spacings are checked against gemmi's in the powder sums); the form factor takes the target's
// Deltaf1 and Deltaf2, single lines (target 7) none.
TEST_F(ScatteringFactorsTest, GeometryAndTheTargetsAnomalousTerms) {
  WriteFile(dir.File("fscat"), Flat("Si", 1, 28.0855));
  ASSERT_EQ(Compute({"Si"}, {{1, 1, 1}, {10, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_NEAR(volume, 64.0, 1e-9);
  EXPECT_NEAR(entries[0].d, 4.0 / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(entries[0].twoTheta, 2 * std::asin(1.540562 * std::sqrt(3.0) / 8) * 180 / M_PI, 1e-6);
  EXPECT_NEAR(entries[0].s2, 3.0 / 64.0, 1e-9);
  EXPECT_DOUBLE_EQ(entries[1].twoTheta, 2 * std::asin(1.0) / kDegree);
  EXPECT_DOUBLE_EQ(atoms.Awt[0], 28.0855);
  // The indices of a long edge, whose squares pass an int: d = 100000 / 50000.
  ASSERT_EQ(Compute({"Si"}, {{0, 50000, 0}}, {4, 100000, 4, 90, 90, 90}), 0) << message;
  EXPECT_NEAR(entries[0].d, 2.0, 1e-12);
  const struct {
    int target;
    double lambda, deltaf1, deltaf2;
  } cases[] = {{4, 1.540562, 4.1, 4.2}, {6, 0.5594075, 6.1, 6.2}, {7, 1.39222, 0, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(Compute({"Si", "Si"}, {{1, 1, 1}}, {4, 4, 4, 90, 90, 90}, c.target, c.lambda), 0);
    EXPECT_NEAR(f.At(1, 0), 5 + c.deltaf1, 1e-12) << c.target;
    EXPECT_DOUBLE_EQ(atoms.Deltaf2[1], c.deltaf2);
  }
}

// The record of exactly the species is taken (Os stands before O); without one, an ion is its
// spelling with a charge of one ("Na+" is "Na1+", never "Na"), and a site name or an ion the
// table lacks is the neutral atom. Anything else, and files and cells the step cannot use,
// end with a message.
TEST_F(ScatteringFactorsTest, SpeciesFindTheirRecordOrTheirMessage) {
  const std::string sodium = Flat("Na", 7) + Flat("Na1+", 6);
  const std::string longName(35, 'O');
  const struct {
    std::string file;
    std::string species;
    double f;  // with Deltaf1 4.1 of Cu
    std::string message = "";
    Cell cell = {4, 4, 4, 90, 90, 90};
  } cases[] = {
      {Flat("Os", 72, 190.23) + Flat("O", 4), "O", 8 + 4.1},
      {sodium + Flat("Na+", -4), "Na+", 0 + 4.1},
      {sodium, "Na+", 10 + 4.1},
      {sodium, "Na12", 11 + 4.1},
      {sodium, "Na3+", 11 + 4.1},
      {sodium, "Na2-", 11 + 4.1},
      {sodium, longName, 0, "Species name " + longName + " exceeds over 34 characters !!!"},
      {sodium, "Na", 0, "sqrt error !!!", {4, 4, 4, 10, 10, 170}},
      {sodium, "Na", 0, "sqrt error !!!", {4, 4, 0, 90, 90, 90}},
      {"Na    22.9898\n1 2 3\n", "Na", 0,
       "Na record of " + dir.File("fscat") + " is not readable !!!"},
      {"", "Na", 0, dir.File("fscat") + " file not found !!!\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.species);
    std::filesystem::remove(dir.File("fscat"));
    if (!c.file.empty()) WriteFile(dir.File("fscat"), c.file);
    const int result = Compute({c.species}, {{1, 0, 0}}, c.cell);
    if (c.message.empty()) {
      ASSERT_EQ(result, 0) << message;
      EXPECT_NEAR(f.At(0, 0), c.f, 1e-12);
    } else {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(message, c.message);
    }
  }
  WriteFile(dir.File("fscat"), sodium);
  for (const std::string unknown : {"S", "K+", "Nb2", "Na1a", "Na++", "1Na", "Na-1", "Na2+x", ""}) {
    EXPECT_EQ(Compute({unknown}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
    EXPECT_EQ(message, unknown + " name not found !!!");
  }
}

const std::string kFscat = BRAXEL_DATA_DIR "/fscat";

struct FileRecord {
  std::string name;
  double weight = 0.0;
  double coefficients[9] = {};
  double anomalous[12] = {};
};

std::vector<FileRecord> FileRecords() {
  std::vector<FileRecord> records;
  std::ifstream in(kFscat);
  std::string first, second, third;
  while (std::getline(in, first) && std::getline(in, second) && std::getline(in, third)) {
    FileRecord record;
    record.name = first.substr(0, first.find(' '));
    record.weight = LeadingDouble(first.substr(6));
    EXPECT_EQ(ScanDoubles(second, record.coefficients, 9), 9) << record.name;
    EXPECT_EQ(ScanDoubles(third, record.anomalous, 12), 12) << record.name;
    records.push_back(record);
  }
  return records;
}

const FileRecord* Find(const std::vector<FileRecord>& records, const std::string& name) {
  for (const FileRecord& record : records) {
    if (record.name == name) return &record;
  }
  return nullptr;
}

// f' f'' at Cu Ka1 (within 0.05) from International Tables Vol. C, Table 4.2.6.8, for Fe and Cu,
// from python3-cctbx 2022.9 eltbx.sasaki for O and Si. The four-Gaussian coefficients of the
// elements of the cctbx structure factors are checked by those.
TEST(BundledScatteringFileTest, CopperTermsAreThePublishedOnes) {
  const std::vector<FileRecord> records = FileRecords();
  const struct {
    const char* name;
    double fPrime, fDoublePrime;
  } kPrinted[] = {
      {"O", 0.046, 0.032}, {"Si", 0.244, 0.330}, {"Fe", -1.134, 3.197}, {"Cu", -2.019, 0.589}};
  for (const auto& printed : kPrinted) {
    const FileRecord* record = Find(records, printed.name);
    ASSERT_NE(record, nullptr) << printed.name;
    EXPECT_NEAR(record->anomalous[6], printed.fPrime, 0.05) << printed.name;
    EXPECT_NEAR(record->anomalous[7], printed.fDoublePrime, 0.05) << printed.name;
  }
  // Ions take the terms of their neutral atom; deuterium has hydrogen's factors.
  const FileRecord* ferric = Find(records, "Fe3+");
  ASSERT_TRUE(ferric && Find(records, "P5+") && Find(records, "O2-"));
  EXPECT_EQ(ferric->anomalous[7], Find(records, "Fe")->anomalous[7]);
  const FileRecord* hydrogen = Find(records, "H");
  const FileRecord* deuterium = Find(records, "D");
  ASSERT_TRUE(hydrogen && deuterium);
  EXPECT_EQ(deuterium->weight, 2.0141);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(deuterium->coefficients[i], hydrogen->coefficients[i]);
}

}  // namespace
}  // namespace braxel
