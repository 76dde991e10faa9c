#pragma once

#include <string>

#include "app/CrystalData.h"
#include "app/FormControls.h"
#include "platform/DialogPresenter.h"
#include "settings/ProfileParametersDlg.h"
#include "settings/SettingsFile.h"

namespace braxel {

class SystemServices;
class UserInterface;

// The main form: the one crystal structure, the results of the last run, the settings and the
// commands on them. It reaches its controls, the user and the system only through interfaces.
class CBraxelView {
 public:
  // Sets the window title and reads the settings of the current directory (the bundled data
  // directory is the fallback for the settings file and the setting table). Programs named in
  // the settings without a folder are looked for in ownDirectory first.
  CBraxelView(FormControls& form, UserInterface& ui, SystemServices& system,
              DialogPresenter<CProfileParametersDlg>& profileDialog,
              const std::string& dataDirectory, const std::string& ownDirectory);

  // The form is shown for the first time: the X-ray list selects the record's target.
  void OnInitialUpdate();

  // Record to controls, after an import or a run.
  void ShowCrystalData();
  // Empties the controls and clears calculationDone; the record keeps its values.
  void ClearForm();
  // Controls to record; the first missing value is shown and false returned.
  bool GatherCrystalData();
  // "Inset" and "Delete" of the atom list, on its selected row.
  void OnInsertAtom();
  void OnDeleteAtom();

  // Reads a structure file into the record and shows it, with its path in the window title.
  // False after the reader's message; the form and the title then stay as they were.
  bool OpenStructureFile(const std::string& path);

  void OnCalculateProfile();
  void OnSaveInputFile();
  void OnEditProfileParameters();
  // Opens the report in the editor.
  void OnShowOutput();

  CrystalData& Data() { return data_; }
  CalculationResults& Results() { return results_; }
  FixedPaths& Fixed() { return settings_.fixed; }
  ExternalPaths& External() { return settings_.external; }
  ProfileParameters& Profile() { return settings_.profile; }
  int LastImportType() const { return lastImportType_; }
  const std::string& CurrentFilePath() const { return currentFilePath_; }
  const std::string& Title() const { return title_; }

 private:
  void SetTitle(const std::string& title);

  FormControls& form_;
  UserInterface& ui_;
  SystemServices& system_;
  DialogPresenter<CProfileParametersDlg>& profileDialog_;
  CrystalData data_;
  CalculationResults results_;
  Settings settings_;
  std::string ownDirectory_;
  int lastImportType_ = 1;  // RIETAN
  std::string currentFilePath_;
  std::string title_;
};

}  // namespace braxel
