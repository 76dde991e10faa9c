#include "engine/ScatteringFactors.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>
#include <vector>

#include "engine/XRayTarget.h"
#include "platform/TextInput.h"

namespace braxel {

namespace {

constexpr std::size_t kWeightColumn = 6;
constexpr int kAnomalousTargets = 6;  // Cr, Fe, Co, Cu, Mo, Ag

enum class Lookup { kFound, kMissing, kUnreadable };

// The first record of exactly that name wins.
Lookup FindRecord(LineReader& reader, const std::string& species, int targetIndex,
                  ScatteringFactorRecord& record) {
  reader.Rewind();
  std::string name;
  std::string coefficients;
  std::string anomalous;
  if (species.empty()) return Lookup::kMissing;  // an empty name would match any record
  while (reader.ReadLine(name)) {
    const bool haveCoefficients = reader.ReadLine(coefficients);
    const bool haveAnomalous = reader.ReadLine(anomalous);
    // The name fills the first six characters, padded with blanks: M must not take the
    // factors of Mg.
    if (WithoutTrailingBlanks(Field(WithoutLineEnd(name), 0, kWeightColumn)) != species) continue;
    record = ScatteringFactorRecord{};
    double nine[9];
    double twelve[2 * kAnomalousTargets];
    const std::string_view weight =
        name.size() > kWeightColumn ? std::string_view(name).substr(kWeightColumn) : "";
    if (!ParseDouble(weight, record.Awt) || !haveCoefficients || !haveAnomalous ||
        ScanDoubles(coefficients, nine, 9) != 9 ||
        ScanDoubles(anomalous, twelve, 2 * kAnomalousTargets) != 2 * kAnomalousTargets) {
      return Lookup::kUnreadable;
    }
    record.a1 = nine[0];
    record.b1 = nine[1];
    record.a2 = nine[2];
    record.b2 = nine[3];
    record.a3 = nine[4];
    record.b3 = nine[5];
    record.a4 = nine[6];
    record.b4 = nine[7];
    record.c = nine[8];
    // The single "Kb" line has no anomalous terms in the file; it takes none.
    if (targetIndex >= 1 && targetIndex <= kAnomalousTargets) {
      record.Deltaf1 = twelve[2 * (targetIndex - 1)];
      record.Deltaf2 = twelve[2 * (targetIndex - 1) + 1];
    }
    return Lookup::kFound;
  }
  return Lookup::kMissing;
}

// The table's spellings of a species it lacks under its own name, in order: a monovalent ion
// as structure files write it ("Na+", "Cl-") is "Na1+", "Cl1-"; an ion the table has no record
// for ("Fe5+") and a site name made of an element and a number ("Fe1", "O12", as solution
// listings give them) are the neutral atom.
std::vector<std::string> TableSpellingsOf(const std::string& species) {
  const auto letters = std::find_if_not(species.begin(), species.end(),
                                        [](unsigned char c) { return std::isalpha(c) != 0; });
  const std::string element(species.begin(), letters);
  if (element.empty() || element.size() > 2) return {};
  const std::string rest(letters, species.end());
  const auto digits = std::find_if_not(rest.begin(), rest.end(),
                                       [](unsigned char c) { return std::isdigit(c) != 0; });
  const std::string sign(digits, rest.end());
  if (rest == "+" || rest == "-") return {element + "1" + rest, element};
  if (digits != rest.begin() && (sign.empty() || sign == "+" || sign == "-")) return {element};
  return {};
}

}  // namespace

double ScatteringFactorRecord::FormFactor(double s2) const {
  return a1 * std::exp(-b1 * s2) + a2 * std::exp(-b2 * s2) + a3 * std::exp(-b3 * s2) +
         a4 * std::exp(-b4 * s2) + c + Deltaf1;
}

int ComputeReflectionGeometry(const Cell& cell, double lambda, std::span<Reflection> entries,
                              double& volume, std::string& runMessage) {
  const double alpha = cell.alpha * kDegree;
  const double beta = cell.beta * kDegree;
  const double gamma = cell.gamma * kDegree;
  const double s = (alpha + beta + gamma) / 2.0;
  const double P = std::sin(s) * std::sin(s - alpha) * std::sin(s - beta) * std::sin(s - gamma);
  // P = 0 (a flat cell) and non-positive edges have no volume to divide by either.
  if (!(P > 0.0) || !(cell.a > 0.0) || !(cell.b > 0.0) || !(cell.c > 0.0)) {
    runMessage = "sqrt error !!!";
    return -1;
  }
  volume = 2.0 * cell.a * cell.b * cell.c * std::sqrt(P);

  const double aStar = cell.b * cell.c * std::sin(alpha) / volume;
  const double bStar = cell.c * cell.a * std::sin(beta) / volume;
  const double cStar = cell.a * cell.b * std::sin(gamma) / volume;
  const auto reciprocalCosine = [](double value) { return std::fabs(value) < 1e-5 ? 0.0 : value; };
  const double cosAlphaStar = reciprocalCosine(
      (std::cos(beta) * std::cos(gamma) - std::cos(alpha)) / (std::sin(beta) * std::sin(gamma)));
  const double cosBetaStar = reciprocalCosine((std::cos(gamma) * std::cos(alpha) - std::cos(beta)) /
                                              (std::sin(gamma) * std::sin(alpha)));
  const double cosGammaStar = reciprocalCosine(
      (std::cos(alpha) * std::cos(beta) - std::cos(gamma)) / (std::sin(alpha) * std::sin(beta)));

  for (Reflection& entry : entries) {
    // In floating point: the squares of the indices of a long edge pass an int.
    const double h = entry.h;
    const double k = entry.k;
    const double l = entry.l;
    const double Q = (h * h) * aStar * aStar + (k * k) * bStar * bStar + (l * l) * cStar * cStar +
                     2.0 * h * k * aStar * bStar * cosGammaStar +
                     2.0 * k * l * bStar * cStar * cosAlphaStar +
                     2.0 * l * h * cStar * aStar * cosBetaStar;
    if (Q < 0.0) {
      runMessage = "sqrt error !!!";
      return -1;
    }
    entry.d = 1.0 / std::sqrt(Q);
    double sinTheta = 0.5 * lambda / entry.d;
    if (sinTheta > 1.0) sinTheta = 1.0;
    if (sinTheta < -1.0) sinTheta = -1.0;
    entry.twoTheta = 2.0 * std::asin(sinTheta) / kDegree;
    entry.code = 1;
    const double sinHalf = std::sin(entry.twoTheta * kDegree / 2.0) / lambda;
    entry.s2 = sinHalf * sinHalf;
  }
  return 0;
}

int ComputeScatteringFactors(const std::string& fscatPath, int atomCount,
                             const std::string* species, std::span<const Reflection> entries,
                             int count, int targetIndex, ScatteringFactorTable& f,
                             AtomScattering& atoms, std::string& runMessage) {
  std::array<ScatteringFactorRecord, kMaxAtoms> records;
  {
    LineReader reader(fscatPath);
    if (!reader.IsOpen()) {
      runMessage = reader.OpenMessage(fscatPath + " file not found !!!\n");
      return -1;
    }
    for (int j = 0; j < atomCount; ++j) {
      if (species[j].size() > static_cast<std::size_t>(kMaxSpeciesLength)) {
        runMessage = FormatText("Species name %s exceeds over %d characters !!!",
                                species[j].c_str(), kMaxSpeciesLength);
        return -1;
      }
      atoms.sameSpeciesAs[j] = j;
      for (int first = 0; first < j; ++first) {
        if (species[first] == species[j]) {
          atoms.sameSpeciesAs[j] = first;
          break;
        }
      }
      if (atoms.sameSpeciesAs[j] != j) {
        records[j] = records[atoms.sameSpeciesAs[j]];
      } else {
        Lookup found = FindRecord(reader, species[j], targetIndex, records[j]);
        for (const std::string& spelling : TableSpellingsOf(species[j])) {
          if (found != Lookup::kMissing) break;
          found = FindRecord(reader, spelling, targetIndex, records[j]);
        }
        switch (found) {
          case Lookup::kFound:
            break;
          case Lookup::kMissing:
            runMessage = species[j] + " name not found !!!";
            return -1;
          case Lookup::kUnreadable:
            runMessage = FormatText("%s record of %s is not readable !!!", species[j].c_str(),
                                    fscatPath.c_str());
            return -1;
        }
      }
      atoms.Awt[j] = records[j].Awt;
      atoms.Deltaf2[j] = records[j].Deltaf2;
    }
  }

  f.Resize(atomCount, count, atoms.sameSpeciesAs.data());
  for (int j = 0; j < atomCount; ++j) {
    if (atoms.sameSpeciesAs[j] != j) continue;  // its species' column is filled already
    double* column = f.Column(j);
    for (int i = 0; i < count; ++i) {
      column[i] = records[j].FormFactor(entries[static_cast<std::size_t>(i)].s2);
    }
  }
  return 0;
}

}  // namespace braxel
