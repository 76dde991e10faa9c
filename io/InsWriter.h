#pragma once

#include <string>

#include "app/CrystalData.h"
#include "platform/UserInterface.h"
#include "settings/SettingsFile.h"

namespace braxel {

class SystemServices;

// The structure in the RIETAN subset the structure viewer reads: the space-group line, the cell
// line, one line per atom and the closing "}".
std::string InsFileText(const CrystalData& data);

// Writes the structure so that the file is either wholly new or untouched. False after a shown
// message: a label the viewer could not take as one word, or a file that cannot be made.
bool WriteInsFile(const std::string& path, const CrystalData& data, UserInterface& ui);

// Show Structure: the record as it stands (not gathered from the form) into temp.ins, then the
// structure viewer started with -i and that file, from the viewer's own folder. sgNumberText is
// the form's "Space group No. :" box. Without a viewer the file is still written and its place
// is shown.
void OnShowStructure(const std::string& sgNumberText, const CrystalData& data,
                     const Settings& settings, const std::string& ownDirectory,
                     SystemServices& system, UserInterface& ui);

}  // namespace braxel
