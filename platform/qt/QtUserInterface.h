#pragma once

#include <QPointer>
#include <QStringList>

#include "platform/UserInterface.h"

class QFileDialog;
class QPlainTextEdit;
class QTextBrowser;

namespace braxel {

// Message boxes, file dialogs and the wait cursor of the Qt window. Every box is owned by the
// window that is active when it opens. The text and help windows are not modal; each is one
// window, brought up again with its new content.
class QtUserInterface : public UserInterface {
 public:
  QtUserInterface() = default;
  QtUserInterface(const QtUserInterface&) = delete;
  QtUserInterface& operator=(const QtUserInterface&) = delete;
  ~QtUserInterface() override;

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void Beep() override;
  void ShowText(const std::string& title, const std::string& text) override;
  void ShowHelp(const std::string& htmlPath) override;

 private:
  QPointer<QPlainTextEdit> textWindow_;
  QPointer<QTextBrowser> helpWindow_;
};

// The filters as Qt name filters, "description (patterns)"; a description that already ends
// with its patterns in brackets is taken as it is.
QStringList NameFilters(const std::vector<FileFilter>& filters);

// Title, filters, initial path and default extension of a file dialog.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

}  // namespace braxel
