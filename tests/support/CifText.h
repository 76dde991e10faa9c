#pragma once

#include <string>

#include "support/TestFiles.h"

namespace braxel::testing {

// Diamond silicon in origin choice 2 (Si on 8a at 1/8 1/8 1/8), with the 192 operations of its
// group, as a CIF.
inline std::string DiamondCif(bool withOperations) {
  const std::string text = ReadFile(BRAXEL_TEST_DATA_DIR "/import/si-fd3m.cif");
  if (withOperations) return text;
  const std::size_t loop = text.find("loop_\n_space_group_symop_id");
  return text.substr(0, loop) + text.substr(text.find("loop_", loop + 1));
}

}  // namespace braxel::testing
