#pragma once

#include <string>

#include "io/ImportContext.h"

namespace braxel {

// Reads an ICSD text export, of the keyword layout (" COL ", " CELL", " SGR", " PARM ",
// " WYCK ") or of the block layout ("*data" entries, chosen in CIcsdEntryDlg when there are
// several). Labels carry the ion as species (Fe1/Fe3+); B is 0.5. Offers the axis conversion.
// False after a shown message; the record keeps what was stored before it.
bool ReadIcsdFile(const std::string& path, ImportContext& context);

}  // namespace braxel
