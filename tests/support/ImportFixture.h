#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "io/ImportContext.h"
#include "io/ScriptedChoice.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel::testing {

// Every field of a record as text, to compare two records whole.
inline std::string RecordText(const CrystalData& d) {
  std::ostringstream text;
  text.precision(17);
  text << d.sgNumber << ' ' << d.settingNumber << ' ' << d.atomCount << ' ' << d.targetIndex << ' '
       << d.radiationKind;
  for (const double value : {d.a, d.b, d.c, d.alpha, d.beta, d.gamma}) text << ' ' << value;
  for (std::size_t i = 0; i < d.atomLabels.size() && static_cast<int>(i) < d.atomCount; ++i) {
    text << '\n' << d.atomLabels[i];
    for (const double value : {d.g[i], d.x[i], d.y[i], d.z[i], d.B[i]}) text << ' ' << value;
  }
  return text.str();
}

// One import as the form makes it: the record, its result texts, recorded message boxes,
// scripted choosers, the bundled tables, and the axis conversions that were offered.
struct ImportFixture {
  ImportFixture() {
    // A record no test file resembles, to see what a failed read leaves alone.
    data.sgNumber = 99;
    data.settingNumber = 7;
    data.a = 1.1, data.b = 2.2, data.c = 3.3;
    data.alpha = 44.0, data.beta = 55.0, data.gamma = 66.0;
    data.atomCount = 1;
    data.atomLabels[0] = "Old/Old";
    data.x[0] = 0.9;
    results.sgSymbol = "old";
    results.uniqueAxis = "no";
  }

  ImportContext Context() {
    return {data,
            results,
            ui,
            icsdChoice,
            expoChoice,
            BRAXEL_DATA_DIR "/tabsg",
            BRAXEL_DATA_DIR "/ABCTrans",
            [this](int mode) { conversions.push_back(mode); }};
  }

  std::string Write(const std::string& name, const std::string& text) const {
    WriteFile(dir.File(name), text);
    return dir.File(name);
  }

  TempDir dir;
  CrystalData data;
  CalculationResults results;
  RecordingUserInterface ui;
  ScriptedChoice<CIcsdEntryDlg> icsdChoice;
  ScriptedChoice<CExpoSolutionDlg> expoChoice;
  std::vector<int> conversions;
};

}  // namespace braxel::testing
