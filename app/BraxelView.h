#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

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

  // Record to controls, after an import or a run: the structure, and the results when a run
  // completed (else only the symbol).
  void ShowCrystalData();
  // Clear: empties every control and the results and forgets the file; the record keeps its
  // values.
  void ClearForm();
  // Controls to record; the first missing or unusable value is shown and false returned.
  bool GatherCrystalData();
  // The user changed the structure in the form (a box, an atom cell, the X-ray target): results
  // of an earlier run no longer belong to it. A new space-group number or setting also takes
  // the symbol.
  void OnStructureEdited(bool spaceGroupEdited);
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
  // Writes the gathered form as a .inp file, which then names the window.
  void OnSaveInputFile();
  // The reflection list of the last run as a CSV file, and its pattern as 2theta and intensity
  // columns.
  void OnExportReflections();
  void OnExportPattern();
  // Rows of the last run's reflection list (by index) under the column headings, the fields
  // joined by separator.
  std::string ReflectionTableText(const std::vector<int>& rows, char separator) const;
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
  // The Axis Conversion dialog for the record (mode 0 monoclinic, 1 orthorhombic); true when
  // the record was converted.
  bool ConvertAxisSetting(int systemMode);

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
  // The structure file now in the window, in the title and the recent files.
  void NameFile(const std::string& path);
  ImportContext Import();
  // Reads a file with the dialog or without; the form follows the outcome.
  bool ReadStructure(const std::function<std::optional<std::string>(ImportContext&)>& read);
  // The structure's boxes and atom rows.
  void ShowStructure();
  // The last run's results but the symbol when it completed, else empty boxes, lists and plot.
  void ShowResults();
  // Forgets the results of the last run and empties them on the form; keepSymbol keeps the
  // space-group symbol, which may have come with the structure.
  void ClearResults(bool keepSymbol);
  // Empties the structure's controls.
  void ClearStructure();

  FormControls& form_;
  UserInterface& ui_;
  SystemServices& system_;
  ViewDialogs dialogs_;
  CrystalData data_;
  CalculationResults results_;
  std::optional<Pattern> pattern_;  // of the last completed run
  Settings settings_;
  std::string ownDirectory_;
  FileOpenState fileOpen_;
  std::string title_;
};

}  // namespace braxel
