#include "settings/qt/ExternalFilesDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace braxel {

ExternalFilesView::ExternalFilesView(ExternalFilesDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setWindowTitle(QString::fromUtf8(ExternalFilesDialog::Caption()));
  auto* grid = new QGridLayout;
  for (int row = 0; row < ExternalFilesDialog::kRowCount; ++row) {
    const std::size_t i = static_cast<std::size_t>(row);
    auto* label = new QLabel(QString::fromUtf8(ExternalFilesDialog::Label(row)));
    auto* purpose = new QLabel(
        QStringLiteral("(%1)").arg(QString::fromUtf8(ExternalFilesDialog::Purpose(row))));
    purpose->setEnabled(false);  // drawn in the lighter colour of a note
    edits_[i] = new QLineEdit(QString::fromStdString(dialog_.texts[i]));
    edits_[i]->setMinimumWidth(360);
    label->setBuddy(edits_[i]);
    browseButtons_[i] = new QPushButton(tr("Browse..."));
    browseButtons_[i]->setAutoDefault(false);
    connect(browseButtons_[i], &QPushButton::clicked, this, [this, row] { Browse(row); });
    grid->addWidget(label, row, 0);
    grid->addWidget(purpose, row, 1);
    grid->addWidget(edits_[i], row, 2);
    grid->addWidget(browseButtons_[i], row, 3);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void ExternalFilesView::StoreTexts() {
  for (std::size_t i = 0; i < edits_.size(); ++i)
    dialog_.texts[i] = edits_[i]->text().toStdString();
}

void ExternalFilesView::Browse(int row) {
  // The row starts its dialog from what the user has typed so far.
  StoreTexts();
  dialog_.OnBrowse(row);
  Edit(row)->setText(QString::fromStdString(dialog_.texts.at(static_cast<std::size_t>(row))));
}

bool QtExternalFilesPresenter::RunModal(ExternalFilesDialog& dialog) {
  ExternalFilesView view(dialog, parent_);
  const bool accepted = view.exec() == QDialog::Accepted;
  if (accepted) view.StoreTexts();
  return accepted;
}

}  // namespace braxel
