#include "io/IcsdReader.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "io/GroupSetting.h"
#include "io/ImportText.h"
#include "platform/TextInput.h"
#include "spacegroup/GroupOperations.h"

namespace braxel {
namespace {

struct Layout {
  bool keyword;
  const char* cell;
  const char* spaceGroup;
  const char* atoms;
};
constexpr Layout kKeywordLayout{true, " CELL", " SGR", " PARM "};
constexpr Layout kBlockLayout{false, "Unit Cell", "Space Group", "Atom  #"};

// Suffix letters of the space-group line: "Z" or "R" give setting 2, then "H" gives 1.
void SettingFromSuffix(std::string_view line, std::size_t from, int& settingNumber) {
  const std::string_view tail = Field(line, from, std::string_view::npos);
  if (tail.find('Z') != std::string_view::npos) settingNumber = 2;
  if (tail.find('R') != std::string_view::npos) settingNumber = 2;
  if (tail.find('H') != std::string_view::npos) settingNumber = 1;
}

char CharAt(std::string_view word, std::size_t index) {
  return index < word.size() ? word[index] : '\0';
}

// "+" or "-" with the charge's digit before it, none for a charge of 1.
std::string Charge(char digit, char sign) {
  std::string text;
  if (digit != '1' && digit != '\0') text += digit;
  return text + sign;
}

std::string SpeciesSuffix(std::string_view element, std::string_view state, bool keyword) {
  std::string base(1, '/');
  base += element;
  if (keyword) {
    state = state.substr(0, state.find('.'));
    if (state.empty() || state.front() == '0') return base;
    if (state.front() != '-') return base + Charge(state.front(), '+');
    return base + Charge(CharAt(state, 1), '-');
  }
  if (state.empty() || state.front() == '0') return base;
  return base + Charge(CharAt(state, 1), state.front() == '+' ? '+' : '-');
}

void ReadCell(std::string_view line, const Layout& layout, CrystalData& data,
              std::string& uniqueAxis) {
  const std::vector<std::string_view> words = SplitWords(line);
  const std::size_t first = layout.keyword ? 1 : 2;
  double* fields[] = {&data.a, &data.b, &data.c, &data.alpha, &data.beta, &data.gamma};
  static constexpr char kAxes[] = {'a', 'b', 'c'};
  for (std::size_t k = 0; k < 6; ++k) {
    std::string_view value = WordAt(words, first + k);
    if (layout.keyword) {
      // a=5.4309(1), and an angle name of one character before its "="; an export in UTF-8
      // spells the Greek angle names in two bytes, so the prefix ends at the "=" either way.
      const std::size_t equals = value.find('=');
      if (equals != std::string_view::npos) {
        value.remove_prefix(equals + 1);
      } else if (k >= 3) {
        value.remove_prefix(std::min<std::size_t>(2, value.size()));
      }
    }
    *fields[k] = ValueBeforeUncertainty(value);
    const std::size_t open = value.find('(', 1);
    if (k >= 3 && open != std::string_view::npos && open + 1 < value.size()) {
      uniqueAxis = kAxes[k - 3];
    }
  }
  data.settingNumber = 1;
}

// Reads the space-group line; gives the symbol with the letter of its setting after it, as
// SpaceGroupOfSymbol reads them.
std::string ReadSpaceGroup(LineReader& reader, std::string_view line, const Layout& layout,
                           CrystalData& data, std::string& sgSymbol) {
  if (layout.keyword) {
    sgSymbol = std::string(Field(line, 6, 10));
    SettingFromSuffix(line, 7, data.settingNumber);
    // A line without "(" gives no number; 0 asks the user for it rather than keeping the last.
    data.sgNumber = 0;
    const std::size_t open = line.find('(', 7);
    if (open != std::string_view::npos) {
      const std::string_view inside = line.substr(open + 1);
      data.sgNumber = LeadingInt(inside.substr(0, inside.find(')')));
    }
    return std::string(Field(line, 6, line.find('(', 6) - 6));
  }
  sgSymbol = std::string(Field(line, 12, std::string_view::npos));
  if (sgSymbol.size() <= 10) {
    for (int appended = 0; appended <= 10 - static_cast<int>(sgSymbol.size()); ++appended) {
      sgSymbol += ' ';
    }
  }
  SettingFromSuffix(line, 14, data.settingNumber);
  std::string next;
  reader.ReadLine(next);
  data.sgNumber = LeadingInt(WordAt(SplitWords(next), 2));
  return std::string(Field(line, 12, std::string_view::npos));
}

// The block layout's entries and their formulas; false after a shown message.
bool CountEntries(LineReader& reader, CIcsdEntryDlg& dialog, UserInterface& ui) {
  std::string line, message, dataMessage;
  while (SkipToKeyword(reader, "*data", line, dataMessage) == 0) {
    if (dialog.entryCount == CIcsdEntryDlg::kMaxEntries) {
      ui.ShowMessage(FormatText("Number of entries exceeds over %d !!!", dialog.entryCount));
      return false;
    }
    ++dialog.entryCount;
    if (SkipToKeyword(reader, "Structured", line, message) == 0) {
      dialog.formulas[static_cast<std::size_t>(dialog.entryCount)] =
          std::string(TrimRight(Field(line, 12, std::string_view::npos)));
    }
  }
  if (dialog.entryCount == 0) {
    ui.ShowMessage(dataMessage);
    return false;
  }
  return true;
}

}  // namespace

bool ReadIcsdFile(const std::string& path, ImportContext& context) {
  CrystalData& data = context.data;
  UserInterface& ui = context.ui;
  LineReader reader(path);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage(FormatText("%s file not found !!!", path.c_str())));
    return false;
  }
  std::string line, message;
  const Layout& layout =
      SkipToKeyword(reader, " COL ", line, message) == 0 ? kKeywordLayout : kBlockLayout;
  CIcsdEntryDlg dialog(ui);
  if (!layout.keyword) {
    reader.Rewind();
    if (!CountEntries(reader, dialog, ui)) return false;
  }
  reader.Rewind();
  if (dialog.entryCount >= 2 && context.icsdEntryPresenter.RunModal(dialog)) {
    reader.Rewind();
    for (int i = 0; i < dialog.chosenEntry; ++i) SkipToKeyword(reader, "*data", line, message);
  }

  if (SkipToKeyword(reader, layout.cell, line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  ReadCell(WithoutLineEnd(line), layout, data, context.results.uniqueAxis);
  if (SkipToKeyword(reader, layout.spaceGroup, line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }
  const GroupStatement statement{
      {},
      {},
      ReadSpaceGroup(reader, WithoutLineEnd(line), layout, data, context.results.sgSymbol),
      data.sgNumber};
  if (SkipToKeyword(reader, layout.atoms, line, message) != 0) {
    ui.ShowMessage(message);
    return false;
  }

  int index = -1;
  // A file that ends before the list's end marker ends the list there.
  while (reader.ReadLine(line)) {
    const std::string_view text = WithoutLineEnd(line);
    if (layout.keyword ? text.starts_with(" WYCK ")
                       : text.starts_with("*end for") || text.starts_with("Lbl")) {
      break;
    }
    const std::vector<std::string_view> words = SplitWords(text);
    if (words.empty()) continue;  // a blank line is no atom and no occupancy
    if (layout.keyword && words.size() < 3) {
      // The occupancy of the atom above; before the first atom there is none to carry it.
      if (index >= 0) data.g[static_cast<std::size_t>(index)] = LeadingDouble(words[0]);
      continue;
    }
    if (++index == kMaxAtoms) {
      data.atomCount = index;
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::size_t i = static_cast<std::size_t>(index);
    const std::size_t xWord = layout.keyword ? 4 : 5;
    const std::string_view element = words[0];
    std::string& atomLabel = data.atomLabels[i];
    atomLabel = element;
    atomLabel += WordAt(words, 1);
    atomLabel += SpeciesSuffix(element, WordAt(words, 2), layout.keyword);
    const std::string_view occupancy = WordAt(words, xWord + 3);
    data.g[i] = occupancy.empty() ? 1.0 : LeadingDouble(occupancy);
    data.B[i] = 0.5;
    data.x[i] = CoordinateValue(WordAt(words, xWord));
    data.y[i] = CoordinateValue(WordAt(words, xWord + 1));
    data.z[i] = CoordinateValue(WordAt(words, xWord + 2));
  }
  data.atomCount = index + 1;
  // A symbol gemmi reads settles group and setting; otherwise number and suffix letter stand.
  if (OperationsOfSymbol(statement.symbol, data.alpha, data.gamma) &&
      !SettleSpaceGroup(statement, context)) {
    return false;
  }
  OfferAxisConversion(context);
  return true;
}

}  // namespace braxel
