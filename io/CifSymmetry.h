#pragma once

#include <string_view>

#include "engine/SymmetryCodes.h"

namespace braxel {

// A symmetry operation as CIF files write it: 'x, y, z', -x+1/2,y,-z+1/2, 1/2+X, x+0.5, -y+x...
// False when the text is no such operation.
bool ParseCifOperation(std::string_view text, SymmetryOperation& operation);

}  // namespace braxel
