#pragma once

#include <QStringList>

#include "platform/UserInterface.h"

class QFileDialog;

namespace braxel {

// Message boxes, file dialogs and the wait cursor of the Qt window. Every box is owned by the
// window that is active when it opens.
class QtUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void Beep() override;
};

// The filters as Qt name filters, "description (patterns)"; a description that already ends
// with its patterns in brackets is taken as it is.
QStringList NameFilters(const std::vector<FileFilter>& filters);

// Title, filters, initial path and default extension of a file dialog.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

}  // namespace braxel
