#include "io/InsWriter.h"

#include <algorithm>
#include <cctype>

#include "engine/Capacity.h"
#include "platform/FileReplace.h"
#include "platform/SystemServices.h"
#include "platform/TextInput.h"
#include "settings/ExternalPrograms.h"

namespace braxel {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string InsFileText(const CrystalData& data) {
  std::string text = FormatText("VNS1 = 'A-%d-%d'\n", data.sgNumber, data.settingNumber);
  text += FormatText("CELLQ  %10.5f %10.5f %10.5f %10.5f %10.5f %10.5f\n", data.a, data.b, data.c,
                     data.alpha, data.beta, data.gamma);
  const std::size_t count = static_cast<std::size_t>(std::clamp(data.atomCount, 0, kMaxAtoms));
  for (std::size_t i = 0; i < count; ++i) {
    text += FormatText("%s %10.5f %10.5f %10.5f %10.5f %10.5f\n", data.atomLabels[i].c_str(),
                       data.g[i], data.x[i], data.y[i], data.z[i], data.B[i]);
  }
  return text + "}\n";
}

bool WriteInsFile(const std::string& path, const CrystalData& data, UserInterface& ui) {
  // An empty label would start the line with a blank, and the atom would be read as a comment.
  for (int i = 0; i < std::clamp(data.atomCount, 0, kMaxAtoms); ++i) {
    const std::string& label = data.atomLabels[static_cast<std::size_t>(i)];
    if (label.empty() || std::any_of(label.begin(), label.end(), IsSpace)) {
      ui.ShowMessage(FormatText("Atom %d label \"%s\" must be one word without blanks !!!", i + 1,
                                label.c_str()));
      return false;
    }
  }
  // Replaced only once complete, so the viewer never meets half a file.
  if (!ReplaceFileWithText(path, InsFileText(data))) {
    ui.ShowMessage(FormatText("%s file cannot be created !!!", path.c_str()));
    return false;
  }
  return true;
}

void OnShowStructure(const std::string& sgNumberText, const CrystalData& data,
                     const Settings& settings, const std::string& ownDirectory,
                     SystemServices& system, UserInterface& ui) {
  if (std::all_of(sgNumberText.begin(), sgNumberText.end(), IsSpace)) {
    ui.ShowMessage("Data not input !!!");
    return;
  }
  const std::string& insPath = settings.fixed.structureTempPath;
  if (!WriteInsFile(insPath, data, ui)) return;
  const std::string& viewer = settings.external.kristallonPath;
  if (viewer.empty()) {
    ui.ShowMessage(
        FormatText("Kristallon path not found, the structure is in %s !!!", insPath.c_str()));
    return;
  }
  LaunchConfiguredProgram(viewer, "", {"-i", insPath}, true, ownDirectory, system, ui);
}

}  // namespace braxel
