#pragma once

#include <string>

namespace braxel {

class CalculationRun;
struct RunInput;

// Writes the report of a finished run: input, radiation, space group, symmetry codes,
// reflection conditions, atoms, formula and density, positions in the cell and the reported
// reflections. The file is replaced only once the new one is complete; false when it cannot
// be written.
bool WriteReport(const std::string& reportPath, const CalculationRun& run, const RunInput& input);

}  // namespace braxel
