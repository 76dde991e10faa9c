#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/SymmetryCodes.h"

namespace braxel {

// A symmetry operation as CIF files write it: 'x, y, z', -x+1/2,y,-z+1/2, 1/2+X, x+0.5, -y+x...
// False when the text is no such operation.
bool ParseCifOperation(std::string_view text, SymmetryOperation& operation);

// Equal rotations and equal translations modulo whole cell edges.
bool SameOperation(const SymmetryOperation& first, const SymmetryOperation& second);

// True when every operation of one list is one of the other and back again.
bool SameOperationSets(const std::vector<SymmetryOperation>& first,
                       const std::vector<SymmetryOperation>& second);

// The setting of group sgNumber whose table record, expanded as a run expands it, has exactly
// the given operations; nothing when no setting has.
std::optional<int> FindSettingByOperations(const std::string& tabsgPath, int sgNumber,
                                           const std::vector<SymmetryOperation>& operations);

}  // namespace braxel
