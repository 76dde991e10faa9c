#pragma once

#include <string>

#include "engine/CalculationRun.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel::testing {

// NaCl (Fm-3m, a = 5.6402, Na at 0 0 0, Cl at 1/2 1/2 1/2, Cu) with its table record and
// scattering factors written into dir, plus any further table records.
inline RunInput NaClRunInput(const TempDir& dir, const ProfileParameters& profile,
                             const std::string& moreRecords = "") {
  WriteFile(dir.File("tabsg"), FmThreeMRecord() + moreRecords);
  WriteFile(dir.File("fscat"), NaClScatteringFile());
  RunInput input;
  input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), dir.File("tabsg"),
                 dir.File("fscat")};
  input.profile = profile;
  input.sgNumber = 225;
  input.settingNumber = 1;
  input.targetIndex = 4;
  input.cell = {5.6402, 5.6402, 5.6402, 90, 90, 90};
  input.atomCount = 2;
  input.species[0] = "Na";
  input.species[1] = "Cl";
  input.g[0] = input.g[1] = 1.0;
  input.x[1] = input.y[1] = input.z[1] = 0.5;
  return input;
}

}  // namespace braxel::testing
