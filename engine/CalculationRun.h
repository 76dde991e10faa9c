#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/Capacity.h"
#include "engine/Enumeration.h"
#include "engine/Intensities.h"
#include "engine/ProfileParameters.h"
#include "engine/Reflection.h"
#include "engine/ScatteringFactors.h"
#include "engine/SymmetryCodes.h"
#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {

// The files a run reads and writes.
struct RunFiles {
  std::string reportPath;
  std::string patternPath;
  std::string tabsgPath;
  std::string fscatPath;
};

// Everything a run is given: the crystal (species already cut from the labels), its files and
// the profile parameters.
struct RunInput {
  RunFiles files;
  ProfileParameters profile;

  int sgNumber = 0;
  int settingNumber = 0;
  int targetIndex = 4;
  int radiationKind = 1;  // handed on by the form, not used
  Cell cell;
  int atomCount = 0;
  std::array<std::string, kMaxAtoms> species;
  std::array<double, kMaxAtoms> g{};
  std::array<double, kMaxAtoms> x{};
  std::array<double, kMaxAtoms> y{};
  std::array<double, kMaxAtoms> z{};
  std::array<double, kMaxAtoms> B{};
};

// One calculation run and its working storage, which is obtained once when the run is made
// and released with it. After RunCalculation the fields hold what the report prints.
class CalculationRun {
 public:
  // True on success; false with the message in runMessage, which the report then holds, unless
  // the disk or the folder refused the run's files: the last run's report and pattern file then
  // stay as they were.
  bool RunCalculation(const RunInput& input, std::string& runMessage);

  SpaceGroupRecord record;
  int pointGroupIndex = 0;
  double ka1 = 0.0;
  double ka2 = 0.0;
  std::array<SymmetryOperation, kMaxOperations> operations;  // expanded from the codes
  int operationCount = 0;
  IndexLimits limits;
  int generatedCount = 0;  // reflections the enumeration lists, those beyond the range included
  int entryCount = 0;      // entries computed: Ka1 and Ka2 in ascending twoTheta
  std::vector<Reflection> entries;
  ScatteringFactorTable f;  // per entry
  AtomScattering atoms;
  double volume = 0.0;
  EquivalentPositions positions;
  int firstReported = 0;  // 1-based, entryCount + 1 when none is in range
  int lastReported = 0;
  std::string reflectionList;  // the reported reflections as the report ends with them

 private:
  int Calculate(const RunInput& input, std::string& runMessage, bool& filesRefused);
  // The entries in ascending twoTheta with their scattering factors, from the reflections of
  // the index box; the list of those is released at the end.
  int ListEntries(const RunInput& input, std::span<const SymmetryOperation> operations,
                  std::string& runMessage);
  // The Ka1 and Ka2 entries of the listed reflections in ascending twoTheta, those the run
  // computes: they can exist and lie within the range or reach into it with their peak.
  void SelectEntries(const std::vector<Reflection>& forms, const ProfileParameters& profile);
};

// The report of a failed run: the run's message as its only text, replacing the last report,
// and no pattern file left to pass for the run's result. False when the report cannot be
// written; both files then stay as they were.
bool WriteFailureReport(const RunFiles& files, const std::string& runMessage);

}  // namespace braxel
