#include "spacegroup/SymbolLookup.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"
#include "spacegroup/GroupOperations.h"
#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {

namespace {

constexpr std::size_t kSymbolColumn = 18;
constexpr std::size_t kFieldWidth = 10;
constexpr int kLastMonoclinicGroup = 15;

// The symbol text of a space-group table line: from column 19 to the line end. A line too short
// to reach column 19 has none.
bool SymbolText(std::string_view line, std::string_view& text) {
  const std::string_view whole = WithoutLineEnd(line);
  if (whole.size() <= kSymbolColumn) return false;
  text = whole.substr(kSymbolColumn);
  return true;
}

// The 10-character field of a setting-table line at position, without its trailing blanks.
std::string_view SettingField(std::string_view line, std::size_t position) {
  return WithoutTrailingBlanks(Field(WithoutLineEnd(line), position, kFieldWidth));
}

std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ' && c != '\t') kept.push_back(c);
  }
  return kept;
}

// Monoclinic groups whose setting-table block has a line per cell choice.
bool HasThreeCellChoices(int group) {
  switch (group) {
    case 5:
    case 7:
    case 8:
    case 9:
    case 12:
    case 13:
    case 14:
    case 15:
      return true;
    default:
      return false;
  }
}

enum class SectionSearch { kMatched, kPassedLastGroup, kEndOfFile, kCannotOpen, kNoSection };

using FieldTest = std::function<bool(std::string_view field)>;

// Walks one section of the setting table and stops at the first field that passes the test,
// giving the group and the setting that field stands for. An empty field holds no symbol.
SectionSearch SearchSection(const std::string& path, int section, const FieldTest& test, int& group,
                            int& setting, std::string& message) {
  LineReader reader(path);
  if (!reader.IsOpen()) return SectionSearch::kCannotOpen;
  std::string line;
  const bool monoclinic = section == kMonoclinicSection;
  if (SkipToKeyword(reader, monoclinic ? "Monoclinic" : "Orthorhombic", line, message) != 0) {
    return SectionSearch::kNoSection;
  }
  if (monoclinic) {
    reader.ReadLine(line);  // the heading
    std::array<std::string, 3> block;
    for (;;) {
      if (!reader.ReadLine(block[0])) return SectionSearch::kEndOfFile;
      group = LeadingInt(std::string_view(block[0]).substr(0, 2));
      // A group past 15 is an orthorhombic line, whose fields mean other settings.
      if (group > kLastMonoclinicGroup) return SectionSearch::kPassedLastGroup;
      const int lines = HasThreeCellChoices(group) ? 3 : 1;
      for (int i = 1; i < lines; ++i) reader.ReadLine(block[i]);
      // Unique axis b first (settings 1 to lines), then unique axis c.
      for (int column = 0; column < 2; ++column) {
        for (int i = 0; i < lines; ++i) {
          const std::string_view field = SettingField(block[i], column == 0 ? 21 : 43);
          if (!field.empty() && test(field)) {
            setting = column * lines + i + 1;
            return SectionSearch::kMatched;
          }
        }
      }
      if (group == kLastMonoclinicGroup) return SectionSearch::kPassedLastGroup;
    }
  }
  for (;;) {
    if (!reader.ReadLine(line)) return SectionSearch::kEndOfFile;
    group = LeadingInt(std::string_view(line).substr(0, 2));
    for (int k = 1; k <= 6; ++k) {
      const std::string_view field =
          SettingField(line, static_cast<std::size_t>(10 + 11 * (k - 1)));
      if (!field.empty() && test(field)) {
        setting = k;
        return SectionSearch::kMatched;
      }
    }
  }
}

// The space-group table's header lines walked record by record, so that only symbols are
// compared; a line that is not a header ends the walk.
bool FindTableSymbol(const std::string& tabsgPath, const std::string& wanted, int& sgNumber,
                     int& settingNumber) {
  LineReader reader(tabsgPath);
  if (!reader.IsOpen()) return false;
  std::string line;
  for (int r = 1; r <= kMaxTableRecords && reader.ReadLine(line); ++r) {
    std::string_view cursor = line;
    int fields[5] = {};
    for (int& field : fields) {
      if (!ScanInt(cursor, field, 3)) return false;
    }
    const int codeCount = fields[4];
    if (codeCount < 0 || codeCount > kMaxSymmetryCodes) return false;
    std::string_view text;
    if (SymbolText(line, text) && WithoutBlanks(text) == wanted) {
      sgNumber = fields[0];
      settingNumber = fields[1];
      return true;
    }
    for (int i = 0; i <= codeCount; ++i) reader.ReadLine(line);
  }
  return false;
}

}  // namespace

