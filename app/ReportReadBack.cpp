#include "app/ReportReadBack.h"

#include <sstream>
#include <string_view>
#include <vector>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

namespace {

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

bool IsClosingRule(std::string_view line) {
  line = WithoutLeadingBlanks(WithoutLineEnd(line));
  return !line.empty() && line.find_first_not_of('=') == std::string_view::npos;
}

// The lines of a block up to the first empty one, leading blanks removed; the block's closing
// rule is not an entry. At most capacity lines are kept.
int ReadBlock(LineReader& reader, std::vector<std::string>& lines, int capacity) {
  std::string line;
  reader.ReadLine(line);  // the dashed rule under the key
  int count = 0;
  bool ruleLast = false;
  while (reader.ReadLine(line) && !WithoutLineEnd(line).empty()) {
    ruleLast = IsClosingRule(line);
    if (count < capacity)
      lines[static_cast<std::size_t>(count)] = WithoutLeadingBlanks(WithoutLineEnd(line));
    ++count;
  }
  if (ruleLast) --count;
  return count < capacity ? count : capacity;
}

}  // namespace

bool ReadBackReport(const std::string& reportPath, CalculationResults& results, UserInterface& ui) {
  LineReader reader(reportPath);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage("Outputfile nout found !!!"));
    return false;
  }
  std::string line;
  std::string message;
  const auto seek = [&](const char* key) {
    if (SkipToKeyword(reader, key, line, message) == 0) return true;
    ui.ShowMessage(message);
    return false;
  };
  struct Summary {
    const char* key;
    std::string* field;
  };
  const Summary summaries[] = {
      {"    Crystal system", &results.crystalSystem},
      {"    Space group", &results.sgSymbol},
      {"    Unique axis", &results.uniqueAxis},
      {"    Laue group", &results.laueGroup},
      {"    Point group", &results.pointGroup},
      {"    Centrosymmetric", &results.centrosymmetric},
  };
  for (const Summary& summary : summaries) {
    if (!seek(summary.key)) return false;
    const std::string_view text = WithoutLineEnd(line);
    const std::size_t equals = text.find('=');
    *summary.field = equals == std::string_view::npos
                         ? std::string()
                         : std::string(WithoutLeadingBlanks(text.substr(equals + 1)));
  }
  if (!seek("    Symmetry codes  :")) return false;
  results.symmetryCodeCount = ReadBlock(reader, results.symmetryCodes, kMaxResultLines);
  if (!seek("    Reflection conditions")) return false;
  results.conditionCount = ReadBlock(reader, results.conditions, kMaxResultLines);
  if (!seek(" Genarated reflections:")) return false;
  for (int i = 0; i < 3; ++i) reader.ReadLine(line);
  int rows = 0;
  while (reader.ReadLine(line)) {
    if (WithoutLineEnd(line).empty() || IsClosingRule(line) || rows >= kMaxReflectionRows) {
      continue;
    }
    std::istringstream words{std::string(line)};
    auto& row = results.reflectionRows[static_cast<std::size_t>(rows)];
    for (std::string& word : row) {
      word.clear();
      words >> word;
    }
    ++rows;
  }
  results.reflectionCount = rows;
  return true;
}

}  // namespace braxel
