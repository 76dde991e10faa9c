#pragma once

#include <QDialog>
#include <QWidget>
#include <array>

#include "platform/DialogPresenter.h"
#include "settings/ProfileParametersDlg.h"

class QLineEdit;
class QToolButton;

namespace braxel {

// An up-down arrow pair without a box of its own: it only counts its position within its
// range and says when it moved. The arrow keys move it too.
class SpinArrows : public QWidget {
  Q_OBJECT

 public:
  explicit SpinArrows(QWidget* parent = nullptr);
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  int Position() const { return position_; }
  void StepBy(int steps);

 signals:
  void Moved(int newPosition);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

// The window of the "Profile Parameters" dialog; the dialog object holds fields and handlers.
class ProfileParametersWindow : public QDialog {
  Q_OBJECT

 public:
  ProfileParametersWindow(CProfileParametersDlg& dialog, QWidget* parent = nullptr);

  QLineEdit* Box(CProfileParametersDlg::Box box) const { return boxes_[box]; }
  SpinArrows* Spin(CProfileParametersDlg::Spin spin) const { return spins_[spin]; }

  // OK: takes the boxes, or shows why they make no profile and stays open.
  void accept() override;

 private:
  CProfileParametersDlg& dialog_;
  std::array<QLineEdit*, CProfileParametersDlg::kBoxCount> boxes_{};
  std::array<SpinArrows*, CProfileParametersDlg::kSpinCount> spins_{};
};

// Shows the dialog modally over the active window.
class QtProfileParametersPresenter : public DialogPresenter<CProfileParametersDlg> {
 public:
  bool RunModal(CProfileParametersDlg& dialog) override;
};

}  // namespace braxel
