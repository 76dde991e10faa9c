#pragma once

#include <cstdio>
#include <string>

namespace braxel {

class CalculationRun;
struct RunInput;

// Writes the report of a finished run: input, radiation, space group, symmetry codes,
// reflection conditions, atoms, formula and density, positions in the cell and the reported
// reflections. The file is replaced only once the new one is complete; false when it cannot
// be written.
bool WriteReport(const std::string& reportPath, const CalculationRun& run, const RunInput& input);

// The reported reflections as the report ends with them, from the heading " Genarated
// reflections:" on.
void WriteReflectionList(std::FILE* file, const CalculationRun& run);

}  // namespace braxel
