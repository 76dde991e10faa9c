// The pattern viewer's file on any input, then the plot's axes for the whole range and a zoom.
// Findings: a crash, a sanitizer report, a hang, a message that shows nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "pattern/PatternFile.h"
#include "pattern/PlotAxes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace braxel;
  static const std::string path = fuzz::ScratchFile("Braxel.prf");
  fuzz::WriteScratchFile(path, data, size);
  fuzz::FuzzUserInterface ui;
  Pattern pattern;
  std::string message;
  if (!ReadPatternFile(path, pattern, message)) {
    ui.ShowMessage(message);
    return 0;
  }
  const AxisRange whole = FullTwoThetaRange(pattern);
  const AxisRange third{whole.low, whole.low + whole.Width() / 3};
  for (const AxisRange& twoTheta :
       {whole, DraggedRange(whole.high, third.high, whole, 1e-3).value_or(third)}) {
    MakeTicks(twoTheta, 12);
    MakeTicks(IntensityRange(pattern, twoTheta), 8);
  }
  return 0;
}
