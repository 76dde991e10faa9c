#include "settings/ExternalPrograms.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/SystemServices.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNotCompleted = "Calculation not completed !!!";
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

// The file of a program name, a relative path taken from the current directory.
std::string ProgramFile(const std::string& name, const std::string& ownDirectory,
                        SystemServices& system) {
  const std::string file = FindProgram(name, ownDirectory);
  if (fs::path(file).is_relative() && file.find('/') != std::string::npos) {
    return (fs::path(system.CurrentDirectory()) / file).lexically_normal().string();
  }
  return file;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while ((start = text.find_first_not_of(" \t", start)) != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    words.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return words;
}

// The editor on the file; without one that starts, the file in a read-only text window.
void LaunchEditor(const Settings& settings, const std::string& file,
                  const std::string& ownDirectory, SystemServices& system, UserInterface& ui) {
  // A setting of blanks names no editor, as an empty one does: straight to the text window.
  const std::string& editor = settings.external.editorPath;
  if (!Words(editor).empty() &&
      LaunchConfiguredProgram(editor, "", {file}, false, ownDirectory, system, ui)) {
    return;
  }
  std::string text;
  const TextFileProblem problem = ReadTextFile(file, text);
  if (problem != TextFileProblem::kNone) {
    ui.ShowMessage(TextFileMessage(problem, file, file + " file not found !!!"));
    return;
  }
  ui.ShowText(file, text);
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

ProgramCommand SplitProgramSetting(const std::string& setting, const std::string& ownDirectory,
                                   SystemServices& system) {
  // Longest first, so that a path with blanks is taken whole.
  std::size_t end = setting.size();
  while (end > 0 && end != std::string::npos) {
    const std::string program = setting.substr(0, end);
    std::error_code error;
    if (fs::is_regular_file(ProgramFile(program, ownDirectory, system), error)) {
      return {program, Words(std::string_view(setting).substr(end))};
    }
    end = setting.find_last_of(" \t", end - 1);
  }
  const std::vector<std::string> words = Words(setting);
  if (words.empty()) return {};
  ProgramCommand command{words.front(), {}};
  command.options.assign(words.begin() + 1, words.end());
  return command;
}

bool LaunchConfiguredProgram(const std::string& program, const char* emptyMessage,
                             const std::vector<std::string>& arguments, bool enterItsDirectory,
                             const std::string& ownDirectory, SystemServices& system,
                             UserInterface& ui) {
  ProgramCommand command = SplitProgramSetting(program, ownDirectory, system);
  if (command.program.empty()) {
    ui.ShowMessage(emptyMessage);
    return false;
  }
  // A path relative to the current directory must still name the program from its own folder.
  const std::string file = ProgramFile(command.program, ownDirectory, system);
  if (enterItsDirectory) {
    const std::string directory = fs::path(file).parent_path().string();
    // A directory that cannot be entered does not keep the program from starting.
    if (!directory.empty()) system.ChangeDirectory(directory);
  }
  command.options.insert(command.options.end(), arguments.begin(), arguments.end());
  return LaunchProgram(file, command.options, system, ui);
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
  if (!fs::is_regular_file(helpPath, error)) {
    ui.Beep();
    ui.ShowMessage("Cannot execute html file !!!");
    return;
  }
  // The desktop's browser when there is one that starts, else the program's own help window.
  const std::optional<std::string> viewer = system.FindAssociatedProgram(helpPath);
  if (!viewer || viewer->empty() ||
      !system.LaunchProcess(FindProgram(*viewer, ownDirectory), {helpPath})) {
    ui.ShowHelp(helpPath);
  }
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

const char* ExternalFilesDialog::Purpose(int row) {
  constexpr std::array<const char*, kRowCount> kPurposes = {"text editor", "pattern viewer",
                                                            "structure viewer", "space-group table",
                                                            "scattering factors"};
  return kPurposes.at(static_cast<std::size_t>(row));
}

FileDialogRequest ExternalFilesDialog::BrowseRequest(int row) {
  FileDialogRequest request;
  std::string title = Label(row);
  title.resize(title.find(" :"));
  request.title = title + " (" + Purpose(row) + ")";
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
