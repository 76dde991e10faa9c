#include "app/qt/BraxelForm.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/XRayTarget.h"
#include "pattern/qt/PatternPlot.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr int kTwoThetaColumn = 5;  // of the reflection list

struct Column {
  const char* heading;
  int width;  // pixels, at least
  Qt::Alignment alignment;
  const char* widest;  // the widest text the column shows in practice
};

const std::vector<Column> kAtomListColumns = {
    {"No", 28, Qt::AlignRight, "80"},           {"  Atom", 65, Qt::AlignLeft, "O12/O2-"},
    {"g    ", 55, Qt::AlignRight, " 1.00000"},  {"x     ", 60, Qt::AlignRight, "-0.50000"},
    {"y     ", 60, Qt::AlignRight, "-0.50000"}, {"z     ", 60, Qt::AlignRight, "-0.50000"},
    {"B     ", 60, Qt::AlignRight, "10.00000"},
};

const std::vector<Column> kReflectionListColumns = {
    {"No ", 30, Qt::AlignRight, "6000"},       {"h ", 30, Qt::AlignRight, "-10"},
    {"k ", 30, Qt::AlignRight, "-10"},         {"l ", 30, Qt::AlignRight, "-10"},
    {"id", 25, Qt::AlignRight, "2"},           {"2th    ", 60, Qt::AlignRight, "127.1234"},
    {"d     ", 55, Qt::AlignRight, "10.1234"}, {"F      ", 63, Qt::AlignRight, "1234.5678"},
    {"I    ", 40, Qt::AlignRight, "100.0"},    {"mult", 35, Qt::AlignRight, "192"},
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

// The atom list: F2, Enter or typing edits the current cell, as a click on the selected row
// does. The number column is never edited, so the edit goes to the label beside it.
class AtomTable : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool starts = enter || event->key() == Qt::Key_F2 || !event->text().trimmed().isEmpty();
    if (state() != EditingState && starts && currentIndex().isValid()) {
      if (currentIndex().column() == 0) setCurrentIndex(currentIndex().siblingAtColumn(1));
      if (enter) {
        edit(currentIndex());
        return;
      }
    }
    QTableWidget::keyPressEvent(event);
  }
};

// Full-row selection, grid lines and the columns' headings, widths and alignment. A column is as
// wide as its heading and its widest text need, and never narrower than its width. A list
// narrower than its columns scrolls sideways.
void SetUpList(QTableView* table, const std::vector<Column>& columns) {
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setShowGrid(true);
  table->setWordWrap(false);
  table->setItemDelegate(new CellDelegate(columns, table));
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setSectionsClickable(false);
  table->horizontalHeader()->setStretchLastSection(true);
  const QFontMetrics metrics = table->fontMetrics();
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    const Column& layout = columns[static_cast<std::size_t>(column)];
    const int text = std::max(metrics.horizontalAdvance(layout.heading),
                              metrics.horizontalAdvance(layout.widest));
    table->setColumnWidth(column, std::max(layout.width, text + 12));
  }
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  table->setMinimumSize(240, table->verticalHeader()->defaultSectionSize() * 5);
}

// The width that shows every column of a list.
int FullWidth(const QTableView* table) {
  return table->horizontalHeader()->length() + table->verticalScrollBar()->sizeHint().width() +
         2 * table->frameWidth();
}

QTableWidget* MakeAtomList(QWidget* parent) {
  auto* table =
      new AtomTable(CBraxelForm::kAtomRows, static_cast<int>(kAtomListColumns.size()), parent);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  SetUpList(table, kAtomListColumns);
  for (int column = 0; column < table->columnCount(); ++column) {
    const Column& layout = kAtomListColumns[static_cast<std::size_t>(column)];
    auto* heading = new QTableWidgetItem(layout.heading);
    heading->setTextAlignment(layout.alignment | Qt::AlignVCenter);
    table->setHorizontalHeaderItem(column, heading);
  }
  return table;
}

std::string CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text().toStdString() : std::string();
}

// Cells get an item only once they hold text, so empty rows cost nothing.
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

// The reflection rows of the last run, shown as they are given.
class ReflectionModel : public QAbstractTableModel {
 public:
  explicit ReflectionModel(QObject* parent) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kReflectionColumns;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Text(index.row(), index.column());
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    const Column& column = kReflectionListColumns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString(column.heading);
    if (role == Qt::TextAlignmentRole) {
      return static_cast<int>(column.alignment | Qt::AlignVCenter);
    }
    return {};
  }

  void SetRows(const std::vector<ReflectionRow>& rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  }
  QString Text(int row, int column) const {
    return QString::fromStdString(
        rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
  }

 private:
  std::vector<ReflectionRow> rows_;
};

