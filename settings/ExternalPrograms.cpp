#include "settings/ExternalPrograms.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/SystemServices.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNotCompleted = "Calculation not completed !!!";
constexpr const char* kEditorEmpty = "Editor path not found !!!";
constexpr const char* kGrafinoEmpty = "Grafino path not found !!!";

bool IsProgramFile(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) return false;
  constexpr fs::perms kAnyExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  return (status.permissions() & kAnyExec) != fs::perms::none;
}

std::optional<fs::path> FindOnPath(const std::string& name) {
  const char* searchPath = std::getenv("PATH");
  if (searchPath == nullptr) return std::nullopt;
  std::string_view rest = searchPath;
  while (true) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    // An empty entry stands for the current directory.
    const fs::path candidate = fs::path(folder.empty() ? "." : folder) / name;
    if (IsProgramFile(candidate)) return fs::absolute(candidate);
    if (colon == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(colon + 1);
  }
}

void LaunchEditor(const Settings& settings, const std::string& file,
                  const std::string& ownDirectory, SystemServices& system, UserInterface& ui) {
  LaunchConfiguredProgram(settings.external.editorPath, kEditorEmpty, {file}, false, ownDirectory,
                          system, ui);
}

}  // namespace

std::string FindProgram(const std::string& program, const std::string& ownDirectory) {
  if (program.empty() || program.find('/') != std::string::npos) return program;
  if (!ownDirectory.empty()) {
    const fs::path beside = fs::path(ownDirectory) / program;
    if (IsProgramFile(beside)) return beside.string();
  }
  const std::optional<fs::path> onPath = FindOnPath(program);
  return onPath ? onPath->string() : program;
}

bool LaunchProgram(const std::string& program, const std::vector<std::string>& arguments,
                   SystemServices& system, UserInterface& ui) {
  if (system.LaunchProcess(program, arguments)) return true;
  ui.ShowMessage(program + " cannot be started !!!");
  return false;
}

bool LaunchConfiguredProgram(const std::string& program, const char* emptyMessage,
                             const std::vector<std::string>& arguments, bool enterItsDirectory,
                             const std::string& ownDirectory, SystemServices& system,
                             UserInterface& ui) {
  if (program.empty()) {
    ui.ShowMessage(emptyMessage);
    return false;
  }
  std::string file = FindProgram(program, ownDirectory);
  // A path relative to the current directory must still name the program from its own folder.
  if (fs::path(file).is_relative() && file.find('/') != std::string::npos) {
    file = (fs::path(system.CurrentDirectory()) / file).lexically_normal().string();
  }
  if (enterItsDirectory) {
    const std::string directory = fs::path(file).parent_path().string();
    // A directory that cannot be entered does not keep the program from starting.
    if (!directory.empty()) system.ChangeDirectory(directory);
  }
  return LaunchProgram(file, arguments, system, ui);
}

void OnShowOutput(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                  UserInterface& ui) {
  LaunchEditor(settings, settings.fixed.reportPath, ownDirectory, system, ui);
}

void OnSaveOutputFile(const Settings& settings, bool calculationDone,
                      const std::string& ownDirectory, SystemServices& system, UserInterface& ui) {
  if (!calculationDone) {
    ui.ShowMessage(kNotCompleted);
    return;
  }
  OnShowOutput(settings, ownDirectory, system, ui);
}

void OnShowPattern(const Settings& settings, bool calculationDone, const std::string& ownDirectory,
                   SystemServices& system, UserInterface& ui) {
  if (!calculationDone) {
    ui.ShowMessage(kNotCompleted);
    return;
  }
  LaunchConfiguredProgram(settings.external.grafinoPath, kGrafinoEmpty,
                          {"-x", settings.fixed.patternPath}, true, ownDirectory, system, ui);
}

FileDialogRequest EditFileRequest() {
  FileDialogRequest request;
  request.title = "Edit File";
  request.filters = {{"Edit file (*.out)", "*.out"}, {"Other Files (*.*)", "*"}};
  request.defaultExtension = "out";
  return request;
}

void OnEditFile(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                UserInterface& ui) {
  const std::optional<std::string> chosen = ui.ChooseFileToOpen(EditFileRequest());
  if (chosen) LaunchEditor(settings, *chosen, ownDirectory, system, ui);
}

void OnHelpByHtml(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                  UserInterface& ui) {
  const std::string& helpPath = settings.fixed.helpPath;
  std::error_code error;
  const std::optional<std::string> viewer =
      fs::is_regular_file(helpPath, error) ? system.FindAssociatedProgram(helpPath) : std::nullopt;
  if (!viewer || viewer->empty()) {
    ui.Beep();
    ui.ShowMessage("Cannot execute html file !!!");
    return;
  }
  LaunchProgram(FindProgram(*viewer, ownDirectory), {helpPath}, system, ui);
}

ExternalFilesDialog::ExternalFilesDialog(const ExternalPaths& paths, UserInterface& ui)
    : texts{paths.editorPath, paths.grafinoPath, paths.kristallonPath, paths.tabsgPath,
            paths.fscatPath},
      ui_(ui) {}

const char* ExternalFilesDialog::Label(int row) {
  constexpr std::array<const char*, kRowCount> kLabels = {
      "Editor :", "Grafino :", "Kristallon :", "Tabsg File :", "Fscat Files :"};
  return kLabels.at(static_cast<std::size_t>(row));
}

FileDialogRequest ExternalFilesDialog::BrowseRequest(int row) {
  FileDialogRequest request;
  std::string title = Label(row);
  title.resize(title.find(" :"));
  request.title = title;
  if (row == kEditor || row == kGrafino || row == kKristallon) {
    request.filters = {{"Execute file (*)", "*"}};
  } else {
    request.filters = {{"(*.*)", "*"}};
  }
  return request;
}

void ExternalFilesDialog::OnBrowse(int row) {
  std::string& text = texts.at(static_cast<std::size_t>(row));
  FileDialogRequest request = BrowseRequest(row);
  request.initialPath = text;
  if (const std::optional<std::string> chosen = ui_.ChooseFileToOpen(request)) text = *chosen;
}

ExternalPaths ExternalFilesDialog::Paths() const {
  return {texts[kEditor], texts[kGrafino], texts[kKristallon], texts[kTabsg], texts[kFscat]};
}

void OnSetExternalFiles(Settings& settings, DialogPresenter<ExternalFilesDialog>& presenter,
                        UserInterface& ui) {
  ExternalFilesDialog dialog(settings.external, ui);
  if (presenter.RunModal(dialog)) settings.external = dialog.Paths();
  SaveExternalPaths(settings.fixed, settings.external, ui);
}

}  // namespace braxel
