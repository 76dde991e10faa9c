#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/SystemServices.h"
#include "platform/UserInterface.h"

namespace braxel::testing {

// Records what the program shows and answers its questions from a script.
class RecordingUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    if (yesNoAnswers.empty()) return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override {
    return Answer(request);
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override {
    return Answer(request);
  }
  void BeginWaitCursor() override {
    ++waitCursorDepth;
    ++waitCursorShown;
  }
  void EndWaitCursor() override { --waitCursorDepth; }
  void Beep() override { ++beeps; }
  void ShowText(const std::string& title, const std::string& text) override {
    texts.push_back({title, text});
  }
  void ShowHelp(const std::string& htmlPath) override { helps.push_back(htmlPath); }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> yesNoAnswers;
  std::vector<FileDialogRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;
  int waitCursorDepth = 0;
  int waitCursorShown = 0;
  int beeps = 0;
  std::vector<std::pair<std::string, std::string>> texts;  // title and text of each text window
  std::vector<std::string> helps;

 private:
  std::optional<std::string> Answer(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

// Records what the program asks of the operating system; nothing is started or changed.
class RecordingSystemServices : public SystemServices {
 public:
  struct Launch {
    std::string program;
    std::vector<std::string> arguments;
    std::string directory;  // current directory at the start
  };
  bool LaunchProcess(const std::string& program,
                     const std::vector<std::string>& arguments) override {
    launched.push_back({program, arguments, currentDirectory});
    return launchSucceeds;
  }
  std::optional<std::string> FindAssociatedProgram(const std::string&) override {
    return associatedProgram;
  }
  std::string CurrentDirectory() override { return currentDirectory; }
  bool ChangeDirectory(const std::string& path) override {
    currentDirectory = path;
    return true;
  }
  bool DeleteFile(const std::string&) override { return true; }

  std::vector<Launch> launched;
  std::optional<std::string> associatedProgram;
  std::string currentDirectory = "/start";
  bool launchSucceeds = true;
};

}  // namespace braxel::testing
