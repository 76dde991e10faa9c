#pragma once

#include <string>

#include "io/ImportContext.h"

namespace braxel {

// Reads a RIETAN .ins file: the "VNS1" space-group line, the "CELLQ" cell line and the atom
// lines up to "}". Then looks up the symbol, sets the unique axis from the angles and offers the
// axis conversion. False after a shown message; the record keeps what was stored before it.
bool ReadInsFile(const std::string& path, ImportContext& context);

}  // namespace braxel
