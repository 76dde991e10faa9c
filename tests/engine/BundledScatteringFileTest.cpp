// The scattering-factor file that comes with the program.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "platform/TextInput.h"

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
