#include "app/qt/BraxelForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/XRayTarget.h"

namespace braxel {
namespace {

struct Column {
  const char* heading;
  int width;  // pixels
  Qt::Alignment alignment;
};

const std::vector<Column> kAtomListColumns = {
    {"No", 28, Qt::AlignRight},     {"  Atom", 65, Qt::AlignLeft},  {"g    ", 55, Qt::AlignRight},
    {"x     ", 60, Qt::AlignRight}, {"y     ", 60, Qt::AlignRight}, {"z     ", 60, Qt::AlignRight},
    {"B     ", 60, Qt::AlignRight},
};

const std::vector<Column> kReflectionListColumns = {
    {"No ", 30, Qt::AlignRight},    {"h ", 30, Qt::AlignRight},
    {"k ", 30, Qt::AlignRight},     {"l ", 30, Qt::AlignRight},
    {"id", 25, Qt::AlignRight},     {"2th    ", 60, Qt::AlignRight},
    {"d     ", 55, Qt::AlignRight}, {"F      ", 63, Qt::AlignRight},
    {"I    ", 40, Qt::AlignRight},
};

// Aligns each column's cells; in the atom list it gives every cell but the number an edit box
// over the cell, which commits on Enter and on losing the focus and cancels on Escape.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(const std::vector<Column>& columns, QObject* parent)
      : QStyledItemDelegate(parent), columns_(columns) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() == 0) return nullptr;
    auto* editor = new QLineEdit(parent);
    editor->setFrame(true);
    editor->setFont(option.font);
    return editor;
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex&) const override {
    editor->setGeometry(option.rect.adjusted(0, -1, 0, 3));
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment =
        columns_[static_cast<std::size_t>(index.column())].alignment | Qt::AlignVCenter;
  }

 private:
  const std::vector<Column>& columns_;
};

QTableWidget* MakeList(const std::vector<Column>& columns, int rows, QWidget* parent) {
  auto* table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setShowGrid(true);
  table->setWordWrap(false);
  table->setItemDelegate(new CellDelegate(columns, table));
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setSectionsClickable(false);
  // The widths suit a font with digits 6 pixels wide; a wider font widens them alike.
  const double scale = std::max(1.0, table->fontMetrics().horizontalAdvance('0') / 6.0);
  int width = 0;
  for (int column = 0; column < table->columnCount(); ++column) {
    const Column& layout = columns[static_cast<std::size_t>(column)];
    auto* heading = new QTableWidgetItem(layout.heading);
    heading->setTextAlignment(layout.alignment | Qt::AlignVCenter);
    table->setHorizontalHeaderItem(column, heading);
    const int pixels = static_cast<int>(std::lround(layout.width * scale));
    table->setColumnWidth(column, pixels);
    width += pixels;
  }
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  table->setMinimumWidth(width + table->verticalScrollBar()->sizeHint().width() +
                         2 * table->frameWidth());
  return table;
}

std::string CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text().toStdString() : std::string();
}

// Cells get an item only once they hold text, so the 6000 empty rows cost nothing.
void SetCellText(QTableWidget* table, int row, int column, const std::string& text) {
  QTableWidgetItem* item = table->item(row, column);
  if (!item) {
    if (text.empty()) return;
    item = new QTableWidgetItem;
    table->setItem(row, column, item);
  }
  item->setText(QString::fromStdString(text));
}

QLineEdit* MakeEdit(int characters, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(characters, '0')) + 12);
  return edit;
}

}  // namespace

