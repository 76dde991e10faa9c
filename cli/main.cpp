// braxel-calc: the window's Calculate Profile for scripts and batch work.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "engine/DecimalText.h"
#include "engine/XRayTarget.h"
#include "io/UnattendedImport.h"
#include "platform/ConsoleUserInterface.h"
#include "platform/ProcessHeap.h"
#include "platform/TextInput.h"
#include "platform/UserInterface.h"
#include "settings/SettingsFile.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {
namespace {

constexpr const char* kUsage =
    "usage: braxel-calc [--ini FILE] [--target Cr|Fe|Co|Cu|Mo|Ag|Kb] [--entry N] [--solution N]\n"
    "                   [--out-dir DIR] [-j N] [--format tsv] STRUCTURE...\n"
    "       braxel-calc [--ini FILE] [--target ...] --convert-setting N STRUCTURE...\n"
    "       braxel-calc [--ini FILE] --find-sg SYMBOL\n"
    "\n"
    "Reads the structure (.inp, RIETAN .ins, ICSD .txt, .cif, EXPO .out), calculates its\n"
    "X-ray powder reflections with the settings file (Braxel.ini of the current directory,\n"
    "else the bundled one, or FILE), writes Braxel.out and Braxel.prf to the current\n"
    "directory and prints the reflection list.\n"
    "The target is Cu unless given. Exit status 0 on success, 1 on any failure.\n"
    "\n"
    "Several structures, or --out-dir DIR, write NAME.out and NAME.prf per file (NAME: the\n"
    "file name without its extension) into DIR, else the current directory, and calculate\n"
    "N files at a time (-j N; all processors unless given). A failing file is named on\n"
    "standard error with its message and the others go on; a summary line ends the run,\n"
    "and the exit status is 1 when any file failed.\n"
    "--format tsv prints the reflection list of each file as tab-separated columns under\n"
    "one heading line: file, No., h, k, l, code, 2Th(deg), d(A), |Fcal|, Ical, mult.\n"
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

// Result texts as the readers and the axis conversion fill them: symbol and unique axis. The
// rows of the reflection list, which only the report's read-back fills, stay empty rather than
// taking thousands of empty texts.
CalculationResults ResultsForReading() {
  return {.sgSymbol = {},
          .crystalSystem = {},
          .laueGroup = {},
          .pointGroup = {},
          .centrosymmetric = {},
          .uniqueAxis = {},
          .reflectionRows = {}};
}

// The structure's symbol from the space-group table, then the conversion of its axes.
bool ConvertSetting(int setting, const Settings& settings, CrystalData& data, UserInterface& ui) {
  CalculationResults results = ResultsForReading();
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

constexpr const char* kTsvHeading =
    "file\tNo.\th\tk\tl\tcode\t2Th(deg)\td(A)\t|Fcal|\tIcal\tmult\n";

// The reported entries of a run as rows of tab-separated columns, rounded as the report rounds.
std::string TsvRows(const std::string& path, const CalculationRun& run) {
  std::string file = path;
  for (char& c : file) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';  // keeps one row a line
  }
  std::string rows;
  for (int i = run.firstReported; i <= run.lastReported; ++i) {
    const Reflection& e = run.entries[static_cast<std::size_t>(i - 1)];
    rows += file;
    for (const int value : {i, e.h, e.k, e.l, e.code}) {
      rows += '\t';
      AppendInteger(rows, value, 0);
    }
    for (const auto& [value, decimals] : {std::pair(e.twoTheta, 4), std::pair(e.d, 4),
                                          std::pair(e.fCalc, 4), std::pair(e.iCalc, 2)}) {
      rows += '\t';
      AppendFixed(rows, value, 0, decimals);
    }
    rows += '\t';
    AppendInteger(rows, e.multiplicity, 0);
    rows += '\n';
  }
  return rows;
}

// Messages of one structure file, kept until the file is done so that those of files
// calculated side by side do not interleave; in a batch each names its file.
class FileMessages : public ConsoleUserInterface {
 public:
  explicit FileMessages(std::string prefix) : prefix_(std::move(prefix)) {}
  void ShowMessage(const std::string& text) override {
    text_ += prefix_ + text;
    if (text.empty() || text.back() != '\n') text_ += '\n';
  }
  bool AskYesNo(const std::string& text) override {
    ShowMessage(text);
    return false;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string prefix_;
  std::string text_;
};

struct Options {
  std::optional<std::string> iniPath;
  int targetIndex = 4;
  std::optional<int> convertSetting;
  std::optional<std::string> findSymbol;
  UnattendedChoices choices;
  std::vector<std::string> structures;
  std::optional<std::string> outDir;
  int jobs = 0;  // all processors
  bool tsv = false;
  bool Batch() const { return structures.size() > 1 || outDir.has_value(); }
};

// What one structure file gave: its text for standard output and for standard error.
struct FileOutcome {
  bool succeeded = false;
  std::string out;
  std::string err;
};

// listing, when given, takes the file's reflection list at once; else the outcome keeps it.
FileOutcome CalculateFile(const std::string& path, const RunFiles& files, const Options& options,
                          const Settings& settings, std::FILE* listing) {
  FileMessages ui(options.Batch() ? path + ": " : "");
  FileOutcome outcome;
  CrystalData data;
  data.targetIndex = options.targetIndex;
  bool read = false;
  {
    CalculationResults results = ResultsForReading();
    // The import leaves the structure in a setting of the table; nothing asks for other axes.
    read =
        ReadStructureUnattended(path, options.choices, data, results, settings.external.tabsgPath,
                                settings.fixed.axisTablePath, ui, {}) &&
        (!options.convertSetting || ConvertSetting(*options.convertSetting, settings, data, ui));
  }
  if (read) {
    CalculationRun run;
    std::string runMessage;
    if (run.RunCalculation(MakeRunInput(data, files, settings.profile), runMessage)) {
      outcome.succeeded = true;
      if (options.tsv) {
        outcome.out = TsvRows(path, run);
      } else if (listing != nullptr) {
        std::fwrite(run.reflectionList.data(), 1, run.reflectionList.size(), listing);
      }
      if (listing != nullptr) std::fputs(outcome.out.c_str(), listing);
    } else {
      ui.ShowMessage(runMessage);
    }
  }
  outcome.err = ui.Text();
  return outcome;
}

// The report and pattern paths of every structure in the folder of the results; a file whose
// results would replace those of an earlier one, or the file itself, is refused.
std::vector<std::optional<RunFiles>> BatchFiles(const Options& options, const Settings& settings,
                                                std::vector<FileOutcome>& outcomes) {
  namespace fs = std::filesystem;
  const fs::path folder = options.outDir ? fs::path(*options.outDir) : fs::current_path();
  std::vector<std::optional<RunFiles>> result(options.structures.size());
  std::map<std::string, std::string> taken;  // NAME -> the structure that writes it
  for (std::size_t i = 0; i < options.structures.size(); ++i) {
    const std::string& structure = options.structures[i];
    const std::string name = fs::path(structure).stem().string();
    const fs::path report = folder / (name + ".out");
    const fs::path pattern = folder / (name + ".prf");
    std::error_code error;
    std::string refusal;
    if (const auto found = taken.find(name); found != taken.end()) {
      refusal = FormatText("%s: results would replace those of %s !!!\n", structure.c_str(),
                           found->second.c_str());
    } else if (fs::equivalent(structure, report, error) ||
               fs::equivalent(structure, pattern, error)) {
      refusal = FormatText("%s: results would replace the structure file itself !!!\n",
                           structure.c_str());
    }
    if (!refusal.empty()) {
      outcomes[i].err = refusal;
      continue;
    }
    taken.emplace(name, structure);
    result[i] = RunFiles{report.string(), pattern.string(), settings.external.tabsgPath,
                         settings.external.fscatPath};
  }
  return result;
}

// Calculates every structure on options.jobs threads; outcomes are printed in the order of
// the files as soon as all earlier ones are done. The number that failed.
int CalculateBatch(const Options& options, const Settings& settings) {
  const std::size_t count = options.structures.size();
  std::vector<FileOutcome> outcomes(count);
  const std::vector<std::optional<RunFiles>> files = BatchFiles(options, settings, outcomes);
  std::vector<bool> done(count, false);
  std::mutex printing;
  std::size_t printed = 0;
  std::atomic<std::size_t> next = 0;
  const auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      FileOutcome outcome =
          files[i] ? CalculateFile(options.structures[i], *files[i], options, settings, nullptr)
                   : std::move(outcomes[i]);
      const std::lock_guard lock(printing);
      outcomes[i] = std::move(outcome);
      done[i] = true;
      for (; printed < count && done[printed]; ++printed) {
        std::fputs(outcomes[printed].out.c_str(), stdout);
        std::fputs(outcomes[printed].err.c_str(), stderr);
        std::fflush(stdout);
      }
    }
  };
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t threads = std::min<std::size_t>(
      count, options.jobs > 0 ? static_cast<std::size_t>(options.jobs) : processors);
  std::vector<std::thread> workers;
  for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(),
                                        [](const FileOutcome& o) { return !o.succeeded; }));
}

