#include "app/BraxelView.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <utility>

#include "app/ReportReadBack.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "io/InpFile.h"
#include "io/InsWriter.h"
#include "platform/FileReplace.h"
#include "platform/SystemServices.h"
#include "platform/TextInput.h"
#include "platform/UserInterface.h"
#include "settings/ExternalPrograms.h"

namespace braxel {
namespace {

constexpr int kAtomColumns = 7;

constexpr FormBox kCellBoxes[] = {FormBox::kA,     FormBox::kB,    FormBox::kC,
                                  FormBox::kAlpha, FormBox::kBeta, FormBox::kGamma};

// The title before any structure file is read.
constexpr const char* kStartTitle = "Braxel --- [File Name : ]";

constexpr const char* kNotCompleted = "Calculation not completed !!!";

FileDialogRequest ExportRequest(const char* title, const FileFilter& filter, const char* extension,
                                const std::string& directory) {
  FileDialogRequest request;
  request.title = title;
  request.filters = {filter, {"Other Files (*.*)", "*"}};
  request.defaultExtension = extension;
  request.initialPath = directory + "/Braxel." + extension;
  return request;
}

// The Save dialog, then the whole text into the chosen file, or nothing into it.
void WriteExport(UserInterface& ui, const FileDialogRequest& request, const std::string& text) {
  const std::optional<std::string> path = ui.ChooseFileToSave(request);
  if (path && !ReplaceFileWithText(*path, text)) {
    ui.ShowMessage(FormatText("%s file cannot be created !!!", path->c_str()));
  }
}

}  // namespace

CBraxelView::CBraxelView(FormControls& form, UserInterface& ui, SystemServices& system,
                         const ViewDialogs& dialogs, const std::string& dataDirectory,
                         const std::string& ownDirectory)
    : form_(form), ui_(ui), system_(system), dialogs_(dialogs), ownDirectory_(ownDirectory) {
  SetTitle(kStartTitle);
  settings_ = LoadSettings(system_, dataDirectory, ui_);
}

void CBraxelView::SetTitle(const std::string& title) {
  title_ = title;
  form_.SetWindowTitle(title_);
}

void CBraxelView::OnInitialUpdate() { form_.SelectTargetPosition(data_.targetIndex - 1); }

void CBraxelView::ShowCrystalData() {
  ShowStructure();
  form_.SetInfoText(InfoBox::kSgSymbol, results_.sgSymbol);
  ShowResults();
}

void CBraxelView::ShowStructure() {
  form_.SetBoxText(FormBox::kSgNumber, FormatText("%3d", data_.sgNumber));
  form_.SetBoxText(FormBox::kSetting, FormatText("%3d", data_.settingNumber));
  const double cell[] = {data_.a, data_.b, data_.c, data_.alpha, data_.beta, data_.gamma};
  for (std::size_t i = 0; i < std::size(kCellBoxes); ++i) {
    form_.SetBoxText(kCellBoxes[i], FormatText("%10.5f", cell[i]));
  }
  const int atoms = std::clamp(data_.atomCount, 0, std::min(kMaxAtoms, form_.AtomRowCount()));
  for (int row = 0; row < atoms; ++row) {
    const std::size_t i = static_cast<std::size_t>(row);
    form_.SetAtomText(row, 0, FormatText("%2d", row + 1));
    form_.SetAtomText(row, 1, data_.atomLabels[i]);
    const double values[] = {data_.g[i], data_.x[i], data_.y[i], data_.z[i], data_.B[i]};
    for (int column = 2; column < kAtomColumns; ++column) {
      form_.SetAtomText(row, column, FormatText("%8.5f", values[column - 2]));
    }
  }
}

void CBraxelView::ShowResults() {
  const bool done = results_.calculationDone;
  const auto shown = [done](const std::string& text) { return done ? text : std::string(); };
  form_.SetInfoText(InfoBox::kSystem, shown(results_.crystalSystem));
  form_.SetInfoText(InfoBox::kLaueGroup, shown(results_.laueGroup));
  form_.SetInfoText(InfoBox::kPointGroup, shown(results_.pointGroup));
  form_.SetInfoText(InfoBox::kCentro, shown(results_.centrosymmetric));
  form_.SetInfoText(InfoBox::kUniqueAxis, shown(results_.uniqueAxis));

  const auto first = [done](const std::vector<std::string>& lines, int count) {
    const auto end =
        lines.begin() + (done ? std::clamp<std::ptrdiff_t>(count, 0, std::ssize(lines)) : 0);
    return std::vector<std::string>(lines.begin(), end);
  };
  form_.SetLines(LineList::kSymmetryCodes,
                 first(results_.symmetryCodes, results_.symmetryCodeCount));
  form_.SetLines(LineList::kConditions, first(results_.conditions, results_.conditionCount));

  std::vector<ReflectionRow> rows;
  if (done) {
    rows.assign(results_.reflectionRows.begin(),
                results_.reflectionRows.begin() +
                    std::clamp<std::ptrdiff_t>(results_.reflectionCount, 0,
                                               std::ssize(results_.reflectionRows)));
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    rows[row][0] = FormatText("%4d", static_cast<int>(row) + 1);
    rows[row][8] = FormatText("%3.1f", LeadingDouble(rows[row][8]));
  }
  form_.SetReflectionRows(rows);
  form_.ShowPattern(done && pattern_ ? &*pattern_ : nullptr);
}

void CBraxelView::ClearResults(bool keepSymbol) {
  results_.calculationDone = false;
  for (std::string* text : {&results_.crystalSystem, &results_.laueGroup, &results_.pointGroup,
                            &results_.centrosymmetric}) {
    text->clear();
  }
  if (!keepSymbol) {
    results_.sgSymbol.clear();
    results_.uniqueAxis.clear();
    form_.SetInfoText(InfoBox::kSgSymbol, "");
  }
  results_.symmetryCodeCount = 0;
  results_.conditionCount = 0;
  results_.reflectionCount = 0;
  pattern_.reset();
  ShowResults();
}

void CBraxelView::ClearStructure() {
  form_.SetBoxText(FormBox::kSgNumber, "");
  form_.SetBoxText(FormBox::kSetting, "");
  for (FormBox box : kCellBoxes) form_.SetBoxText(box, "");
  form_.SelectTargetPosition(data_.targetIndex - 1);
  // Every row goes, numbered or not: rows typed below a gap are structure too.
  const int atomRows = std::min(kMaxAtoms, form_.AtomRowCount());
  for (int row = 0; row < atomRows; ++row) {
    for (int column = 0; column < kAtomColumns; ++column) form_.SetAtomText(row, column, "");
  }
}

void CBraxelView::ClearForm() {
  ClearStructure();
  ClearResults(false);
  fileOpen_.currentFilePath.clear();
  SetTitle(kStartTitle);
}

void CBraxelView::OnStructureEdited(bool spaceGroupEdited) {
  if (results_.calculationDone || spaceGroupEdited) ClearResults(!spaceGroupEdited);
}

bool CBraxelView::GatherCrystalData() { return braxel::GatherCrystalData(form_, data_, ui_); }

void CBraxelView::OnInsertAtom() {
  const int row = form_.SelectedAtomRow();
  if (row < 0 || row > data_.atomCount || data_.atomCount >= kMaxAtoms) return;
  // The list keeps its rows, so its last one makes room; it must not hold anything.
  const int last = form_.AtomRowCount() - 1;
  for (int column = 0; column < kAtomColumns; ++column) {
    if (!form_.AtomText(last, column).empty()) return;
  }
  form_.InsertAtomRow(row);
  ++data_.atomCount;
  for (int i = 0; i < data_.atomCount; ++i) form_.SetAtomText(i, 0, FormatText("%2d", i + 1));
  OnStructureEdited(false);
}

void CBraxelView::OnDeleteAtom() {
  const int row = form_.SelectedAtomRow();
  if (row < 0 || row > data_.atomCount) return;
  form_.DeleteAtomRow(row);
  // The empty row after the last atom can go too, but it was no atom.
  if (row < data_.atomCount) --data_.atomCount;
  for (int i = 0; i < data_.atomCount; ++i) form_.SetAtomText(i, 0, FormatText("%2d", i + 1));
  OnStructureEdited(false);
}

ImportContext CBraxelView::Import() {
  return {data_,
          results_,
          ui_,
          dialogs_.icsdEntry,
          dialogs_.expoSolution,
          settings_.external.tabsgPath,
          settings_.fixed.axisTablePath,
          [this](int mode) { ConvertAxisSetting(mode); }};
}

void CBraxelView::NameFile(const std::string& path) {
  fileOpen_.currentFilePath = path;
  SetTitle(StructureWindowTitle(path));
  form_.AddRecentFile(path);
}

bool CBraxelView::ReadStructure(
    const std::function<std::optional<std::string>(ImportContext&)>& read) {
  // A symbol and an axis belong to the structure they came with; a file without them has none.
  const std::string symbol = std::exchange(results_.sgSymbol, {});
  const std::string axis = std::exchange(results_.uniqueAxis, {});
  ImportContext context = Import();
  if (!read(context)) {
    results_.sgSymbol = symbol;
    results_.uniqueAxis = axis;
    // A cancelled dialog chose no file and changes nothing.
    if (!fileOpen_.currentFilePath.empty()) ClearResults(true);
    return false;
  }
  ClearStructure();
  ClearResults(true);
  ShowCrystalData();
  NameFile(fileOpen_.currentFilePath);
  return true;
}

void CBraxelView::OnFileOpenStructure() {
  // The dialog stores the path as soon as a file is chosen; still empty means cancelled.
  const std::string previous = std::exchange(fileOpen_.currentFilePath, {});
  ReadStructure(
      [this](ImportContext& context) { return braxel::OnFileOpenStructure(fileOpen_, context); });
  if (fileOpen_.currentFilePath.empty()) fileOpen_.currentFilePath = previous;
}

bool CBraxelView::OpenStructureFile(const std::string& path) {
  return ReadStructure([this, &path](ImportContext& context) {
    return braxel::OpenStructureFile(fileOpen_, path, context);
  });
}

void CBraxelView::OnCalculateProfile() {
  if (!GatherCrystalData()) return;
  const RunFiles files{settings_.fixed.reportPath, settings_.fixed.patternPath,
                       settings_.external.tabsgPath, settings_.external.fscatPath};
  const RunInput input = MakeRunInput(data_, files, settings_.profile);
  bool ran = false;
  std::string runMessage;
  {
    const WaitCursor wait(ui_);
    // The run's working storage is large; it lives only as long as the run.
    const auto run = std::make_unique<CalculationRun>();
    ran = run->RunCalculation(input, runMessage);
  }
  // Whatever happens now, the results of an earlier run are no longer those of the form.
  ClearResults(true);
  if (!ran) {
    ui_.ShowMessage(runMessage);
    return;
  }
  if (!ReadBackReport(settings_.fixed.reportPath, results_, ui_)) {
    ClearResults(true);  // what was read of it is no result
    OnShowOutput();
    return;
  }
  Pattern pattern;
  std::string message;
  if (ReadPatternFile(settings_.fixed.patternPath, pattern, message)) {
    pattern_ = std::move(pattern);
  } else {
    ui_.ShowMessage(message);
  }
  results_.calculationDone = true;
  ShowCrystalData();
}

void CBraxelView::OnSaveInputFile() {
  const std::optional<std::string> saved = SaveInputFile(
      ui_, fileOpen_.currentFilePath, data_, [this](CrystalData&) { return GatherCrystalData(); });
  if (saved) NameFile(*saved);
}

std::string CBraxelView::ReflectionTableText(const std::vector<int>& rows, char separator) const {
  static constexpr const char* kHeadings[kReflectionColumns] = {"No",     "h", "k", "l", "id",
                                                                "2theta", "d", "F", "I", "mult"};
  const auto line = [separator](const auto& fields) {
    std::string text;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      if (i > 0) text += separator;
      text += fields[i];
    }
    return text + "\n";
  };
  std::string text = line(kHeadings);
  for (int row : rows) {
    if (results_.calculationDone && row >= 0 && row < results_.reflectionCount) {
      text += line(results_.reflectionRows[static_cast<std::size_t>(row)]);
    }
  }
  return text;
}

