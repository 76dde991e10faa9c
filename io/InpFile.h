#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/CrystalData.h"
#include "platform/UserInterface.h"

namespace braxel {

// The program's own structure file: an optional title line, the space-group line
// "number setting", the cell line and one line per atom "label g x y z B".

// Fills the record from the file. False after a shown message; a file that cannot be opened or
// ends before its cell line leaves the record as it was, while an 81st atom line leaves the
// header and the 80 atoms read before it.
bool ReadInpFile(const std::string& path, CrystalData& data, UserInterface& ui);

// The title line Save Input File writes: the base name of the structure file opened last, its
// control characters made blanks.
std::string InpTitle(const std::string& currentFilePath);

// The file's text for the record, exactly as it is written.
std::string InpFileText(const std::string& title, const CrystalData& data);

// Writes the record so that the file is either wholly new or untouched. False after a shown
// message: a label the reader could not take back as one word, or a file that cannot be made.
bool WriteInpFile(const std::string& path, const std::string& title, const CrystalData& data,
                  UserInterface& ui);

// The Save dialog of Save Input File.
FileDialogRequest InpSaveRequest();

// Save Input File: the Save dialog, then gather (which shows its own message when the form is
// incomplete), then the file. The path written, or nothing.
std::optional<std::string> SaveInputFile(UserInterface& ui, const std::string& currentFilePath,
                                         CrystalData& data,
                                         const std::function<bool(CrystalData&)>& gather);

}  // namespace braxel
