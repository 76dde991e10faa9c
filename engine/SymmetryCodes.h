#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "engine/Cell.h"

namespace braxel {

struct SymmetryOperation {
  double R[3][3] = {};  // row = new coordinate, column = old coordinate
  double t[3] = {};     // fractions of the cell edges
};

struct Position {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The distinct images of every atom site in the cell.
struct EquivalentPositions {
  EquivalentPositions() = default;
  EquivalentPositions(int siteCount, int copiesPerSite) { Resize(siteCount, copiesPerSite); }
  // Room for siteCount sites of up to copiesPerSite copies each.
  void Resize(int siteCount, int copiesPerSite) {
    stride_ = static_cast<std::size_t>(copiesPerSite);
    positions.assign(static_cast<std::size_t>(siteCount) * stride_, Position{});
  }
  Position& At(int site, int copy) { return positions[Index(site, copy)]; }
  const Position& At(int site, int copy) const { return positions[Index(site, copy)]; }

  std::array<int, kMaxAtoms> siteMultiplicity{};
  int generalSites = 0;  // operations of the expanded list
  std::vector<Position> positions;

 private:
  std::size_t Index(int site, int copy) const {
    return static_cast<std::size_t>(site) * stride_ + static_cast<std::size_t>(copy);
  }
  std::size_t stride_ = 0;
};

// False when the text breaks the code grammar (letters x y z, signs, the digits 1 2 3 4 6,
// "/" and three components separated by ",").
bool ParseSymmetryCode(std::string_view code, SymmetryOperation& operation);

// Appends the inverted operations of a centrosymmetric group (unless the list holds the
// inversion already) and the lattice-centring copies chosen by the general condition code.
// False when the expanded list would exceed the capacity of operations.
bool ExpandOperations(std::span<SymmetryOperation> operations, int& count, int centrosymmetric,
                      int generalConditionCode);

// The operations of a record: its codes parsed and expanded. 0 on success, -1 with the
// message when there is no code, a code is unreadable or the list exceeds the capacity.
int BuildOperations(const std::vector<std::string>& symmetryCodes, int sgNumber,
                    int centrosymmetric, int generalConditionCode,
                    std::span<SymmetryOperation> operations, int& count, std::string& runMessage);

// The distinct images in the cell of every site under the operations. Images closer to each
// other than 0.1 angstrom (nearest periodic image, with the cell's metric) are one position, so
// that coordinates written with a few decimals (0.3333, 0.667) still give a special position;
// the first of them is kept.
void GenerateEquivalentPositions(std::span<const SymmetryOperation> operations, const Cell& cell,
                                 int siteCount, const double* x, const double* y, const double* z,
                                 EquivalentPositions& result);

}  // namespace braxel
