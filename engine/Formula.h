#pragma once

#include <string>

namespace braxel {

struct FormulaAndDensity {
  std::string formula;   // "Na1 Cl1 ": element, count per formula unit, blank
  int Z = 1;             // formula units in the cell
  double weight = 0.0;   // mass of the cell content, g/mol
  double density = 0.0;  // g/cm3
};

// The element of a species: its leading letters (Fe3+ and Fe2+ are Fe, Na1+ is Na).
std::string ElementOf(const std::string& species);

// The cell content of the atoms (count = siteMultiplicity x g), the largest Z of
// 2, 3, 4, 6, 8, 12, 16, 18, 24, 32, 36, 48 that divides every element's count, and the
// density of a cell of volume (cubic angstrom).
FormulaAndDensity ComputeFormulaAndDensity(int atomCount, const std::string* species,
                                           const double* g, const int* siteMultiplicity,
                                           const double* weight, double volume);

}  // namespace braxel
