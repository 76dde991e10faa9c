#include "io/CifReader.h"

#include <array>
#include <cctype>
#include <cmath>
#include <gemmi/cif.hpp>
#include <gemmi/elem.hpp>
#include <map>
#include <optional>
#include <vector>

#include "engine/Capacity.h"
#include "io/GroupSetting.h"
#include "io/ImportText.h"
#include "platform/TextInput.h"
#include "spacegroup/GroupOperations.h"

namespace braxel {
namespace {

namespace cif = gemmi::cif;

constexpr double kEightPiSquared = 78.95683520871486;  // B of an isotropic U
constexpr double kDefaultB = 0.5;
constexpr double kRadian = M_PI / 180.0;

constexpr const char* kCellTags[] = {"_cell_length_a",    "_cell_length_b",   "_cell_length_c",
                                     "_cell_angle_alpha", "_cell_angle_beta", "_cell_angle_gamma"};

// The first value of a tag, also where a file puts a single value in a loop; nothing when the
// block has none.
const std::string* FirstValue(cif::Block& block, const std::string& tag) {
  cif::Column column = block.find_values(tag);
  return column.length() > 0 ? &column[0] : nullptr;
}

// A value of the block: the text of the first of the tags it has; empty for none, "?" and ".".
std::string ValueOf(cif::Block& block, std::initializer_list<const char*> tags) {
  for (const char* tag : tags) {
    if (const std::string* value = FirstValue(block, tag)) return cif::as_string(*value);
  }
  return {};
}

bool HasNumber(const std::string& raw) {
  const std::string text = cif::as_string(raw);
  const std::size_t i = text.find_first_not_of("+-");
  const auto digit = [&](std::size_t at) {
    return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0;
  };
  return i != std::string::npos && (digit(i) || (text[i] == '.' && digit(i + 1)));
}

double NumberOf(const std::string& raw) { return ValueBeforeUncertainty(cif::as_string(raw)); }

// The parser's complaint as a line of the file and what is wrong there, without bytes a message
// cannot show.
std::string SyntaxMessage(const std::string& what, const std::string& path) {
  std::string rest = what.starts_with(path + ":") ? what.substr(path.size() + 1) : what;
  std::string line;
  while (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front())) != 0) {
    line += rest.front();
    rest.erase(0, 1);
  }
  const std::size_t colon = rest.find(": ");
  if (colon != std::string::npos) rest = Printable(rest.substr(colon + 2));
  return line.empty() ? "CIF syntax error: " + rest + " !!"
                      : "CIF syntax error in line " + line + ": " + rest + " !!";
}

// The document, or nothing after a message. Files as programs write them break rules that hide
// nothing of the structure: a tag given twice (its first value counts), a tag without a value,
// no data block heading at all. Such a file is read as it stands.
std::optional<cif::Document> ParseCif(const std::string& text, const std::string& path,
                                      UserInterface& ui) {
  try {
    return cif::read_memory(text.data(), text.size(), path.c_str());
  } catch (const std::exception&) {
    // The heading joins the first line, so that a complaint names the file's own line.
    const bool headed = text.starts_with("data_") || text.find("\ndata_") != std::string::npos;
    const std::string lenient = headed ? text : "data_unnamed " + text;
    try {
      cif::Document document;
      cif::pegtl::memory_input<> input(lenient.data(), lenient.size(), path);
      cif::parse_input(document, input);
      return document;
    } catch (const std::exception& error) {
      ui.ShowMessage(SyntaxMessage(error.what(), path));
      return std::nullopt;
    }
  }
}

bool HasAtomSites(cif::Block& block) {
  return block.find_values("_atom_site_fract_x").length() > 0;
}

