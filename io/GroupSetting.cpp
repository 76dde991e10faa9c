#include "io/GroupSetting.h"

#include <spglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <gemmi/symmetry.hpp>
#include <gemmi/unitcell.hpp>
#include <numeric>
#include <optional>

#include "engine/Capacity.h"
#include "io/CifSymmetry.h"
#include "io/ImportText.h"
#include "platform/TextInput.h"
#include "spacegroup/GroupOperations.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Vector = std::array<double, 3>;

constexpr int kDen = gemmi::Op::DEN;
// Files round their cells, never their groups: a tolerance in angstrom for spglib's search.
constexpr double kSymmetryPrecision = 1e-3;
// 0.3333 and 0.333 in a listed operation are thirds.
constexpr double kTranslationTolerance = 0.05;
constexpr double kExact = 1e-6;
constexpr double kRadian = M_PI / 180.0;
constexpr int kUniqueAxisC = 4;  // the Laue index of monoclinic records with unique axis c

// value as a whole number of 24ths, when it is one to within tolerance (in 24ths).
bool ToDen(double value, int& out, double tolerance) {
  const double scaled = value * kDen;
  out = static_cast<int>(std::lround(scaled));
  return std::fabs(scaled - out) <= tolerance;
}

// A rotation of a crystal: small whole numbers that give the identity again within six turns.
// Anything else is no space group's, and combining it would only grow its numbers.
bool IsCrystalRotation(const gemmi::Op::Rot& rot) {
  for (const auto& row : rot) {
    for (const int value : row) {
      if (value % kDen != 0 || std::abs(value) > 2 * kDen) return false;
    }
  }
  const gemmi::Op op{rot, {0, 0, 0}};
  gemmi::Op power = op;
  for (int turn = 1; turn <= 6; ++turn) {
    if (power.rot == gemmi::Op::identity().rot) return true;
    power = power.combine(op);
  }
  return false;
}

// Whether the rotations of the operations generate a point group: at most 48 crystal rotations.
// Each product is checked before it is used again, so the numbers stay small.
bool GeneratePointGroup(const std::vector<gemmi::Op>& operations) {
  std::vector<gemmi::Op::Rot> rotations = {gemmi::Op::identity().rot};
  for (std::size_t i = 0; i < rotations.size(); ++i) {
    for (const gemmi::Op& op : operations) {
      const gemmi::Op::Rot product = gemmi::Op{rotations[i], {0, 0, 0}}.combine(op).rot;
      if (!IsCrystalRotation(product)) return false;
      if (std::find(rotations.begin(), rotations.end(), product) != rotations.end()) continue;
      if (rotations.size() == 48) return false;
      rotations.push_back(product);
    }
  }
  return true;
}

std::optional<gemmi::Op> OperationOf(const std::string& text) {
  SymmetryOperation parsed;
  if (!ParseCifOperation(text, parsed)) return std::nullopt;
  gemmi::Op op;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (!ToDen(parsed.R[r][c], op.rot[r][c], kExact)) return std::nullopt;
    }
    if (!ToDen(parsed.t[r], op.tran[r], kTranslationTolerance * kDen)) return std::nullopt;
  }
  return op.wrap();
}

bool SameGroup(const gemmi::GroupOps& first, const gemmi::GroupOps& second) {
  return first.all_ops_sorted() == second.all_ops_sorted();
}

