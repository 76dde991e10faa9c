#pragma once

#include <string>

#include "platform/UserInterface.h"

namespace braxel {

// A message on standard error, as a line of its own.
void PrintMessageLine(const std::string& text);

// A console has no dialogs: messages go to standard error and questions are answered No; texts
// go to standard output, and a help document is named there.
class ConsoleUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text) override { PrintMessageLine(text); }
  bool AskYesNo(const std::string& text) override {
    PrintMessageLine(text);
    return false;
  }
  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return {}; }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void Beep() override {}
  void ShowText(const std::string& title, const std::string& text) override;
  void ShowHelp(const std::string& htmlPath) override;
};

}  // namespace braxel
