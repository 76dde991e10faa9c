#pragma once

namespace braxel {

// Fixed capacities of a calculation run; all working storage is sized from these once.
inline constexpr int kMaxAtoms = 80;
inline constexpr int kMaxSpeciesLength = 34;
inline constexpr int kMaxGeneratedReflections = 3000;
inline constexpr int kMaxReflectionEntries = 2 * kMaxGeneratedReflections;  // with Ka2 copies
// Reflections of the index box that a run lists, those beyond the range included, before it
// counts the ones within the range against kMaxGeneratedReflections.
inline constexpr int kMaxListedReflections = 16 * kMaxGeneratedReflections;
inline constexpr int kMaxOperations = 192;

// The engine's single degree-to-radian factor; results are printed to match it.
inline constexpr double kDegree = 0.0174532925;

}  // namespace braxel
