#pragma once

#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace braxel::testing {

// One record of the space-group table file in its column layout.
inline std::string TableRecord(int number, int setting, int laueIndex, int centrosymmetric,
                               const std::string& symbol, const std::map<int, int>& conditions,
                               const std::vector<std::string>& codes) {
  char header[64];
  std::snprintf(header, sizeof header, "%3d%3d%3d%3d%3d   ", number, setting, laueIndex,
                centrosymmetric, static_cast<int>(codes.size()));
  std::string text = header + symbol + "\n";
  for (int cls = 1; cls <= 14; ++cls) {
    char field[8];
    const auto found = conditions.find(cls);
    std::snprintf(field, sizeof field, "%2d", found == conditions.end() ? 0 : found->second);
    text += field;
  }
  text += "\n";
  for (const std::string& code : codes) text += code + "\n";
  return text;
}

// The rotations of point group 432; with the inversion and face centring they make Fm-3m.
inline const std::vector<std::string>& RotationsOf432() {
  static const std::vector<std::string> codes = {
      "x,y,z",  "-x,-y,z", "-x,y,-z",  "x,-y,-z", "z,x,y",  "z,-x,-y",  "-z,-x,y", "-z,x,-y",
      "y,z,x",  "-y,z,-x", "y,-z,-x",  "-y,-z,x", "y,x,-z", "-y,-x,-z", "y,-x,z",  "-y,x,z",
      "x,z,-y", "-x,z,y",  "-x,-z,-y", "x,-z,y",  "z,y,-x", "z,-y,x",   "-z,y,x",  "-z,-y,-x"};
  return codes;
}

// Fm-3m, number 225: general condition "h,k,l odd/even" (code 7), 24 codes, centrosymmetric.
inline std::string FmThreeMRecord() {
  return TableRecord(225, 1, 15, 1, "F m -3 m", {{7, 7}}, RotationsOf432());
}

// A scattering-factor record: name, weight, nine coefficients, six pairs of anomalous terms.
inline std::string FscatRecord(const std::string& name, double weight,
                               std::initializer_list<double> coefficients,
                               std::initializer_list<double> anomalous) {
  char head[64];
  std::snprintf(head, sizeof head, "%-6s%.4f\n", name.c_str(), weight);
  std::string text = head;
  for (double value : coefficients) text += std::to_string(value) + " ";
  text += "\n";
  for (double value : anomalous) text += std::to_string(value) + " ";
  return text + "\n";
}

inline const std::initializer_list<double> kNoAnomalous = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// International Tables (1992) four-Gaussian coefficients a1 b1 a2 b2 a3 b3 a4 b4 c,
// as cctbx.eltbx.xray_scattering.it1992 gives them.
inline std::string NaClScatteringFile() {
  return FscatRecord("Cl", 35.453,
                     {11.4604, 0.0104, 7.1964, 1.1662, 6.2556, 18.5194, 1.6455, 47.7784, -9.5574},
                     kNoAnomalous) +
         FscatRecord("Na", 22.9898,
                     {4.7626, 3.2850, 3.1736, 8.8422, 1.2674, 0.3136, 1.1128, 129.424, 0.6760},
                     kNoAnomalous);
}

}  // namespace braxel::testing
