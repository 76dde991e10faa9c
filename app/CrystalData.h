#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/CalculationRun.h"
#include "engine/Capacity.h"

namespace braxel {

class UserInterface;

inline constexpr int kMaxResultLines = 193;
inline constexpr int kMaxReflectionRows = kMaxReflectionEntries;
inline constexpr int kReflectionColumns = 10;  // number, h, k, l, code, 2theta, d, F, I, mult
using ReflectionRow = std::array<std::string, kReflectionColumns>;

// The one crystal structure being worked on.
struct CrystalData {
  std::array<std::string, kMaxAtoms> atomLabels;
  int sgNumber = 0;
  int settingNumber = 0;
  int atomCount = 0;
  int targetIndex = 4;  // Cu
  int radiationKind = 1;
  double a = 0.0, b = 0.0, c = 0.0;
  double alpha = 0.0, beta = 0.0, gamma = 0.0;
  std::array<double, kMaxAtoms> g{};
  std::array<double, kMaxAtoms> x{};
  std::array<double, kMaxAtoms> y{};
  std::array<double, kMaxAtoms> z{};
  std::array<double, kMaxAtoms> B{};
};

// The result texts of the last run, as the form shows them.
struct CalculationResults {
  std::string sgSymbol;
  std::string crystalSystem;
  std::string laueGroup;
  std::string pointGroup;
  std::string centrosymmetric;
  std::string uniqueAxis;
  int symmetryCodeCount = 0;
  int conditionCount = 0;
  int reflectionCount = 0;
  std::vector<std::string> symmetryCodes = std::vector<std::string>(kMaxResultLines);
  std::vector<std::string> conditions = std::vector<std::string>(kMaxResultLines);
  std::vector<ReflectionRow> reflectionRows = std::vector<ReflectionRow>(kMaxReflectionRows);
  bool calculationDone = false;
};

// The scattering species of an atom: the label after its first "/", or the whole label.
std::string SpeciesOf(const std::string& label);

// The edit boxes of the form, in the order gathering reads them.
enum class FormBox { kSgNumber, kSetting, kA, kB, kC, kAlpha, kBeta, kGamma };

// What gathering reads from the form's controls.
class CrystalFormFields {
 public:
  virtual ~CrystalFormFields() = default;
  virtual std::string BoxText(FormBox box) const = 0;
  virtual int SelectedTargetPosition() const = 0;  // 0-based position in the X-ray list
  virtual int AtomRowCount() const = 0;
  // Column 1 is the label; 2 to 6 are g, x, y, z and B.
  virtual std::string AtomText(int row, int column) const = 0;
};

// Rebuilds the record from the form. The first missing or unusable value (text that is no
// number, a cell edge not above 0, angles that make no cell, a row without its label or a value,
// atoms after an empty row) is shown, false returned and the record left as it was.
bool GatherCrystalData(const CrystalFormFields& form, CrystalData& data, UserInterface& ui);

// The run's input for the record, with the species cut from the labels.
RunInput MakeRunInput(const CrystalData& data, const RunFiles& files,
                      const ProfileParameters& profile);

}  // namespace braxel
