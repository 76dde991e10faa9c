#pragma once

#include <array>
#include <span>
#include <string>

#include "engine/Capacity.h"
#include "engine/Cell.h"
#include "engine/Reflection.h"

namespace braxel {

struct ScatteringFactorRecord {
  double Awt = 0.0;
  double a1 = 0.0, b1 = 0.0, a2 = 0.0, b2 = 0.0, a3 = 0.0, b3 = 0.0, a4 = 0.0, b4 = 0.0;
  double c = 0.0;
  double Deltaf1 = 0.0;  // for the run's target
  double Deltaf2 = 0.0;

  double FormFactor(double s2) const;  // with Deltaf1
};

// What a run keeps per atom from the scattering-factor file.
struct AtomScattering {
  std::array<double, kMaxAtoms> Awt{};
  std::array<double, kMaxAtoms> Deltaf2{};
  // The first atom of the same species: its f column is this atom's too.
  std::array<int, kMaxAtoms> sameSpeciesAs{};
};

// The cell volume and, for every entry, d, twoTheta for lambda, code 1 and s2. 0, or -1 with
// "sqrt error !!!" when the cell or a reflection has no real length.
int ComputeReflectionGeometry(const Cell& cell, double lambda, std::span<Reflection> entries,
                              double& volume, std::string& runMessage);

// Looks the species up and fills every atom's f at entries [0, count) from their s2 (the table
// is sized to them, one column per species). 0 on success, -1 with the message.
int ComputeScatteringFactors(const std::string& fscatPath, int atomCount,
                             const std::string* species, std::span<const Reflection> entries,
                             int count, int targetIndex, ScatteringFactorTable& f,
                             AtomScattering& atoms, std::string& runMessage);

}  // namespace braxel
