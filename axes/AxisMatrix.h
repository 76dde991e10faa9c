#pragma once

#include <array>

namespace braxel {

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Vector3 = std::array<double, 3>;

inline constexpr int kMonoclinicMode = 0;
inline constexpr int kOrthorhombicMode = 1;
inline constexpr int kAxisSettingCount = 6;

// Pivots at or below this size count as zero.
inline constexpr double kPivotThreshold = 0.00001;

// The axes of setting 1 to 6 of a mode: row i is axis i (a, b, c) of that setting as a
// combination of the axes of setting 1. setting must be 1 to 6.
const Matrix3& SettingMatrix(int systemMode, int setting);

// Gauss-Jordan inversion in place with row pivoting; false, with a left in an undefined state,
// when no pivot of a column exceeds threshold.
bool InvertMatrix(Matrix3& a, double threshold, double& determinant);

// G of a cell; angles in degrees, turned into radians with pi as 3.14159265.
Matrix3 MetricTensor(double a, double b, double c, double alpha, double beta, double gamma);

Vector3 Multiply(const Matrix3& a, const Vector3& x);
Matrix3 Multiply(const Matrix3& a, const Matrix3& b);
Matrix3 Transpose(const Matrix3& a);
// u . (A v)
double BilinearForm(const Vector3& u, const Matrix3& a, const Vector3& v);

}  // namespace braxel
