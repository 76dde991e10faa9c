#include "io/CifReader.h"

#include <cmath>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "io/CifSymmetry.h"
#include "io/ImportText.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {
namespace {

// 8 pi^2: B of an isotropic U.
constexpr double kBPerU = 78.95683520871486;
constexpr double kSameCell = 0.00001;

constexpr std::string_view kSymbolTags[] = {
    "_symmetry_space_group_name_H-M", "_symmetry_space_group_name_h-m", "_space_group_name_H-M_alt",
    "_space_group_name_h-m_alt"};
constexpr std::string_view kNumberTags[] = {"_symmetry_Int_Tables_number",
                                            "_space_group_IT_number"};
constexpr std::string_view kOperationTags[] = {"_symmetry_equiv_pos_as_xyz",
                                               "_space_group_symop_operation_xyz"};

std::string_view FirstWord(std::string_view line) { return WordAt(SplitWords(line), 0); }

// A blank line has no word and is a leading part of nothing.
bool IsLeadingPartOf(std::string_view word, std::string_view tag) {
  return !word.empty() && tag.starts_with(word);
}

bool IsSymbolTag(std::string_view word) {
  for (std::string_view tag : kSymbolTags) {
    if (IsLeadingPartOf(word, tag)) return true;
  }
  return false;
}

bool EndsLoop(std::string_view word) {
  return word.starts_with("loop_") || word.starts_with("_") || word.starts_with("#") ||
         word.starts_with("data_");
}

// The symbol's text from the tag's line, or from the next line when the tag stands alone
// (a text field there begins with ";"). Quoted in ' or ", the text between the quotes. A next
// line that is a tag or a loop holds no value; it is handed back in pending.
std::string SymbolText(std::string_view rest, LineReader& reader, std::string& pending) {
  std::string next;
  if (TrimRight(rest).find_first_not_of(" \t") == std::string_view::npos && reader.ReadLine(next)) {
    if (EndsLoop(FirstWord(next))) {
      pending = std::move(next);
      return {};
    }
    rest = WithoutLineEnd(next);
    if (rest.starts_with(";")) rest.remove_prefix(1);
  }
  const std::size_t quote = rest.find_first_of("'\"");
  if (quote != std::string_view::npos) {
    const std::string_view inside = rest.substr(quote + 1);
    return std::string(inside.substr(0, inside.find(rest[quote])));
  }
  const std::size_t start = rest.find_first_not_of(" \t");
  return start == std::string_view::npos ? std::string()
                                         : std::string(TrimRight(rest.substr(start)));
}

// Removes a setting suffix ":1", ":2", ":H" or ":R" and gives its setting.
std::optional<int> TakeSettingSuffix(std::string& symbol) {
  const std::size_t colon = symbol.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string_view suffix = TrimRight(std::string_view(symbol).substr(colon + 1));
  std::optional<int> setting;
  if (suffix == "1" || suffix == "H" || suffix == "h") setting = 1;
  if (suffix == "2" || suffix == "R" || suffix == "r") setting = 2;
  if (setting) symbol = std::string(TrimRight(std::string_view(symbol).substr(0, colon)));
  return setting;
}

// The words of loop rows, read across line ends. With quotes, 'x, y, z' is one word.
class LoopWords {
 public:
  LoopWords(LineReader& reader, const std::string& firstLine, bool quotes)
      : reader_(reader), quotes_(quotes) {
    Split(firstLine);
  }

  bool Next(std::string& word) {
    std::string line;
    while (pending_.empty()) {
      if (!reader_.ReadLine(line)) return false;
      Split(line);
    }
    word = std::move(pending_.front());
    pending_.pop_front();
    return true;
  }

  // A whole row of count words; false when the file ends first.
  bool Row(std::size_t count, std::vector<std::string>& row) {
    row.assign(count, std::string());
    for (std::string& word : row) {
      if (!Next(word)) return false;
    }
    return true;
  }

