#include "io/UnattendedImport.h"

#include <optional>

#include "io/FileOpen.h"
#include "io/ScriptedChoice.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {

bool ReadStructureUnattended(const std::string& path, const UnattendedChoices& choices,
                             CrystalData& data, CalculationResults& results,
                             const std::string& tabsgPath, const std::string& settingTablePath,
                             UserInterface& ui,
                             const std::function<void(int systemMode)>& convertAxisSetting) {
  const std::optional<ImportFileType> type = ImportTypeOf(path);
  if (!type) {
    ui.ShowMessage(path + " is not a structure file this program reads !!!");
    return false;
  }
  ScriptedChoice<CIcsdEntryDlg> entry(choices.entry);
  ScriptedChoice<CExpoSolutionDlg> solution(choices.solution);
  ImportContext context{
      data, results, ui, entry, solution, tabsgPath, settingTablePath, convertAxisSetting};
  const bool read = ReadStructureFile(*type, path, context);
  if (!read || entry.refused || solution.refused) return false;
  if (data.sgNumber != 0) return true;
  if (!FindSgNumberBySymbol(tabsgPath, settingTablePath, results.sgSymbol, data.sgNumber,
                            data.settingNumber, ui)) {
    // The CIF reader has said so already.
    if (*type != ImportFileType::kCif) ui.ShowMessage("Space group number not found !!!");
    return false;
  }
  OfferAxisConversion(context);
  return true;
}

}  // namespace braxel
