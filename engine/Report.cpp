#include "engine/Report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "engine/CalculationRun.h"
#include "engine/Classification.h"
#include "engine/DecimalText.h"
#include "engine/Formula.h"
#include "engine/XRayTarget.h"

namespace braxel {

namespace {

// printf-style lines into the report being written.
class ReportFile {
 public:
  explicit ReportFile(std::FILE* file) : file_(file) {}
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    va_list args;
    va_start(args, format);
    std::vfprintf(file_, format, args);
    va_end(args);
  }
  void Put(const std::string& text) { std::fwrite(text.data(), 1, text.size(), file_); }

 private:
  std::FILE* file_;
};

void WriteBlocks(ReportFile& out, const CalculationRun& run, const RunInput& input) {
  const SpaceGroupRecord& record = run.record;
  const ProfileParameters& profile = input.profile;
  out.Print(" ***************************************************\n");
  out.Print(" * Generation of reflections for X-ray diffraction *\n");
  out.Print(" ***************************************************\n\n");

  out.Print("  ================================================\n");
  out.Print("    Space group No.     : %3d (setting No.%d)\n", input.sgNumber, input.settingNumber);
  out.Print("    2-theta range (deg) : from %6.2lf to %6.2lf\n", profile.twoThetaStart,
            profile.twoThetaEnd);
  out.Print("    Lattice parameters: a(A) = %8.4lf\n", input.cell.a);
  out.Print("                        b(A) = %8.4lf\n", input.cell.b);
  out.Print("                        c(A) = %8.4lf\n", input.cell.c);
  out.Print("                  alpha(deg) = %8.4lf\n", input.cell.alpha);
  out.Print("                  beta (deg) = %8.4lf\n", input.cell.beta);
  out.Print("                  gamma(deg) = %8.4lf\n", input.cell.gamma);
  out.Print("                  volume(A3) =%9.4lf\n", run.volume);
  out.Print("  ================================================\n");
  out.Print("\n");

  out.Print("  ===================================\n");
  out.Print("    Target     : %s\n",
            kXRayTargets[static_cast<std::size_t>(input.targetIndex - 1)].symbol);
  out.Print("    Wavelength : Ka1(A) = %8.6lf\n", run.ka1);
  out.Print("                 Ka2(A) = %8.6lf\n", run.ka2);
  out.Print("  ===================================\n");
  out.Print("\n");

  out.Print("  ================================\n");
  out.Print("    Crystal system  = %s\n", CrystalSystemName(record.crystalSystemIndex));
  out.Print("    Space group     = %s\n", record.symbol.c_str());
  const bool axisGiven = record.laueIndex >= 2 && record.laueIndex <= 4;
  out.Print("    Unique axis     = %s\n", axisGiven ? UniqueAxisName(record.laueIndex) : "no");
  out.Print("    Laue group      = %s\n", LaueClassName(record.laueIndex));
  out.Print("    Point group     = %s\n", PointGroupName(run.pointGroupIndex));
  if (record.centrosymmetric == 1) out.Print("    Centrosymmetric = yes\n");
  if (record.centrosymmetric == 0) out.Print("    Centrosymmetric = no\n");
  out.Print("    General sites   = %2d\n", run.positions.generalSites);
  out.Print("  ================================\n\n");

  out.Print("  ================================\n");
  out.Print("    Symmetry codes  :\n");
  out.Print("  --------------------------------\n");
  for (std::size_t i = 0; i < record.symmetryCodes.size(); ++i) {
    out.Print("    %2d. %s\n", static_cast<int>(i + 1), record.symmetryCodes[i].c_str());
  }
  out.Print("  ================================\n");
  out.Print("\n");

  out.Print("  ================================\n");
  out.Print("    Reflection conditions :\n");
  out.Print("  --------------------------------\n");
  int listed = 0;
  for (int cls = 1; cls <= kReflectionClassCount; ++cls) {
    const int code = record.conditionCodes[static_cast<std::size_t>(cls)];
    if (code == 0) continue;
    out.Print("    %2d. %s : %s\n", ++listed, ReflectionClassName(cls), ConditionText(code));
  }
  out.Print("  ================================\n");
  out.Print("\n");

  const int* multiplicities = run.positions.siteMultiplicity.data();
  out.Print("    Coordinates in asymmetric unit :\n");
  out.Print("   ===========================================================\n");
  out.Print("      Atom   Weight    sof      x       y       z      biso\n");
  out.Print("   -----------------------------------------------------------\n");
  for (int j = 0; j < input.atomCount; ++j) {
    const std::size_t a = static_cast<std::size_t>(j);
    const double sof = multiplicities[j] * input.g[a] / run.positions.generalSites;
    out.Print("      %4s  %8.4lf  %7.5lf %7.4lf %7.4lf %7.4lf %7.4lf\n", input.species[a].c_str(),
              run.atoms.Awt[a], sof, input.x[a], input.y[a], input.z[a], input.B[a]);
  }
  out.Print("   ===========================================================\n");
  out.Print("\n");

  const FormulaAndDensity formula =
      ComputeFormulaAndDensity(input.atomCount, input.species.data(), input.g.data(),
                               multiplicities, run.atoms.Awt.data(), run.volume);
  out.Print("   =================================\n");
  out.Print("    Formula and density :\n");
  out.Print("      Formula : %s\n", formula.formula.c_str());
  out.Print("      Z       : %d\n", formula.Z);
  out.Print("      Weight  : %10.4lf (g/mol)\n", formula.weight);
  out.Print("      Density : %10.4lf (g/cm3)\n", formula.density);
  out.Print("   =================================\n\n");

  out.Print("    Coordinates in unit cell:\n");
  out.Print("   =================================\n");
  out.Print("      Atom      x       y       z\n");
  out.Print("   ---------------------------------\n");
  std::string line;
  for (int j = 0; j < input.atomCount; ++j) {
    const std::string& species = input.species[static_cast<std::size_t>(j)];
    for (int k = 0; k < multiplicities[j]; ++k) {
      // "      %-4s  %7.4lf %7.4lf %7.4lf\n"
      const Position& p = run.positions.At(j, k);
      line.assign(6, ' ').append(species);
      line.append(species.size() < 4 ? 4 - species.size() : 0, ' ').append(1, ' ');
      for (const double coordinate : {p.x, p.y, p.z}) {
        line += ' ';
        AppendFixed(line, coordinate, 7, 4);
      }
      out.Put(line += '\n');
    }
    out.Print("      ------------------------------\n");
  }
  out.Print("\n");

  out.Put(run.reflectionList);
}

constexpr char kListHeading[] =
    " Genarated reflections:\n"
    " ================================================================\n"
    "   No.   h   k   l  code  2Th(deg)  d(A)     |Fcal|    Ical  mult\n"
    " ----------------------------------------------------------------\n";
constexpr char kListEnd[] = " ================================================================\n";
constexpr std::size_t kLineLength = 67;

}  // namespace

