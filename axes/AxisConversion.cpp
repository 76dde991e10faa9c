#include "axes/AxisConversion.h"

#include "app/CrystalData.h"
#include "platform/TextInput.h"
#include "platform/UserInterface.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {

namespace {

std::string Number(double value) { return FormatText("%10.5lf", value); }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

double Real(const std::string& text) { return LeadingDouble(text); }

// Marks one box, converts and presses OK, as a user would.
class ScriptedConversion : public DialogPresenter<CAxisConversionDlg> {
 public:
  explicit ScriptedConversion(int targetSetting) : targetSetting_(targetSetting) {}
  bool RunModal(CAxisConversionDlg& dialog) override {
    dialog.OnInitDialog();
    dialog.OnConvertedSettingClicked(targetSetting_, true);
    dialog.OnConversion();
    return dialog.IsConverted() && dialog.OnOK();
  }

 private:
  int targetSetting_;
};

}  // namespace

bool ConvertAxisSetting(int systemMode, CrystalData& data, CalculationResults& results,
                        const std::string& axisTablePath, UserInterface& ui,
                        DialogPresenter<CAxisConversionDlg>& presenter) {
  CAxisConversionDlg dialog(ui);
  dialog.systemMode = systemMode;
  dialog.tablePath = axisTablePath;
  dialog.atomCount = data.atomCount;
  dialog.originalCell = {Number(data.a),     Number(data.b),    Number(data.c),
                         Number(data.alpha), Number(data.beta), Number(data.gamma)};
  dialog.uniqueAxis = results.uniqueAxis;
  dialog.symbolIn = results.sgSymbol;
  dialog.sgNumberText = Trimmed(FormatText("%3d", data.sgNumber));
  dialog.settingText = Trimmed(FormatText("%3d", data.settingNumber));
  for (int i = 0; i < data.atomCount; ++i) {
    dialog.atomLabel[i] = data.atomLabels[i];
    dialog.displacementB[i] = Number(data.B[i]);
    dialog.occupancy[i] = Number(data.g[i]);
    dialog.xIn[i] = Number(data.x[i]);
    dialog.yIn[i] = Number(data.y[i]);
    dialog.zIn[i] = Number(data.z[i]);
  }
  if (!presenter.RunModal(dialog)) return false;
  data.a = Real(dialog.convertedCell[0]);
  data.b = Real(dialog.convertedCell[1]);
  data.c = Real(dialog.convertedCell[2]);
  data.alpha = Real(dialog.convertedCell[3]);
  data.beta = Real(dialog.convertedCell[4]);
  data.gamma = Real(dialog.convertedCell[5]);
  results.sgSymbol = dialog.convertedSymbol;
  results.uniqueAxis = dialog.uniqueAxis;
  data.settingNumber = dialog.RecordSetting();
  for (int i = 0; i < data.atomCount; ++i) {
    data.atomLabels[i] = dialog.atomLabel[i];
    data.g[i] = Real(dialog.occupancy[i]);
    data.B[i] = Real(dialog.displacementB[i]);
    data.x[i] = Real(dialog.xOut[i]);
    data.y[i] = Real(dialog.yOut[i]);
    data.z[i] = Real(dialog.zOut[i]);
  }
  return true;
}

bool ConvertToSetting(int targetSetting, CrystalData& data, CalculationResults& results,
                      const std::string& axisTablePath, UserInterface& ui) {
  const int mode = AxisConversionModeOf(data.sgNumber);
  if (mode < 0) {
    ui.ShowMessage(FormatText("Space group %d has no axis settings !!!", data.sgNumber));
    return false;
  }
  if (targetSetting < 1 || targetSetting > kAxisSettingCount) {
    ui.ShowMessage(FormatText("Setting %d not available !!!", targetSetting));
    return false;
  }
  if (mode == kOrthorhombicMode && targetSetting != 1) {
    ui.ShowMessage("#1 setting only available !!!");
    return false;
  }
  ScriptedConversion presenter(targetSetting);
  return ConvertAxisSetting(mode, data, results, axisTablePath, ui, presenter);
}

FindSgNumberOutcome FindSgNumberCommand(
    const std::string& typedSymbol, CrystalData& data, CalculationResults& results,
    const std::string& tabsgPath, const std::string& axisTablePath, UserInterface& ui,
    const std::function<void(int systemMode)>& convertAxisSetting) {
  if (!ui.AskYesNo("Do you rewrite SG symbol ?")) return FindSgNumberOutcome::kDeclined;
  results.sgSymbol = typedSymbol;
  const std::string& symbol = results.sgSymbol;
  FindSgBySymbol(tabsgPath, symbol, data.sgNumber, data.settingNumber, ui);
  if (data.sgNumber == 0) {
    if (!FindSgBeyondTable(tabsgPath, axisTablePath, symbol, data.sgNumber, data.settingNumber,
                           ui)) {
      ui.ShowMessage("Space group number not found !!!");
      return FindSgNumberOutcome::kNotFound;
    }
    const int mode = AxisConversionModeOf(data.sgNumber);
    if (mode >= 0) convertAxisSetting(mode);
  }
  return FindSgNumberOutcome::kRefreshForm;
}

}  // namespace braxel
