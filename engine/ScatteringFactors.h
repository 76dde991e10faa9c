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

// Looks the species up, fills d, twoTheta (Ka1), code 1 and s2 of entries [0, count), every
// atom's f and the cell volume. 0 on success, -1 with the message.
int ComputeScatteringFactors(const std::string& fscatPath, int atomCount,
                             const std::string* species, std::span<Reflection> entries, int count,
                             const Cell& cell, int targetIndex, double lambda,
                             ScatteringFactorTable& f, AtomScattering& atoms, double& volume,
                             std::string& runMessage);

}  // namespace braxel
