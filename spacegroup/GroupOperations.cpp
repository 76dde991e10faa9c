#include "spacegroup/GroupOperations.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace braxel {

namespace {

constexpr int kMaxSettings = 9;        // the setting is one digit in the table's records
constexpr int kFirstCubicGroup = 195;  // the old spelling without the bar is cubic only

// The lattice letter whose centring the run adds for a general reflection condition.
char CentringOf(int generalConditionCode) {
  switch (generalConditionCode) {
    case 4:
      return 'A';
    case 5:
      return 'B';
    case 6:
      return 'C';
    case 13:
      return 'I';
    case 7:
      return 'F';
    case 14:
      return 'R';
    default:
      return 'P';
  }
}

// F d 3 m, Pm3m: the bar of the cubic groups' three-fold inversion axis left out. Empty when the
// symbol has no such three.
std::string WithCubicBar(const std::string& symbol) {
  for (std::size_t i = 1; i < symbol.size(); ++i) {
    if (symbol[i] != '3') continue;
    std::size_t before = i;
    while (before > 0 && symbol[before - 1] == ' ') --before;
    if (before > 0 && std::isalpha(static_cast<unsigned char>(symbol[before - 1])) != 0) {
      return symbol.substr(0, i) + "-" + symbol.substr(i);
    }
  }
  return {};
}

// The symbol's words without an origin or axes letter after them (S origin choice 1, Z origin
// choice 2, H and R the axes, as structure databases write them), which becomes gemmi's suffix
// :1, :2, :H or :R; blanks around "/" are dropped (P 21 /m).
std::string WithSuffix(const std::string& symbol) {
  std::string text;
  for (std::size_t i = 0; i < symbol.size(); ++i) {
    const bool nextToSlash =
        (i + 1 < symbol.size() && symbol[i + 1] == '/') || (!text.empty() && text.back() == '/');
    if (symbol[i] == ' ' && nextToSlash) continue;
    text += symbol[i];
  }
  const std::size_t last = text.find_last_of(' ');
  if (last == std::string::npos || last + 2 != text.size()) return text;
  switch (text.back()) {
    case 'S':
      return text.substr(0, last) + ":1";
    case 'Z':
      return text.substr(0, last) + ":2";
    case 'H':
    case 'R':
      return text.substr(0, last) + ":" + text.back();
    default:
      return text;
  }
}

}  // namespace

std::optional<gemmi::GroupOps> RecordOperations(const SpaceGroupRecord& record) {
  gemmi::GroupOps operations;
  try {
    for (const std::string& code : record.symmetryCodes) {
      operations.sym_ops.push_back(gemmi::parse_triplet(code).wrap());
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (record.centrosymmetric == 1) operations.add_inversion();
  operations.cen_ops = gemmi::centring_vectors(CentringOf(record.conditionCodes[7]));
  return operations;
}

std::optional<int> FindTableSetting(const std::string& tabsgPath, int sgNumber,
                                    const gemmi::GroupOps& operations) {
  const std::vector<gemmi::Op> wanted = operations.all_ops_sorted();
  SpaceGroupRecord record;
  std::string message;
  for (int setting = 1; setting <= kMaxSettings; ++setting) {
    if (ReadSpaceGroupRecord(tabsgPath, sgNumber, setting, record, message) != 0) break;
    const std::optional<gemmi::GroupOps> table = RecordOperations(record);
    if (table && table->all_ops_sorted() == wanted) return setting;
  }
  return std::nullopt;
}

std::string WithoutSymbolMarkup(std::string_view symbol) {
  std::string text;
  for (const char c : symbol) {
    if (c != '\'' && c != '"' && c != '~' && c != '_' && c != '(' && c != ')') text += c;
  }
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

const gemmi::SpaceGroup* SpaceGroupOfSymbol(std::string_view symbol, double alpha, double gamma) {
  const std::string text = WithSuffix(WithoutSymbolMarkup(symbol));
  // A number is no symbol here; gemmi would take it for one.
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])) != 0) return nullptr;
  if (const gemmi::SpaceGroup* group = gemmi::find_spacegroup_by_name(text, alpha, gamma)) {
    return group;
  }
  const std::string barred = WithCubicBar(text);
  if (barred.empty()) return nullptr;
  // The old tables put the origin of these groups at a centre of symmetry: origin choice 2.
  const gemmi::SpaceGroup* group = nullptr;
  if (barred.find(':') == std::string::npos) group = gemmi::find_spacegroup_by_name(barred + ":2");
  if (group == nullptr) group = gemmi::find_spacegroup_by_name(barred);
  return group != nullptr && group->number >= kFirstCubicGroup ? group : nullptr;
}

std::optional<gemmi::GroupOps> OperationsOfSymbol(std::string_view symbol, double alpha,
                                                  double gamma) {
  if (const gemmi::SpaceGroup* group = SpaceGroupOfSymbol(symbol, alpha, gamma)) {
    return group->operations();
  }
  // A lattice the tables do not combine with the rest of the symbol (A -1, B 1 21 1): the
  // primitive group's operations with that lattice's centring.
  const std::string text = WithoutSymbolMarkup(symbol);
  const char lattice = text.empty() ? '\0' : static_cast<char>(std::toupper(text[0]));
  if (std::string_view("ABCIFR").find(lattice) == std::string_view::npos) return std::nullopt;
  const gemmi::SpaceGroup* primitive = SpaceGroupOfSymbol("P " + text.substr(1), alpha, gamma);
  if (primitive == nullptr) return std::nullopt;
  gemmi::GroupOps operations = primitive->operations();
  operations.cen_ops = gemmi::centring_vectors(lattice);
  return operations;
}

bool SymbolNamesOperations(std::string_view symbol, const gemmi::GroupOps& operations, double alpha,
                           double gamma) {
  const std::vector<gemmi::Op> wanted = operations.all_ops_sorted();
  const std::optional<gemmi::GroupOps> named = OperationsOfSymbol(symbol, alpha, gamma);
  if (!named) return false;
  if (named->all_ops_sorted() == wanted) return true;
  const gemmi::SpaceGroup* group = SpaceGroupOfSymbol(symbol, alpha, gamma);
  if (group == nullptr || WithSuffix(WithoutSymbolMarkup(symbol)).find(':') != std::string::npos) {
    return false;
  }
  for (const gemmi::SpaceGroup& other : gemmi::spacegroup_tables::main) {
    if (std::string_view(other.hm) == group->hm && other.operations().all_ops_sorted() == wanted) {
      return true;
    }
  }
  return false;
}

}  // namespace braxel
