#include "settings/qt/ProfileParametersWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "platform/qt/QtUserInterface.h"

namespace braxel {
namespace {

using Dlg = CProfileParametersDlg;

constexpr int kArrowWidth = 16;

struct BoxRow {
  const char* frame;
  const char* label;
  Dlg::Box box;
  std::optional<Dlg::Spin> spin;
};

const BoxRow kRows[] = {
    {"Profile", "U :", Dlg::kU, {}},
    {"Profile", "V :", Dlg::kV, {}},
    {"Profile", "W :", Dlg::kW, {}},
    {"Profile", "Profile Cutoff :", Dlg::kProfileCutoff, {}},
    {"Profile", "Gauss/Lorentz :", Dlg::kGaussLorentz, {}},
    {"X-ray", "Ka2/Ka2 Ratio :", Dlg::kKa2Ratio, {}},
    {"X-ray", "MonoChro. Angel :", Dlg::kMonoAngle, {}},
    {"Range", "Start of 2theta :", Dlg::kStart, Dlg::kStartSpin},
    {"Range", "End of 2theta :", Dlg::kEnd, Dlg::kEndSpin},
    {"Range", "Step of 2theta :", Dlg::kStep, Dlg::kStepSpin},
};

}  // namespace

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(kArrowWidth, 22);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* button : {up_, down_}) {
    button->setArrowType(button == up_ ? Qt::UpArrow : Qt::DownArrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kArrowWidth, 11);
    layout->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void SpinArrows::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position_, minimum_, maximum_);
}

void SpinArrows::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void SpinArrows::StepBy(int steps) {
  const int next = std::clamp(position_ + steps, minimum_, maximum_);
  if (next == position_) return;
  position_ = next;
  emit Moved(position_);
}

void SpinArrows::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    StepBy(1);
  } else if (event->key() == Qt::Key_Down) {
    StepBy(-1);
  } else {
    QWidget::keyPressEvent(event);
  }
}

ProfileParametersWindow::ProfileParametersWindow(CProfileParametersDlg& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setWindowTitle("Profile Parameters");
  dialog_.OnInitDialog();

  auto* layout = new QVBoxLayout(this);
  QGroupBox* frame = nullptr;
  QGridLayout* grid = nullptr;
  int line = 0;
  for (const BoxRow& row : kRows) {
    if (!frame || frame->title() != row.frame) {
      frame = new QGroupBox(row.frame, this);
      grid = new QGridLayout(frame);
      grid->setColumnStretch(0, 1);
      // Every frame keeps room for the spins, so all boxes line up.
      auto* room = new QWidget(frame);
      room->setFixedSize(kArrowWidth, 0);
      grid->addWidget(room, 0, 2);
      layout->addWidget(frame);
      line = 0;
    }
    grid->addWidget(new QLabel(row.label, frame), line, 0, Qt::AlignRight);
    auto* box = new QLineEdit(QString::fromStdString(dialog_.boxText[row.box]), frame);
    box->setFixedWidth(fontMetrics().horizontalAdvance("0000.0000") + 12);
    box->setAlignment(Qt::AlignRight);
    grid->addWidget(box, line, 1);
    boxes_[row.box] = box;
    if (row.spin) {
      const Dlg::Spin spin = *row.spin;
      auto* arrows = new SpinArrows(frame);
      arrows->SetRange(dialog_.spins[spin].minimum, dialog_.spins[spin].maximum);
      arrows->SetPosition(dialog_.spins[spin].position);
      grid->addWidget(arrows, line, 2);
      connect(arrows, &SpinArrows::Moved, this, [this, spin, box = row.box](int position) {
        dialog_.OnSpinMoved(spin, position);
        boxes_[box]->setText(QString::fromStdString(dialog_.boxText[box]));
      });
      spins_[spin] = arrows;
    }
    ++line;
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ProfileParametersWindow::accept() {
  for (std::size_t box = 0; box < boxes_.size(); ++box) {
    dialog_.boxText[box] = boxes_[box]->text().toStdString();
  }
  std::string message;
  if (!dialog_.OnOK(message)) {
    QtUserInterface().ShowMessage(message);
    return;
  }
  QDialog::accept();
}

bool QtProfileParametersPresenter::RunModal(CProfileParametersDlg& dialog) {
  ProfileParametersWindow window(dialog, QApplication::activeWindow());
  return window.exec() == QDialog::Accepted;
}

}  // namespace braxel