// The group of the listed operations: nothing when one is unreadable or listed twice, or when they
// are not the elements of one space group with its centring.
std::optional<gemmi::GroupOps> ListedGroup(const std::vector<std::string>& texts) {
  std::vector<gemmi::Op> listed;
  for (const std::string& text : texts) {
    const std::optional<gemmi::Op> op = OperationOf(text);
    // An operation listed twice (x,y,z and x-1,y,z) marks a list that is no group's.
    if (!op || std::find(listed.begin(), listed.end(), *op) != listed.end()) return std::nullopt;
    listed.push_back(*op);
  }
  if (!GeneratePointGroup(listed)) return std::nullopt;
  gemmi::GroupOps group = gemmi::split_centering_vectors(listed);
  group.cen_ops.push_back({0, 0, 0});  // a list without the identity still has it
  std::sort(group.cen_ops.begin(), group.cen_ops.end());
  group.cen_ops.erase(std::unique(group.cen_ops.begin(), group.cen_ops.end()), group.cen_ops.end());
  try {
    group.add_missing_elements();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (group.order() > kMaxOperations) return std::nullopt;
  const std::vector<gemmi::Op> all = group.all_ops_sorted();
  for (const gemmi::Op& op : listed) {
    if (!std::binary_search(all.begin(), all.end(), op)) return std::nullopt;
  }
  return group;
}

std::optional<gemmi::GroupOps> HallGroup(std::string hall) {
  if (hall.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  // CIF writes the blanks of a Hall symbol as underscores in some files: -P_2yn.
  std::replace(hall.begin(), hall.end(), '_', ' ');
  try {
    return gemmi::symops_from_hall(hall.c_str());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// The group of a number: its reference setting, on rhombohedral axes for such a cell.
const gemmi::SpaceGroup* NumberedGroup(int number, const CrystalData& data) {
  const gemmi::SpaceGroup* reference = gemmi::find_spacegroup_by_number(number);
  if (reference == nullptr) return nullptr;
  return gemmi::find_spacegroup_by_name(reference->hm, data.alpha, data.gamma);
}

// x' = P x + p carries coordinates to the standard setting of the group, number.
struct BasisChange {
  Matrix P;
  Vector p;
  int number;
};

// Edges above 0 and angles between 0 and 180 degrees that close a cell of some volume: a cell
// whose axes can be changed (gemmi refuses an angle of 0 or 180 degrees by throwing, and spglib
// fails on the numbers of a cell that does not close).
bool MakesACell(const CrystalData& data) {
  for (const double edge : {data.a, data.b, data.c}) {
    if (!(edge > 0.0 && std::isfinite(edge))) return false;
  }
  double cosines[3];
  const double angles[3] = {data.alpha, data.beta, data.gamma};
  for (int i = 0; i < 3; ++i) {
    if (!(angles[i] > 0.0 && angles[i] < 180.0)) return false;
    cosines[i] = std::cos(angles[i] * kDegree);
  }
  const auto [ca, cb, cg] = cosines;
  return 1.0 - ca * ca - cb * cb - cg * cg + 2.0 * ca * cb * cg > 1e-9;
}

// spglib's transformation to the standard setting, found for two general positions and their
// images: a point set with the operations' symmetry and no more.
std::optional<BasisChange> StandardBasisChange(const gemmi::GroupOps& group,
                                               const CrystalData& data) {
  if (!MakesACell(data)) return std::nullopt;
  const gemmi::UnitCell cell(data.a, data.b, data.c, data.alpha, data.beta, data.gamma);
  if (!std::isfinite(cell.volume)) return std::nullopt;  // edges too long for its numbers
  double lattice[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) lattice[i][j] = cell.orth.mat[i][j];
  }
  static constexpr std::array<double, 3> kGeneral[] = {{0.1127, 0.2173, 0.3391},
                                                       {0.3517, 0.4231, 0.0739}};
  std::vector<double> positions;
  std::vector<int> types;
  for (int k = 0; k < 2; ++k) {
    for (const gemmi::Op op : group) {
      for (const double x : op.apply_to_xyz(kGeneral[k])) positions.push_back(x - std::floor(x));
      types.push_back(k + 1);
    }
  }
  SpglibDataset* dataset =
      spg_get_dataset(lattice, reinterpret_cast<double(*)[3]>(positions.data()), types.data(),
                      static_cast<int>(types.size()), kSymmetryPrecision);
  if (dataset == nullptr) return std::nullopt;
  std::optional<BasisChange> change;
  // Fewer operations: the cell's metric does not carry them all.
  if (dataset->n_operations == group.order()) {
    change = BasisChange{};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) change->P[i][j] = dataset->transformation_matrix[i][j];
      change->p[i] = dataset->origin_shift[i];
    }
    change->number = dataset->spacegroup_number;
  }
  spg_free_dataset(dataset);
  return change;
}

std::optional<gemmi::Op> BasisOp(const BasisChange& change) {
  gemmi::Op op;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (!ToDen(change.P[i][j], op.rot[i][j], kExact)) return std::nullopt;
    }
    if (!ToDen(change.p[i], op.tran[i], kExact)) return std::nullopt;
  }
  return op;
}

Matrix Inverse(const Matrix& m) {
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  Matrix inverse;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inverse[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
    }
  }
  return inverse;
}

// A multiple of 1/24 as 1/2, -3/4 or 2; other values with four decimals.
std::string FractionText(double value) {
  int n = 0;
  if (!ToDen(value, n, kExact)) return FormatText("%.4f", value);
  const int divisor = std::gcd(std::abs(n), kDen);
  if (n % kDen == 0) return std::to_string(n / kDen);
  return FormatText("%d/%d", n / divisor, kDen / divisor);
}

