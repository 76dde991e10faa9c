// Real structure files, read through File Open as the window reads them and calculated, against
// the powder lines an independent library computed from the same files
// (tests/data/corpus/expected_lines.txt, written by tools/gen_corpus_lines.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CalculationRun.h"
#include "io/FileOpen.h"
#include "settings/SettingsFile.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

constexpr double kStart = 10.0, kEnd = 120.0;  // the bundled settings' range
constexpr double kSameAngle = 0.005;           // degrees 2theta
constexpr double kSameIntensity = 1.0;         // on the scale of the strongest line, 100
// Lines closer than this cannot be told apart: their intensities are compared as one.
constexpr double kResolved = 0.01;

struct Line {
  double twoTheta;
  double intensity;
};

struct Expected {
  std::string file;
  std::string entry;
  std::string refusal;  // the message's start, for a file the program must refuse
  std::vector<Line> lines;
};

void PrintTo(const Expected& expected, std::ostream* out) {
  *out << expected.file << " entry " << expected.entry;
}

std::vector<Expected> ReadExpected() {
  std::ifstream in(BRAXEL_TEST_DATA_DIR "/corpus/expected_lines.txt");
  std::vector<Expected> all;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first.empty() || first[0] == '#') continue;
    if (first == "file") {
      Expected expected;
      std::string entryWord;
      words >> expected.file >> entryWord >> expected.entry;
      all.push_back(expected);
    } else if (first == "refused") {
      std::getline(words >> std::ws, all.back().refusal);
    } else {
      Line l{std::stod(first), 0.0};
      words >> l.intensity;
      all.back().lines.push_back(l);
    }
  }
  return all;
}

// The angles of one side that none of the other lies within kSameAngle of; and the intensities
// of both sides summed over groups of lines kResolved apart, each side scaled to its strongest
// group, that differ by more than kSameIntensity.
std::vector<std::string> Differences(const std::vector<Line>& expected,
                                     const std::vector<Line>& found) {
  std::vector<std::string> differences;
  for (const Line& e : expected) {
    const bool near = std::any_of(found.begin(), found.end(), [&](const Line& f) {
      return std::abs(f.twoTheta - e.twoTheta) <= kSameAngle;
    });
    if (e.intensity >= 0.1 && !near) differences.push_back(std::to_string(e.twoTheta) + " missing");
  }
  struct Item {
    double twoTheta;
    double intensity;
    int side;
  };
  std::vector<Item> items;
  for (const Line& e : expected) items.push_back({e.twoTheta, e.intensity, 0});
  for (const Line& f : found) items.push_back({f.twoTheta, f.intensity, 1});
  std::sort(items.begin(), items.end(),
            [](const Item& a, const Item& b) { return a.twoTheta < b.twoTheta; });
  std::vector<std::array<double, 3>> groups;  // first angle, expected sum, found sum
  double last = -1.0;
  for (const Item& item : items) {
    if (groups.empty() || item.twoTheta - last >= kResolved)
      groups.push_back({item.twoTheta, 0, 0});
    groups.back()[1 + item.side] += item.intensity;
    last = item.twoTheta;
  }
  double top[2] = {0.0, 0.0};
  for (const auto& g : groups) {
    top[0] = std::max(top[0], g[1]);
    top[1] = std::max(top[1], g[2]);
  }
  for (const auto& g : groups) {
    const double e = 100.0 * g[1] / top[0], f = 100.0 * g[2] / top[1];
    if (std::abs(e - f) > kSameIntensity) {
      differences.push_back(std::to_string(g[0]) + ": " + std::to_string(e) + " expected, " +
                            std::to_string(f) + " calculated");
    }
  }
  return differences;
}

class CorpusTest : public ::testing::TestWithParam<Expected> {};

TEST_P(CorpusTest, ReadAndCalculatedAsTheIndependentLibraryDoes) {
  const Expected& expected = GetParam();
  testing::ImportFixture f;
  f.icsdChoice.number = expected.entry;
  ImportContext context = f.Context();
  FileOpenState state;
  const std::string path = BRAXEL_TEST_DATA_DIR "/corpus/" + expected.file;
  const bool read = OpenStructureFile(state, path, context).has_value();
  std::string message = f.ui.messages.empty() ? std::string() : f.ui.messages.back();
  auto run = std::make_unique<CalculationRun>();
  bool calculated = false;
  if (read) {
    const Settings settings =
        ReadSettings(MakeFixedPaths(f.dir.Path().string(), BRAXEL_DATA_DIR), f.ui);
    const RunFiles files{f.dir.File("Braxel.out"), f.dir.File("Braxel.prf"),
                         settings.external.tabsgPath, settings.external.fscatPath};
    calculated = run->RunCalculation(MakeRunInput(f.data, files, settings.profile), message);
  }
  if (!expected.refusal.empty()) {
    EXPECT_FALSE(calculated);
    EXPECT_TRUE(message.starts_with(expected.refusal)) << message;
    return;
  }
  ASSERT_TRUE(calculated) << message;
  std::vector<Line> found;
  for (int i = 0; i < run->entryCount; ++i) {
    const Reflection& r = run->entries[static_cast<std::size_t>(i)];
    if (r.code == 1 && r.twoTheta >= kStart && r.twoTheta <= kEnd) {
      found.push_back({r.twoTheta, r.iCalc});
    }
  }
  const std::vector<std::string> differences = Differences(expected.lines, found);
  EXPECT_TRUE(differences.empty())
      << differences.size() << " differences, first " << differences.front();
}

INSTANTIATE_TEST_SUITE_P(RealFiles, CorpusTest, ::testing::ValuesIn(ReadExpected()));

}  // namespace
}  // namespace braxel