std::size_t ReflectionListRoom(const CalculationRun& run) {
  return sizeof kListHeading + sizeof kListEnd +
         static_cast<std::size_t>(std::max(0, run.lastReported - run.firstReported + 1)) *
             kLineLength;
}

void FormReflectionList(const CalculationRun& run, std::string& text) {
  text.assign(kListHeading);
  for (int i = run.firstReported; i <= run.lastReported; ++i) {
    // " %5d %3d %3d %3d %3d  %8.4lf %8.4lf %10.4lf %7.2lf  %2d\n"
    const Reflection& e = run.entries[static_cast<std::size_t>(i - 1)];
    text += ' ';
    AppendInteger(text, i, 5);
    for (const int index : {e.h, e.k, e.l, e.code}) {
      text += ' ';
      AppendInteger(text, index, 3);
    }
    text += "  ";
    AppendFixed(text, e.twoTheta, 8, 4);
    text += ' ';
    AppendFixed(text, e.d, 8, 4);
    text += ' ';
    AppendFixed(text, e.fCalc, 10, 4);
    text += ' ';
    AppendFixed(text, e.iCalc, 7, 2);
    text += "  ";
    AppendInteger(text, e.multiplicity, 2);
    text += '\n';
  }
  text += kListEnd;
}

bool WriteReport(FileReplacement& report, const CalculationRun& run, const RunInput& input) {
  return report.Write([&](std::FILE* file) {
    ReportFile out(file);
    WriteBlocks(out, run, input);
    return true;
  });
}

}  // namespace braxel
