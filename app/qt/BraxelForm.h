#pragma once

#include <QWidget>
#include <array>

#include "app/FormControls.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace braxel {

// The main form's controls: space group, cell, atoms, radiation, SG information, the two list
// boxes and the reflection list. It holds no data of its own beyond what the controls show.
class CBraxelForm : public QWidget, public FormControls {
  Q_OBJECT

 public:
  static constexpr int kAtomRows = 80;
  static constexpr int kReflectionRows = 6000;

  explicit CBraxelForm(QWidget* parent = nullptr);

  // CrystalFormFields
  std::string BoxText(FormBox box) const override;
  int SelectedTargetPosition() const override;
  int AtomRowCount() const override;
  std::string AtomText(int row, int column) const override;

  // FormControls
  void SetBoxText(FormBox box, const std::string& text) override;
  void SelectTargetPosition(int position) override;
  void SetInfoText(InfoBox box, const std::string& text) override;
  void SetLines(LineList list, const std::vector<std::string>& lines) override;
  void SetAtomText(int row, int column, const std::string& text) override;
  int SelectedAtomRow() const override;
  void InsertAtomRow(int row) override;
  void DeleteAtomRow(int row) override;
  int ReflectionRowCount() const override;
  std::string ReflectionText(int row, int column) const override;
  void SetReflectionText(int row, int column, const std::string& text) override;
  void SetWindowTitle(const std::string& title) override;

  QLineEdit* Box(FormBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
  QLineEdit* Info(InfoBox box) const { return info_[static_cast<std::size_t>(box)]; }
  QComboBox* Target() const { return target_; }
  QTableWidget* Atoms() const { return atoms_; }
  QTableWidget* Reflections() const { return reflections_; }
  QListWidget* Lines(LineList list) const {
    return list == LineList::kSymmetryCodes ? codes_ : conditions_;
  }
  QPushButton* InsertButton() const { return insert_; }
  QPushButton* DeleteButton() const { return delete_; }

 private:
  std::array<QLineEdit*, 8> boxes_{};
  std::array<QLineEdit*, 6> info_{};
  QComboBox* target_;
  QTableWidget* atoms_;
  QTableWidget* reflections_;
  QListWidget* codes_;
  QListWidget* conditions_;
  QPushButton* insert_;
  QPushButton* delete_;
};

}  // namespace braxel
