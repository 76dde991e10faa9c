#include "settings/SettingsFile.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileReplace.h"
#include "platform/SystemServices.h"
#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kIniName = "Braxel.ini";
constexpr const char* kIniMissing = "Ini file not found !!!";

struct PathKey {
  const char* key;
  const char* prefix;  // how a rewritten line begins
  // Shown when the path is empty. The programs have none: the command that starts one says so
  // when it is used.
  const char* emptyMessage;
  std::string ExternalPaths::*field;
};

constexpr std::array<PathKey, 5> kPathKeys = {{
    {"editor", "editor  = ", nullptr, &ExternalPaths::editorPath},
    {"grafino", "grafino = ", nullptr, &ExternalPaths::grafinoPath},
    {"kristallon", "kristallon = ", nullptr, &ExternalPaths::kristallonPath},
    {"tabsg", "tabsg   = ", "Tabsg path not found !!!", &ExternalPaths::tabsgPath},
    {"fscat", "fscat   = ", "Fscat path not found !!!", &ExternalPaths::fscatPath},
}};

struct ParameterKey {
  const char* key;
  double ProfileParameters::*field;
};

constexpr std::array<ParameterKey, 10> kParameterKeys = {{
    {"u", &ProfileParameters::U},
    {"v", &ProfileParameters::V},
    {"w", &ProfileParameters::W},
    {"pc", &ProfileParameters::profileCutoff},
    {"r12", &ProfileParameters::ka2Ratio},
    {"al", &ProfileParameters::monoAngle},
    {"yeta", &ProfileParameters::gaussLorentz},
    {"angmin", &ProfileParameters::twoThetaStart},
    {"angmax", &ProfileParameters::twoThetaEnd},
    {"step", &ProfileParameters::twoThetaStep},
}};

// One line of the file; its line end is kept apart so that a rewrite restores it exactly.
struct TextLine {
  std::string text;
  std::string end;  // "\n", "\r\n", or empty for a last line without one
};

// The whole file as lines of any length; nothing, with the message naming the file, when it
// cannot be taken.
std::optional<std::vector<TextLine>> ReadLines(const std::string& path,
                                               const std::string& missingText,
                                               std::string& message) {
  LineReader reader(path);
  if (!reader.IsOpen()) {
    message = reader.OpenMessage(missingText);
    return std::nullopt;
  }
  std::vector<TextLine> lines;
  std::string text;
  while (reader.ReadLine(text)) {
    const std::string_view content = WithoutLineEnd(text);
    lines.push_back({std::string(content), text.substr(content.size())});
  }
  return lines;
}

bool BeginsWith(std::string_view text, std::string_view key) {
  return text.substr(0, key.size()) == key;
}

// The index of the first line from `from` on that begins with key.
std::optional<std::size_t> FindKey(const std::vector<TextLine>& lines, std::size_t from,
                                   std::string_view key) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (BeginsWith(lines[i].text, key)) return i;
  }
  return std::nullopt;
}

// Everything after the first "=", leading white space removed; empty without an "=".
std::string PathAfterEquals(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  text.remove_prefix(equals + 1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  return std::string(text);
}

// The value of the last of the line's first three words; 0 when that word is no number.
double ParameterValue(std::string_view text) {
  std::string_view last;
  for (int word = 0; word < 3; ++word) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
      text.remove_prefix(1);
    }
    if (text.empty()) break;
    std::size_t length = 0;
    while (length < text.size() && !std::isspace(static_cast<unsigned char>(text[length]))) {
      ++length;
    }
    last = text.substr(0, length);
    text.remove_prefix(length);
  }
  return LeadingDouble(last);
}

// "./" paths follow the settings file, so the bundled one reaches the bundled data from any
// start directory and a user's own keeps working after the current directory changes.
std::string Resolved(const std::string& path, const fs::path& iniDirectory) {
  if (!BeginsWith(path, "./")) return path;
  return (iniDirectory / path.substr(2)).string();
}

std::string InDirectory(const std::string& directory, const char* name) {
  return (fs::path(directory) / name).string();
}

std::string OwnOrBundled(const FixedPaths& fixed, const char* name) {
  const std::string own = InDirectory(fixed.startDirectory, name);
  if (fixed.dataDirectory.empty() || fs::exists(own)) return own;
  const std::string bundled = InDirectory(fixed.dataDirectory, name);
  return fs::exists(bundled) ? bundled : own;
}

