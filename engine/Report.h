#pragma once

#include <cstddef>
#include <string>

#include "platform/FileReplace.h"

namespace braxel {

class CalculationRun;
struct RunInput;

// Writes the report of a finished run: input, radiation, space group, symmetry codes,
// reflection conditions, atoms, formula and density, positions in the cell and the reported
// reflections. The old report is replaced only when report is committed; false when the new one
// cannot be written.
bool WriteReport(FileReplacement& report, const CalculationRun& run, const RunInput& input);

// The reported reflections as the report ends with them, from the heading " Genarated
// reflections:" on, in place of what text held. With ReflectionListRoom(run) reserved in text
// beforehand it is formed without growing.
void FormReflectionList(const CalculationRun& run, std::string& text);

// The room the list of run's reported reflections takes.
std::size_t ReflectionListRoom(const CalculationRun& run);

}  // namespace braxel
