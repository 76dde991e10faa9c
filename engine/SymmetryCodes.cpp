#include "engine/SymmetryCodes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/TextInput.h"

namespace braxel {

namespace {

constexpr double kSameCoordinate = 0.0001;

bool IsInversion(const SymmetryOperation& operation) {
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (operation.R[r][c] != (r == c ? -1.0 : 0.0)) return false;
    }
  }
  return true;
}

// Coordinates are compared modulo the period: 0.99999 and 0.00001 are the same place.
bool SameCoordinate(double a, double b) {
  const double difference = std::fabs(a - b);
  return std::min(difference, 1.0 - difference) < kSameCoordinate;
}

// Squared distance below which two images of a site are one position: (0.1 angstrom)^2.
constexpr double kSamePositionSquared = 0.01;

// The metric tensor of the cell, for distances of fractional differences.
struct Metric {
  explicit Metric(const Cell& cell) {
    constexpr double kRadian = 0.0174532925;
    const double ca = std::cos(cell.alpha * kRadian), cb = std::cos(cell.beta * kRadian),
                 cg = std::cos(cell.gamma * kRadian);
    g[0][0] = cell.a * cell.a;
    g[1][1] = cell.b * cell.b;
    g[2][2] = cell.c * cell.c;
    g[0][1] = g[1][0] = cell.a * cell.b * cg;
    g[0][2] = g[2][0] = cell.a * cell.c * cb;
    g[1][2] = g[2][1] = cell.b * cell.c * ca;
    // A difference d along axis r alone puts two points at least d^2 / (g^-1)_rr apart
    // (squared), whatever the other components; a small margin covers the rounding of the sum.
    const double determinant = g[0][0] * (g[1][1] * g[2][2] - g[1][2] * g[2][1]) -
                               g[0][1] * (g[1][0] * g[2][2] - g[1][2] * g[2][0]) +
                               g[0][2] * (g[1][0] * g[2][1] - g[1][1] * g[2][0]);
    for (int r = 0; r < 3; ++r) {
      const int a = (r + 1) % 3, b = (r + 2) % 3;
      const double inverseDiagonal = (g[a][a] * g[b][b] - g[a][b] * g[b][a]) / determinant;
      farther[r] = determinant > 0.0 && inverseDiagonal > 0.0
                       ? kSamePositionSquared * inverseDiagonal * (1.0 + 1e-6)
                       : std::numeric_limits<double>::infinity();
    }
  }

  // True when one coordinate alone keeps p and q apart for both tests of one position: it
  // differs by the coordinate tolerance or more and by more than 0.1 angstrom can span.
  bool ApartAlongAnAxis(const Position& p, const Position& q) const {
    const double d[3] = {p.x - q.x, p.y - q.y, p.z - q.z};
    for (int r = 0; r < 3; ++r) {
      const double component = d[r] - std::nearbyint(d[r]);
      if (std::fabs(component) >= kSameCoordinate && component * component > farther[r]) {
        return true;
      }
    }
    return false;
  }

  // Each difference is taken to its nearest period first; below 0.1 angstrom that is the
  // nearest image for any cell whose plane spacings exceed 0.2 angstrom.
  double SquaredDistance(const Position& p, const Position& q) const {
    double d[3] = {p.x - q.x, p.y - q.y, p.z - q.z};
    for (double& component : d) component -= std::nearbyint(component);
    double sum = 0.0;
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) sum += d[r] * g[r][c] * d[c];
    }
    return sum;
  }

  double g[3][3];
  double farther[3];
};

double IntoCell(double value) {
  value -= std::floor(value);
  return value >= 1.0 ? 0.0 : value;  // a tiny negative value rounds up to 1.0
}

}  // namespace

bool ParseSymmetryCode(std::string_view code, SymmetryOperation& operation) {
  operation = SymmetryOperation{};
  int row = 0;
  double sign = 1.0;
  bool denominator = false;
  double numerator = 0.0;
  bool rowHasLetter[3] = {false, false, false};
  for (const char ch : code) {
    switch (ch) {
      case ',':
        if (++row > 2) return false;
        sign = 1.0;
        denominator = false;
        break;
      case '+':
        sign = 1.0;
        break;
      case '-':
        sign = -1.0;
        break;
      case 'x':
      case 'X':
      case 'y':
      case 'Y':
      case 'z':
      case 'Z': {
        const int column = (ch | 0x20) - 'x';
        operation.R[row][column] = sign;
        rowHasLetter[row] = true;
        sign = 1.0;
        break;
      }
      case '/':
        denominator = true;
        break;
      case '1':
      case '2':
      case '3':
      case '4':
      case '6': {
        const double digit = ch - '0';
        if (!denominator) {
          numerator = digit;
          operation.t[row] = sign * numerator;
        } else {
          operation.t[row] = sign * numerator / digit;
          denominator = false;
          // The sign belonged to the fraction, not to a letter after it (-1/2+x).
          sign = 1.0;
        }
        break;
      }
      case ' ':
        if (row != 2) return false;
        return rowHasLetter[0] && rowHasLetter[1] && rowHasLetter[2];
      default:
        return false;
    }
  }
  return row == 2 && rowHasLetter[0] && rowHasLetter[1] && rowHasLetter[2];
}

