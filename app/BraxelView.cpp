#include "app/BraxelView.h"

#include <algorithm>
#include <memory>

#include "app/ReportReadBack.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "io/InpFile.h"
#include "io/InsWriter.h"
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

  form_.SetInfoText(InfoBox::kSgSymbol, results_.sgSymbol);
  form_.SetInfoText(InfoBox::kSystem, results_.crystalSystem);
  form_.SetInfoText(InfoBox::kLaueGroup, results_.laueGroup);
  form_.SetInfoText(InfoBox::kPointGroup, results_.pointGroup);
  form_.SetInfoText(InfoBox::kCentro, results_.centrosymmetric);
  form_.SetInfoText(InfoBox::kUniqueAxis, results_.uniqueAxis);

  const auto first = [](const std::vector<std::string>& lines, int count) {
    const auto end = lines.begin() + std::clamp<std::ptrdiff_t>(count, 0, std::ssize(lines));
    return std::vector<std::string>(lines.begin(), end);
  };
  form_.SetLines(LineList::kSymmetryCodes,
                 first(results_.symmetryCodes, results_.symmetryCodeCount));
  form_.SetLines(LineList::kConditions, first(results_.conditions, results_.conditionCount));

  const int reflections = std::clamp(
      results_.reflectionCount, 0,
      std::min(static_cast<int>(results_.reflectionRows.size()), form_.ReflectionRowCount()));
  for (int row = 0; row < reflections; ++row) {
    const auto& texts = results_.reflectionRows[static_cast<std::size_t>(row)];
    form_.SetReflectionText(row, 0, FormatText("%4d", row + 1));
    for (int column = 1; column < 8; ++column) {
      form_.SetReflectionText(row, column, texts[static_cast<std::size_t>(column)]);
    }
    form_.SetReflectionText(row, 8, FormatText("%3.1f", LeadingDouble(texts[8])));
  }
  // Rows of an earlier, longer list are no results of this one.
  for (int row = reflections;
       row < form_.ReflectionRowCount() && !form_.ReflectionText(row, 0).empty(); ++row) {
    for (int column = 0; column < kReflectionColumns; ++column) {
      form_.SetReflectionText(row, column, "");
    }
  }
}

void CBraxelView::ClearForm() {
  results_.calculationDone = false;
  form_.SetBoxText(FormBox::kSgNumber, "");
  form_.SetBoxText(FormBox::kSetting, "");
  for (FormBox box : kCellBoxes) form_.SetBoxText(box, "");
  form_.SelectTargetPosition(data_.targetIndex - 1);
  for (InfoBox box : {InfoBox::kSgSymbol, InfoBox::kSystem, InfoBox::kLaueGroup,
                      InfoBox::kPointGroup, InfoBox::kCentro, InfoBox::kUniqueAxis}) {
    form_.SetInfoText(box, "");
  }
  form_.SetLines(LineList::kSymmetryCodes, {});
  form_.SetLines(LineList::kConditions, {});
  const int atomRows = std::min(kMaxAtoms, form_.AtomRowCount());
  for (int row = 0; row < atomRows && !form_.AtomText(row, 0).empty(); ++row) {
    for (int column = 0; column < kAtomColumns; ++column) form_.SetAtomText(row, column, "");
  }
  const int reflectionRows = std::min(kMaxReflectionRows, form_.ReflectionRowCount());
  for (int row = 0; row < reflectionRows && !form_.ReflectionText(row, 0).empty(); ++row) {
    for (int column = 0; column < kReflectionColumns; ++column) {
      form_.SetReflectionText(row, column, "");
    }
  }
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
}

void CBraxelView::OnDeleteAtom() {
  const int row = form_.SelectedAtomRow();
  if (row < 0 || row > data_.atomCount) return;
  form_.DeleteAtomRow(row);
  // The empty row after the last atom can go too, but it was no atom.
  if (row < data_.atomCount) --data_.atomCount;
  for (int i = 0; i < data_.atomCount; ++i) form_.SetAtomText(i, 0, FormatText("%2d", i + 1));
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

void CBraxelView::ClearGroupInfo() {
  // The symbol stays: it came with the structure, the rest comes from the next run.
  for (InfoBox box : {InfoBox::kSystem, InfoBox::kCentro, InfoBox::kLaueGroup, InfoBox::kPointGroup,
                      InfoBox::kUniqueAxis}) {
    form_.SetInfoText(box, "");
  }
}

void CBraxelView::ShowImported(const std::string& title) {
  ClearForm();
  ShowCrystalData();
  ClearGroupInfo();
  SetTitle(title);
}

void CBraxelView::OnFileOpenStructure() {
  ImportContext context = Import();
  if (const auto title = braxel::OnFileOpenStructure(fileOpen_, context)) ShowImported(*title);
}

bool CBraxelView::OpenStructureFile(const std::string& path) {
  ImportContext context = Import();
  const auto title = braxel::OpenStructureFile(fileOpen_, path, context);
  if (title) ShowImported(*title);
  return title.has_value();
}

void CBraxelView::OnCalculateProfile() {
  if (!GatherCrystalData()) return;
  const RunFiles files{settings_.fixed.reportPath, settings_.fixed.patternPath,
                       settings_.external.tabsgPath, settings_.external.fscatPath};
  const RunInput input = MakeRunInput(data_, files, settings_.profile);
  const WaitCursor wait(ui_);
  // The run's working storage is large; it lives only as long as the run.
  const auto run = std::make_unique<CalculationRun>();
  std::string runMessage;
  if (!run->RunCalculation(input, runMessage)) {
    ui_.ShowMessage(runMessage);
    return;
  }
  if (ReadBackReport(settings_.fixed.reportPath, results_, ui_)) {
    ShowCrystalData();
    results_.calculationDone = true;
  } else {
    OnShowOutput();
  }
}

void CBraxelView::OnSaveInputFile() {
  SaveInputFile(ui_, fileOpen_.currentFilePath, data_,
                [this](CrystalData&) { return GatherCrystalData(); });
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
  const FindSgNumberOutcome outcome = FindSgNumberCommand(
      form_.InfoText(InfoBox::kSgSymbol), data_, results_, settings_.external.tabsgPath,
      settings_.fixed.axisTablePath, ui_, [this](int mode) { ConvertAxisSetting(mode); });
  if (outcome != FindSgNumberOutcome::kRefreshForm) return;
  ShowCrystalData();
  ClearGroupInfo();
}

void CBraxelView::ConvertAxisSetting(int systemMode) {
  braxel::ConvertAxisSetting(systemMode, data_, results_, settings_.fixed.axisTablePath, ui_,
                             dialogs_.axisConversion);
}

}  // namespace braxel
