#include "io/UnattendedImport.h"

#include <optional>

#include "io/FileOpen.h"
#include "io/ScriptedChoice.h"

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
  // Without a space-group number there is nothing to calculate; the reader has said so.
  return read && !entry.refused && !solution.refused && data.sgNumber != 0;
}

}  // namespace braxel