// The options, or nothing after the usage was printed; help prints it and exits with 0.
std::optional<Options> ParseOptions(int argc, char** argv, UserInterface& ui, int& status) {
  Options options;
  status = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    int number = 0;
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      status = 0;
      return std::nullopt;
    } else if (argument == "--find-sg" && hasValue) {
      options.findSymbol = argv[++i];
    } else if ((argument == "--entry" || argument == "--solution") && hasValue) {
      (argument == "--entry" ? options.choices.entry : options.choices.solution) = argv[++i];
    } else if (argument == "--convert-setting" && hasValue && ParseInt(argv[i + 1], number)) {
      options.convertSetting = number;
      ++i;
    } else if (argument == "-j" && hasValue && ParseInt(argv[i + 1], number) && number >= 1) {
      options.jobs = number;
      ++i;
    } else if (argument == "--out-dir" && hasValue) {
      options.outDir = argv[++i];
    } else if (argument == "--format" && hasValue && std::string(argv[i + 1]) == "tsv") {
      options.tsv = true;
      ++i;
    } else if (argument == "--ini" && hasValue) {
      options.iniPath = argv[++i];
    } else if (argument == "--target" && hasValue) {
      const std::optional<int> target = TargetIndexOf(argv[++i]);
      if (!target) {
        ui.ShowMessage(std::string(argv[i]) + " target not found !!!");
        return std::nullopt;
      }
      options.targetIndex = *target;
    } else if (argument.rfind("-", 0) != 0) {
      options.structures.push_back(argument);
    } else {
      std::fputs(kUsage, stderr);
      return std::nullopt;
    }
  }
  if (options.structures.empty() && !options.findSymbol) {
    std::fputs(kUsage, stderr);
    return std::nullopt;
  }
  return options;
}