void CBraxelView::OnExportReflections() {
  if (!results_.calculationDone) {
    ui_.ShowMessage(kNotCompleted);
    return;
  }
  std::vector<int> rows(static_cast<std::size_t>(results_.reflectionCount));
  std::iota(rows.begin(), rows.end(), 0);
  WriteExport(ui_,
              ExportRequest("Export Reflection List", {"CSV file (*.csv)", "*.csv"}, "csv",
                            settings_.fixed.startDirectory),
              ReflectionTableText(rows, ','));
}

void CBraxelView::OnExportPattern() {
  if (!results_.calculationDone || !pattern_) {
    ui_.ShowMessage(kNotCompleted);
    return;
  }
  std::string text;
  for (std::size_t i = 0; i < pattern_->intensities.size(); ++i) {
    text += FormatText("%.4f %d\n", pattern_->TwoThetaAt(i), pattern_->intensities[i]);
  }
  WriteExport(ui_,
              ExportRequest("Export Pattern", {"2theta intensity (*.xy)", "*.xy"}, "xy",
                            settings_.fixed.startDirectory),
              text);
}

void CBraxelView::OnEditProfileParameters() {
  CProfileParametersDlg dialog(settings_.profile);
  if (dialogs_.profileParameters.RunModal(dialog)) settings_.profile = dialog.parameters;
}

