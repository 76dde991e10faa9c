#pragma once

#include <functional>
#include <string>

#include "axes/AxisConversionDlg.h"
#include "platform/DialogPresenter.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {

struct CalculationResults;
struct CrystalData;
class UserInterface;

// Fills the dialog from the record, shows it and, on OK, writes cell, coordinates, g and B
// (with 5 decimals), symbol and setting back; sgNumber and atomCount stay. True when the record
// was written; callers need not look.
bool ConvertAxisSetting(int systemMode, CrystalData& data, CalculationResults& results,
                        const std::string& axisTablePath, UserInterface& ui,
                        DialogPresenter<CAxisConversionDlg>& presenter);

// The same conversion without a window: box targetSetting is marked, Conversion run and OK
// pressed. For groups 3 to 74; the data's setting comes from sgNumber, settingNumber and the
// sgSymbol and uniqueAxis of results, as in the dialog. Failures are shown through ui and leave
// the record as it was; true when it was converted.
bool ConvertToSetting(int targetSetting, CrystalData& data, CalculationResults& results,
                      const std::string& axisTablePath, UserInterface& ui);

enum class FindSgNumberOutcome {
  kDeclined,     // answered No: nothing changed
  kNotFound,     // sgSymbol holds the typed text; the form is not redrawn
  kRefreshForm,  // the form shows the record again and clears its five result edits
};

// Find SG Number: asks, takes the typed symbol into sgSymbol, looks it up in both tables and
// offers the axis conversion (convertAxisSetting with its mode) for a number found there.
FindSgNumberOutcome FindSgNumberCommand(
    const std::string& typedSymbol, CrystalData& data, CalculationResults& results,
    const std::string& tabsgPath, const std::string& axisTablePath, UserInterface& ui,
    const std::function<void(int systemMode)>& convertAxisSetting);

}  // namespace braxel
