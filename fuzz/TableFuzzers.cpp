// The three data tables on any input, each where the program reads it: the space-group table by
// a calculation run and Find SG Number (BRAXEL_TABLE tabsg), the setting table by the axis
// conversion and Find SG Number (ABCTrans), the scattering factors by a run (fscat). Findings:
// a crash, a sanitizer report, a hang, a message that shows nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "fuzz/FuzzSupport.h"
#include "platform/TextInput.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel::fuzz {
namespace {

// Four atoms on general positions of a low-symmetry cell, with species the scattering table
// spells in different ways.
CrystalData Crystal(int sgNumber, int settingNumber) {
  CrystalData crystal;
  crystal.sgNumber = sgNumber;
  crystal.settingNumber = settingNumber;
  crystal.a = 5.3, crystal.b = 6.1, crystal.c = 7.2;
  crystal.alpha = 90, crystal.beta = 101.5, crystal.gamma = 90;
  const char* labels[] = {"Na1/Na+", "Cl1/Cl", "Fe1/Fe3+", "O1/O2-"};
  crystal.atomCount = 4;
  for (std::size_t i = 0; i < 4; ++i) {
    crystal.atomLabels[i] = labels[i];
    crystal.g[i] = 1.0;
    crystal.x[i] = 0.11 * static_cast<double>(i + 1);
    crystal.y[i] = 0.23 * static_cast<double>(i + 1);
    crystal.z[i] = 0.07 * static_cast<double>(i + 1);
    crystal.B[i] = 0.5;
  }
  return crystal;
}

void Run(const CrystalData& crystal, const std::string& tabsg, const std::string& fscat,
         UserInterface& ui) {
  const RunFiles files{ScratchFile("Braxel.out"), ScratchFile("Braxel.prf"), tabsg, fscat};
  std::string message;
  static CalculationRun run;  // megabytes of fixed capacity, made once
  if (!run.RunCalculation(MakeRunInput(crystal, files, FuzzProfile()), message)) {
    ui.ShowMessage(message);
  }
}

void FindSgNumbers(const std::string& tabsg, const std::string& axisTable,
                   std::initializer_list<const char*> symbols, UserInterface& ui) {
  for (const char* symbol : symbols) {
    int number = 0;
    int setting = 0;
    FindSgNumberBySymbol(tabsg, axisTable, symbol, number, setting, ui);
  }
}

void Convert(CrystalData crystal, const char* symbol, int setting, const std::string& axisTable,
             UserInterface& ui) {
  CalculationResults results;
  results.sgSymbol = symbol;
  ConvertToSetting(setting, crystal, results, axisTable, ui);
}

}  // namespace
}  // namespace braxel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace braxel;
  using namespace braxel::fuzz;
  static const std::string table = ScratchFile(BRAXEL_TABLE);
  WriteScratchFile(table, data, size);
  FuzzUserInterface ui;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (std::string_view(BRAXEL_TABLE) == "tabsg") {
    // The group and setting of the first record, so that the run reads it.
    const int number = LeadingInt(Field(text, 0, 3));
    const int setting = LeadingInt(Field(text, 3, 3));
    Run(Crystal(number, setting), table, DataFile("fscat"), ui);
    std::string symbol;
    LookUpSpaceGroupSymbol(table, number, setting, symbol, ui);
    FindSgNumbers(table, DataFile("ABCTrans"), {"P 21/c", "P b n m", "Pnma", "F m -3 m"}, ui);
  } else if (std::string_view(BRAXEL_TABLE) == "ABCTrans") {
    Convert(Crystal(14, 1), "P 1 21/c 1", 3, table, ui);
    Convert(Crystal(62, 1), "P b n m", 1, table, ui);
    FindSgNumbers(DataFile("tabsg"), table, {"P 1 1 21/a", "P b n m", "Pmcn", "C 1 2/c 1"}, ui);
  } else {
    Run(Crystal(14, 1), DataFile("tabsg"), table, ui);
  }
  return 0;
}
