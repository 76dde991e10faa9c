#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/ProfileParameters.h"
#include "engine/Reflection.h"
#include "engine/ScatteringFactors.h"
#include "engine/SymmetryCodes.h"

namespace braxel {

// The Ka2 entry of a Ka1 entry: code 2, d and s2 rounded to the seven digits of "%12.6e",
// twoTheta from the rounded d.
Reflection Ka2Copy(const Reflection& entry, double ka2);

// The order of the angles ascending exactly as a selection sort with exchanges leaves it, as far
// as the angles up to upTo: position i of the result holds the index of the angle that ends at i.
std::vector<int> SelectionSortOrder(std::span<const double> angles, double upTo);

// Full width at half maximum of a peak at twoTheta; false when the squared width is negative.
bool PeakWidth(const ProfileParameters& profile, double twoTheta, double& fwhm);

struct AtomSites {
  const double* g;
  const double* B;
  const AtomScattering* scattering;
  const EquivalentPositions* positions;
  int count;
};

// The entries firstReported..lastReported (1-based) that the report shows.
struct ReportedRange {
  int first = 1;
  int last = 0;
};

// fCalc, fwhm and iCalc of the first count entries. iCalc is scaled so that the strongest
// reported entry has 100, or the strongest of all when no reported entry has an intensity.
// Entries of one reflection share its `generated`: the reflections are numbered 0, 1, ... in
// the enumeration's order, every number in use. 0, or -1 with the message.
int ComputeIntensities(std::span<Reflection> entries, int count, const ScatteringFactorTable& f,
                       const AtomSites& atoms, const ProfileParameters& profile,
                       ReportedRange reported, std::string& runMessage);

}  // namespace braxel
