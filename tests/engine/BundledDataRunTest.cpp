// The scattering-factor file that comes with the program, and whole runs on the bundled table.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "engine/CalculationRun.h"
#include "platform/TextInput.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

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

TEST(BundledScatteringFileTest, TheRunsLookupFindsEveryRecordUnderItsOwnName) {
  const std::vector<FileRecord> records = FileRecords();
  ASSERT_GT(records.size(), 400u);
  std::vector<Reflection> entries(1);
  entries[0].h = 1;
  ScatteringFactorTable f;
  AtomScattering atoms;
  double volume = 0.0;
  std::string message;
  ASSERT_EQ(ComputeReflectionGeometry({4, 4, 4, 90, 90, 90}, 1.540562, entries, volume, message),
            0);
  for (std::size_t first = 0; first < records.size(); first += kMaxAtoms) {
    std::vector<std::string> species;
    for (std::size_t i = first; i < std::min(records.size(), first + kMaxAtoms); ++i) {
      species.push_back(records[i].name);
    }
    ASSERT_EQ(ComputeScatteringFactors(kFscat, static_cast<int>(species.size()), species.data(),
                                       entries, 1, 4, f, atoms, message),
              0)
        << message;
    for (std::size_t j = 0; j < species.size(); ++j) {
      const FileRecord& record = records[first + j];
      EXPECT_EQ(atoms.Awt[j], record.weight) << record.name;
      EXPECT_EQ(atoms.Deltaf2[j], record.anomalous[7]) << record.name;
    }
  }
}

// International Tables Vol. C (1992), Table 6.1.1.4: a1 b1 a2 b2 a3 b3 a4 b4 c.
TEST(BundledScatteringFileTest, CoefficientsAreThoseOfTheNineteenNinetyTwoTables) {
  const std::vector<FileRecord> records = FileRecords();
  const struct {
    const char* name;
    double coefficients[9];
    double f0;  // the sum a1 + a2 + a3 + a4 + c
  } kPrinted[] = {
      {"O", {3.0485, 13.2771, 2.2868, 5.7011, 1.5463, 0.3239, 0.8670, 32.9089, 0.2508}, 7.9994},
      {"Si", {6.2915, 2.4386, 3.0353, 32.3337, 1.9891, 0.6785, 1.5410, 81.6937, 1.1407}, 13.9976},
      {"Fe", {11.7695, 4.7611, 7.3573, 0.3072, 3.5222, 15.3535, 2.3045, 76.8805, 1.0369}, 25.9904},
      {"Cu", {13.3380, 3.5828, 7.1676, 0.2470, 5.6158, 11.3966, 1.6735, 64.8126, 1.1910}, 28.9859},
  };
  for (const auto& printed : kPrinted) {
    const FileRecord* record = Find(records, printed.name);
    ASSERT_NE(record, nullptr) << printed.name;
    double f0 = record->coefficients[8];
    for (int i = 0; i < 9; ++i) {
      EXPECT_NEAR(record->coefficients[i], printed.coefficients[i], 1e-4) << printed.name << i;
      if (i < 8 && i % 2 == 0) f0 += record->coefficients[i];
    }
    EXPECT_NEAR(f0, printed.f0, 1e-3) << printed.name;
  }
}

TEST(BundledScatteringFileTest, AnomalousTermsAtCopperKAlphaMatchPublishedValues) {
  // International Tables Vol. C, Table 4.2.6.8, Cu Ka1: Fe f' -1.134 f'' 3.197;
  // Cu f' -2.019 f'' 0.589.
  const std::vector<FileRecord> records = FileRecords();
  const FileRecord* iron = Find(records, "Fe");
  const FileRecord* copper = Find(records, "Cu");
  ASSERT_TRUE(iron && copper);
  EXPECT_NEAR(iron->anomalous[6], -1.134, 0.05);
  EXPECT_NEAR(iron->anomalous[7], 3.197, 0.05);
  EXPECT_NEAR(copper->anomalous[6], -2.019, 0.05);
  EXPECT_NEAR(copper->anomalous[7], 0.589, 0.05);
  // Ions take the terms of their neutral atom.
  const FileRecord* ferric = Find(records, "Fe3+");
  ASSERT_NE(ferric, nullptr);
  EXPECT_EQ(ferric->anomalous[7], iron->anomalous[7]);
  ASSERT_NE(Find(records, "P5+"), nullptr);
  ASSERT_NE(Find(records, "O2-"), nullptr);
}

// One record of each Laue class and setting kind, with one atom at a general position.
struct Case {
  int number;
  int setting;
  Cell cell;
};

constexpr Case kCases[] = {
    {2, 1, {5, 6, 7, 80, 85, 95}},    {4, 2, {5, 6, 7, 90, 90, 100}},
    {14, 1, {5, 6, 7, 90, 100, 90}},  {14, 4, {5, 6, 7, 90, 90, 100}},
    {15, 2, {5, 6, 7, 90, 100, 90}},  {19, 1, {5, 6, 7, 90, 90, 90}},
    {62, 1, {5, 6, 7, 90, 90, 90}},   {70, 2, {5, 6, 7, 90, 90, 90}},
    {88, 2, {5, 5, 7, 90, 90, 90}},   {141, 1, {5, 5, 7, 90, 90, 90}},
    {148, 1, {5, 5, 7, 90, 90, 120}}, {148, 2, {5, 5, 5, 80, 80, 80}},
    {154, 1, {5, 5, 7, 90, 90, 120}}, {167, 1, {5, 5, 7, 90, 90, 120}},
    {167, 2, {5, 5, 5, 80, 80, 80}},  {176, 1, {5, 5, 7, 90, 90, 120}},
    {194, 1, {5, 5, 7, 90, 90, 120}}, {205, 1, {8, 8, 8, 90, 90, 90}},
    {227, 1, {8, 8, 8, 90, 90, 90}},  {230, 1, {8, 8, 8, 90, 90, 90}},
};

TEST(BundledDataRunTest, EveryLaueClassAndSettingKindRuns) {
  testing::TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.number) + " setting " + std::to_string(c.setting));
    RunInput input;
    input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), BRAXEL_DATA_DIR "/tabsg",
                   kFscat};
    input.profile = {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 80, 0.02};
    input.sgNumber = c.number;
    input.settingNumber = c.setting;
    input.cell = c.cell;
    input.atomCount = 2;
    input.species[0] = "Si";
    input.species[1] = "O2-";
    input.g = {1.0, 1.0};
    input.x = {0.123, 0.0};
    input.y = {0.284, 0.0};
    input.z = {0.345, 0.0};
    input.B = {0.5, 0.8};
    CalculationRun run;
    std::string message;
    ASSERT_TRUE(run.RunCalculation(input, message)) << message;
    EXPECT_EQ(run.positions.siteMultiplicity[0], run.positions.generalSites);
    EXPECT_LE(run.positions.siteMultiplicity[1], run.positions.generalSites);
    ASSERT_GT(run.lastReported, run.firstReported);
    double strongest = 0.0;
    for (int i = 0; i < run.entryCount; ++i) {
      strongest = std::max(strongest, run.entries[i].iCalc);
      EXPECT_GT(run.entries[i].multiplicity, 0);
    }
    EXPECT_DOUBLE_EQ(strongest, 100.0);
  }
}

}  // namespace
}  // namespace braxel