void ReadSettingsFile(const std::string& iniPath, ExternalPaths& paths, ProfileParameters& profile,
                      UserInterface& ui) {
  std::string message;
  const std::optional<std::vector<TextLine>> lines =
      ReadLines(iniPath, iniPath + " file not found !!!", message);
  if (!lines) {
    ui.ShowMessage(message);
    return;
  }
  const fs::path iniDirectory = fs::path(iniPath).parent_path();
  std::size_t next = 0;
  for (const PathKey& key : kPathKeys) {
    const std::optional<std::size_t> found = FindKey(*lines, next, key.key);
    if (!found) {
      ui.ShowMessage(FormatText("%s not found !!!\n", key.key));
      return;
    }
    next = *found + 1;
    const std::string path = PathAfterEquals((*lines)[*found].text);
    if (path.empty()) {
      if (key.emptyMessage) ui.ShowMessage(key.emptyMessage);
      next = 0;
    }
    paths.*key.field = Resolved(path, iniDirectory);
  }
  for (const ParameterKey& key : kParameterKeys) {
    const std::optional<std::size_t> found = FindKey(*lines, next, key.key);
    if (!found) {
      ui.ShowMessage(FormatText("%s not found !!!\n", key.key));
      return;
    }
    next = *found + 1;
    profile.*key.field = ParameterValue((*lines)[*found].text);
  }
  // The values stay, for the dialog to show; a run refuses them with the same message.
  if (CheckProfileParameters(profile, message) != 0) ui.ShowMessage(iniPath + ": " + message);
}

}  // namespace

FixedPaths MakeFixedPaths(const std::string& startDirectory, const std::string& dataDirectory) {
  FixedPaths fixed;
  fixed.startDirectory = startDirectory;
  fixed.dataDirectory = dataDirectory;
  fixed.iniPath = OwnOrBundled(fixed, kIniName);
  fixed.reportPath = InDirectory(startDirectory, "Braxel.out");
  fixed.patternPath = InDirectory(startDirectory, "Braxel.prf");
  fixed.axisTablePath = OwnOrBundled(fixed, "ABCTrans");
  fixed.structureTempPath = InDirectory(startDirectory, "temp.ins");
  fixed.helpPath = OwnOrBundled(fixed, "BraxelHelp.html");
  return fixed;
}

Settings ReadSettings(const FixedPaths& fixed, UserInterface& ui) {
  Settings settings;
  settings.fixed = fixed;
  ReadSettingsFile(settings.fixed.iniPath, settings.external, settings.profile, ui);
  return settings;
}

Settings LoadSettings(SystemServices& system, const std::string& dataDirectory, UserInterface& ui) {
  return ReadSettings(MakeFixedPaths(system.CurrentDirectory(), dataDirectory), ui);
}

bool SaveExternalPaths(FixedPaths& fixed, const ExternalPaths& paths, UserInterface& ui) {
  std::string message;
  std::optional<std::vector<TextLine>> lines = ReadLines(fixed.iniPath, kIniMissing, message);
  if (!lines) {
    ui.ShowMessage(message);
    return false;
  }
  std::size_t next = 0;
  for (const PathKey& key : kPathKeys) {
    const std::optional<std::size_t> found = FindKey(*lines, next, key.key);
    if (!found) {
      ui.ShowMessage("EOF reached !!!");
      return false;
    }
    (*lines)[*found].text = key.prefix + paths.*key.field;
    next = *found + 1;
  }
  std::error_code error;
  const bool intoData = !fixed.dataDirectory.empty() &&
                        fs::equivalent(fixed.startDirectory, fixed.dataDirectory, error);
  const std::string target = InDirectory(fixed.startDirectory, kIniName);
  std::string text;
  for (const TextLine& line : *lines) text += line.text + line.end;
  if (intoData) {
    ui.ShowMessage(target + " is the bundled settings file, which is not rewritten !!!");
    return false;
  }
  if (!ReplaceFileWithText(target, TextFileBytes(text))) {
    ui.ShowMessage(target + " file cannot be written !!!");
    return false;
  }
  fixed.iniPath = target;
  return true;
}

}  // namespace braxel