 private:
  void Split(std::string_view line) {
    std::size_t pos = 0;
    const auto blank = [&](std::size_t at) {
      return at >= line.size() || line[at] == ' ' || line[at] == '\t' || line[at] == '\r' ||
             line[at] == '\n';
    };
    while (pos < line.size()) {
      while (pos < line.size() && blank(pos)) ++pos;
      if (pos >= line.size()) break;
      std::size_t end = pos;
      if (quotes_ && (line[pos] == '\'' || line[pos] == '"')) {
        // The closing quote is one followed by a blank or the end of the line.
        end = pos + 1;
        while (end < line.size() && !(line[end] == line[pos] && blank(end + 1))) ++end;
        pending_.emplace_back(line.substr(pos + 1, end - pos - 1));
        pos = end + 1;
        continue;
      }
      while (!blank(end)) ++end;
      pending_.emplace_back(line.substr(pos, end - pos));
      pos = end;
    }
  }

  LineReader& reader_;
  bool quotes_;
  std::deque<std::string> pending_;
};

struct Loop {
  std::vector<std::string> tags;
  std::string firstRowLine;  // the line after the last tag
};

// The first loop whose tags the test accepts, from the reader's position on.
template <class Accept>
std::optional<Loop> FindLoop(LineReader& reader, Accept accept) {
  std::string line;
  bool afterLoopWord = false;
  bool more = reader.ReadLine(line);
  while (more) {
    std::string_view word = FirstWord(line);
    if (afterLoopWord && word.starts_with("_")) {
      Loop loop;
      // A file that ends among the tags ends the tag list there.
      while (more && word.starts_with("_")) {
        loop.tags.emplace_back(word);
        more = reader.ReadLine(line);
        word = more ? FirstWord(line) : std::string_view();
      }
      if (accept(loop.tags)) {
        loop.firstRowLine = more ? line : std::string();
        return loop;
      }
      afterLoopWord = word.starts_with("loop_");
      if (more) more = reader.ReadLine(line);
      continue;
    }
    // Blank lines may stand between "loop_" and its tags.
    afterLoopWord = word.starts_with("loop_") || (afterLoopWord && word.empty());
    more = reader.ReadLine(line);
  }
  return std::nullopt;
}

std::optional<std::size_t> ColumnOf(const std::vector<std::string>& tags, std::string_view name) {
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (std::string_view(tags[i]).starts_with(name)) return i;
  }
  return std::nullopt;
}

// The element is the label's start before its first digit 1 to 9 or "(", at most three
// characters; a water oxygen Ow or OW is O.
std::string WithElement(const std::string& label) {
  std::size_t n = 3;
  for (const char c : std::string_view("123456789(")) {
    const std::size_t p = label.find(c);
    if (p != std::string::npos && p >= 1 && p <= n) n = p;
  }
  if (label.starts_with("Ow") || label.starts_with("OW")) return label + "/O";
  return label + "/" + (n == 3 ? label : label.substr(0, n));
}

// The operations the file lists, when it lists them; an unreadable one leaves no list to match.
std::optional<std::vector<SymmetryOperation>> ListedOperations(LineReader& reader, bool& readable) {
  reader.Rewind();
  std::optional<std::size_t> column;
  const std::optional<Loop> loop = FindLoop(reader, [&](const std::vector<std::string>& tags) {
    for (std::string_view tag : kOperationTags) {
      for (std::size_t i = 0; i < tags.size() && !column; ++i) {
        if (tags[i] == tag) column = i;
      }
    }
    return column.has_value();
  });
  if (!loop) return std::nullopt;
  LoopWords words(reader, loop->firstRowLine, true);
  std::vector<SymmetryOperation> operations;
  std::vector<std::string> row;
  readable = true;
  while (words.Row(loop->tags.size(), row) && !EndsLoop(row[0])) {
    SymmetryOperation operation;
    readable = readable && ParseCifOperation(row[*column], operation);
    operations.push_back(operation);
  }
  return operations;
}