bool ExpandOperations(std::span<SymmetryOperation> operations, int& count, int centrosymmetric,
                      int generalConditionCode) {
  const int capacity = static_cast<int>(operations.size());
  bool listsInversion = false;
  for (int i = 0; i < count; ++i) listsInversion = listsInversion || IsInversion(operations[i]);
  if (centrosymmetric == 1 && !listsInversion) {
    if (2 * count > capacity) return false;
    for (int i = 0; i < count; ++i) {
      SymmetryOperation& inverted = operations[static_cast<std::size_t>(count + i)];
      inverted = operations[static_cast<std::size_t>(i)];
      for (auto& row : inverted.R) {
        for (double& value : row) value = -value;
      }
    }
    count *= 2;
  }

  static constexpr double kHalf = 0.5;
  static constexpr double kThird = 0.333333;
  static constexpr double kTwoThirds = 0.666667;
  struct Centring {
    int code;
    int vectorCount;
    double vectors[3][3];
  };
  static constexpr Centring kCentrings[] = {
      {4, 1, {{0, kHalf, kHalf}}},
      {5, 1, {{kHalf, 0, kHalf}}},
      {6, 1, {{kHalf, kHalf, 0}}},
      {13, 1, {{kHalf, kHalf, kHalf}}},
      {7, 3, {{0, kHalf, kHalf}, {kHalf, 0, kHalf}, {kHalf, kHalf, 0}}},
      {14, 2, {{kThird, kTwoThirds, kTwoThirds}, {kTwoThirds, kThird, kThird}}},
  };
  for (const Centring& centring : kCentrings) {
    if (centring.code != generalConditionCode) continue;
    if (count * (centring.vectorCount + 1) > capacity) return false;
    const int base = count;
    for (int v = 0; v < centring.vectorCount; ++v) {
      for (int i = 0; i < base; ++i) {
        SymmetryOperation& copy = operations[static_cast<std::size_t>(count)];
        copy = operations[static_cast<std::size_t>(i)];
        for (int r = 0; r < 3; ++r) copy.t[r] += centring.vectors[v][r];
        ++count;
      }
    }
  }
  return true;
}

int BuildOperations(const std::vector<std::string>& symmetryCodes, int sgNumber,
                    int centrosymmetric, int generalConditionCode,
                    std::span<SymmetryOperation> operations, int& count, std::string& runMessage) {
  count = 0;
  // Without one an atom has no position in the cell, not even its own.
  if (symmetryCodes.empty()) {
    runMessage = FormatText("Space group %d has no symmetry code in the table !!!", sgNumber);
    return -1;
  }
  for (const std::string& code : symmetryCodes) {
    if (count == static_cast<int>(operations.size())) break;  // the table reader refuses more
    if (!ParseSymmetryCode(code, operations[static_cast<std::size_t>(count)])) {
      runMessage = FormatText("Symmetry code %s of space group %d is not readable !!!",
                              code.c_str(), sgNumber);
      return -1;
    }
    ++count;
  }
  if (!ExpandOperations(operations, count, centrosymmetric, generalConditionCode)) {
    runMessage = FormatText("Symmetry operations of space group %d exceed over %d !!!", sgNumber,
                            kMaxOperations);
    return -1;
  }
  return 0;
}

void GenerateEquivalentPositions(std::span<const SymmetryOperation> operations, const Cell& cell,
                                 int siteCount, const double* x, const double* y, const double* z,
                                 EquivalentPositions& result) {
  const int count = static_cast<int>(operations.size());
  result.Resize(siteCount, count);
  const Metric metric(cell);
  std::array<Position, kMaxOperations> images;
  std::array<bool, kMaxOperations> kept;
  for (int site = 0; site < siteCount; ++site) {
    for (int i = 0; i < count; ++i) {
      const SymmetryOperation& op = operations[static_cast<std::size_t>(i)];
      const double p[3] = {x[site], y[site], z[site]};
      double q[3];
      for (int r = 0; r < 3; ++r) {
        q[r] = IntoCell(op.R[r][0] * p[0] + op.R[r][1] * p[1] + op.R[r][2] * p[2] + op.t[r]);
      }
      images[static_cast<std::size_t>(i)] = {q[0], q[1], q[2]};
      kept[static_cast<std::size_t>(i)] = true;
    }
    for (int i = 0; i < count; ++i) {
      const Position& first = images[static_cast<std::size_t>(i)];
      for (int k = i + 1; k < count; ++k) {
        const Position& other = images[static_cast<std::size_t>(k)];
        if (metric.ApartAlongAnAxis(first, other)) continue;
        // The coordinate test still holds where the cell gives no usable metric.
        if ((SameCoordinate(first.x, other.x) && SameCoordinate(first.y, other.y) &&
             SameCoordinate(first.z, other.z)) ||
            metric.SquaredDistance(first, other) < kSamePositionSquared) {
          kept[static_cast<std::size_t>(k)] = false;
        }
      }
    }
    int copies = 0;
    for (int i = 0; i < count; ++i) {
      if (kept[static_cast<std::size_t>(i)]) {
        result.At(site, copies++) = images[static_cast<std::size_t>(i)];
      }
    }
    result.siteMultiplicity[static_cast<std::size_t>(site)] = copies;
  }
  result.generalSites = count;
}

}  // namespace braxel
