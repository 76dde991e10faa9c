// Checks of the space-group table that comes with the program.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <gemmi/symmetry.hpp>
#include <map>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

#include "engine/Classification.h"
#include "engine/Enumeration.h"
#include "engine/SymmetryCodes.h"
#include "platform/TextInput.h"
#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {
namespace {

const std::string kTable = BRAXEL_DATA_DIR "/tabsg";

struct Header {
  int number;
  int setting;
  std::string symbol;
};

// The header lines of the table, found by walking it with the code counts.
std::vector<Header> Headers() {
  std::vector<Header> headers;
  std::ifstream in(kTable);
  std::string line;
  while (std::getline(in, line)) {
    std::string_view cursor = line;
    int fields[5] = {};
    for (int& field : fields) ScanInt(cursor, field, 3);
    headers.push_back({fields[0], fields[1], line.size() > 18 ? line.substr(18) : ""});
    std::getline(in, line);
    for (int i = 0; i < fields[4]; ++i) std::getline(in, line);
  }
  return headers;
}

// Reads a record of the bundled table and builds the run's operations from it.
void LoadGroup(int number, int setting, SpaceGroupRecord& record,
               std::vector<SymmetryOperation>& ops) {
  std::string message;
  ASSERT_EQ(ReadSpaceGroupRecord(kTable, number, setting, record, message), 0) << message;
  ops.assign(kMaxOperations, {});
  int count = 0;
  ASSERT_EQ(BuildOperations(record.symmetryCodes, number, record.centrosymmetric,
                            record.conditionCodes[kGeneralClass], ops, count, message),
            0)
      << message;
  ops.resize(static_cast<std::size_t>(count));
}

TEST(BundledTableTest, ConditionsGiveTheAbsencesGemmiGives) {
  std::ifstream in(BRAXEL_TEST_DATA_DIR "/absences.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  int checked = 0;
  SpaceGroupRecord record;
  std::vector<SymmetryOperation> ops;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int number, setting, h, k, l;
    std::string verdict;
    fields >> number >> setting >> h >> k >> l >> verdict;
    if (record.number != number || record.setting != setting) {
      ASSERT_NO_FATAL_FAILURE(LoadGroup(number, setting, record, ops)) << line;
    }
    // The table's condition codes (printed in the report) and the operations (which decide
    // in the run) both give gemmi's verdict.
    bool allowed = false;
    ClassOfAllowed(h, k, l, record.conditionCodes, allowed);
    EXPECT_EQ(allowed ? "present" : "absent", verdict) << line;
    EXPECT_EQ(IsSystematicallyAbsent(h, k, l, ops) ? "absent" : "present", verdict) << line;
    ++checked;
  }
  EXPECT_GT(checked, 12000);
}

// Every record expands to its group: as many distinct operations as gemmi 0.5.7 has (a third on
// rhombohedral axes), in gemmi's crystal system. Every form of indices up to 4, under the Laue
// group of the record's own operations, is listed once by the walk with its size as
// multiplicity, unless it is systematically absent.
TEST(BundledTableTest, EveryRecordExpandsToItsGroupAndTheWalkListsEveryFormOnce) {
  constexpr int kBound = 4;
  const std::vector<Header> headers = Headers();
  ASSERT_EQ(headers.size(), 306u);
  std::set<int> numbers;
  for (const Header& header : headers) {
    SCOPED_TRACE(std::to_string(header.number) + " setting " + std::to_string(header.setting));
    numbers.insert(header.number);
    SpaceGroupRecord record;
    std::vector<SymmetryOperation> ops;
    ASSERT_NO_FATAL_FAILURE(LoadGroup(header.number, header.setting, record, ops));
    const gemmi::SpaceGroup* group = gemmi::find_spacegroup_by_number(header.number);
    ASSERT_NE(group, nullptr);
    const bool rhombohedralAxes = header.symbol[0] == 'R' && header.setting != 1;
    EXPECT_EQ(ops.size(), group->operations().order() / (rhombohedralAxes ? 3 : 1));
    EXPECT_EQ(record.crystalSystemIndex, static_cast<int>(group->crystal_system()) + 1);
    EXPECT_NE(ClassifyPointGroup(header.number, header.setting), 0);
    // No operation twice: rotations equal and translations equal modulo 1.
    for (std::size_t i = 0; i < ops.size(); ++i) {
      for (std::size_t k = i + 1; k < ops.size(); ++k) {
        bool same = true;
        for (int r = 0; r < 3 && same; ++r) {
          for (int c = 0; c < 3; ++c) same = same && ops[i].R[r][c] == ops[k].R[r][c];
          const double shift = ops[i].t[r] - ops[k].t[r];
          same = same && std::fabs(shift - std::round(shift)) < 1e-5;
        }
        EXPECT_FALSE(same) << record.symmetryCodes[i % record.codeCount];
      }
    }
    const std::span<const SymmetryOperation> list(ops);
    // dmin 1 with edges 4.5 gives index limits of 4, signed as the crystal system asks.
    const IndexLimits limits = ComputeIndexLimits(4.5, 4.5, 4.5, 60.0, record.crystalSystemIndex,
                                                  record.centrosymmetric, record.laueIndex, 1.0);
    std::vector<Reflection> entries;
    std::string message;
    ASSERT_EQ(EnumerateReflections(limits, list, header.setting, record.laueIndex,
                                   kMaxGeneratedReflections, entries, message),
              0);
    const int listed = static_cast<int>(entries.size());
    // The form of h k l as the sorted set of its images h R and -h R.
    const auto formOf = [&](int h, int k, int l) {
      std::set<std::tuple<int, int, int>> form;
      for (const SymmetryOperation& op : list) {
        const auto& R = op.R;
        const int a = static_cast<int>(std::lround(h * R[0][0] + k * R[1][0] + l * R[2][0]));
        const int b = static_cast<int>(std::lround(h * R[0][1] + k * R[1][1] + l * R[2][1]));
        const int c = static_cast<int>(std::lround(h * R[0][2] + k * R[1][2] + l * R[2][2]));
        form.insert({a, b, c});
        form.insert({-a, -b, -c});
      }
      return form;
    };
    std::map<std::set<std::tuple<int, int, int>>, int> expected;
    for (int h = -kBound; h <= kBound; ++h) {
      for (int k = -kBound; k <= kBound; ++k) {
        for (int l = -kBound; l <= kBound; ++l) {
          if ((h || k || l) && !IsSystematicallyAbsent(h, k, l, list))
            expected[formOf(h, k, l)] = 0;
        }
      }
    }
    for (int i = 0; i < listed; ++i) {
      const auto form = formOf(entries[i].h, entries[i].k, entries[i].l);
      EXPECT_EQ(entries[i].multiplicity, static_cast<int>(form.size()));
      ASSERT_EQ(expected.count(form), 1u)
          << entries[i].h << " " << entries[i].k << " " << entries[i].l;
      ++expected[form];
    }
    for (const auto& [form, times] : expected) {
      const auto& [h, k, l] = *form.rbegin();
      EXPECT_EQ(times, 1) << "form of " << h << " " << k << " " << l;
    }
  }
  EXPECT_EQ(numbers.size(), 230u);
}

}  // namespace
}  // namespace braxel