bool IsRhombohedralGroup(int number) {
  for (const int group : {146, 148, 155, 160, 161, 166, 167}) {
    if (number == group) return true;
  }
  return false;
}

bool IsRhombohedralCell(const CrystalData& data) {
  const auto same = [](double p, double q) { return std::fabs(p - q) < kSameCell; };
  return same(data.a, data.b) && same(data.b, data.c) && same(data.alpha, data.beta) &&
         same(data.beta, data.gamma) && !same(data.alpha, 90.0);
}

// The setting of the group in the table: the one with the file's operations when it lists them,
// else the symbol's suffix, else the rhombohedral axes for a rhombohedral cell.
void ChooseSetting(LineReader& reader, std::optional<int> suffixSetting, ImportContext& context) {
  CrystalData& data = context.data;
  bool readable = false;
  const std::optional<std::vector<SymmetryOperation>> listed = ListedOperations(reader, readable);
  if (listed) {
    const std::optional<int> setting =
        readable ? FindSettingByOperations(context.tabsgPath, data.sgNumber, *listed)
                 : std::nullopt;
    if (setting) {
      data.settingNumber = *setting;
    } else {
      context.ui.ShowMessage(FormatText(
          "Symmetry operations of the file match no setting of space group %d !!!", data.sgNumber));
    }
  } else if (suffixSetting) {
    data.settingNumber = *suffixSetting;
  } else if (IsRhombohedralGroup(data.sgNumber) && IsRhombohedralCell(data)) {
    data.settingNumber = 2;
  }
}

}  // namespace

int ReadCifCellValue(LineReader& stream, const std::string& tag, std::string& line,
                     std::string& word1, std::string& word2, int index, CrystalData& data,
                     UserInterface& ui) {
  for (;;) {
    const std::vector<std::string_view> words = SplitWords(line);
    word1 = WordAt(words, 0);
    word2 = WordAt(words, 1);
    if (IsLeadingPartOf(word1, tag)) break;
    if (!stream.ReadLine(line)) {
      ui.ShowMessage(tag + " not found !!");
      return 1;
    }
  }
  if (word2.starts_with("?")) {
    ui.ShowMessage(tag + " not found !!");
    return 1;
  }
  double* fields[] = {&data.a, &data.b, &data.c, &data.alpha, &data.beta, &data.gamma};
  *fields[index] = ValueBeforeUncertainty(word2);
  return 0;
}

