#include "io/FileOpen.h"

#include <algorithm>
#include <cctype>

#include "io/CifReader.h"
#include "io/ExpoReader.h"
#include "io/IcsdReader.h"
#include "io/InpFile.h"
#include "io/InsReader.h"

namespace braxel {
namespace {

struct ImportTypeInfo {
  FileFilter filter;
  const char* extension;
};

// What a reader shows names the file it reads: the path follows on a line of its own, unless
// the text holds it already.
class FileNamingUserInterface : public UserInterface {
 public:
  FileNamingUserInterface(UserInterface& ui, const std::string& path) : ui_(ui), path_(path) {}

  void ShowMessage(const std::string& text) override {
    if (text.find(path_) != std::string::npos) {
      ui_.ShowMessage(text);
    } else {
      ui_.ShowMessage(text + (text.ends_with('\n') ? "" : "\n") + path_);
    }
  }
  bool AskYesNo(const std::string& text) override { return ui_.AskYesNo(text); }
  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override {
    return ui_.ChooseFileToOpen(request);
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override {
    return ui_.ChooseFileToSave(request);
  }
  void BeginWaitCursor() override { ui_.BeginWaitCursor(); }
  void EndWaitCursor() override { ui_.EndWaitCursor(); }
  void Beep() override { ui_.Beep(); }
  void ShowText(const std::string& title, const std::string& text) override {
    ui_.ShowText(title, text);
  }
  void ShowHelp(const std::string& htmlPath) override { ui_.ShowHelp(htmlPath); }

 private:
  UserInterface& ui_;
  const std::string& path_;
};

const ImportTypeInfo kImportTypes[] = {
    {{"Braxel input file (*.inp)", "*.inp"}, "inp"}, {{"Rietan ins (*.ins)", "*.ins"}, "ins"},
    {{"ICSD txt (*.txt)", "*.txt"}, "txt"},          {{"CIF cif (*.cif)", "*.cif"}, "cif"},
    {{"EXPO out (*.out)", "*.out"}, "out"},
};

}  // namespace

FileDialogRequest StructureOpenRequest(ImportFileType lastImportType) {
  FileDialogRequest request;
  const int first = static_cast<int>(lastImportType);
  request.filters.push_back(kImportTypes[first].filter);
  for (int type = 0; type < 5; ++type) {
    if (type != first) request.filters.push_back(kImportTypes[type].filter);
  }
  return request;
}

std::optional<ImportFileType> ImportTypeOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (int type = 0; type < 5; ++type) {
    if (extension == kImportTypes[type].extension) return static_cast<ImportFileType>(type);
  }
  return std::nullopt;
}

bool ReadStructureFile(ImportFileType type, const std::string& path, ImportContext& context) {
  FileNamingUserInterface ui(context.ui, path);
  ImportContext reading = WithStorage(context, context.data, context.results, ui);
  switch (type) {
    case ImportFileType::kInp:
      return ReadInpFile(path, reading.data, reading.ui);
    case ImportFileType::kIns:
      return ReadInsFile(path, reading);
    case ImportFileType::kIcsd:
      return ReadIcsdFile(path, reading);
    case ImportFileType::kCif:
      return ReadCifFile(path, reading);
    case ImportFileType::kExpo:
      return ReadExpoFile(path, reading);
  }
  return false;
}

std::string StructureWindowTitle(const std::string& path) {
  return "Braxel --- [File Name : " + path + " ]";
}

std::optional<std::string> OnFileOpenStructure(FileOpenState& state, ImportContext& context) {
  const std::optional<std::string> path =
      context.ui.ChooseFileToOpen(StructureOpenRequest(state.lastImportType));
  if (!path) return std::nullopt;
  return OpenStructureFile(state, *path, context);
}

std::optional<std::string> OpenStructureFile(FileOpenState& state, const std::string& path,
                                             ImportContext& context) {
  state.currentFilePath = path;
  if (const std::optional<ImportFileType> type = ImportTypeOf(path)) state.lastImportType = *type;
  if (!ReadStructureFile(state.lastImportType, state.currentFilePath, context)) {
    context.results.calculationDone = false;
    return std::nullopt;
  }
  context.results.calculationDone = false;  // as ClearForm does
  return StructureWindowTitle(state.currentFilePath);
}

}  // namespace braxel
