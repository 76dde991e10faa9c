#include "engine/CalculationRun.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

#include "engine/Classification.h"
#include "engine/DecimalText.h"
#include "engine/Profile.h"
#include "engine/Report.h"
#include "engine/XRayTarget.h"
#include "platform/FileReplace.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

struct NamedValue {
  const char* name;
  double value;
};

// A cell and atoms the steps can work with: finite numbers, edges above 0 and angles between 0
// and 180 degrees. An edge of 0 or an angle of 180 degrees makes no cell.
int CheckCrystal(const RunInput& input, std::string& runMessage) {
  const Cell& cell = input.cell;
  const NamedValue cellValues[] = {{"edge a", cell.a},        {"edge b", cell.b},
                                   {"edge c", cell.c},        {"angle alpha", cell.alpha},
                                   {"angle beta", cell.beta}, {"angle gamma", cell.gamma}};
  for (std::size_t i = 0; i < std::size(cellValues); ++i) {
    const auto& [name, value] = cellValues[i];
    const bool edge = i < 3;
    if (!std::isfinite(value)) {
      runMessage = FormatText("Cell %s = %g is not a number !!!", name, value);
      return -1;
    }
    if (edge ? !(value > 0.0) : !(value > 0.0 && value < 180.0)) {
      runMessage = FormatText(
          "Cell %s = %g makes no cell: %s !!!", name, value,
          edge ? "an edge must be above 0" : "an angle must lie between 0 and 180 degrees");
      return -1;
    }
  }
  for (int j = 0; j < input.atomCount; ++j) {
    const std::size_t i = static_cast<std::size_t>(j);
    const NamedValue atomValues[] = {{"g", input.g[i]},
                                     {"x", input.x[i]},
                                     {"y", input.y[i]},
                                     {"z", input.z[i]},
                                     {"B", input.B[i]}};
    for (const auto& [name, value] : atomValues) {
      if (!std::isfinite(value)) {
        runMessage = FormatText("Atom %d %s = %g is not a number !!!", j + 1, name, value);
        return -1;
      }
    }
  }
  return 0;
}

}  // namespace

void CalculationRun::SelectEntries(const std::vector<Reflection>& forms,
                                   const ProfileParameters& profile) {
  // The Ka1 entries in the enumeration's order, then their Ka2 copies, all take part in the
  // sort, so that entries of equal angle keep the order they had among the others. Kept are
  // those that can exist and show: within the range, or with a peak that reaches into it; above
  // the end the grid's last point is the nearest. Whether an entry is kept depends on its angle
  // alone, so the kept ones end the sort's steps at the largest of them.
  const std::size_t n = forms.size();
  std::vector<double> angles(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    angles[i] = forms[i].twoTheta;
    angles[n + i] = Ka2Copy(forms[i], ka2).twoTheta;
  }
  const double lastPoint = LastGridPoint(profile);
  const auto kept = [&](double twoTheta) {
    double fwhm = 0.0;
    return twoTheta < 180.0 &&
           (twoTheta <= profile.twoThetaEnd ||
            (PeakWidth(profile, twoTheta, fwhm) && fwhm > 0.0 &&
             !(std::fabs(lastPoint - twoTheta) > profile.profileCutoff * fwhm)));
  };
  double largestKept = -std::numeric_limits<double>::infinity();
  std::size_t keptCount = 0;
  for (const double twoTheta : angles) {
    if (kept(twoTheta)) {
      largestKept = std::max(largestKept, twoTheta);
      ++keptCount;
    }
  }
  entries.clear();
  entries.reserve(keptCount);
  for (const int index : SelectionSortOrder(angles, largestKept)) {
    const std::size_t at = static_cast<std::size_t>(index);
    if (kept(angles[at])) entries.push_back(at < n ? forms[at] : Ka2Copy(forms[at - n], ka2));
  }
}

