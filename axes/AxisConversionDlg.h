#pragma once

#include <array>
#include <string>

#include "axes/AxisMatrix.h"
#include "engine/Capacity.h"

namespace braxel {

class UserInterface;

// What the dialog's controls show, as RefreshControls and OnInitDialog leave it.
struct AxisConversionView {
  std::string groupCaption;  // "Monoclinic System" or "Orthorhombic System"
  std::string rowLabel;      // above both rows of boxes
  bool originalRowEnabled = true;
  std::array<bool, kAxisSettingCount> originalMarks{};
  std::array<bool, kAxisSettingCount> convertedMarks{};
  std::array<std::string, 6> originalCell;
  std::array<std::string, 6> convertedCell;
  std::string originalSymbol;
  std::string convertedSymbol;
  std::string standardSymbol;
};

// The modal dialog "Axis Conversion": the fields are filled before it is shown and read after
// OK; a presenter shows them and calls the handlers.
class CAxisConversionDlg {
 public:
  explicit CAxisConversionDlg(UserInterface& ui) : ui_(ui) {}

  int systemMode = kMonoclinicMode;
  std::string tablePath;
  int atomCount = 0;
  std::array<std::string, 6> originalCell;   // a, b, c, alpha, beta, gamma
  std::array<std::string, 6> convertedCell;  // empty until a Conversion
  std::array<std::string, kMaxAtoms> atomLabel;
  std::array<std::string, kMaxAtoms> occupancy;
  std::array<std::string, kMaxAtoms> displacementB;
  std::array<std::string, kMaxAtoms> xIn, yIn, zIn;
  std::array<std::string, kMaxAtoms> xOut, yOut, zOut;
  std::string symbolIn;
  std::string sgNumberText;
  std::string settingText;
  std::string originalSymbol;
  std::string convertedSymbol;
  std::string standardSymbol;
  int originalSetting = 0;   // 1 to 6; 0 when the data's setting is none of the six
  int convertedSetting = 1;  // 1 to 6
  std::string uniqueAxis;
  Matrix3 coordMatrix{};
  Matrix3 axisMatrix{};

  // Run by the presenter before the dialog is shown.
  void OnInitDialog();
  // The data's setting and the standard symbol from the setting table.
  void ReadSettingTable();
  void RefreshControls();
  // A click on box k (1 to 6) of the second row; marked is the box's state after the click.
  void OnConvertedSettingClicked(int k, bool marked);
  // The "Conversion" button.
  void OnConversion();
  // The OK button: true when the dialog closes with OK.
  bool OnOK();
  // The Cancel button: the dialog closes and nothing is written.
  void OnCancel() {}
  // Run by OK: xOut, yOut, zOut from xIn, yIn, zIn through coordMatrix.
  void ConvertCoordinates();

  // A Conversion completed and its result stands.
  bool IsConverted() const { return !convertedCell[0].empty(); }
  // The space-group table's setting number of the converted data.
  int RecordSetting() const;

  const AxisConversionView& View() const { return view_; }

 private:
  bool IsMonoclinicOneLineGroup() const;
  // Back to the state before any Conversion.
  void ClearConversion();

  UserInterface& ui_;
  AxisConversionView view_;
  int convertedFor_ = 0;  // the target of the Conversion that stands
};

}  // namespace braxel
