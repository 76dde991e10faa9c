#include "engine/Formula.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "platform/TextInput.h"

namespace braxel {

namespace {

// Avogadro's number times 1e-24: g/mol per cubic angstrom to g/cm3.
constexpr double kAvogadroPerCubicAngstrom = 0.602214076;

}  // namespace

std::string ElementOf(const std::string& species) {
  std::size_t end = 0;
  while (end < species.size() && std::isalpha(static_cast<unsigned char>(species[end]))) ++end;
  return species.substr(0, end);
}

FormulaAndDensity ComputeFormulaAndDensity(int atomCount, const std::string* species,
                                           const double* g, const int* siteMultiplicity,
                                           const double* weight, double volume) {
  FormulaAndDensity result;
  struct Group {
    std::string element;
    double count;
  };
  std::vector<Group> groups;
  for (int j = 0; j < atomCount; ++j) {
    const double count = siteMultiplicity[j] * g[j];
    result.weight += weight[j] * count;
    const std::string element = ElementOf(species[j]);
    bool found = false;
    for (Group& group : groups) {
      if (group.element == element) {
        group.count += count;
        found = true;
        break;
      }
    }
    if (!found) groups.push_back({element, count});
  }
  for (const int divisor : {2, 3, 4, 6, 8, 12, 16, 18, 24, 32, 36, 48}) {
    bool divides = true;
    for (const Group& group : groups) divides = divides && std::fmod(group.count, divisor) == 0.0;
    if (divides) result.Z = divisor;
  }
  for (const Group& group : groups) {
    // Rounded as a conversion to int would, without its limits: an occupancy of 1e10 is still
    // written as its count. Adding 0 makes -0 plain 0.
    result.formula +=
        group.element + FormatText("%.0f ", std::trunc(group.count / result.Z + 0.5) + 0.0);
  }
  result.density = result.weight / (volume * kAvogadroPerCubicAngstrom);
  return result;
}

}  // namespace braxel