CBraxelForm::CBraxelForm(QWidget* parent)
    : QWidget(parent),
      target_(new QComboBox(this)),
      wavelength_(new QLabel(this)),
      atoms_(MakeAtomList(this)),
      reflectionModel_(new ReflectionModel(this)),
      reflections_(new QTableView(this)),
      codes_(new QListWidget(this)),
      conditions_(new QListWidget(this)),
      insert_(new QPushButton("Inset", this)),
      delete_(new QPushButton("Delete", this)),
      plot_(new qt::PatternPlot(this)),
      copy_(new QAction("Copy (&C)", this)) {
  atoms_->setObjectName("atomList");
  reflections_->setObjectName("reflectionList");
  atoms_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  reflections_->setModel(reflectionModel_);
  SetUpList(reflections_, kReflectionListColumns);
  reflections_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  reflections_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Copy and Select All reach the list by their keys and by its context menu.
  copy_->setShortcut(QKeySequence::Copy);
  copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  auto* selectAll = new QAction("Select All (&A)", this);
  selectAll->setShortcut(QKeySequence::SelectAll);
  selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(selectAll, &QAction::triggered, reflections_, &QTableView::selectAll);
  reflections_->addAction(copy_);
  reflections_->addAction(selectAll);
  reflections_->setContextMenuPolicy(Qt::ActionsContextMenu);
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
  radiationLayout->addWidget(wavelength_);
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
    list->setMinimumHeight(list->fontMetrics().height() * 4);
  }
  auto* reflectionsGroup = new QGroupBox("Generated Reflections", this);
  (new QVBoxLayout(reflectionsGroup))->addWidget(reflections_);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  auto* topLeft = new QHBoxLayout;
  topLeft->addWidget(spaceGroup, 1);
  topLeft->addWidget(radiation);
  leftLayout->addLayout(topLeft);
  leftLayout->addWidget(cell);
  leftLayout->addWidget(atomsGroup, 1);

  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(info);
  auto* lists = new QHBoxLayout;
  lists->addWidget(codesGroup);
  lists->addWidget(conditionsGroup);
  rightLayout->addLayout(lists, 1);

  // The structure and its group above, the reflections and their plot below; the window's room
  // is shared among them, and the user may move the borders.
  const auto splitter = [this](Qt::Orientation orientation, QWidget* first, QWidget* second) {
    auto* split = new QSplitter(orientation, this);
    split->setChildrenCollapsible(false);
    split->addWidget(first);
    split->addWidget(second);
    return split;
  };
  plot_->setMinimumSize(240, 150);
  plot_->SetPlaceholder("No pattern: Execute > Calculate Profile (F5)");
  QSplitter* structure = splitter(Qt::Horizontal, left, right);
  structure->setSizes({FullWidth(atoms_) + 24, info->sizeHint().width()});
  QSplitter* results = splitter(Qt::Horizontal, reflectionsGroup, plot_);
  results->setSizes({FullWidth(reflections_) + 24, 420});
  results->setStretchFactor(1, 1);
  QSplitter* halves = splitter(Qt::Vertical, structure, results);
  halves->setSizes({600, 400});  // in proportion, whatever the window's height
  halves->setStretchFactor(0, 1);
  halves->setStretchFactor(1, 1);
  (new QVBoxLayout(this))->addWidget(halves);

  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    const bool spaceGroupBox = i == static_cast<std::size_t>(FormBox::kSgNumber) ||
                               i == static_cast<std::size_t>(FormBox::kSetting);
    connect(boxes_[i], &QLineEdit::textEdited, this,
            [this, spaceGroupBox] { emit StructureEdited(spaceGroupBox); });
  }
  connect(target_, &QComboBox::activated, this, [this] { emit StructureEdited(false); });
  connect(target_, &QComboBox::currentIndexChanged, this, &CBraxelForm::ShowWavelength);
  connect(atoms_, &QTableWidget::itemChanged, this, [this] {
    if (!settingAtoms_) emit StructureEdited(false);
  });
  connect(reflections_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &CBraxelForm::MarkSelectedReflection);
  connect(plot_, &qt::PatternPlot::TwoThetaClicked, this, &CBraxelForm::SelectReflectionNear);
  ShowWavelength();
}

void CBraxelForm::ShowWavelength() {
  const int position = target_->currentIndex();
  if (position < 0) {
    wavelength_->clear();
    return;
  }
  const XRayTarget& target = kXRayTargets[static_cast<std::size_t>(position)];
  // "Kb" is one line; the others are named by their stronger Ka1 line.
  const QString line = position + 1 == kKbTarget ? "Kb" : "Ka1";
  wavelength_->setText(
      QString::fromUtf8("%1 %2 \u00c5").arg(line, QString::number(target.ka1, 'g', 7)));
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
  settingAtoms_ = true;
  SetCellText(atoms_, row, column, text);
  settingAtoms_ = false;
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

void CBraxelForm::SetReflectionRows(const std::vector<ReflectionRow>& rows) {
  reflectionModel_->SetRows(rows);
  plot_->MarkTwoTheta(std::nullopt);
}

void CBraxelForm::ShowPattern(const Pattern* pattern) {
  if (pattern) {
    plot_->SetPattern(*pattern, "Braxel.prf");
  } else {
    plot_->Clear();
  }
}

void CBraxelForm::SetWindowTitle(const std::string& title) {
  window()->setWindowTitle(QString::fromStdString(title));
}

void CBraxelForm::AddRecentFile(const std::string& path) {
  emit RecentFileUsed(QString::fromStdString(path));
}

std::vector<int> CBraxelForm::SelectedReflectionRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : reflections_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool CBraxelForm::SelectReflectionNear(double twoTheta, double tolerance) {
  int nearest = -1;
  double distance = tolerance;
  for (int row = 0; row < reflectionModel_->rowCount(); ++row) {
    const double gap = std::abs(
        LeadingDouble(reflectionModel_->Text(row, kTwoThetaColumn).toStdString()) - twoTheta);
    if (gap <= distance) {
      nearest = row;
      distance = gap;
    }
  }
  if (nearest < 0) return false;
  reflections_->selectRow(nearest);
  reflections_->scrollTo(reflectionModel_->index(nearest, 0));
  return true;
}

void CBraxelForm::MarkSelectedReflection() {
  const QModelIndex current = reflections_->currentIndex();
  plot_->MarkTwoTheta(
      current.isValid() ? std::optional(LeadingDouble(
                              reflectionModel_->Text(current.row(), kTwoThetaColumn).toStdString()))
                        : std::nullopt);
}

}  // namespace braxel
