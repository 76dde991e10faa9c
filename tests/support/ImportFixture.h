#pragma once

#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "io/ImportContext.h"
#include "io/ScriptedChoice.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel::testing {

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

  // Writes the file and reads it with one of the readers.
  template <class Reader>
  bool Read(Reader reader, const std::string& name, const std::string& text) {
    ImportContext context = Context();
    return reader(Write(name, text), context);
  }

  // The fields a failed read must leave as they were.
  bool CellUnchanged() const {
    return data.a == 1.1 && data.b == 2.2 && data.c == 3.3 && data.alpha == 44.0 &&
           data.beta == 55.0 && data.gamma == 66.0;
  }
  bool AtomsUnchanged() const { return data.atomCount == 1 && data.atomLabels[0] == "Old/Old"; }

  TempDir dir;
  CrystalData data;
  CalculationResults results;
  RecordingUserInterface ui;
  ScriptedChoice<CIcsdEntryDlg> icsdChoice;
  ScriptedChoice<CExpoSolutionDlg> expoChoice;
  std::vector<int> conversions;
};

}  // namespace braxel::testing