// An axis of the new cell in terms of the old ones: -c, a+b, 1/2b+1/2c.
std::string AxisText(const Matrix& Q, int column) {
  std::string text;
  for (int i = 0; i < 3; ++i) {
    const double coefficient = Q[i][column];
    if (std::fabs(coefficient) < kExact) continue;
    if (coefficient < 0) {
      text += "-";
    } else if (!text.empty()) {
      text += "+";
    }
    if (std::fabs(std::fabs(coefficient) - 1.0) > kExact)
      text += FractionText(std::fabs(coefficient));
    text += "abc"[i];
  }
  return text;
}

double IntoCell(double value) {
  value -= std::floor(value);
  return value >= 1.0 - 1e-12 ? 0.0 : value;
}

// Carries cell and coordinates to the new setting and says so.
void ChangeBasis(const BasisChange& change, const std::string& tableSymbol, CrystalData& data,
                 UserInterface& ui) {
  const Matrix Q = Inverse(change.P);  // columns: the new axes in terms of the old
  const double lengths[] = {data.a, data.b, data.c};
  const double cosines[] = {std::cos(data.alpha * kRadian), std::cos(data.beta * kRadian),
                            std::cos(data.gamma * kRadian)};
  Matrix G;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      G[i][j] = lengths[i] * lengths[j] * (i == j ? 1.0 : cosines[3 - i - j]);
    }
  }
  Matrix newG{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) {
        for (int l = 0; l < 3; ++l) newG[i][j] += Q[k][i] * G[k][l] * Q[l][j];
      }
    }
  }
  // Files give a cell to a few decimals: what the arithmetic adds beyond 1e-9 is noise, and a
  // permuted cell keeps the file's values exactly.
  const auto rounded = [](double value) { return std::round(value * 1e9) / 1e9; };
  double* edges[] = {&data.a, &data.b, &data.c};
  for (int i = 0; i < 3; ++i) *edges[i] = rounded(std::sqrt(newG[i][i]));
  const auto angle = [&](int i, int j) {
    return rounded(
        std::acos(std::clamp(newG[i][j] / std::sqrt(newG[i][i] * newG[j][j]), -1.0, 1.0)) /
        kRadian);
  };
  data.alpha = angle(1, 2);
  data.beta = angle(0, 2);
  data.gamma = angle(0, 1);
  for (int site = 0; site < data.atomCount; ++site) {
    const std::size_t s = static_cast<std::size_t>(site);
    const Vector x = {data.x[s], data.y[s], data.z[s]};
    double* targets[] = {&data.x[s], &data.y[s], &data.z[s]};
    for (int i = 0; i < 3; ++i) {
      *targets[i] = IntoCell(change.P[i][0] * x[0] + change.P[i][1] * x[1] + change.P[i][2] * x[2] +
                             change.p[i]);
    }
  }
  std::string origin;
  for (int i = 0; i < 3; ++i) {
    const double o = -(Q[i][0] * change.p[0] + Q[i][1] * change.p[1] + Q[i][2] * change.p[2]);
    if (i > 0) origin += ' ';
    origin += FractionText(IntoCell(o));
  }
  ui.ShowMessage(FormatText(
      "Cell and coordinates converted to the standard setting %s of space group %d: a' = %s, "
      "b' = %s, c' = %s, origin at %s of the file's axes !!!",
      tableSymbol.c_str(), change.number, AxisText(Q, 0).c_str(), AxisText(Q, 1).c_str(),
      AxisText(Q, 2).c_str(), origin.c_str()));
}

// The group's number: gemmi's for a setting it tabulates, else spglib's.
int NumberOf(const gemmi::GroupOps& group, const CrystalData& data) {
  if (const gemmi::SpaceGroup* known = gemmi::find_spacegroup_by_ops(group)) return known->number;
  const std::optional<BasisChange> change = StandardBasisChange(group, data);
  return change ? change->number : 0;
}

// The table's group and setting with the operations: as they stand, or in the standard setting
// they are carried to.
struct Settled {
  int number;
  int setting;
  std::optional<BasisChange> change;
};

std::optional<Settled> TableSettingOf(const gemmi::GroupOps& group, int number,
                                      const CrystalData& data, const std::string& tabsgPath) {
  if (number != 0) {
    if (const std::optional<int> setting = FindTableSetting(tabsgPath, number, group)) {
      return Settled{number, *setting, std::nullopt};
    }
  }
  const std::optional<BasisChange> change = StandardBasisChange(group, data);
  const std::optional<gemmi::Op> basis = change ? BasisOp(*change) : std::nullopt;
  if (!basis) return std::nullopt;
  gemmi::GroupOps standard = group;
  standard.change_basis_forward(*basis);
  const std::optional<int> setting = FindTableSetting(tabsgPath, change->number, standard);
  if (!setting) return std::nullopt;
  return Settled{change->number, *setting, change};
}

