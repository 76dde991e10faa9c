#include "app/CrystalData.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

std::string SpeciesOf(const std::string& label) {
  const std::size_t slash = label.find('/');
  return slash == std::string::npos ? label : label.substr(slash + 1);
}

namespace {

// The atom list's value columns 2 to 6, as their headings name them.
constexpr const char* kAtomValueNames[] = {"g", "x", "y", "z", "B"};

// A whole text as a finite decimal number, blanks around it allowed: "5.15x", "1,5" and "inf"
// are none.
std::optional<double> WholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.front() == '+') text.remove_prefix(1);
  const std::optional<double> value = WholeDouble(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

// Typed text as a message shows it: control characters become "?" and a long text is cut.
std::string Shown(std::string_view text) {
  constexpr std::size_t kLongest = 24;
  std::string shown;
  for (char c : text.substr(0, kLongest)) {
    shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
  }
  if (text.size() > kLongest) shown += "...";
  return shown;
}

// Shows the message; gathering then stops with false.
bool Refuse(UserInterface& ui, const std::string& message) {
  ui.ShowMessage(message);
  return false;
}

bool ReadNumber(const std::string& text, const std::string& name, double& value,
                UserInterface& ui) {
  const std::optional<double> number = WholeNumber(text);
  if (!number) return Refuse(ui, name + " is not a number : " + Shown(text) + " !!!");
  value = *number;
  return true;
}

bool ReadWhole(const std::string& text, const char* name, int& value, UserInterface& ui) {
  const std::optional<double> number = WholeNumber(text);
  if (!number || *number != std::floor(*number) || std::abs(*number) > 1e6) {
    return Refuse(ui, std::string(name) + " is not a whole number : " + Shown(text) + " !!!");
  }
  value = static_cast<int>(*number);
  return true;
}

// Edges above 0, and angles between 0 and 180 whose cosines leave the cell a volume.
bool CheckCell(const CrystalData& data, UserInterface& ui) {
  const std::pair<const char*, double> edges[] = {{"a", data.a}, {"b", data.b}, {"c", data.c}};
  for (const auto& [name, edge] : edges) {
    if (edge <= 0.0) return Refuse(ui, FormatText("%s must be greater than 0 !!!", name));
  }
  const std::pair<const char*, double> angles[] = {
      {"alpha", data.alpha}, {"beta", data.beta}, {"gamma", data.gamma}};
  for (const auto& [name, angle] : angles) {
    if (angle <= 0.0 || angle >= 180.0) {
      return Refuse(ui, FormatText("%s must lie between 0 and 180 !!!", name));
    }
  }
  const double radian = std::numbers::pi / 180.0;
  const double ca = std::cos(data.alpha * radian);
  const double cb = std::cos(data.beta * radian);
  const double cg = std::cos(data.gamma * radian);
  // The squared volume of the cell with unit edges.
  if (1.0 - ca * ca - cb * cb - cg * cg + 2.0 * ca * cb * cg < 1e-9) {
    return Refuse(ui, "alpha, beta and gamma make no cell !!!");
  }
  return true;
}

bool RowIsEmpty(const CrystalFormFields& form, int row) {
  for (int column = 1; column <= 6; ++column) {
    if (!form.AtomText(row, column).empty()) return false;
  }
  return true;
}

}  // namespace

bool GatherCrystalData(const CrystalFormFields& form, CrystalData& data, UserInterface& ui) {
  CrystalData gathered = data;
  const auto missing = [&ui](const char* name) {
    return Refuse(ui, std::string("No ") + name + " !!!");
  };
  const std::string sgText = form.BoxText(FormBox::kSgNumber);
  if (sgText.empty() || sgText == "0") return missing("SG number");
  if (!ReadWhole(sgText, "SG number", gathered.sgNumber, ui)) return false;
  if (gathered.sgNumber == 0) return missing("SG number");
  const std::string settingText = form.BoxText(FormBox::kSetting);
  if (settingText.empty()) return missing("Setting number");
  if (!ReadWhole(settingText, "Setting number", gathered.settingNumber, ui)) return false;

  struct CellBox {
    FormBox box;
    const char* name;
    double* field;
  };
  const CellBox cellBoxes[] = {
      {FormBox::kA, "a", &gathered.a},          {FormBox::kB, "b", &gathered.b},
      {FormBox::kC, "c", &gathered.c},          {FormBox::kAlpha, "alpha", &gathered.alpha},
      {FormBox::kBeta, "beta", &gathered.beta}, {FormBox::kGamma, "gamma", &gathered.gamma},
  };
  for (const CellBox& cellBox : cellBoxes) {
    const std::string text = form.BoxText(cellBox.box);
    if (text.empty()) return missing(cellBox.name);
    if (!ReadNumber(text, cellBox.name, *cellBox.field, ui)) return false;
  }
  if (!CheckCell(gathered, ui)) return false;

  gathered.targetIndex = form.SelectedTargetPosition() + 1;

  // The atoms are the rows down to the first empty one; nothing may follow it.
  const int rows = std::min(form.AtomRowCount(), kMaxAtoms);
  int atoms = 0;
  while (atoms < rows && !RowIsEmpty(form, atoms)) {
    const std::size_t i = static_cast<std::size_t>(atoms);
    const int number = atoms + 1;
    const std::string label = form.AtomText(atoms, 1);
    if (label.empty()) return Refuse(ui, FormatText("No label in atom row %d !!!", number));
    gathered.atomLabels[i] = label;
    double* fields[] = {&gathered.g[i], &gathered.x[i], &gathered.y[i], &gathered.z[i],
                        &gathered.B[i]};
    for (int column = 2; column <= 6; ++column) {
      const char* name = kAtomValueNames[column - 2];
      const std::string text = form.AtomText(atoms, column);
      if (text.empty()) return Refuse(ui, FormatText("No %s in atom row %d !!!", name, number));
      if (!ReadNumber(text, FormatText("%s of atom row %d", name, number), *fields[column - 2],
                      ui)) {
        return false;
      }
    }
    ++atoms;
  }
  for (int row = atoms + 1; row < rows; ++row) {
    if (!RowIsEmpty(form, row)) {
      return Refuse(ui, FormatText("Atom row %d is empty but atoms follow it !!!", atoms + 1));
    }
  }
  gathered.atomCount = atoms;
  if (atoms == 0) return Refuse(ui, "No data input !!!");
  data = gathered;
  return true;
}

RunInput MakeRunInput(const CrystalData& data, const RunFiles& files,
                      const ProfileParameters& profile) {
  RunInput input;
  input.files = files;
  input.profile = profile;
  input.sgNumber = data.sgNumber;
  input.settingNumber = data.settingNumber;
  input.targetIndex = data.targetIndex;
  input.radiationKind = data.radiationKind;
  input.cell = {data.a, data.b, data.c, data.alpha, data.beta, data.gamma};
  input.atomCount = data.atomCount;
  for (std::size_t i = 0; i < static_cast<std::size_t>(data.atomCount); ++i) {
    input.species[i] = SpeciesOf(data.atomLabels[i]);
    input.g[i] = data.g[i];
    input.x[i] = data.x[i];
    input.y[i] = data.y[i];
    input.z[i] = data.z[i];
    input.B[i] = data.B[i];
  }
  return input;
}

}  // namespace braxel
