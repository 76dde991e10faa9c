#pragma once

#include <span>
#include <string>

#include "engine/ProfileParameters.h"
#include "engine/Reflection.h"
#include "engine/ScatteringFactors.h"
#include "engine/SymmetryCodes.h"

namespace braxel {

// d, s2 and f as the seven significant digits of "%12.6e" give them back.
double RoundToSevenDigits(double value);

// Appends a Ka2 copy of each of the first count entries (d, s2 and f rounded to seven digits,
// twoTheta from the rounded d); count doubles.
void AppendKa2Entries(std::span<Reflection> entries, int& count, double ka2, int atomCount,
                      const AtomScattering& atoms, ScatteringFactorTable& f);

// Orders the entries by ascending twoTheta exactly as a selection sort with exchanges does.
// Every entry is a form of its own, so entries at one angle all stay.
void SortReflections(std::span<Reflection> entries, int count, int atomCount,
                     ScatteringFactorTable& f);

struct AtomSites {
  const double* g;
  const double* B;
  const AtomScattering* scattering;
  const EquivalentPositions* positions;
  int count;
};

// fCalc, fwhm and iCalc (strongest entry 100) of every entry; generatedCount is the number of
// enumerated reflections the entries stem from. 0, or -1 with the message.
int ComputeIntensities(std::span<Reflection> entries, int count, int generatedCount,
                       const ScatteringFactorTable& f, const AtomSites& atoms,
                       const ProfileParameters& profile, std::string& runMessage);

}  // namespace braxel
