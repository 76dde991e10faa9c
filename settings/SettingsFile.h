#pragma once

#include <string>

#include "engine/ProfileParameters.h"

namespace braxel {

class SystemServices;
class UserInterface;

// The files of the start directory, formed once when the window is created. The settings file,
// the axis-setting table and the help document fall back to the bundled ones when the start
// directory has none.
struct FixedPaths {
  std::string startDirectory;
  std::string dataDirectory;  // the bundled data; only read, never written
  std::string iniPath;        // the settings file that was read
  std::string reportPath;
  std::string patternPath;
  std::string axisTablePath;
  std::string structureTempPath;
  std::string helpPath;
};

// The external programs and data files named in the settings file.
struct ExternalPaths {
  std::string editorPath;
  std::string grafinoPath;
  std::string kristallonPath;
  std::string tabsgPath;
  std::string fscatPath;
};

struct Settings {
  FixedPaths fixed;
  ExternalPaths external;
  ProfileParameters profile;
};

// dataDirectory may be empty when there is no bundled data to fall back on.
FixedPaths MakeFixedPaths(const std::string& startDirectory, const std::string& dataDirectory);

// Reads the settings file fixed.iniPath. Problems are shown and reading stops there; what was
// not read stays empty or zero.
Settings ReadSettings(const FixedPaths& fixed, UserInterface& ui);

// Forms the fixed paths from the current directory and reads the settings file. Problems are
// shown and reading stops there; what was not read stays empty or zero. A path that begins
// with "./" is taken relative to the settings file's own directory.
Settings LoadSettings(SystemServices& system, const std::string& dataDirectory, UserInterface& ui);

// Rewrites the five path lines of the settings file; every other line is kept byte for byte.
// The result always goes to the start directory's Braxel.ini (a settings file read from the
// bundled data is copied there) and replaces it only once completely written; iniPath then
// names it. False, with the message shown, when nothing was written.
bool SaveExternalPaths(FixedPaths& fixed, const ExternalPaths& paths, UserInterface& ui);

}  // namespace braxel
