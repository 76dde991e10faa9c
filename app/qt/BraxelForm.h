#pragma once

#include <QWidget>
#include <array>

#include "app/FormControls.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;
class QTableView;
class QTableWidget;

namespace braxel {

namespace qt {
class PatternPlot;
}
class ReflectionModel;

// The main form's controls: space group, cell, atoms, radiation, SG information, the two list
// boxes, the reflection list and the plot of the pattern. It holds no data of its own beyond
// what the controls show.
class CBraxelForm : public QWidget, public FormControls {
  Q_OBJECT

 public:
  static constexpr int kAtomRows = 80;

  explicit CBraxelForm(QWidget* parent = nullptr);

  // CrystalFormFields
  std::string BoxText(FormBox box) const override;
  int SelectedTargetPosition() const override;
  int AtomRowCount() const override;
  std::string AtomText(int row, int column) const override;

  // FormControls
  void SetBoxText(FormBox box, const std::string& text) override;
  void SelectTargetPosition(int position) override;
  std::string InfoText(InfoBox box) const override;
  void SetInfoText(InfoBox box, const std::string& text) override;
  void SetLines(LineList list, const std::vector<std::string>& lines) override;
  void SetAtomText(int row, int column, const std::string& text) override;
  int SelectedAtomRow() const override;
  void InsertAtomRow(int row) override;
  void DeleteAtomRow(int row) override;
  void SetReflectionRows(const std::vector<ReflectionRow>& rows) override;
  void ShowPattern(const Pattern* pattern) override;
  void SetWindowTitle(const std::string& title) override;
  void AddRecentFile(const std::string& path) override;

  // The selected rows of the reflection list, in their order.
  std::vector<int> SelectedReflectionRows() const;
  // Selects the reflection whose 2theta lies nearest, within tolerance; false when none does.
  bool SelectReflectionNear(double twoTheta, double tolerance);

  QLineEdit* Box(FormBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
  QLineEdit* Info(InfoBox box) const { return info_[static_cast<std::size_t>(box)]; }
  QComboBox* Target() const { return target_; }
  QLabel* Wavelength() const { return wavelength_; }
  QTableWidget* Atoms() const { return atoms_; }
  QTableView* Reflections() const { return reflections_; }
  qt::PatternPlot* Plot() const { return plot_; }
  QListWidget* Lines(LineList list) const {
    return list == LineList::kSymmetryCodes ? codes_ : conditions_;
  }
  QPushButton* InsertButton() const { return insert_; }
  QPushButton* DeleteButton() const { return delete_; }
  // Copy of the selected reflection rows; the frame puts their text on the clipboard.
  QAction* CopyAction() const { return copy_; }

 signals:
  // The user changed a box, an atom cell or the X-ray target.
  void StructureEdited(bool spaceGroupEdited);
  void RecentFileUsed(const QString& path);

 private:
  void ShowWavelength();
  void MarkSelectedReflection();

  std::array<QLineEdit*, 8> boxes_{};
  std::array<QLineEdit*, 6> info_{};
  QComboBox* target_;
  QLabel* wavelength_;
  QTableWidget* atoms_;
  ReflectionModel* reflectionModel_;
  QTableView* reflections_;
  QListWidget* codes_;
  QListWidget* conditions_;
  QPushButton* insert_;
  QPushButton* delete_;
  qt::PatternPlot* plot_;
  QAction* copy_;
  bool settingAtoms_ = false;  // the program, not the user, is writing atom cells
};

}  // namespace braxel
