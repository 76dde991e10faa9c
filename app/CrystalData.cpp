#include "app/CrystalData.h"

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

std::string SpeciesOf(const std::string& label) {
  const std::size_t slash = label.find('/');
  return slash == std::string::npos ? label : label.substr(slash + 1);
}

bool GatherCrystalData(const CrystalFormFields& form, CrystalData& data, UserInterface& ui) {
  const auto missing = [&ui](const char* name) {
    ui.ShowMessage(std::string("No ") + name + " !!!");
    return false;
  };
  const std::string sgText = form.BoxText(FormBox::kSgNumber);
  if (sgText.empty() || sgText == "0") return missing("SG number");
  ParseInt(sgText, data.sgNumber);
  const std::string settingText = form.BoxText(FormBox::kSetting);
  if (settingText.empty()) return missing("Setting number");
  ParseInt(settingText, data.settingNumber);

  struct CellBox {
    FormBox box;
    const char* name;
    double* field;
  };
  const CellBox cellBoxes[] = {
      {FormBox::kA, "a", &data.a},          {FormBox::kB, "b", &data.b},
      {FormBox::kC, "c", &data.c},          {FormBox::kAlpha, "alpha", &data.alpha},
      {FormBox::kBeta, "beta", &data.beta}, {FormBox::kGamma, "gamma", &data.gamma},
  };
  for (const CellBox& cellBox : cellBoxes) {
    const std::string text = form.BoxText(cellBox.box);
    if (text.empty()) return missing(cellBox.name);
    ParseDouble(text, *cellBox.field);
  }

  data.targetIndex = form.SelectedTargetPosition() + 1;

  data.atomCount = 0;
  const int rows = form.AtomRowCount();
  for (int row = 0; row < rows && row < kMaxAtoms; ++row) {
    const std::string label = form.AtomText(row, 1);
    if (label.empty()) break;
    const std::size_t i = static_cast<std::size_t>(row);
    data.atomLabels[i] = label;
    double* fields[] = {&data.g[i], &data.x[i], &data.y[i], &data.z[i], &data.B[i]};
    for (int column = 2; column <= 6; ++column) {
      ParseDouble(form.AtomText(row, column), *fields[column - 2]);
    }
    data.atomCount = row + 1;
  }
  if (data.atomCount == 0) {
    ui.ShowMessage("No data input !!!");
    return false;
  }
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