int Main(int argc, char** argv) {
  // A page faulted in afresh costs more than the calculation of a small structure.
  PrepareProcessHeap();
  ConsoleUserInterface ui;
  int status = 1;
  const std::optional<Options> options = ParseOptions(argc, argv, ui, status);
  if (!options) return status;

  FixedPaths fixed = MakeFixedPaths(std::filesystem::current_path().string(), BRAXEL_DATA_DIR);
  if (options->iniPath) fixed.iniPath = *options->iniPath;
  const Settings settings = ReadSettings(fixed, ui);
  if (options->findSymbol) return PrintSgNumber(*options->findSymbol, settings, ui);

  if (options->tsv) std::fputs(kTsvHeading, stdout);
  if (!options->Batch()) {
    const FileOutcome outcome =
        CalculateFile(options->structures.front(),
                      {settings.fixed.reportPath, settings.fixed.patternPath,
                       settings.external.tabsgPath, settings.external.fscatPath},
                      *options, settings, stdout);
    std::fputs(outcome.err.c_str(), stderr);
    return outcome.succeeded ? 0 : 1;
  }
  if (options->outDir) {
    std::error_code error;
    std::filesystem::create_directories(*options->outDir, error);
    if (!std::filesystem::is_directory(*options->outDir, error)) {
      ui.ShowMessage(*options->outDir + " folder not create !!!");
      return 1;
    }
  }
  const int failed = CalculateBatch(*options, settings);
  const int total = static_cast<int>(options->structures.size());
  if (failed == 0) {
    ui.ShowMessage(FormatText("%d structure files calculated", total));
  } else {
    ui.ShowMessage(FormatText("%d of %d structure files calculated, %d failed !!!", total - failed,
                              total, failed));
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace braxel

int main(int argc, char** argv) { return braxel::Main(argc, argv); }
