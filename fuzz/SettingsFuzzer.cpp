// Braxel.ini on any input, then Set External Files with the paths read. Findings besides crashes,
// hangs and blank messages: a rewritten file that does not give the same paths and parameters.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "settings/SettingsFile.h"

namespace braxel::fuzz {
namespace {

bool SamePaths(const ExternalPaths& a, const ExternalPaths& b) {
  return a.editorPath == b.editorPath && a.grafinoPath == b.grafinoPath &&
         a.kristallonPath == b.kristallonPath && a.tabsgPath == b.tabsgPath &&
         a.fscatPath == b.fscatPath;
}

}  // namespace
}  // namespace braxel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace braxel;
  const FixedPaths fixed = MakeFixedPaths(fuzz::ScratchFolder(), "");
  fuzz::WriteScratchFile(fixed.iniPath, data, size);
  fuzz::FuzzUserInterface ui;
  Settings settings = ReadSettings(fixed, ui);
  if (!SaveExternalPaths(settings.fixed, settings.external, ui)) return 0;
  // Only the path lines change, each to the path that was read from it.
  const Settings again = ReadSettings(settings.fixed, ui);
  if (!fuzz::SamePaths(again.external, settings.external) ||
      std::memcmp(&again.profile, &settings.profile, sizeof settings.profile) != 0) {
    fuzz::Finding("Set External Files changed what the settings file gives");
  }
  return 0;
}
