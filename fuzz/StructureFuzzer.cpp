// A structure reader (chosen by BRAXEL_EXTENSION) on any input, then a calculation and Save Input
// File of what it read. Findings: a crash, a sanitizer report, a hang, a message that shows
// nothing, and a saved file that File Open does not read back as it was written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "fuzz/FuzzSupport.h"
#include "io/InpFile.h"
#include "io/UnattendedImport.h"

namespace braxel::fuzz {
namespace {

void CheckSaveAndOpen(const CrystalData& crystal, UserInterface& ui) {
  static const std::string saved = ScratchFile("saved.inp");
  if (!WriteInpFile(saved, "title", crystal, ui)) return;  // a label it cannot write, said so
  CrystalData back;
  if (!ReadInpFile(saved, back, ui)) Finding("File Open refuses what Save Input File wrote");
  if (InpFileText("title", back) != InpFileText("title", crystal)) {
    Finding("File Open reads back something else than Save Input File wrote");
  }
}

}  // namespace
}  // namespace braxel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace braxel;
  static const std::string path = fuzz::ScratchFile("structure." BRAXEL_EXTENSION);
  static const std::string tabsg = fuzz::DataFile("tabsg");
  static const std::string axisTable = fuzz::DataFile("ABCTrans");
  fuzz::WriteScratchFile(path, data, size);
  fuzz::FuzzUserInterface ui;
  CrystalData crystal;
  // The results and the run's working storage are megabytes of fixed capacity: made once, they
  // keep each input quick. The readers set only these fields of the results.
  static CalculationResults results;
  static CalculationRun run;
  results.sgSymbol.clear();
  results.uniqueAxis.clear();
  results.calculationDone = false;
  if (!ReadStructureUnattended(path, {}, crystal, results, tabsg, axisTable, ui, [&](int) {
        ConvertToSetting(1, crystal, results, axisTable, ui);
      })) {
    return 0;
  }
  const RunFiles files{fuzz::ScratchFile("Braxel.out"), fuzz::ScratchFile("Braxel.prf"), tabsg,
                       fuzz::DataFile("fscat")};
  std::string message;
  if (!run.RunCalculation(MakeRunInput(crystal, files, fuzz::FuzzProfile()), message)) {
    ui.ShowMessage(message);
  }
  fuzz::CheckSaveAndOpen(crystal, ui);
  return 0;
}