// The table's lookups of a symbol gemmi does not read; the record's number and setting, or 0.
bool SettleBySymbolText(const std::string& symbol, ImportContext& context) {
  CrystalData& data = context.data;
  data.sgNumber = 0;
  FindSgBySymbol(context.tabsgPath, symbol, data.sgNumber, data.settingNumber, context.ui);
  if (data.sgNumber == 0) {
    FindSgBeyondTable(context.tabsgPath, context.settingTablePath, symbol, data.sgNumber,
                      data.settingNumber, context.ui);
  }
  if (data.sgNumber == 0) context.ui.ShowMessage("Space group number not found !!!");
  return true;
}

}  // namespace

bool SettleSpaceGroup(const GroupStatement& statement, ImportContext& context) {
  CrystalData& data = context.data;
  UserInterface& ui = context.ui;
  const std::optional<gemmi::GroupOps> listed =
      statement.operations.empty() ? std::nullopt : ListedGroup(statement.operations);
  if (!statement.operations.empty() && !listed) {
    ui.ShowMessage(
        "Symmetry operations of the file are not those of a space group and are "
        "not used !!!");
  }
  const std::optional<gemmi::GroupOps> hall = HallGroup(statement.hall);
  const std::optional<gemmi::GroupOps> named =
      OperationsOfSymbol(statement.symbol, data.alpha, data.gamma);
  const gemmi::SpaceGroup* numbered =
      statement.number != 0 ? NumberedGroup(statement.number, data) : nullptr;

  gemmi::GroupOps group;
  std::string source;
  std::vector<std::string> otherwise;
  const std::string symbol = WithoutSymbolMarkup(statement.symbol);
  if (listed) {
    group = *listed;
    source = "symmetry operations";
  } else if (hall) {
    group = *hall;
    source = "Hall symbol";
  } else if (named) {
    group = *named;
    source = "symbol";
  } else if (numbered) {
    group = numbered->operations();
    source = "number";
  } else if (!symbol.empty()) {
    return SettleBySymbolText(symbol, context);
  } else {
    ui.ShowMessage("Space group name not found !!");
    return false;
  }
  const int number = NumberOf(group, data);
  if (listed && hall && !SameGroup(*hall, group)) {
    otherwise.push_back("Hall symbol " + Printable(statement.hall));
  }
  const bool symbolAgrees =
      named && SymbolNamesOperations(statement.symbol, group, data.alpha, data.gamma);
  if ((listed || hall) && named && !symbolAgrees) {
    otherwise.push_back("symbol " + Printable(symbol));
  }
  if (statement.number != 0 && statement.number != number) {
    otherwise.push_back(FormatText("number %d", statement.number));
  }
  if (!otherwise.empty()) {
    std::string list;
    for (const std::string& part : otherwise) {
      if (!list.empty()) list += ", ";
      list += part;
    }
    ui.ShowMessage(FormatText("Space group %d taken from the %s; the file's %s %s otherwise !!!",
                              number, source.c_str(), list.c_str(),
                              otherwise.size() == 1 ? "says" : "say"));
  }

  const std::optional<Settled> settled = TableSettingOf(group, number, data, context.tabsgPath);
  SpaceGroupRecord record;
  std::string message;
  if (!settled || ReadSpaceGroupRecord(context.tabsgPath, settled->number, settled->setting, record,
                                       message) != 0) {
    ui.ShowMessage(
        MakesACell(data)
            ? FormatText("The %s of the file fit no setting of the space-group table !!!",
                         source.c_str())
            : FormatText("The cell of the file makes no cell (edges above 0, angles between 0 and "
                         "180 degrees), so its %s cannot be carried to a setting of the "
                         "space-group table !!!",
                         source.c_str()));
    return false;
  }
  if (settled->change) ChangeBasis(*settled->change, record.symbol, data, ui);
  data.sgNumber = settled->number;
  data.settingNumber = settled->setting;
  std::string& shown = context.results.sgSymbol;
  if (settled->change || shown.empty() || !symbolAgrees) {
    shown = record.symbol;
  }
  if (AxisConversionModeOf(settled->number) == kMonoclinicSection) {
    context.results.uniqueAxis = record.laueIndex == kUniqueAxisC ? "c" : "b";
  }
  return true;
}

}  // namespace braxel
