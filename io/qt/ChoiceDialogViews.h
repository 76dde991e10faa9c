#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "io/ChoiceDialogs.h"
#include "platform/DialogPresenter.h"

class QLineEdit;
class QTableWidget;

namespace braxel {

// A chooser window: the list of numbered items, the "Which number ?" edit, OK and Cancel. The
// dialog object behind it decides what a double click writes and whether OK may close.
class ChoiceDialogView : public QDialog {
 public:
  ChoiceDialogView(QWidget* parent, const char* textColumn, int textColumnWidth);

 protected:
  // Shows the rows and runs the window until OK is allowed or Cancel; true for OK.
  bool Run(const char* caption, const std::vector<ChoiceRow>& rows,
           const std::function<std::string(int row)>& onDoubleClick,
           const std::function<bool(const std::string& number)>& onOk);

  // Run for a chooser object: a double-click shows the row's number, OK hands the typed one on.
  template <class Dialog>
  bool RunChooser(Dialog& dialog) {
    return Run(
        Dialog::kCaption, dialog.Rows(),
        [&dialog](int row) {
          dialog.OnDoubleClickRow(row);
          return dialog.numberText;
        },
        [&dialog](const std::string& number) {
          dialog.numberText = number;
          return dialog.OnOk();
        });
  }

 private:
  QTableWidget* list_;
  QLineEdit* number_;
  std::function<std::string(int)> onDoubleClick_;
  std::function<bool(const std::string&)> onOk_;
};

class IcsdEntryDialogView : public ChoiceDialogView, public DialogPresenter<CIcsdEntryDlg> {
 public:
  explicit IcsdEntryDialogView(QWidget* parent = nullptr);
  bool RunModal(CIcsdEntryDlg& dialog) override;
};

class ExpoSolutionDialogView : public ChoiceDialogView, public DialogPresenter<CExpoSolutionDlg> {
 public:
  explicit ExpoSolutionDialogView(QWidget* parent = nullptr);
  bool RunModal(CExpoSolutionDlg& dialog) override;
};

}  // namespace braxel
