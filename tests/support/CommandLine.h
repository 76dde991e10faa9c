#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "support/TestFiles.h"

namespace braxel::testing {

// What the bundled settings say at every start: nothing, though they name no editor and no
// structure viewer (only the commands that start one need it).
inline constexpr const char* kBundledSettingsMessages = "";

struct CommandOutcome {
  int status;
  std::string out;
  std::string err;
};

// Runs braxel-calc with arguments (already quoted for the shell) in dir.
inline CommandOutcome RunBraxelCalc(const TempDir& dir, const std::string& arguments) {
  const std::string command = "cd '" + dir.Path().string() + "' && '" BRAXEL_CALC "' " + arguments +
                              " > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir.File("out.txt")),
          ReadFile(dir.File("err.txt"))};
}

// A Braxel.ini in dir with the bundled tables and the ten profile parameters given in the
// file's order (u v w pc r12 al yeta angmin angmax step), separated by blanks.
inline void WriteSettings(const TempDir& dir, const std::string& parameters) {
  static const char* const kKeys[] = {"u",  "v",    "w",      "pc",     "r12",
                                      "al", "yeta", "angmin", "angmax", "step"};
  std::istringstream values(parameters);
  std::string text = "editor  = x\ngrafino = x\nkristallon =\ntabsg   = " BRAXEL_DATA_DIR
                     "/tabsg\nfscat   = " BRAXEL_DATA_DIR "/fscat\n";
  for (const char* key : kKeys) {
    std::string value;
    values >> value;
    text += std::string(key) + " = " + value + "\n";
  }
  WriteFile(dir.File("Braxel.ini"), text);
}

}  // namespace braxel::testing
