#include "io/qt/ChoiceDialogViews.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace braxel {

ChoiceDialogView::ChoiceDialogView(QWidget* parent, const char* textColumn, int textColumnWidth)
    : QDialog(parent), list_(new QTableWidget(this)), number_(new QLineEdit(this)) {
  list_->setObjectName("choiceList");
  list_->setColumnCount(2);
  list_->setHorizontalHeaderLabels({"No", textColumn});
  list_->setColumnWidth(0, 30);
  list_->setColumnWidth(1, textColumnWidth);
  list_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  list_->verticalHeader()->hide();
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  number_->setObjectName("whichNumber");

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cancel");
  auto* numberRow = new QHBoxLayout;
  numberRow->addWidget(new QLabel("Which number ?", this));
  numberRow->addWidget(number_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(numberRow);
  layout->addLayout(buttons);

  connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (onDoubleClick_) number_->setText(QString::fromStdString(onDoubleClick_(row)));
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (onOk_ && onOk_(number_->text().toStdString())) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ChoiceDialogView::Run(const char* caption, const std::vector<ChoiceRow>& rows,
                           const std::function<std::string(int)>& onDoubleClick,
                           const std::function<bool(const std::string&)>& onOk) {
  setWindowTitle(QString::fromUtf8(caption));
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ChoiceRow& row = rows[static_cast<std::size_t>(r)];
    auto* number = new QTableWidgetItem(QString::fromStdString(row.number));
    number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    list_->setItem(r, 0, number);
    list_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(row.text)));
  }
  number_->clear();
  onDoubleClick_ = onDoubleClick;
  onOk_ = onOk;
  const bool accepted = exec() == QDialog::Accepted;
  onDoubleClick_ = nullptr;
  onOk_ = nullptr;
  return accepted;
}

IcsdEntryDialogView::IcsdEntryDialogView(QWidget* parent)
    : ChoiceDialogView(parent, "Formula", 125) {}

bool IcsdEntryDialogView::RunModal(CIcsdEntryDlg& dialog) { return RunChooser(dialog); }

ExpoSolutionDialogView::ExpoSolutionDialogView(QWidget* parent)
    : ChoiceDialogView(parent, "Rw", 65) {}

bool ExpoSolutionDialogView::RunModal(CExpoSolutionDlg& dialog) { return RunChooser(dialog); }

}  // namespace braxel
