#pragma once

#include <QDialog>
#include <array>

#include "platform/DialogPresenter.h"
#include "settings/ExternalPrograms.h"

class QLineEdit;
class QPushButton;

namespace braxel {

// The window of "Setting of External Files": a label, what the file is, an edit box and a
// Browse... button per path, then OK and Cancel. The dialog object keeps the texts and does the
// browsing.
class ExternalFilesView : public QDialog {
  Q_OBJECT

 public:
  ExternalFilesView(ExternalFilesDialog& dialog, QWidget* parent);

  QLineEdit* Edit(int row) const { return edits_.at(static_cast<std::size_t>(row)); }
  QPushButton* BrowseButton(int row) const {
    return browseButtons_.at(static_cast<std::size_t>(row));
  }

  // Hands the edit texts back to the dialog object.
  void StoreTexts();

 private:
  void Browse(int row);

  ExternalFilesDialog& dialog_;
  std::array<QLineEdit*, ExternalFilesDialog::kRowCount> edits_{};
  std::array<QPushButton*, ExternalFilesDialog::kRowCount> browseButtons_{};
};

// Shows the dialog modally over the parent window.
class QtExternalFilesPresenter : public DialogPresenter<ExternalFilesDialog> {
 public:
  explicit QtExternalFilesPresenter(QWidget* parent) : parent_(parent) {}
  bool RunModal(ExternalFilesDialog& dialog) override;

 private:
  QWidget* parent_;
};

}  // namespace braxel
