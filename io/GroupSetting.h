#pragma once

#include <string>
#include <vector>

#include "io/ImportContext.h"

namespace braxel {

// What a structure file states about its space group; any part may be missing.
struct GroupStatement {
  std::vector<std::string> operations;  // the listed symmetry operations, as written
  std::string hall;                     // Hall symbol
  std::string symbol;                   // Hermann-Mauguin symbol, in any spelling
  int number = 0;                       // International Tables number; 0 when not given
};

// Settles the record's space-group number and setting from what the file states. The listed
// operations decide; without them the Hall symbol, then the Hermann-Mauguin symbol, then the
// number; a message says so when the rest of the statement names another group or setting.
// When the operations are those of no setting of the table as they stand (other axes, another
// origin, a centred triclinic cell), the cell, the coordinates and the operations are carried to
// the standard setting, and a message states the transformation. The symbol shown becomes the
// table's where the record's does not name the setting taken; a monoclinic setting sets the
// unique axis. The statement's symbol alone may name no group that the tables know: the number
// stays 0 and "Space group number not found !!!" is shown. False, after a message, when the
// statement names no group or the operations fit no setting of the table.
bool SettleSpaceGroup(const GroupStatement& statement, ImportContext& context);

}  // namespace braxel