// The block with atom sites; the user picks one when several have them. Nothing after a
// message, or when the user cancels.
cif::Block* ChooseBlock(cif::Document& document, ImportContext& context) {
  std::vector<cif::Block*> candidates;
  for (cif::Block& block : document.blocks) {
    if (HasAtomSites(block)) candidates.push_back(&block);
  }
  if (candidates.empty()) {
    context.ui.ShowMessage("atom site not found !!");
    return nullptr;
  }
  if (candidates.size() == 1) return candidates.front();
  CIcsdEntryDlg dialog(context.ui);
  if (candidates.size() > static_cast<std::size_t>(CIcsdEntryDlg::kMaxEntries)) {
    context.ui.ShowMessage(
        FormatText("Number of entries exceeds over %d !!!", CIcsdEntryDlg::kMaxEntries));
    return nullptr;
  }
  dialog.entryCount = static_cast<int>(candidates.size());
  for (int i = 0; i < dialog.entryCount; ++i) {
    cif::Block& block = *candidates[static_cast<std::size_t>(i)];
    std::string text = "data_" + block.name;
    if (const std::string formula = ValueOf(block, {"_chemical_formula_sum"}); !formula.empty()) {
      text += "  " + formula;
    }
    dialog.formulas[static_cast<std::size_t>(i + 1)] = Printable(text);
  }
  if (!context.icsdEntryPresenter.RunModal(dialog)) return nullptr;
  return candidates[static_cast<std::size_t>(dialog.chosenEntry - 1)];
}

// The element symbol at the start of text, the longest one in any case, as the scattering-factor
// file spells it; empty when none. Deuterium counts as an element; elements past californium,
// which the file lacks, do not (NO1 is nitrogen).
std::string LeadingElement(std::string_view text, std::size_t& length) {
  constexpr int kLastTabulated = 98;
  for (length = std::min<std::size_t>(2, text.size()); length > 0; --length) {
    const std::string candidate(text.substr(0, length));
    if (std::isalpha(static_cast<unsigned char>(candidate.back())) == 0) continue;
    const gemmi::El element = gemmi::find_element(candidate.c_str());
    if (element == gemmi::El::D ||
        (element != gemmi::El::X && static_cast<int>(element) <= kLastTabulated)) {
      return gemmi::element_name(element);
    }
  }
  return {};
}

bool IsWaterLabel(std::string_view label) {
  const auto lower = [&](std::size_t i) {
    return i < label.size() ? static_cast<char>(std::tolower(static_cast<unsigned char>(label[i])))
                            : '\0';
  };
  return (lower(0) == 'w' && lower(1) == 'a' && lower(2) == 't') ||
         (lower(0) == 'o' && lower(1) == 'w');
}

