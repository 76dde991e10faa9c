// The structure readers on the cases of tests/data/import/cases.txt, whose head describes them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "io/CifReader.h"
#include "io/CifSymmetry.h"
#include "io/ExpoReader.h"
#include "io/IcsdReader.h"
#include "io/InpFile.h"
#include "io/InsReader.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using Values = std::vector<std::string>;
using Expectations = std::map<std::string, Values>;

const std::string kFolder = BRAXEL_TEST_DATA_DIR "/import/";

struct Case {
  std::string name;
  int line = 0;
  std::string text;
  bool missing = false;
  std::optional<std::string> choice;
  bool refused = false;
  Expectations expected;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name << " of line " << c.line; }

// The words of a line; "..." is one word, in which \n is a line break.
Values Words(const std::string& line) {
  std::istringstream in(line);
  Values words;
  for (std::string word; in >> std::quoted(word, '"', '\0');) {
    for (std::size_t at; (at = word.find("\\n")) != std::string::npos;)
      word.replace(at, 2, 1, '\n');
    words.push_back(word);
  }
  return words;
}

std::vector<Case> ReadCases() {
  std::ifstream in(kFolder + "cases.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<Case> cases;
  std::size_t opened = 0;  // the cases the last heading opened
  for (std::size_t n = 0; n < lines.size(); ++n) {
    Values words = Words(lines[n]);
    if (words.empty() || words[0][0] == '#') continue;
    const bool indexed = words[0] == "atom" || words[0] == "row";
    const std::string key = indexed ? words[0] + " " + words[1] : words[0];
    words.erase(words.begin(), words.begin() + (indexed ? 2 : 1));
    if (key == "case" || key == "unchanged") {
      if (key == "unchanged") words = {key};
      for (const std::string& name : words) {
        const std::string text = testing::ReadFile(kFolder + name);
        cases.push_back({name, static_cast<int>(n + 1), text, false, std::nullopt, false, {}});
      }
      opened = words.size();
      continue;
    }
    std::string text;
    while (key == "<<<" && lines.at(++n) != ">>>") text += lines[n] + "\n";
    for (auto c = cases.end() - static_cast<long>(opened); c != cases.end(); ++c) {
      if (key == "<<<") {
        c->text = text;
      } else if (key == "missing" || key == "refused") {
        (key == "missing" ? c->missing : c->refused) = true;
      } else if (key == "choose") {
        c->choice = words.at(0);
      } else if (key == "message") {
        c->expected[key].push_back(words.at(0));
      } else {
        c->expected[key] = words;
      }
    }
  }
  return cases;
}

const std::vector<Case> kCases = ReadCases();

Values Actual(const std::string& key, const testing::ImportFixture& f) {
  const CrystalData& d = f.data;
  const auto number = [](double value) { return FormatText("%.17g", value); };
  const std::vector<ChoiceRow>& rows =
      f.icsdChoice.shownCount > 0 ? f.icsdChoice.shownRows : f.expoChoice.shownRows;
  if (key == "sg") return {std::to_string(d.sgNumber), std::to_string(d.settingNumber)};
  if (key == "symbol") return {f.results.sgSymbol};
  if (key == "axis") return {f.results.uniqueAxis};
  if (key == "cell") {
    return {number(d.a),     number(d.b),    number(d.c),
            number(d.alpha), number(d.beta), number(d.gamma)};
  }
  if (key == "atoms") return {std::to_string(d.atomCount)};
  if (key == "message") return f.ui.messages;
  if (key == "shown") return {std::to_string(f.icsdChoice.shownCount + f.expoChoice.shownCount)};
  if (key == "rows") return {std::to_string(rows.size())};
  if (key == "conversions") {
    Values modes;
    for (const int mode : f.conversions) modes.push_back(std::to_string(mode));
    return modes;
  }
  const std::size_t i = std::stoul(key.substr(key.find(' ') + 1)) - 1;
  if (key.starts_with("row ")) return {rows.at(i).number, rows.at(i).text};
  return {d.atomLabels.at(i), number(d.g[i]), number(d.x[i]),
          number(d.y[i]),     number(d.z[i]), number(d.B[i])};
}

bool Same(const std::string& expected, const std::string& actual) {
  char *expectedEnd = nullptr, *actualEnd = nullptr;
  const double e = std::strtod(expected.c_str(), &expectedEnd);
  const double a = std::strtod(actual.c_str(), &actualEnd);
  if (!expected.empty() && *expectedEnd == '\0' && !actual.empty() && *actualEnd == '\0') {
    return std::abs(e - a) <= 1e-9;
  }
  return expected == "*" || expected == actual;
}

class ReaderCasesTest : public ::testing::TestWithParam<Case> {};

TEST_P(ReaderCasesTest, ReadAsTheCaseStates) {
  const Case& c = GetParam();
  testing::ImportFixture f;
  f.icsdChoice.number = f.expoChoice.number = c.choice;
  const std::string path = c.missing ? f.dir.File(c.name) : f.Write(c.name, c.text);
  ImportContext context = f.Context();
  const std::string extension = c.name.substr(c.name.rfind('.') + 1);
  const bool read = extension == "cif"   ? ReadCifFile(path, context)
                    : extension == "txt" ? ReadIcsdFile(path, context)
                    : extension == "out" ? ReadExpoFile(path, context)
                    : extension == "ins" ? ReadInsFile(path, context)
                                         : ReadInpFile(path, f.data, f.ui);
  EXPECT_EQ(read, !c.refused);
  Expectations expected = c.expected;
  expected.try_emplace("message");
  if (c.refused) expected.insert(kCases.front().expected.begin(), kCases.front().expected.end());
  for (auto& [key, values] : expected) {
    Values actual = Actual(key, f);
    if (key.starts_with("atom ")) actual.resize(values.size());
    bool same = values.size() == actual.size();
    for (std::size_t i = 0; same && i < values.size(); ++i) {
      if (const std::size_t at = values[i].find("$PATH"); at != std::string::npos) {
        values[i].replace(at, 5, path);
      }
      same = Same(values[i], actual[i]);
    }
    EXPECT_TRUE(same) << key << ": " << ::testing::PrintToString(actual);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, ReaderCasesTest,
                         ::testing::ValuesIn(kCases.begin() + 1, kCases.end()));

TEST(CifOperationTest, OperationsAsFilesWriteThem) {
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
