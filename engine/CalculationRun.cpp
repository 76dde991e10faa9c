#include "engine/CalculationRun.h"

#include <cstdio>
#include <memory>

#include "engine/Classification.h"
#include "engine/Profile.h"
#include "engine/Report.h"
#include "engine/XRayTarget.h"
#include "platform/TextInput.h"

namespace braxel {

CalculationRun::CalculationRun() : entries(kMaxReflectionEntries) {}

bool WriteFailureReport(const std::string& reportPath, const std::string& runMessage) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> report(std::fopen(reportPath.c_str(), "w"),
                                                         &std::fclose);
  if (!report) return false;
  std::fputs(runMessage.c_str(), report.get());
  return std::fclose(report.release()) == 0;
}

int CalculationRun::Calculate(const RunInput& input, std::string& runMessage) {
  if (input.targetIndex < 1 || input.targetIndex > static_cast<int>(kXRayTargets.size())) {
    runMessage = FormatText("X-ray target %d not found !!!", input.targetIndex);
    return -1;
  }
  ka1 = kXRayTargets[static_cast<std::size_t>(input.targetIndex - 1)].ka1;
  ka2 = kXRayTargets[static_cast<std::size_t>(input.targetIndex - 1)].ka2;
  const ProfileParameters& profile = input.profile;

  if (ReadSpaceGroupRecord(input.files.tabsgPath, input.sgNumber, input.settingNumber, record,
                           runMessage) != 0) {
    return -1;
  }
  pointGroupIndex = ClassifyPointGroup(input.sgNumber, input.settingNumber);
  if (pointGroupIndex == 0) {
    runMessage = FormatText("Setting %d of space group %d is not classified !!!",
                            input.settingNumber, input.sgNumber);
    return -1;
  }
  if (BuildOperations(record.symmetryCodes, input.sgNumber, record.centrosymmetric,
                      record.conditionCodes[kGeneralClass], operations, operationCount,
                      runMessage) != 0) {
    return -1;
  }
  const std::span<const SymmetryOperation> expanded(operations.data(),
                                                    static_cast<std::size_t>(operationCount));
  limits =
      ComputeIndexLimits(input.cell.a, input.cell.b, input.cell.c, profile.twoThetaEnd,
                         record.crystalSystemIndex, record.centrosymmetric, record.laueIndex, ka1);
  if (EnumerateReflections(limits, expanded, input.settingNumber, record.laueIndex, entries,
                           generatedCount, runMessage) != 0) {
    return -1;
  }
  entryCount = generatedCount;
  if (ComputeScatteringFactors(input.files.fscatPath, input.atomCount, input.species.data(),
                               entries, entryCount, input.cell, input.targetIndex, ka1, f, atoms,
                               volume, runMessage) != 0) {
    return -1;
  }
  AppendKa2Entries(entries, entryCount, ka2, input.atomCount, atoms, f);
  SortReflections(entries, entryCount, input.atomCount, f);
  GenerateEquivalentPositions(expanded, input.cell, input.atomCount, input.x.data(), input.y.data(),
                              input.z.data(), positions);
  const AtomSites sites{input.g.data(), input.B.data(), &atoms, &positions, input.atomCount};
  if (ComputeIntensities(entries, entryCount, generatedCount, f, sites, profile, runMessage) != 0) {
    return -1;
  }
  const std::vector<ProfilePoint> points = ComputeProfile(entries, entryCount, profile);

  // An entry exactly at the start is outside the reported range, one exactly at the end inside.
  firstReported = entryCount + 1;
  for (int i = 0; i < entryCount; ++i) {
    if (entries[static_cast<std::size_t>(i)].twoTheta > profile.twoThetaStart) {
      firstReported = i + 1;
      break;
    }
  }
  lastReported = entryCount;
  for (int i = 0; i < entryCount; ++i) {
    if (entries[static_cast<std::size_t>(i)].twoTheta > profile.twoThetaEnd) {
      lastReported = i;
      break;
    }
  }
  if (WritePatternFile(points, input.files.patternPath, entries, firstReported, lastReported,
                       runMessage) != 0) {
    return -1;
  }
  if (!WriteReport(input.files.reportPath, *this, input)) {
    runMessage = input.files.reportPath + " file not create !!!";
    return -1;
  }
  return 0;
}

bool CalculationRun::RunCalculation(const RunInput& input, std::string& runMessage) {
  runMessage.clear();
  if (Calculate(input, runMessage) == 0) return true;
  WriteFailureReport(input.files.reportPath, runMessage);
  return false;
}

}  // namespace braxel
