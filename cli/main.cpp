// braxel-calc: the window's Calculate Profile for scripts and batch work.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "engine/XRayTarget.h"
#include "io/UnattendedImport.h"
#include "platform/ConsoleUserInterface.h"
#include "platform/TextInput.h"
#include "platform/UserInterface.h"
#include "settings/SettingsFile.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {
namespace {

constexpr const char* kUsage =
    "usage: braxel-calc [--ini FILE] [--target Cr|Fe|Co|Cu|Mo|Ag|Kb] [--entry N] [--solution N]\n"
    "                   STRUCTURE\n"
    "       braxel-calc [--ini FILE] [--target ...] --convert-setting N STRUCTURE\n"
    "       braxel-calc [--ini FILE] --find-sg SYMBOL\n"
    "\n"
    "Reads the structure (.inp, RIETAN .ins, ICSD .txt, .cif, EXPO .out), calculates its\n"
    "X-ray powder reflections with the settings file (Braxel.ini of the current directory,\n"
    "else the bundled one, or FILE), writes Braxel.out and Braxel.prf to the current\n"
    "directory and prints the reflection list.\n"
    "The target is Cu unless given. Exit status 0 on success, 1 on any failure.\n"
    "\n"
    "--entry N reads entry N of an ICSD file, or data block N of the CIF data blocks with atom\n"
    "sites, where there are several; --solution N solution N of an EXPO listing; the first\n"
    "unless given. A structure in axes or with an origin the space-group table lacks (a CIF in\n"
    "P b n m, say) is converted to the standard setting, as File Open does, and this is said on\n"
    "standard error.\n"
    "\n"
    "--convert-setting N first converts a structure of space group 3 to 74 to axis setting N\n"
    "(1 to 6; orthorhombic groups to 1 only), as Conversion and OK of Axis Conversion do.\n"
    "--find-sg SYMBOL prints the space-group number and setting that Find SG Number finds for\n"
    "the symbol, e.g. \"P 1 21/c 1\" or Pnma.\n";

std::optional<int> TargetIndexOf(const char* symbol) {
  for (std::size_t i = 0; i < kXRayTargets.size(); ++i) {
    if (std::strcmp(kXRayTargets[i].symbol, symbol) == 0) return static_cast<int>(i + 1);
  }
  return std::nullopt;
}

// The structure's symbol from the space-group table, then the conversion of its axes.
bool ConvertSetting(int setting, const Settings& settings, CrystalData& data, UserInterface& ui) {
  CalculationResults results;
  return LookUpSpaceGroupSymbol(settings.external.tabsgPath, data.sgNumber, data.settingNumber,
                                results.sgSymbol, ui) &&
         ConvertToSetting(setting, data, results, settings.fixed.axisTablePath, ui);
}

// Find SG Number's search, printed as "number setting".
int PrintSgNumber(const std::string& symbol, const Settings& settings, UserInterface& ui) {
  int number = 0;
  int setting = 0;
  if (!FindSgNumberBySymbol(settings.external.tabsgPath, settings.fixed.axisTablePath, symbol,
                            number, setting, ui)) {
    ui.ShowMessage("Space group number not found !!!");
    return 1;
  }
  std::printf("%d %d\n", number, setting);
  return 0;
}

// The reflection block of the report, from its heading to the end.
void PrintReflections(const std::string& reportPath) {
  LineReader report(reportPath);
  std::string line;
  std::string message;
  if (SkipToKeyword(report, " Genarated reflections:", line, message) != 0) return;
  std::fputs(line.c_str(), stdout);
  while (report.ReadLine(line)) std::fputs(line.c_str(), stdout);
}

int Main(int argc, char** argv) {
  ConsoleUserInterface ui;
  std::optional<std::string> iniPath;
  std::optional<std::string> structurePath;
  int targetIndex = 4;
  std::optional<int> convertSetting;
  std::optional<std::string> findSymbol;
  UnattendedChoices choices;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--find-sg" && i + 1 < argc) {
      findSymbol = argv[++i];
      continue;
    }
    if ((argument == "--entry" || argument == "--solution") && i + 1 < argc) {
      (argument == "--entry" ? choices.entry : choices.solution) = argv[++i];
      continue;
    }
    int setting = 0;
    if (argument == "--convert-setting" && i + 1 < argc && ParseInt(argv[i + 1], setting)) {
      convertSetting = setting;
      ++i;
      continue;
    }
    if ((argument == "--ini" || argument == "--target") && i + 1 < argc) {
      const char* value = argv[++i];
      if (argument == "--ini") {
        iniPath = value;
        continue;
      }
      const std::optional<int> target = TargetIndexOf(value);
      if (!target) {
        ui.ShowMessage(std::string(value) + " target not found !!!");
        return 1;
      }
      targetIndex = *target;
    } else if (argument.rfind("-", 0) != 0 && !structurePath) {
      structurePath = argument;
    } else {
      std::fputs(kUsage, stderr);
      return 1;
    }
  }
  if (!structurePath && !findSymbol) {
    std::fputs(kUsage, stderr);
    return 1;
  }

  FixedPaths fixed = MakeFixedPaths(std::filesystem::current_path().string(), BRAXEL_DATA_DIR);
  if (iniPath) fixed.iniPath = *iniPath;
  const Settings settings = ReadSettings(fixed, ui);
  if (findSymbol) return PrintSgNumber(*findSymbol, settings, ui);

  CrystalData data;
  data.targetIndex = targetIndex;
  CalculationResults results;
  // The import leaves the structure in a setting of the table; nothing asks for other axes.
  if (!ReadStructureUnattended(*structurePath, choices, data, results, settings.external.tabsgPath,
                               settings.fixed.axisTablePath, ui, {})) {
    return 1;
  }
  if (convertSetting && !ConvertSetting(*convertSetting, settings, data, ui)) return 1;
  const RunFiles files{settings.fixed.reportPath, settings.fixed.patternPath,
                       settings.external.tabsgPath, settings.external.fscatPath};
  CalculationRun run;
  std::string runMessage;
  if (!run.RunCalculation(MakeRunInput(data, files, settings.profile), runMessage)) {
    ui.ShowMessage(runMessage);
    return 1;
  }
  PrintReflections(settings.fixed.reportPath);
  return 0;
}

}  // namespace
}  // namespace braxel

int main(int argc, char** argv) { return braxel::Main(argc, argv); }
