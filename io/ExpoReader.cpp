#include "io/ExpoReader.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "io/GroupSetting.h"
#include "io/ImportText.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr const char* kSectionLine = "                          ***   OUTPUT SECTION   ***";
constexpr const char* kAtomHeading = " Serial   Atom  Height";

// The three 8-character values of a cell line.
void ReadTriple(std::string_view line, double& first, double& second, double& third) {
  first = LeadingDouble(Field(line, 25, 8));
  second = LeadingDouble(Field(line, 44, 8));
  third = LeadingDouble(Field(line, 63, 8));
}

// Rounded thirds of the listing, written out so that special positions stay special.
std::string_view ExpandedFraction(std::string_view word) {
  if (word == "0.333") return "0.33333";
  if (word == "0.667") return "0.66667";
  if (word == "-0.333") return "-0.33333";
  if (word == "-0.667") return "-0.66667";
  return word;
}

bool PassSections(LineReader& reader, int count) {
  std::string line, message;
  for (int i = 0; i < count; ++i) {
    if (SkipToKeyword(reader, kSectionLine, line, message) != 0) return false;
  }
  return true;
}

}  // namespace

bool ReadExpoFile(const std::string& path, ImportContext& context) {
  CrystalData& data = context.data;
  UserInterface& ui = context.ui;
  LineReader reader(path);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage(FormatText("%s file not found !!!", path.c_str())));
    return false;
  }
  std::string line, message;
  if (SkipToKeyword(reader, " Direct cell", line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  ReadTriple(WithoutLineEnd(line), data.a, data.b, data.c);
  reader.ReadLine(line);
  ReadTriple(WithoutLineEnd(line), data.alpha, data.beta, data.gamma);
  if (SkipToKeyword(reader, " Space group", line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  context.results.sgSymbol = std::string(TrimRight(Field(WithoutLineEnd(line), 47, 10)));
  data.sgNumber = 0;
  data.settingNumber = 0;

  int sectionLines = 0;
  while (SkipToKeyword(reader, kSectionLine, line, message) == 0) ++sectionLines;
  if (sectionLines == 0 || sectionLines % 2 != 0) {
    ui.ShowMessage("No solution found !!!");
    return false;
  }

  CExpoSolutionDlg dialog(ui);
  // The list holds kListRows solutions; later ones are left out.
  dialog.solutionCount = std::min(sectionLines / 2, CExpoSolutionDlg::kListRows);
  reader.Rewind();
  for (int i = 0; i < dialog.solutionCount; ++i) {
    if (!PassSections(reader, 2)) break;
    if (SkipToKeyword(reader, "   Final R value", line, message) == 0) {
      dialog.rwValues[static_cast<std::size_t>(i)] = std::string(WordAt(SplitWords(line), 7));
    }
  }
  if (!context.expoSolutionPresenter.RunModal(dialog)) return false;

  reader.Rewind();
  PassSections(reader, 2 * (dialog.chosenSolution + 1));
  if (SkipToKeyword(reader, kAtomHeading, line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  reader.ReadLine(line);
  data.atomCount = 0;
  while (reader.ReadLine(line)) {
    const std::vector<std::string_view> words = SplitWords(WithoutLineEnd(line));
    if (WithoutLineEnd(line).empty()) break;
    if (words.empty()) continue;  // blanks only: no peak
    if (data.atomCount == kMaxAtoms) {
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::size_t i = static_cast<std::size_t>(data.atomCount++);
    const std::string name(WordAt(words, 1));
    data.atomLabels[i] = name + "/" + name;
    data.g[i] = 1.0;
    data.x[i] = LeadingDouble(ExpandedFraction(WordAt(words, 3)));
    data.y[i] = LeadingDouble(ExpandedFraction(WordAt(words, 4)));
    data.z[i] = LeadingDouble(ExpandedFraction(WordAt(words, 5)));
    data.B[i] = 0.5;
  }
  // The listing names its group by symbol only.
  if (!SettleSpaceGroup({{}, {}, context.results.sgSymbol, 0}, context)) return false;
  OfferAxisConversion(context);
  return true;
}

}  // namespace braxel
