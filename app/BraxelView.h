#pragma once

#include <string>

#include "app/CrystalData.h"
#include "app/FormControls.h"
#include "axes/AxisConversionDlg.h"
#include "io/ChoiceDialogs.h"
#include "io/FileOpen.h"
#include "platform/DialogPresenter.h"
#include "settings/ExternalPrograms.h"
#include "settings/ProfileParametersDlg.h"
#include "settings/SettingsFile.h"

namespace braxel {

class SystemServices;
class UserInterface;

// The modal dialogs of the form's commands.
struct ViewDialogs {
  DialogPresenter<CProfileParametersDlg>& profileParameters;
  DialogPresenter<CAxisConversionDlg>& axisConversion;
  DialogPresenter<ExternalFilesDialog>& externalFiles;
  DialogPresenter<CIcsdEntryDlg>& icsdEntry;
  DialogPresenter<CExpoSolutionDlg>& expoSolution;
};

// The main form: the one crystal structure, the results of the last run, the settings and the
// commands on them. It reaches its controls, the user and the system only through interfaces.
class CBraxelView {
 public:
  // Sets the window title and reads the settings of the current directory (the bundled data
  // directory is the fallback for the settings file and the setting table). Programs named in
  // the settings without a folder are looked for in ownDirectory first.
  CBraxelView(FormControls& form, UserInterface& ui, SystemServices& system,
              const ViewDialogs& dialogs, const std::string& dataDirectory,
              const std::string& ownDirectory);

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

  // File Open: the dialog, then OpenStructureFile.
  void OnFileOpenStructure();
  // Reads a structure file (reader chosen by the extension, else the type used last) into the
  // record and shows it, with its path in the window title. False after the reader's message;
  // the form and the title then stay as they were.
  bool OpenStructureFile(const std::string& path);

  void OnCalculateProfile();
  void OnSaveInputFile();
  void OnEditProfileParameters();
  // Opens the report in the editor.
  void OnShowOutput();
  void OnSaveOutputFile();
  void OnShowPattern();
  void OnShowStructure();
  void OnEditFile();
  void OnHelpByHtml();
  void OnSetExternalFiles();
  // The symbol typed into "SG symbol :" to number and setting, then the axis conversion.
  void OnFindSgNumber();
  // The Axis Conversion dialog for the record (mode 0 monoclinic, 1 orthorhombic).
  void ConvertAxisSetting(int systemMode);

  CrystalData& Data() { return data_; }
  CalculationResults& Results() { return results_; }
  FixedPaths& Fixed() { return settings_.fixed; }
  ExternalPaths& External() { return settings_.external; }
  ProfileParameters& Profile() { return settings_.profile; }
  ImportFileType LastImportType() const { return fileOpen_.lastImportType; }
  const std::string& CurrentFilePath() const { return fileOpen_.currentFilePath; }
  const std::string& Title() const { return title_; }

 private:
  void SetTitle(const std::string& title);
  ImportContext Import();
  // Empties the five SG Information boxes a run fills, after a read or a symbol lookup.
  void ClearGroupInfo();
  // The form after a successful read.
  void ShowImported(const std::string& title);

  FormControls& form_;
  UserInterface& ui_;
  SystemServices& system_;
  ViewDialogs dialogs_;
  CrystalData data_;
  CalculationResults results_;
  Settings settings_;
  std::string ownDirectory_;
  FileOpenState fileOpen_;
  std::string title_;
};

}  // namespace braxel
