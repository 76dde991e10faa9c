#pragma once

#include <optional>
#include <string>
#include <vector>

namespace braxel {

// One entry of a file dialog's type list, e.g. {"CIF files (*.cif)", "*.cif"}.
struct FileFilter {
  std::string description;
  std::string patterns;  // blank-separated wildcards
};

struct FileDialogRequest {
  std::string title;
  std::vector<FileFilter> filters;
  std::string defaultExtension;  // without the dot; added when the user types none
  std::string initialPath;
};

// What the program asks of the window system. Everything behind it is plain C++;
// the window supplies the real dialogs, tests supply a recording double.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
  // As above; the dialog itself asks before an existing file is replaced.
  virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // The default warning sound.
  virtual void Beep() = 0;
  // A read-only window with a text, such as a report when no editor is at hand.
  virtual void ShowText(const std::string& title, const std::string& text) = 0;
  // The program's own window on an HTML document, where the desktop has no browser.
  virtual void ShowHelp(const std::string& htmlPath) = 0;
};

// Shows the wait cursor for the lifetime of the guard, whatever way the scope is left.
class WaitCursor {
 public:
  explicit WaitCursor(UserInterface& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
  ~WaitCursor() { ui_.EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace braxel
