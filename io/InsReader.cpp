#include "io/InsReader.h"

#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "io/ImportText.h"
#include "platform/TextInput.h"
#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {
namespace {

// The code of "VNS1 = 'A-14-2'": the number after the first "-", the setting the one character
// after a second "-" (1 without one). False when the third word holds no "-".
bool ParseSpaceGroupCode(std::string_view line, int& sgNumber, int& settingNumber) {
  const std::string_view code = WordAt(SplitWords(line), 2);
  const std::size_t dash = code.find('-');
  if (dash == std::string_view::npos) return false;
  const std::string_view p = code.substr(dash + 1);
  const std::size_t second = p.find('-');
  if (second != std::string_view::npos) {
    sgNumber = LeadingInt(p.substr(0, second));
    settingNumber = LeadingInt(p.substr(second + 1, 1));
  } else {
    sgNumber = LeadingInt(p.substr(0, p.find('\'')));
    settingNumber = 1;
  }
  return true;
}

bool IsAtomLine(std::string_view line) {
  const char first = line.front();
  return first != '#' && first != ' ' && first != '\n' && first != '\r' && first != '}';
}

void SetUniqueAxis(const CrystalData& data, std::string& uniqueAxis) {
  const bool alpha = data.alpha == 90.0, beta = data.beta == 90.0, gamma = data.gamma == 90.0;
  if (alpha && !beta && gamma) uniqueAxis = 'b';
  if (!alpha && beta && gamma) uniqueAxis = 'a';
  if (alpha && beta && !gamma) uniqueAxis = 'c';
}

}  // namespace

bool ReadInsFile(const std::string& path, ImportContext& context) {
  CrystalData& data = context.data;
  UserInterface& ui = context.ui;
  LineReader reader(path);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage(FormatText("%s file not found !!!\n", path.c_str())));
    return false;
  }
  std::string line, message;
  if (SkipToKeyword(reader, "VNS1", line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  int sgNumber = 0, settingNumber = 0;
  if (line.find('-') == std::string::npos ||
      !ParseSpaceGroupCode(WithoutLineEnd(line), sgNumber, settingNumber)) {
    ui.ShowMessage("No sapce group !!!\n");
    return false;
  }
  data.sgNumber = sgNumber;
  data.settingNumber = settingNumber;

  if (SkipToKeyword(reader, "CELLQ", line, message) != 0) {
    ui.ShowMessage("No cell dimension !!!\n");
    return false;
  }
  std::string_view cell = WithoutLineEnd(line);
  const std::string_view keyword = SplitWords(cell).front();  // the line begins with it
  cell.remove_prefix(static_cast<std::size_t>(keyword.data() + keyword.size() - cell.data()));
  double* cellFields[] = {&data.a, &data.b, &data.c, &data.alpha, &data.beta, &data.gamma};
  for (double* field : cellFields) {
    if (!ScanDouble(cell, *field)) break;
  }

  data.atomCount = 0;
  // A file that ends without "}" ends the block there; the atoms read so far are the block.
  while (reader.ReadLine(line)) {
    if (line.front() == '}') break;
    if (!IsAtomLine(line)) continue;
    if (data.atomCount == kMaxAtoms) {
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::vector<std::string_view> words = SplitWords(WithoutLineEnd(line));
    const std::size_t i = static_cast<std::size_t>(data.atomCount++);
    data.atomLabels[i] = WordAt(words, 0);
    double* values[] = {&data.g[i], &data.x[i], &data.y[i], &data.z[i], &data.B[i]};
    for (std::size_t k = 0; k < 5; ++k) *values[k] = LeadingDouble(WordAt(words, k + 1));
  }

  LookUpSpaceGroupSymbol(context.tabsgPath, data.sgNumber, data.settingNumber,
                         context.results.sgSymbol, ui);
  SetUniqueAxis(data, context.results.uniqueAxis);
  OfferAxisConversion(context);
  return true;
}

}  // namespace braxel
