#include "axes/AxisMatrix.h"

#include <cmath>
#include <utility>

namespace braxel {

namespace {

constexpr double kPi = 3.14159265;

constexpr std::array<std::array<Matrix3, kAxisSettingCount>, 2> kSettingMatrices = {{
    // Monoclinic: unique axis b with cell choice 1 to 3, then unique axis c with the same.
    {{{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{-1, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
      {{{0, 0, 1}, {0, 1, 0}, {-1, 0, -1}}},
      {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}},
      {{{1, 0, 0}, {-1, 0, -1}, {0, 1, 0}}},
      {{{-1, 0, -1}, {0, 0, 1}, {0, 1, 0}}}}},
    // Orthorhombic: abc, ba-c, cab, -cba, bca, a-cb.
    {{{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}},
      {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}},
      {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
      {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}},
      {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}}}},
}};

}  // namespace

const Matrix3& SettingMatrix(int systemMode, int setting) {
  return kSettingMatrices[systemMode == kMonoclinicMode ? 0 : 1][setting - 1];
}

bool InvertMatrix(Matrix3& a, double threshold, double& determinant) {
  constexpr int n = 3;
  std::array<int, n> pivotRow{};
  determinant = 1.0;
  for (int i = 0; i < n; ++i) {
    int p = -1;
    double largest = threshold;
    for (int r = i; r < n; ++r) {
      if (std::fabs(a[r][i]) > largest) {
        largest = std::fabs(a[r][i]);
        p = r;
      }
    }
    if (p < 0) return false;
    pivotRow[i] = p;
    if (p != i) {
      std::swap(a[p], a[i]);
      determinant = -determinant;
    }
    const double pivot = a[i][i];
    determinant *= pivot;
    a[i][i] = 1.0;
    for (double& value : a[i]) value /= pivot;
    for (int k = 0; k < n; ++k) {
      if (k == i) continue;
      const double t = a[k][i];
      a[k][i] = 0.0;
      for (int j = 0; j < n; ++j) a[k][j] -= t * a[i][j];
    }
  }
  for (int i = n - 2; i >= 0; --i) {
    if (pivotRow[i] == i) continue;
    for (auto& row : a) std::swap(row[pivotRow[i]], row[i]);
  }
  return true;
}

Matrix3 MetricTensor(double a, double b, double c, double alpha, double beta, double gamma) {
  const double toRadians = kPi / 180.0;
  const double ab = a * b * std::cos(gamma * toRadians);
  const double ac = a * c * std::cos(beta * toRadians);
  const double bc = b * c * std::cos(alpha * toRadians);
  return {{{a * a, ab, ac}, {ab, b * b, bc}, {ac, bc, c * c}}};
}

Vector3 Multiply(const Matrix3& a, const Vector3& x) {
  Vector3 result{};
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 3; ++k) result[i] += a[i][k] * x[k];
  }
  return result;
}

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 result{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) result[i][j] += a[i][k] * b[k][j];
    }
  }
  return result;
}

Matrix3 Transpose(const Matrix3& a) {
  Matrix3 result{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) result[i][j] = a[j][i];
  }
  return result;
}

double BilinearForm(const Vector3& u, const Matrix3& a, const Vector3& v) {
  const Vector3 av = Multiply(a, v);
  return u[0] * av[0] + u[1] * av[1] + u[2] * av[2];
}

}  // namespace braxel