CBraxelForm::CBraxelForm(QWidget* parent)
    : QWidget(parent),
      target_(new QComboBox(this)),
      atoms_(MakeList(kAtomListColumns, kAtomRows, this)),
      reflections_(MakeList(kReflectionListColumns, kReflectionRows, this)),
      codes_(new QListWidget(this)),
      conditions_(new QListWidget(this)),
      insert_(new QPushButton("Inset", this)),
      delete_(new QPushButton("Delete", this)) {
  atoms_->setObjectName("atomList");
  reflections_->setObjectName("reflectionList");
  atoms_->setEditTriggers(QAbstractItemView::SelectedClicked);
  reflections_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (const XRayTarget& target : kXRayTargets) target_->addItem(target.symbol);

  auto* spaceGroup = new QGroupBox("Space Group", this);
  auto* spaceGroupLayout = new QHBoxLayout(spaceGroup);
  boxes_[static_cast<std::size_t>(FormBox::kSgNumber)] = MakeEdit(4, spaceGroup);
  boxes_[static_cast<std::size_t>(FormBox::kSetting)] = MakeEdit(4, spaceGroup);
  spaceGroupLayout->addWidget(new QLabel("Space group No. :", spaceGroup));
  spaceGroupLayout->addWidget(Box(FormBox::kSgNumber));
  spaceGroupLayout->addSpacing(8);
  spaceGroupLayout->addWidget(new QLabel("Setting No.", spaceGroup));
  spaceGroupLayout->addWidget(Box(FormBox::kSetting));
  spaceGroupLayout->addStretch();

  auto* radiation = new QGroupBox("Radiation Source", this);
  auto* radiationLayout = new QHBoxLayout(radiation);
  radiationLayout->addWidget(new QLabel("X-ray :", radiation));
  radiationLayout->addWidget(target_);
  radiationLayout->addStretch();

  auto* cell = new QGroupBox("Cell Dimensions", this);
  auto* cellLayout = new QGridLayout(cell);
  const std::pair<FormBox, const char*> cellBoxes[] = {
      {FormBox::kA, "a"},         {FormBox::kB, "b"},       {FormBox::kC, "c"},
      {FormBox::kAlpha, "alpha"}, {FormBox::kBeta, "beta"}, {FormBox::kGamma, "gamma"}};
  for (int i = 0; i < 6; ++i) {
    const auto& [box, label] = cellBoxes[i];
    boxes_[static_cast<std::size_t>(box)] = MakeEdit(10, cell);
    cellLayout->addWidget(new QLabel(label, cell), i / 3, 2 * (i % 3), Qt::AlignRight);
    cellLayout->addWidget(Box(box), i / 3, 2 * (i % 3) + 1);
  }

  auto* atomsGroup = new QGroupBox("Atomic coordinates", this);
  auto* atomsLayout = new QVBoxLayout(atomsGroup);
  atomsLayout->addWidget(atoms_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(insert_);
  buttons->addWidget(delete_);
  atomsLayout->addLayout(buttons);

  auto* info = new QGroupBox("SG Information", this);
  auto* infoLayout = new QGridLayout(info);
  const std::pair<InfoBox, const char*> infoBoxes[] = {
      {InfoBox::kSgSymbol, "SG symbol :"},   {InfoBox::kSystem, "System :"},
      {InfoBox::kLaueGroup, "Laue group :"}, {InfoBox::kPointGroup, "Point group :"},
      {InfoBox::kCentro, "Centro. :"},       {InfoBox::kUniqueAxis, "U Axis :"}};
  for (int i = 0; i < 6; ++i) {
    const auto& [box, label] = infoBoxes[i];
    auto* edit = new QLineEdit(info);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance("orthorhombic") + 12);
    // Only the symbol is ever read back (to look its number up); the rest are results.
    edit->setReadOnly(box != InfoBox::kSgSymbol);
    info_[static_cast<std::size_t>(box)] = edit;
    infoLayout->addWidget(new QLabel(label, info), i / 2, 2 * (i % 2), Qt::AlignRight);
    infoLayout->addWidget(edit, i / 2, 2 * (i % 2) + 1);
  }

  auto* codesGroup = new QGroupBox("Symmetry Code", this);
  (new QVBoxLayout(codesGroup))->addWidget(codes_);
  auto* conditionsGroup = new QGroupBox("Reflection Conditions", this);
  (new QVBoxLayout(conditionsGroup))->addWidget(conditions_);
  for (QListWidget* list : {codes_, conditions_}) {
    list->setMinimumHeight(list->fontMetrics().height() * 6);
  }
  auto* reflectionsGroup = new QGroupBox("Generated Reflections", this);
  (new QVBoxLayout(reflectionsGroup))->addWidget(reflections_);

  auto* left = new QVBoxLayout;
  auto* topLeft = new QHBoxLayout;
  topLeft->addWidget(spaceGroup, 1);
  topLeft->addWidget(radiation);
  left->addLayout(topLeft);
  left->addWidget(cell);
  left->addWidget(atomsGroup, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(info);
  auto* lists = new QHBoxLayout;
  lists->addWidget(codesGroup);
  lists->addWidget(conditionsGroup);
  right->addLayout(lists);
  right->addWidget(reflectionsGroup, 1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
}

std::string CBraxelForm::BoxText(FormBox box) const { return Box(box)->text().toStdString(); }

int CBraxelForm::SelectedTargetPosition() const { return target_->currentIndex(); }

int CBraxelForm::AtomRowCount() const { return atoms_->rowCount(); }

std::string CBraxelForm::AtomText(int row, int column) const {
  return CellText(atoms_, row, column);
}

void CBraxelForm::SetBoxText(FormBox box, const std::string& text) {
  Box(box)->setText(QString::fromStdString(text));
}

void CBraxelForm::SelectTargetPosition(int position) { target_->setCurrentIndex(position); }

std::string CBraxelForm::InfoText(InfoBox box) const { return Info(box)->text().toStdString(); }

void CBraxelForm::SetInfoText(InfoBox box, const std::string& text) {
  Info(box)->setText(QString::fromStdString(text));
}

void CBraxelForm::SetLines(LineList list, const std::vector<std::string>& lines) {
  QListWidget* widget = Lines(list);
  widget->clear();
  for (const std::string& line : lines) widget->addItem(QString::fromStdString(line));
}

void CBraxelForm::SetAtomText(int row, int column, const std::string& text) {
  SetCellText(atoms_, row, column, text);
}

int CBraxelForm::SelectedAtomRow() const {
  const QModelIndexList rows = atoms_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CBraxelForm::InsertAtomRow(int row) {
  atoms_->insertRow(row);
  atoms_->removeRow(atoms_->rowCount() - 1);
}

void CBraxelForm::DeleteAtomRow(int row) {
  atoms_->removeRow(row);
  atoms_->insertRow(atoms_->rowCount());
}

int CBraxelForm::ReflectionRowCount() const { return reflections_->rowCount(); }

std::string CBraxelForm::ReflectionText(int row, int column) const {
  return CellText(reflections_, row, column);
}

void CBraxelForm::SetReflectionText(int row, int column, const std::string& text) {
  SetCellText(reflections_, row, column, text);
}

void CBraxelForm::SetWindowTitle(const std::string& title) {
  window()->setWindowTitle(QString::fromStdString(title));
}

}  // namespace braxel
