#pragma once

#include <array>

namespace braxel {

struct XRayTarget {
  const char* symbol;
  double ka1;  // angstrom
  double ka2;
};

// Indexed by targetIndex - 1. "Kb" is a single line: its two wavelengths coincide.
inline constexpr std::array<XRayTarget, 7> kXRayTargets = {{
    {"Cr", 2.2897, 2.293606},
    {"Fe", 1.936042, 1.93998},
    {"Co", 1.788965, 1.79285},
    {"Cu", 1.540562, 1.54439},
    {"Mo", 0.7093, 0.71359},
    {"Ag", 0.5594075, 0.563798},
    {"Kb", 1.39222, 1.39222},
}};

inline constexpr int kKbTarget = 7;

}  // namespace braxel