void FindSgBySymbol(const std::string& tabsgPath, const std::string& symbol, int& sgNumber,
                    int& settingNumber, UserInterface& ui) {
  LineReader reader(tabsgPath);
  if (!reader.IsOpen()) {
    ui.ShowMessage("space group file found !!!");
    return;
  }
  // The whole symbol first: C 2 2 2 must not stop at C 2 2 21, which comes before it. Then the
  // first line whose text begins with the symbol.
  const std::string_view whole = WithoutTrailingBlanks(symbol);
  for (const bool prefix : {false, true}) {
    reader.Rewind();
    // As a "%3d%3d" scan: a line that stops early keeps the numbers of the last that gave them.
    int number = 0;
    int setting = 0;
    std::string line;
    while (reader.ReadLine(line)) {
      std::string_view cursor = line;
      if (ScanInt(cursor, number, 3)) ScanInt(cursor, setting, 3);
      std::string_view text;
      if (!SymbolText(line, text)) continue;
      if (prefix ? text.substr(0, symbol.size()) == symbol : WithoutTrailingBlanks(text) == whole) {
        sgNumber = number;
        settingNumber = setting;
        return;
      }
    }
  }
}

void FindSgInSettingTable(const std::string& settingTablePath, int section,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui) {
  int group = 0;
  int setting = 0;
  std::string message;
  const FieldTest equal = [&symbol](std::string_view field) { return field == symbol; };
  switch (SearchSection(settingTablePath, section, equal, group, setting, message)) {
    case SectionSearch::kMatched:
      sgNumber = group;
      settingNumber = setting;
      return;
    case SectionSearch::kPassedLastGroup:
      return;
    case SectionSearch::kEndOfFile:
      ui.ShowMessage("space group name not found !!!");
      return;
    case SectionSearch::kCannotOpen:
      ui.ShowMessage("Table cannot open !!!");
      return;
    case SectionSearch::kNoSection:
      ui.ShowMessage(message);
      return;
  }
}

bool FindSgWithoutBlanks(const std::string& tabsgPath, const std::string& settingTablePath,
                         const std::string& symbol, int& sgNumber, int& settingNumber) {
  const std::string wanted = WithoutBlanks(symbol);
  if (wanted.empty()) return false;
  if (FindTableSymbol(tabsgPath, wanted, sgNumber, settingNumber)) return true;
  const FieldTest equal = [&wanted](std::string_view field) {
    return WithoutBlanks(field) == wanted;
  };
  for (const int section : {kMonoclinicSection, kOrthorhombicSection}) {
    int group = 0;
    int setting = 0;
    std::string message;
    if (SearchSection(settingTablePath, section, equal, group, setting, message) ==
        SectionSearch::kMatched) {
      sgNumber = group;
      settingNumber = setting;
      return true;
    }
  }
  return false;
}

bool FindSgBeyondTable(const std::string& tabsgPath, const std::string& settingTablePath,
                       const std::string& symbol, int& sgNumber, int& settingNumber,
                       UserInterface& ui) {
  const gemmi::SpaceGroup* group = sgNumber == 0 ? SpaceGroupOfSymbol(symbol) : nullptr;
  const std::optional<int> setting =
      group != nullptr ? FindTableSetting(tabsgPath, group->number, group->operations())
                       : std::nullopt;
  if (setting) {
    sgNumber = group->number;
    settingNumber = *setting;
  }
  if (sgNumber == 0) {
    FindSgInSettingTable(settingTablePath, kMonoclinicSection, symbol, sgNumber, settingNumber, ui);
  }
  if (sgNumber == 0) {
    FindSgInSettingTable(settingTablePath, kOrthorhombicSection, symbol, sgNumber, settingNumber,
                         ui);
  }
  if (sgNumber == 0)
    FindSgWithoutBlanks(tabsgPath, settingTablePath, symbol, sgNumber, settingNumber);
  if (sgNumber == 0 && group != nullptr) {
    // A group the table holds in other axes only: its number, and the table's first setting.
    sgNumber = group->number;
    settingNumber = 1;
    ui.ShowMessage(
        FormatText("%s is space group %d in axes the table lacks: setting 1 (%s) is taken !!!",
                   WithoutSymbolMarkup(symbol).c_str(), group->number,
                   gemmi::get_spacegroup_reference_setting(group->number).hm));
  }
  return sgNumber != 0;
}

bool FindSgNumberBySymbol(const std::string& tabsgPath, const std::string& settingTablePath,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui) {
  FindSgBySymbol(tabsgPath, symbol, sgNumber, settingNumber, ui);
  return FindSgBeyondTable(tabsgPath, settingTablePath, symbol, sgNumber, settingNumber, ui);
}

int AxisConversionModeOf(int sgNumber) {
  if (sgNumber >= 3 && sgNumber <= 15) return kMonoclinicSection;
  if (sgNumber >= 16 && sgNumber <= 74) return kOrthorhombicSection;
  return -1;
}

}  // namespace braxel
