#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace braxel::testing {

// One record of the space-group table file in its column layout, without reflection conditions.
inline std::string TableRecord(int number, int setting, int laueIndex, int centrosymmetric,
                               const std::string& symbol, const std::vector<std::string>& codes) {
  char header[64];
  std::snprintf(header, sizeof header, "%3d%3d%3d%3d%3d   ", number, setting, laueIndex,
                centrosymmetric, static_cast<int>(codes.size()));
  std::string text = header + symbol + "\n";
  for (int cls = 1; cls <= 14; ++cls) text += " 0";
  text += "\n";
  for (const std::string& code : codes) text += code + "\n";
  return text;
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

}  // namespace braxel::testing