// The charge after an element: 3+, +3, 2-, -2, + or -; nothing when there is none or it is not a
// whole number.
std::optional<int> ChargeOf(std::string_view rest) {
  if (rest == "+" || rest == "-") return rest == "+" ? 1 : -1;
  if (rest.size() < 2) return std::nullopt;
  const char sign = rest.front() == '+' || rest.front() == '-' ? rest.front() : rest.back();
  const std::string_view digits =
      rest.front() == sign ? rest.substr(1) : rest.substr(0, rest.size() - 1);
  if ((sign != '+' && sign != '-') || digits.empty() ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const int magnitude = LeadingInt(digits);
  return sign == '+' ? magnitude : -magnitude;
}

struct Displacement {
  std::array<double, 6> tensor{};  // 11 22 33 12 13 23
  bool isB = false;
};

// The anisotropic displacements of the block by site label.
std::map<std::string, Displacement> AnisotropicDisplacements(cif::Block& block) {
  std::map<std::string, Displacement> found;
  for (const bool isB : {false, true}) {
    const std::string kind = isB ? "B_" : "U_";
    enum { k11, kLabel, k22, k33, k12, k13, k23 };
    // Each kind is a loop of its own in some files: the tensor's first element finds it.
    cif::Table rows =
        block.find("_atom_site_aniso_", {kind + "11", "label", "?" + kind + "22", "?" + kind + "33",
                                         "?" + kind + "12", "?" + kind + "13", "?" + kind + "23"});
    for (auto row : rows) {
      Displacement displacement{{}, isB};
      bool any = false;
      const int order[] = {k11, k22, k33, k12, k13, k23};
      for (std::size_t k = 0; k < 6; ++k) {
        if (row.has(order[k]) && HasNumber(row[order[k]])) {
          displacement.tensor[k] = NumberOf(row[order[k]]);
          any = true;
        }
      }
      if (any) found.emplace(cif::as_string(row[kLabel]), displacement);
    }
  }
  return found;
}

// Ueq (or Beq from a B tensor): a third of the trace of the tensor in Cartesian axes.
double EquivalentIsotropic(const Displacement& d, const CrystalData& data) {
  const double edges[] = {data.a, data.b, data.c};
  const double cosines[] = {std::cos(data.alpha * kRadian), std::cos(data.beta * kRadian),
                            std::cos(data.gamma * kRadian)};
  const double sines[] = {std::sin(data.alpha * kRadian), std::sin(data.beta * kRadian),
                          std::sin(data.gamma * kRadian)};
  const double volume =
      edges[0] * edges[1] * edges[2] *
      std::sqrt(1.0 - cosines[0] * cosines[0] - cosines[1] * cosines[1] - cosines[2] * cosines[2] +
                2.0 * cosines[0] * cosines[1] * cosines[2]);
  const double star[] = {edges[1] * edges[2] * sines[0] / volume,
                         edges[2] * edges[0] * sines[1] / volume,
                         edges[0] * edges[1] * sines[2] / volume};
  static constexpr int kPairs[6][2] = {{0, 0}, {1, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 2}};
  double sum = 0.0;
  for (int k = 0; k < 6; ++k) {
    const int i = kPairs[k][0], j = kPairs[k][1];
    const double metric = edges[i] * edges[j] * (i == j ? 1.0 : cosines[3 - i - j]);
    sum +=
        (i == j ? 1.0 : 2.0) * d.tensor[static_cast<std::size_t>(k)] * star[i] * star[j] * metric;
  }
  return sum / 3.0;
}

// The cell of the block into data; false after "<tag> not found !!".
bool ReadCell(cif::Block& block, CrystalData& data, UserInterface& ui) {
  double* fields[] = {&data.a, &data.b, &data.c, &data.alpha, &data.beta, &data.gamma};
  for (int i = 0; i < 6; ++i) {
    const std::string* value = FirstValue(block, kCellTags[i]);
    if (value == nullptr || !HasNumber(*value)) {
      ui.ShowMessage(std::string(kCellTags[i]) + " not found !!");
      return false;
    }
    *fields[i] = NumberOf(*value);
  }
  return true;
}

GroupStatement StatementOf(cif::Block& block) {
  GroupStatement statement;
  for (const char* tag : {"_space_group_symop_operation_xyz", "_symmetry_equiv_pos_as_xyz"}) {
    for (const std::string& value : block.find_values(tag)) {
      if (!cif::is_null(value)) statement.operations.push_back(cif::as_string(value));
    }
    if (!statement.operations.empty()) break;
  }
  statement.hall = ValueOf(block, {"_space_group_name_Hall", "_symmetry_space_group_name_Hall"});
  statement.symbol =
      ValueOf(block, {"_space_group_name_H-M_alt", "_symmetry_space_group_name_H-M"});
  const std::string number =
      ValueOf(block, {"_space_group_IT_number", "_symmetry_Int_Tables_number"});
  statement.number = LeadingInt(number);
  return statement;
}

// The symbol as the form shows it: without markup and setting suffix, a blank after the lattice
// letter (P21/c is P 21/c).
std::string ShownSymbol(const std::string& symbol) {
  std::string shown = Printable(WithoutSymbolMarkup(symbol));
  shown = std::string(TrimRight(shown.substr(0, shown.find(':'))));
  if (!shown.empty() && (shown.size() < 2 || shown[1] != ' ')) shown.insert(1, " ");
  return shown;
}

// The atom sites of the block into data; false after a message.
bool ReadAtomSites(cif::Block& block, CrystalData& data, UserInterface& ui) {
  enum { kX, kY, kZ, kLabel, kType, kOccupancy, kU, kB, kCalcFlag, kAdpType, kOldAdpType };
  cif::Table sites =
      block.find("_atom_site_", {"fract_x", "fract_y", "fract_z", "?label", "?type_symbol",
                                 "?occupancy", "?U_iso_or_equiv", "?B_iso_or_equiv", "?calc_flag",
                                 "?adp_type", "?thermal_displace_type"});
  if (!sites.ok()) {
    ui.ShowMessage("atom site not found !!");
    return false;
  }
  const std::map<std::string, Displacement> aniso = AnisotropicDisplacements(block);
  int count = 0;
  int withoutDisplacement = 0;
  for (auto row : sites) {
    // Dummy sites mark centroids and the like; they scatter nothing.
    if (row.has2(kCalcFlag) && cif::as_string(row[kCalcFlag]) == "dum") continue;
    if (count == kMaxAtoms) {
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::size_t i = static_cast<std::size_t>(count++);
    const std::string type = row.has2(kType) ? cif::as_string(row[kType]) : std::string();
    std::string label = row.has2(kLabel) ? cif::as_string(row[kLabel]) : type;
    if (label.empty()) label = FormatText("X%d", count);
    data.atomLabels[i] = label + "/" + ScatteringSpecies(type, label);
    data.x[i] = CoordinateValue(cif::as_string(row[kX]));
    data.y[i] = CoordinateValue(cif::as_string(row[kY]));
    data.z[i] = CoordinateValue(cif::as_string(row[kZ]));
    data.g[i] = row.has(kOccupancy) && HasNumber(row[kOccupancy]) ? NumberOf(row[kOccupancy]) : 1.0;
    const auto tensor = aniso.find(label);
    // Some files give B under the U tag and say so in the type column.
    const int typeColumn = row.has2(kAdpType) ? kAdpType : kOldAdpType;
    const bool givenAsB = row.has2(typeColumn) && cif::as_string(row[typeColumn]).starts_with("B");
    if (row.has(kU) && HasNumber(row[kU])) {
      data.B[i] = (givenAsB ? 1.0 : kEightPiSquared) * NumberOf(row[kU]);
    } else if (row.has(kB) && HasNumber(row[kB])) {
      data.B[i] = NumberOf(row[kB]);
    } else if (tensor != aniso.end()) {
      const double equivalent = EquivalentIsotropic(tensor->second, data);
      data.B[i] = tensor->second.isB ? equivalent : kEightPiSquared * equivalent;
    } else {
      data.B[i] = kDefaultB;
      ++withoutDisplacement;
    }
  }
  data.atomCount = count;
  if (withoutDisplacement > 0) {
    ui.ShowMessage(
        FormatText("No displacement parameter for %d of %d atom sites: B = 0.5 is "
                   "taken for them !!",
                   withoutDisplacement, count));
  }
  return true;
}

}  // namespace

std::string ScatteringSpecies(std::string_view typeSymbol, std::string_view label) {
  std::size_t length = 0;
  if (!typeSymbol.empty()) {
    if (IsWaterLabel(typeSymbol)) return "O";
    const std::string element = LeadingElement(typeSymbol, length);
    if (!element.empty()) {
      const std::optional<int> charge = ChargeOf(typeSymbol.substr(length));
      if (!charge || *charge == 0) return element;
      return element + std::to_string(std::abs(*charge)) + (*charge > 0 ? "+" : "-");
    }
  }
  if (IsWaterLabel(label)) return "O";
  const std::string element = LeadingElement(label, length);
  if (!element.empty()) return element;
  return std::string(typeSymbol.empty() ? label : typeSymbol);
}

bool ReadCifFile(const std::string& path, ImportContext& context) {
  UserInterface& ui = context.ui;
  std::string text;
  if (const TextFileProblem problem = ReadTextFile(path, text); problem != TextFileProblem::kNone) {
    ui.ShowMessage(TextFileMessage(problem, path, "CIF file not found !!"));
    return false;
  }
  std::optional<cif::Document> document = ParseCif(text, path, ui);
  if (!document) return false;
  cif::Block* block = ChooseBlock(*document, context);
  if (block == nullptr) return false;

  // Everything is read into copies, so that a refused file leaves the form's record as it was.
  CrystalData data = context.data;
  CalculationResults results = context.results;
  if (!ReadCell(*block, data, ui) || !ReadAtomSites(*block, data, ui)) return false;
  const GroupStatement statement = StatementOf(*block);
  results.sgSymbol = ShownSymbol(statement.symbol);
  ImportContext reading = WithStorage(context, data, results, ui);
  if (!SettleSpaceGroup(statement, reading)) return false;
  context.data = data;
  context.results = results;
  OfferAxisConversion(context);
  return true;
}

}  // namespace braxel