int CalculationRun::ListEntries(const RunInput& input,
                                std::span<const SymmetryOperation> operations,
                                std::string& runMessage) {
  const ProfileParameters& profile = input.profile;
  limits =
      ComputeIndexLimits(input.cell.a, input.cell.b, input.cell.c, profile.twoThetaEnd,
                         record.crystalSystemIndex, record.centrosymmetric, record.laueIndex, ka1);
  std::vector<Reflection> forms;
  if (EnumerateReflections(limits, operations, input.settingNumber, record.laueIndex,
                           kMaxListedReflections, forms, runMessage) != 0 ||
      ComputeReflectionGeometry(input.cell, ka1, forms, volume, runMessage) != 0) {
    return -1;
  }
  generatedCount = static_cast<int>(forms.size());
  // Only reflections that can exist and lie within the range count against the capacity.
  if (std::count_if(forms.begin(), forms.end(), [&](const Reflection& form) {
        return form.twoTheta < 180.0 && form.twoTheta <= profile.twoThetaEnd;
      }) > kMaxGeneratedReflections) {
    runMessage = ReflectionCapacityMessage();
    return -1;
  }
  SelectEntries(forms, profile);
  entryCount = static_cast<int>(entries.size());
  // Only the reflections the entries stem from are kept, in their order, and the entries
  // renumbered to them: their scattering factors are formed once each.
  std::vector<int> renumbered(forms.size(), -1);
  for (const Reflection& entry : entries) renumbered[static_cast<std::size_t>(entry.generated)] = 0;
  std::size_t needed = 0;
  for (std::size_t i = 0; i < forms.size(); ++i) {
    if (renumbered[i] < 0) continue;
    renumbered[i] = static_cast<int>(needed);
    forms[needed++] = forms[i];
  }
  forms.resize(needed);
  for (Reflection& entry : entries) {
    entry.generated = renumbered[static_cast<std::size_t>(entry.generated)];
  }
  ScatteringFactorTable formFactors;
  if (ComputeScatteringFactors(input.files.fscatPath, input.atomCount, input.species.data(), forms,
                               static_cast<int>(needed), input.targetIndex, formFactors, atoms,
                               runMessage) != 0) {
    return -1;
  }
  std::vector<Reflection>().swap(forms);  // its memory serves the table below
  // A Ka2 entry takes the scattering factors of its reflection rounded to seven digits, as its
  // copy always carried them.
  f.Resize(input.atomCount, entryCount, atoms.sameSpeciesAs.data());
  for (int j = 0; j < input.atomCount; ++j) {
    if (atoms.sameSpeciesAs[static_cast<std::size_t>(j)] != j) continue;  // shares a column
    for (int i = 0; i < entryCount; ++i) {
      const Reflection& entry = entries[static_cast<std::size_t>(i)];
      const double value = formFactors.At(j, entry.generated);
      f.At(j, i) = entry.code == 2 ? RoundToSevenDigits(value) : value;
    }
  }
  return 0;
}

bool WriteFailureReport(const RunFiles& files, const std::string& runMessage) {
  if (!ReplaceFileWithText(files.reportPath, PrintableText(runMessage))) return false;
  RemoveFile(files.patternPath);
  return true;
}

int CalculationRun::Calculate(const RunInput& input, std::string& runMessage, bool& filesRefused) {
  if (CheckProfileParameters(input.profile, runMessage) != 0 ||
      CheckCrystal(input, runMessage) != 0) {
    return -1;
  }
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
  if (ListEntries(input, expanded, runMessage) != 0) return -1;

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

  GenerateEquivalentPositions(expanded, input.cell, input.atomCount, input.x.data(), input.y.data(),
                              input.z.data(), positions);
  const AtomSites sites{input.g.data(), input.B.data(), &atoms, &positions, input.atomCount};
  if (ComputeIntensities(entries, entryCount, f, sites, profile, {firstReported, lastReported},
                         runMessage) != 0) {
    return -1;
  }

  // Both files are complete before either replaces the last run's, so that a disk or folder
  // that refuses writing leaves the last report and pattern file together as they were. The
  // report needs nothing of the profile: it is formed and written beside it, on a thread of
  // its own where one can be had.
  filesRefused = true;
  FileReplacement report(input.files.reportPath);
  bool reportWritten = false;
  // The list's memory is taken here, from the heap of the thread that ran the steps so far,
  // whose pages are mapped already, rather than from a new heap of the report's thread.
  reflectionList.reserve(ReflectionListRoom(*this));
  const auto writeReport = [&] {
    FormReflectionList(*this, reflectionList);
    reportWritten = WriteReport(report, *this, input);
  };
  std::thread reportThread;
  try {
    reportThread = std::thread(writeReport);
  } catch (const std::system_error&) {
    writeReport();
  }
  const std::vector<ProfilePoint> points = ComputeProfile(entries, entryCount, profile);
  FileReplacement pattern(input.files.patternPath);
  const int patternWritten = WritePatternFile(points, profile.twoThetaStep, pattern, entries,
                                              firstReported, lastReported, runMessage);
  if (reportThread.joinable()) reportThread.join();
  if (patternWritten != 0) return -1;
  if (!reportWritten || !report.Commit()) {
    runMessage = input.files.reportPath + " file not create !!!";
    return -1;
  }
  if (!pattern.Commit()) {
    runMessage = input.files.patternPath + " file not create !!!";
    return -1;
  }
  return 0;
}

bool CalculationRun::RunCalculation(const RunInput& input, std::string& runMessage) {
  runMessage.clear();
  bool filesRefused = false;
  if (Calculate(input, runMessage, filesRefused) == 0) return true;
  if (!filesRefused) WriteFailureReport(input.files, runMessage);
  return false;
}

}  // namespace braxel
