#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/DialogPresenter.h"
#include "platform/UserInterface.h"
#include "settings/SettingsFile.h"

namespace braxel {

class SystemServices;

// The file of a program named in the settings. A name without a folder is looked for beside the
// running program (ownDirectory) first, then along PATH; a name found nowhere, and a path with a
// folder, are returned as they are.
std::string FindProgram(const std::string& program, const std::string& ownDirectory);

// Starts program with its arguments, each reaching it whole, and returns at once without
// waiting. False, with "<program> cannot be started !!!" shown, when it does not start.
bool LaunchProgram(const std::string& program, const std::vector<std::string>& arguments,
                   SystemServices& system, UserInterface& ui);

// A program setting such as "gedit --new-window": the whole text is the program when a file
// carries it as its name (a path may hold blanks), else the longest part before a blank that
// does, and the words after it are options; when no part names a file, the first word is the
// program. Relative paths are taken from the current directory.
struct ProgramCommand {
  std::string program;
  std::vector<std::string> options;
};
ProgramCommand SplitProgramSetting(const std::string& setting, const std::string& ownDirectory,
                                   SystemServices& system);

// Starts a program named in the settings (with the options it names, before the arguments); an
// empty name shows emptyMessage and starts nothing. When enterItsDirectory is set the current
// directory becomes the program's folder first (and stays so).
bool LaunchConfiguredProgram(const std::string& program, const char* emptyMessage,
                             const std::vector<std::string>& arguments, bool enterItsDirectory,
                             const std::string& ownDirectory, SystemServices& system,
                             UserInterface& ui);

// Show Output: the report in the editor, whatever the last run's outcome; without an editor that
// starts, the report in a read-only text window.
void OnShowOutput(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                  UserInterface& ui);

// Save Output File: the report in the editor, where the user saves it; only after a run.
void OnSaveOutputFile(const Settings& settings, bool calculationDone,
                      const std::string& ownDirectory, SystemServices& system, UserInterface& ui);

// Show Pattern: the pattern viewer started with -x and the pattern file, from its own folder.
void OnShowPattern(const Settings& settings, bool calculationDone, const std::string& ownDirectory,
                   SystemServices& system, UserInterface& ui);

// The Open dialog of Edit File.
FileDialogRequest EditFileRequest();

// Edit File: a file chosen by the user, in the editor (or the text window, as for the report).
void OnEditFile(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                UserInterface& ui);

// Help by HTML: the help document in the program that opens HTML files, else in the program's
// own help window; a missing document beeps and is shown.
void OnHelpByHtml(const Settings& settings, const std::string& ownDirectory, SystemServices& system,
                  UserInterface& ui);

// "Setting of External Files": one edit box per external path, each with a Browse... button.
class ExternalFilesDialog {
 public:
  enum Row { kEditor, kGrafino, kKristallon, kTabsg, kFscat };
  static constexpr int kRowCount = 5;

  ExternalFilesDialog(const ExternalPaths& paths, UserInterface& ui);

  static const char* Caption() { return "Setting of External Files"; }
  static const char* Label(int row);
  // What the row's file is, in plain words ("pattern viewer").
  static const char* Purpose(int row);
  // Programs are offered among all files (they carry no extension here); data files likewise.
  static FileDialogRequest BrowseRequest(int row);

  // The Browse... button of a row: a chosen file replaces the row's text.
  void OnBrowse(int row);
  // The texts as they stand, which OK takes without checking them.
  ExternalPaths Paths() const;

  std::array<std::string, kRowCount> texts;  // the edit boxes

 private:
  UserInterface& ui_;
};

// Set External Files: OK takes the dialog's paths; either way the settings file's path lines are
// then rewritten with the paths in force (SaveExternalPaths shows its own messages).
void OnSetExternalFiles(Settings& settings, DialogPresenter<ExternalFilesDialog>& presenter,
                        UserInterface& ui);

}  // namespace braxel
