#pragma once

#include <QDialog>
#include <array>

#include "axes/AxisConversionDlg.h"
#include "platform/DialogPresenter.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace braxel {

// The window of "Axis Conversion": shows the dialog object's view and hands clicks to its
// handlers. Widgets carry object names for tests: "standardSymbol", "systemGroup",
// "originalRowLabel", "convertedRowLabel", "original1".."original6", "converted1".."converted6",
// "conversion", "originalCell1".."originalCell6", "convertedCell1".."convertedCell6",
// "originalSymbol", "convertedSymbol", "ok", "cancel".
class AxisConversionWindow : public QDialog {
  Q_OBJECT

 public:
  AxisConversionWindow(CAxisConversionDlg& dialog, QWidget* parent = nullptr);

  // Writes the dialog object's view into the widgets.
  void ShowView();

 public slots:
  void reject() override;

 private:
  QGroupBox* MakeCellGroup(const QString& title, const QString& name,
                           std::array<QLineEdit*, 6>& cell, QLineEdit*& symbol);

  CAxisConversionDlg& dialog_;
  QLineEdit* standardSymbol_ = nullptr;
  QGroupBox* systemGroup_ = nullptr;
  QLabel* originalRowLabel_ = nullptr;
  QLabel* convertedRowLabel_ = nullptr;
  std::array<QCheckBox*, kAxisSettingCount> originalBoxes_{};
  std::array<QCheckBox*, kAxisSettingCount> convertedBoxes_{};
  std::array<QLineEdit*, 6> originalCell_{};
  std::array<QLineEdit*, 6> convertedCell_{};
  QLineEdit* originalSymbol_ = nullptr;
  QLineEdit* convertedSymbol_ = nullptr;
};

// Shows the dialog modally over parent.
class QtAxisConversionPresenter : public DialogPresenter<CAxisConversionDlg> {
 public:
  explicit QtAxisConversionPresenter(QWidget* parent) : parent_(parent) {}
  bool RunModal(CAxisConversionDlg& dialog) override;

 private:
  QWidget* parent_;
};

}  // namespace braxel
