// |Fcal| of the run against cctbx's direct structure factors of the same structures and form
// factors (tests/data/reference_f.txt, made by tools/gen_reference_f.py).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "engine/CalculationRun.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

struct Reference {
  RunInput input;
  std::string name;
  std::map<std::tuple<int, int, int>, double> F;
};

std::vector<Reference> ReadReferences() {
  std::vector<Reference> references;
  std::ifstream in(BRAXEL_TEST_DATA_DIR "/reference_f.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    if (line.rfind("structure", 0) == 0) {
      Reference reference;
      RunInput& input = reference.input;
      std::string word;
      Cell& c = input.cell;
      fields >> word >> reference.name >> input.sgNumber >> input.settingNumber >> c.a >> c.b >>
          c.c >> c.alpha >> c.beta >> c.gamma >> input.atomCount;
      for (int j = 0; j < input.atomCount && std::getline(in, line); ++j) {
        std::istringstream atom(line);
        atom >> input.species[j] >> input.x[j] >> input.y[j] >> input.z[j] >> input.B[j];
        input.g[j] = 1.0;
      }
      references.push_back(reference);
      continue;
    }
    int h, k, l;
    double F;
    fields >> h >> k >> l >> F;
    references.back().F[{h, k, l}] = F;
  }
  return references;
}

TEST(ReferenceStructureFactorTest, FcalMatchesCctbx) {
  const std::vector<Reference> references = ReadReferences();
  ASSERT_EQ(references.size(), 3u);
  testing::TempDir dir;
  for (Reference reference : references) {
    SCOPED_TRACE(reference.name);
    RunInput& input = reference.input;
    input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), BRAXEL_DATA_DIR "/tabsg",
                   BRAXEL_DATA_DIR "/fscat"};
    input.profile = {0, 0, 0.0001, 10, 0.5, 0, 0.5, 5, 70, 0.02};
    input.targetIndex = 7;  // the single line takes no anomalous terms, as the reference
    CalculationRun run;
    std::string message;
    ASSERT_TRUE(run.RunCalculation(input, message)) << message;
    int compared = 0;
    for (int i = run.firstReported - 1; i < run.lastReported; ++i) {
      const Reflection& e = run.entries[i];
      const auto found = reference.F.find({e.h, e.k, e.l});
      ASSERT_NE(found, reference.F.end()) << e.h << " " << e.k << " " << e.l;
      EXPECT_NEAR(e.fCalc, found->second, 1e-4 * std::max(found->second, 1.0))
          << e.h << " " << e.k << " " << e.l;
      ++compared;
    }
    EXPECT_GT(compared, 30);
  }
}

}  // namespace
}  // namespace braxel
