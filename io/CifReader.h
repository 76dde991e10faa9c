#pragma once

#include <string>

#include "io/ImportContext.h"
#include "platform/TextInput.h"

namespace braxel {

// Reads a CIF file: the space-group symbol and number, the cell, and the atom-site loop (label,
// fractional coordinates, U or B, occupancy). Labels get their element (Fe1 -> Fe1/Fe); a
// missing number is looked up from the symbol; the setting follows the file's symmetry
// operations, or its symbol suffix, or a rhombohedral cell; the axis conversion is offered.
// False after a shown message; the record keeps what was stored before it.
bool ReadCifFile(const std::string& path, ImportContext& context);

// Searches on from line for the cell tag (the first word a leading part of it) and stores its
// value into cell field index (0 a ... 5 gamma). 0 on success; 1 after showing
// "<tag> not found !!" when the file ends first or the value is "?".
int ReadCifCellValue(LineReader& stream, const std::string& tag, std::string& line,
                     std::string& word1, std::string& word2, int index, CrystalData& data,
                     UserInterface& ui);

}  // namespace braxel
