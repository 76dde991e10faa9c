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

// International Tables Vol. C (1992): Table 6.1.1.4 a1 b1 a2 b2 a3 b3 a4 b4 c with f0 the sum
// a1 + a2 + a3 + a4 + c; f' f'' at Cu Ka1 (within 0.05) from its Table 4.2.6.8 for Fe and Cu,
// from python3-cctbx 2022.9 eltbx.sasaki for O and Si.
TEST(BundledScatteringFileTest, CoefficientsAndCopperTermsAreThePublishedOnes) {
  const std::vector<FileRecord> records = FileRecords();
  const struct {
    const char* name;
    double coefficients[9];
    double f0, fPrime, fDoublePrime;
  } kPrinted[] = {
      {"O",
       {3.0485, 13.2771, 2.2868, 5.7011, 1.5463, 0.3239, 0.8670, 32.9089, 0.2508},
       7.9994,
       0.046,
       0.032},
      {"Si",
       {6.2915, 2.4386, 3.0353, 32.3337, 1.9891, 0.6785, 1.5410, 81.6937, 1.1407},
       13.9976,
       0.244,
       0.330},
      {"Fe",
       {11.7695, 4.7611, 7.3573, 0.3072, 3.5222, 15.3535, 2.3045, 76.8805, 1.0369},
       25.9904,
       -1.134,
       3.197},
      {"Cu",
       {13.3380, 3.5828, 7.1676, 0.2470, 5.6158, 11.3966, 1.6735, 64.8126, 1.1910},
       28.9859,
       -2.019,
       0.589},
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
