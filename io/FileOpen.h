#pragma once

#include <optional>
#include <string>

#include "io/ImportContext.h"
#include "platform/UserInterface.h"

namespace braxel {

// The importable structure files, numbered as the form remembers the last one.
enum class ImportFileType { kInp = 0, kIns = 1, kIcsd = 2, kCif = 3, kExpo = 4 };

// What File Open remembers for the form: the type chosen last (RIETAN at start) and the path.
struct FileOpenState {
  ImportFileType lastImportType = ImportFileType::kIns;
  std::string currentFilePath;
};

// The open dialog: the type used last first, then the others in their number order.
FileDialogRequest StructureOpenRequest(ImportFileType lastImportType);

// The type an extension selects ("inp", "ins", "txt", "cif", "out", in any case); nothing for
// any other extension or none.
std::optional<ImportFileType> ImportTypeOf(const std::string& path);

// Calls the reader of the type. What the reader shows names the file on a second line.
bool ReadStructureFile(ImportFileType type, const std::string& path, ImportContext& context);

// The main frame's title for a structure file.
std::string StructureWindowTitle(const std::string& path);

// File Open: the dialog, then the reader chosen by the extension (the type used last for any
// other extension). Both state fields change as soon as a file is chosen. A failed read clears
// calculationDone. Returns the new window title after a successful read; the caller then clears
// and refreshes the form (ClearForm, ShowCrystalData, the five SG Information edits emptied)
// and sets the title. Nothing is returned when the dialog was cancelled or the read failed.
std::optional<std::string> OnFileOpenStructure(FileOpenState& state, ImportContext& context);

// File Open after its dialog, for a path chosen already (the window's start-up file).
std::optional<std::string> OpenStructureFile(FileOpenState& state, const std::string& path,
                                             ImportContext& context);

}  // namespace braxel
