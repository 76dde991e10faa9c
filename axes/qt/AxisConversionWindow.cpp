#include "axes/qt/AxisConversionWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace braxel {

namespace {

QLineEdit* DisplayEdit(const QString& name, int minimumCharacters) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  // The edits only show what the dialog computed.
  edit->setReadOnly(true);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(minimumCharacters, '0')) +
                        12);
  return edit;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

AxisConversionWindow::AxisConversionWindow(CAxisConversionDlg& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setWindowTitle("Axis Conversion");
  auto* layout = new QVBoxLayout(this);

  auto* standardRow = new QHBoxLayout;
  standardRow->addWidget(new QLabel("Standard SG Expression :"));
  standardSymbol_ = DisplayEdit("standardSymbol", 12);
  standardRow->addWidget(standardSymbol_);
  standardRow->addStretch();
  layout->addLayout(standardRow);

  // The row label's words stand 8 characters apart, so each box gets 8 characters of width.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const int boxWidth = QFontMetrics(fixed).horizontalAdvance(QString(8, ' '));
  systemGroup_ = new QGroupBox;
  systemGroup_->setObjectName("systemGroup");
  auto* grid = new QGridLayout(systemGroup_);
  grid->setHorizontalSpacing(0);
  grid->setColumnMinimumWidth(1, 12);
  const QString rowNames[2] = {"original", "converted"};
  const QString rowTitles[2] = {"Original\nSetting", "Converted\nSetting"};
  for (int row = 0; row < 2; ++row) {
    grid->addWidget(new QLabel(rowTitles[row]), 2 * row, 0, 2, 1);
    auto* label = new QLabel;
    label->setObjectName(rowNames[row] + "RowLabel");
    label->setFont(fixed);
    grid->addWidget(label, 2 * row, 2, 1, kAxisSettingCount);
    (row == 0 ? originalRowLabel_ : convertedRowLabel_) = label;
    auto& boxes = row == 0 ? originalBoxes_ : convertedBoxes_;
    for (int k = 1; k <= kAxisSettingCount; ++k) {
      auto* box = new QCheckBox;
      box->setObjectName(rowNames[row] + QString::number(k));
      grid->addWidget(box, 2 * row + 1, 1 + k);
      grid->setColumnMinimumWidth(1 + k, boxWidth);
      boxes[k - 1] = box;
    }
  }
  for (int k = 1; k <= kAxisSettingCount; ++k) {
    connect(convertedBoxes_[k - 1], &QCheckBox::clicked, this, [this, k](bool marked) {
      dialog_.OnConvertedSettingClicked(k, marked);
      ShowView();
    });
  }
  auto* conversion = new QPushButton("Conversion");
  conversion->setObjectName("conversion");
  conversion->setAutoDefault(false);
  connect(conversion, &QPushButton::clicked, this, [this] {
    dialog_.OnConversion();
    ShowView();
  });
  auto* systemRow = new QHBoxLayout;
  systemRow->addWidget(systemGroup_);
  systemRow->addWidget(conversion, 0, Qt::AlignVCenter);
  layout->addLayout(systemRow);

  auto* cells = new QHBoxLayout;
  cells->addWidget(MakeCellGroup("Original", "original", originalCell_, originalSymbol_));
  cells->addWidget(MakeCellGroup("Converted", "converted", convertedCell_, convertedSymbol_));
  layout->addLayout(cells);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton("OK");
  ok->setObjectName("ok");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (dialog_.OnOK()) accept();
  });
  auto* cancel = new QPushButton("Cancel");
  cancel->setObjectName("cancel");
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &AxisConversionWindow::reject);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

QGroupBox* AxisConversionWindow::MakeCellGroup(const QString& title, const QString& name,
                                               std::array<QLineEdit*, 6>& cell,
                                               QLineEdit*& symbol) {
  auto* group = new QGroupBox(title);
  auto* grid = new QGridLayout(group);
  const QString labels[6] = {"a", "b", "c", "alpha", "beta", "gamma"};
  for (int i = 0; i < 6; ++i) {
    grid->addWidget(new QLabel(labels[i]), i, 0);
    cell[i] = DisplayEdit(name + "Cell" + QString::number(i + 1), 10);
    grid->addWidget(cell[i], i, 1);
  }
  grid->addWidget(new QLabel("SG :"), 6, 0);
  symbol = DisplayEdit(name + "Symbol", 10);
  grid->addWidget(symbol, 6, 1);
  return group;
}

void AxisConversionWindow::ShowView() {
  const AxisConversionView& view = dialog_.View();
  systemGroup_->setTitle(Text(view.groupCaption));
  originalRowLabel_->setText(Text(view.rowLabel));
  convertedRowLabel_->setText(Text(view.rowLabel));
  for (int k = 0; k < kAxisSettingCount; ++k) {
    const QSignalBlocker original(originalBoxes_[k]);
    const QSignalBlocker converted(convertedBoxes_[k]);
    originalBoxes_[k]->setChecked(view.originalMarks[k]);
    originalBoxes_[k]->setEnabled(view.originalRowEnabled);
    convertedBoxes_[k]->setChecked(view.convertedMarks[k]);
  }
  for (int i = 0; i < 6; ++i) {
    originalCell_[i]->setText(Text(view.originalCell[i]));
    convertedCell_[i]->setText(Text(view.convertedCell[i]));
  }
  originalSymbol_->setText(Text(view.originalSymbol));
  convertedSymbol_->setText(Text(view.convertedSymbol));
  standardSymbol_->setText(Text(view.standardSymbol));
}

void AxisConversionWindow::reject() {
  dialog_.OnCancel();
  QDialog::reject();
}

bool QtAxisConversionPresenter::RunModal(CAxisConversionDlg& dialog) {
  AxisConversionWindow window(dialog, parent_);
  dialog.OnInitDialog();
  window.ShowView();
  return window.exec() == QDialog::Accepted;
}

}  // namespace braxel
