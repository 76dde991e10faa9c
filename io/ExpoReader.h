#pragma once

#include <string>

#include "io/ImportContext.h"

namespace braxel {

// Reads an EXPO listing: the cell, the space-group symbol (number and setting become 0) and the
// peaks of the solution chosen in CExpoSolutionDlg. False after a shown message, or silently
// when the choice is cancelled; the record keeps what was stored before.
bool ReadExpoFile(const std::string& path, ImportContext& context);

}  // namespace braxel