bool ReadCifFile(const std::string& path, ImportContext& context) {
  CrystalData& data = context.data;
  UserInterface& ui = context.ui;
  LineReader reader(path);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage("CIF file not found !!"));
    return false;
  }
  std::string line;
  std::string_view tag;
  while (reader.ReadLine(line)) {
    tag = FirstWord(line);
    if (IsSymbolTag(tag)) break;
  }
  if (!IsSymbolTag(tag)) {
    ui.ShowMessage("Space group name not found !!");
    return false;
  }
  const std::string_view symbolLine = WithoutLineEnd(line);
  std::string pending;
  std::string symbol =
      SymbolText(symbolLine.substr(static_cast<std::size_t>(tag.data() + tag.size() - line.data())),
                 reader, pending);
  const std::optional<int> suffixSetting = TakeSettingSuffix(symbol);
  if (!symbol.empty() && (symbol.size() < 2 || symbol[1] != ' ')) symbol.insert(1, " ");
  context.results.sgSymbol = symbol;

  data.sgNumber = 0;
  for (bool more = pending.empty() ? reader.ReadLine(line) : (line = pending, true); more;
       more = reader.ReadLine(line)) {
    const std::vector<std::string_view> words = SplitWords(line);
    const std::string_view word = WordAt(words, 0);
    if (word.starts_with(kNumberTags[0]) || word.starts_with(kNumberTags[1])) {
      data.sgNumber = LeadingInt(WordAt(words, 1));
      break;
    }
  }
  data.settingNumber = 1;

  std::string word1, word2;
  static const char* const kCellTags[] = {"_cell_length_a",   "_cell_length_b",
                                          "_cell_length_c",   "_cell_angle_alpha",
                                          "_cell_angle_beta", "_cell_angle_gamma"};
  // Each tag is sought from the start: databases write the angles before the edges.
  for (int i = 0; i < 6; ++i) {
    reader.Rewind();
    reader.ReadLine(line);
    if (ReadCifCellValue(reader, kCellTags[i], line, word1, word2, i, data, ui) != 0) return false;
  }

  reader.Rewind();
  const std::optional<Loop> loop = FindLoop(reader, [](const std::vector<std::string>& tags) {
    return std::string_view(tags[0]).starts_with("_atom_site_") &&
           ColumnOf(tags, "_atom_site_label").has_value();
  });
  if (!loop) {
    ui.ShowMessage("atom site not found !!");
    return false;
  }
  const std::size_t label = *ColumnOf(loop->tags, "_atom_site_label");
  const std::optional<std::size_t> columns[] = {ColumnOf(loop->tags, "_atom_site_fract_x"),
                                                ColumnOf(loop->tags, "_atom_site_fract_y"),
                                                ColumnOf(loop->tags, "_atom_site_fract_z")};
  const std::optional<std::size_t> u = ColumnOf(loop->tags, "_atom_site_U_iso_or_equiv");
  const std::optional<std::size_t> b = ColumnOf(loop->tags, "_atom_site_B_iso_or_equiv");
  const std::optional<std::size_t> occupancy = ColumnOf(loop->tags, "_atom_site_occupancy");

  LoopWords words(reader, loop->firstRowLine, false);
  std::vector<std::string> row;
  int index = -1;
  while (words.Row(loop->tags.size(), row) && !EndsLoop(row[0])) {
    if (++index == kMaxAtoms) {
      data.atomCount = kMaxAtoms;
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::size_t i = static_cast<std::size_t>(index);
    data.atomLabels[i] = row[label];
    double* coordinates[] = {&data.x[i], &data.y[i], &data.z[i]};
    for (int k = 0; k < 3; ++k) {
      *coordinates[k] = columns[k] ? CoordinateValue(row[*columns[k]]) : 0.0;
    }
    data.B[i] = u   ? kBPerU * ValueBeforeUncertainty(row[*u])
                : b ? ValueBeforeUncertainty(row[*b])
                    : 0.5;
    data.g[i] = occupancy ? ValueBeforeUncertainty(row[*occupancy]) : 1.0;
  }
  data.atomCount = index + 1;
  for (int i = 0; i < data.atomCount; ++i) {
    std::string& atomLabel = data.atomLabels[static_cast<std::size_t>(i)];
    atomLabel = WithElement(atomLabel);
  }

  const bool edgesDiffer = data.a != data.b && data.b != data.c;
  const int rightAngles = (data.alpha == 90.0) + (data.beta == 90.0) + (data.gamma == 90.0);
  if (data.sgNumber == 0 && !symbol.empty()) {
    FindSgBySymbol(context.tabsgPath, symbol, data.sgNumber, data.settingNumber, ui);
    if (data.sgNumber == 0 && edgesDiffer && rightAngles >= 2) {
      FindSgInSettingTable(context.settingTablePath,
                           rightAngles == 3 ? kOrthorhombicSection : kMonoclinicSection, symbol,
                           data.sgNumber, data.settingNumber, ui);
    }
  }
  if (data.sgNumber != 0) ChooseSetting(reader, suffixSetting, context);
  OfferAxisConversion(context);
  if (data.sgNumber == 0) ui.ShowMessage("Space group number not found !!!");
  return true;
}

}  // namespace braxel