void CBraxelView::OnShowOutput() { braxel::OnShowOutput(settings_, ownDirectory_, system_, ui_); }

void CBraxelView::OnSaveOutputFile() {
  braxel::OnSaveOutputFile(settings_, results_.calculationDone, ownDirectory_, system_, ui_);
}

void CBraxelView::OnShowPattern() {
  braxel::OnShowPattern(settings_, results_.calculationDone, ownDirectory_, system_, ui_);
}

void CBraxelView::OnShowStructure() {
  braxel::OnShowStructure(form_.BoxText(FormBox::kSgNumber), data_, settings_, ownDirectory_,
                          system_, ui_);
}

void CBraxelView::OnEditFile() { braxel::OnEditFile(settings_, ownDirectory_, system_, ui_); }

void CBraxelView::OnHelpByHtml() { braxel::OnHelpByHtml(settings_, ownDirectory_, system_, ui_); }

void CBraxelView::OnSetExternalFiles() {
  braxel::OnSetExternalFiles(settings_, dialogs_.externalFiles, ui_);
}

void CBraxelView::OnFindSgNumber() {
  bool converted = false;
  const FindSgNumberOutcome outcome =
      FindSgNumberCommand(form_.InfoText(InfoBox::kSgSymbol), data_, results_,
                          settings_.external.tabsgPath, settings_.fixed.axisTablePath, ui_,
                          [this, &converted](int mode) { converted = ConvertAxisSetting(mode); });
  if (outcome != FindSgNumberOutcome::kRefreshForm) return;
  // Only what the lookup changed is written back: the form may hold typed values the record
  // has not taken yet.
  if (converted) {
    ShowStructure();
  } else {
    form_.SetBoxText(FormBox::kSgNumber, FormatText("%3d", data_.sgNumber));
    form_.SetBoxText(FormBox::kSetting, FormatText("%3d", data_.settingNumber));
  }
  ClearResults(true);
}

bool CBraxelView::ConvertAxisSetting(int systemMode) {
  return braxel::ConvertAxisSetting(systemMode, data_, results_, settings_.fixed.axisTablePath, ui_,
                                    dialogs_.axisConversion);
}

}  // namespace braxel
