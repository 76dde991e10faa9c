// The real window driven as a user drives it: typing, clicking and the menu commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleHints>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cmath>

#include "app/qt/BraxelForm.h"
#include "app/qt/MainFrame.h"
#include "platform/TextInput.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TempDir;

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) texts << (action->isSeparator() ? "|" : action->text());
  return texts;
}

class BraxelWindowTest : public ::testing::Test {
 protected:
  BraxelWindowTest() {
    // A click on the selected row opens its editor after the double-click time; keep it short.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(60);
    system.currentDirectory = start.Path().string();
    frame = std::make_unique<CMainFrame>(ui, system, BRAXEL_DATA_DIR);
    ui.messages.clear();  // what the bundled settings leave unset
    frame->show();
    QApplication::setActiveWindow(frame.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  }

  CBraxelForm& Form() { return frame->Form(); }
  QTableWidget* Atoms() { return Form().Atoms(); }

  QPoint CellCenter(int row, int column) {
    return Atoms()->visualRect(Atoms()->model()->index(row, column)).center();
  }

  // The in-place editor while an edit is open.
  QLineEdit* CellEditor() {
    for (QLineEdit* edit : Atoms()->viewport()->findChildren<QLineEdit*>()) {
      if (edit->isVisible()) return edit;
    }
    return nullptr;
  }

  // A click selects the row, a second click on the selected row opens the cell's editor.
  QLineEdit* OpenEditor(int row, int column) {
    QTest::mouseClick(Atoms()->viewport(), Qt::LeftButton, {}, CellCenter(row, column));
    QTest::mouseClick(Atoms()->viewport(), Qt::LeftButton, {}, CellCenter(row, column));
    if (!QTest::qWaitFor([this] { return CellEditor() != nullptr; }, 2000)) return nullptr;
    return CellEditor();
  }

  // Enter commits from the event loop, once the key has been handled.
  bool EditorClosed() {
    return QTest::qWaitFor([this] { return CellEditor() == nullptr; }, 2000);
  }

  void TypeCell(int row, int column, const QString& text) {
    QLineEdit* editor = OpenEditor(row, column);
    ASSERT_NE(editor, nullptr) << row << "," << column;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(EditorClosed());
  }

  void TypeBox(FormBox box, const QString& text) {
    Form().Box(box)->clear();
    QTest::keyClicks(Form().Box(box), text);
  }

  void TypeNaCl() {
    TypeBox(FormBox::kSgNumber, "225");
    TypeBox(FormBox::kSetting, "1");
    for (FormBox box : {FormBox::kA, FormBox::kB, FormBox::kC}) TypeBox(box, "5.6402");
    for (FormBox box : {FormBox::kAlpha, FormBox::kBeta, FormBox::kGamma}) TypeBox(box, "90");
    const QStringList rows[] = {{"Na1/Na", "1", "0", "0", "0", "0.8"},
                                {"Cl1/Cl", "1", "0.5", "0.5", "0.5", "0.7"}};
    for (int row = 0; row < 2; ++row) {
      for (int column = 1; column <= 6; ++column) TypeCell(row, column, rows[row][column - 1]);
    }
  }

  QString Reflection(int row, int column) {
    return QString::fromStdString(Form().ReflectionText(row, column));
  }

  TempDir start;
  testing::RecordingUserInterface ui;
  testing::RecordingSystemServices system;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(BraxelWindowTest, MenusToolBarAndStatusBarCarryEveryCommand) {
  EXPECT_EQ(frame->windowTitle(), "Braxel --- [File Name : ]");
  EXPECT_GE(frame->width(), 720);
  EXPECT_GE(frame->height(), 600);
  const QList<QAction*> menus = frame->menuBar()->actions();
  EXPECT_EQ(Texts(menus), (QStringList{"File", "Edit", "Execute", "Option", "Help"}));
  const QStringList items[] = {
      {"File Open (&O)...", "File Save (&S)", "Clear (&C)", "|", "Exit (&X)"},
      {"Find SG Number (&S)", "Edit File (&E)...", "Edit Profile Parameters (&P)...",
       "Set External Files (&X)..."},
      {"Calculate Profile (&P)", "Show Pattern (&P)...", "Show Structure (&S)...",
       "Show Output (&O)..."},
      {"Tool Bar (&T)", "Status Bar (&S)"},
      {"Help by HTML (&H)", "Braxel Version (&V)"}};
  for (int menu = 0; menu < 5; ++menu)
    EXPECT_EQ(Texts(menus[menu]->menu()->actions()), items[menu]);
  EXPECT_EQ(Texts(menus[0]->menu()->actions()[1]->menu()->actions()),
            (QStringList{"Save Input File (&I)...", "Save Output File (&O)..."}));
  QToolBar* toolBar = frame->findChild<QToolBar*>("mainToolBar");
  ASSERT_NE(toolBar, nullptr);
  EXPECT_EQ(Texts(toolBar->actions()),
            (QStringList{"File Open (&O)...", "Clear (&C)", "|", "Calculate Profile (&P)",
                         "Show Pattern (&P)...", "|", "Braxel Version (&V)", "|", "Exit (&X)"}));

  for (int command = 0; command <= static_cast<int>(Command::kAbout); ++command) {
    const QAction* action = frame->Action(static_cast<Command>(command));
    EXPECT_TRUE(action->isEnabled()) << command;
  }
  EXPECT_EQ(frame->Action(Command::kSaveOutputFile)->statusTip(), "Save output data");
  EXPECT_EQ(frame->Action(Command::kSaveOutputFile)->toolTip(), "Save Output File ");
  EXPECT_EQ(frame->Action(Command::kCalculateProfile)->toolTip(), "Make Profile");
  EXPECT_EQ(frame->Action(Command::kSetExternalFiles)->toolTip(), "Setting of External");

  QStringList panes;
  for (const QLabel* pane : frame->statusBar()->findChildren<QLabel*>()) panes << pane->text();
  EXPECT_EQ(panes, (QStringList{"Ready", "KANA", "CAP", "NUM", "SCRL"}));
  frame->Action(Command::kToolBar)->trigger();
  EXPECT_FALSE(toolBar->isVisible());
  frame->Action(Command::kStatusBar)->trigger();
  EXPECT_FALSE(frame->statusBar()->isVisible());
}

TEST_F(BraxelWindowTest, FormHoldsItsListsAndTargets) {
  EXPECT_EQ(Form().Target()->count(), 7);
  EXPECT_EQ(Form().Target()->itemText(6), "Kb");
  EXPECT_EQ(Form().Target()->currentText(), "Cu");
  EXPECT_EQ(Atoms()->rowCount(), 80);
  EXPECT_EQ(Form().Reflections()->rowCount(), 6000);
  const int atomWidths[] = {28, 65, 55, 60, 60, 60, 60};
  for (int column = 0; column < 7; ++column)
    EXPECT_GE(Atoms()->columnWidth(column), atomWidths[column]);
  EXPECT_EQ(Atoms()->horizontalHeaderItem(1)->text(), "  Atom");
  EXPECT_EQ(Atoms()->horizontalHeaderItem(1)->textAlignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignLeft);
  EXPECT_EQ(Form().Reflections()->horizontalHeaderItem(5)->text(), "2th    ");
  EXPECT_EQ(
      Form().Reflections()->horizontalHeaderItem(5)->textAlignment() & Qt::AlignHorizontal_Mask,
      Qt::AlignRight);
  // The widest values fit their columns.
  const QFontMetrics metrics = Atoms()->fontMetrics();
  EXPECT_LT(metrics.horizontalAdvance("-0.50000"), Atoms()->columnWidth(3) - 6);
  EXPECT_LT(metrics.horizontalAdvance("100.0"), Form().Reflections()->columnWidth(8) - 6);
  EXPECT_LT(metrics.horizontalAdvance("127.1234"), Form().Reflections()->columnWidth(5) - 6);
}

TEST_F(BraxelWindowTest, TypedStructureIsCalculatedAndShown) {
  TypeNaCl();
  Form().Target()->setCurrentIndex(4);  // Mo
  frame->Action(Command::kCalculateProfile)->trigger();
  ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();
  ASSERT_TRUE(frame->View().Results().calculationDone);
  EXPECT_EQ(Form().Info(InfoBox::kSgSymbol)->text(), "F m -3 m");
  EXPECT_EQ(Form().Info(InfoBox::kLaueGroup)->text(), "m3m");
  EXPECT_EQ(Form().Lines(LineList::kSymmetryCodes)->count(), 24);
  EXPECT_EQ(Form().Lines(LineList::kConditions)->item(0)->text(), "1. hkl : h,k,l odd/even");
  // 111 with Mo Ka1 comes first: 2theta = 2 asin(lambda sqrt(3) / 2a).
  const double twoTheta = 2.0 * std::asin(0.7093 * std::sqrt(3.0) / (2.0 * 5.6402)) * 180.0 / M_PI;
  EXPECT_EQ(Reflection(0, 0), "   1");
  EXPECT_EQ(Reflection(0, 1) + Reflection(0, 2) + Reflection(0, 3), "111");
  EXPECT_NEAR(Reflection(0, 5).toDouble(), twoTheta, 1e-4);
  EXPECT_EQ(Form().AtomText(1, 0), " 2");
  EXPECT_EQ(Form().AtomText(1, 6), " 0.70000");
  EXPECT_EQ(frame->View().Data().targetIndex, 5);

  frame->Action(Command::kClear)->trigger();
  EXPECT_TRUE(Reflection(0, 0).isEmpty());
  EXPECT_TRUE(Form().AtomText(0, 1).empty());
  EXPECT_EQ(Form().Target()->currentText(), "Mo");
}

TEST_F(BraxelWindowTest, CellEditsOpenOnTheSelectedRowAndNeverOnTheNumber) {
  TypeCell(0, 1, "Fe");
  EXPECT_EQ(Form().AtomText(0, 1), "Fe");
  EXPECT_EQ(CellEditor(), nullptr);

  // The row is selected now; its number column opens no editor.
  QTest::mouseClick(Atoms()->viewport(), Qt::LeftButton, {}, CellCenter(0, 0));
  QTest::qWait(200);
  EXPECT_EQ(CellEditor(), nullptr);

  // The editor opens on the cell's text, all of it selected; Escape keeps the cell.
  QLineEdit* editor = OpenEditor(0, 1);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "Fe");
  EXPECT_EQ(editor->selectedText(), "Fe");
  QTest::keyClicks(editor, "Cu");
  QTest::keyClick(editor, Qt::Key_Escape);
  EXPECT_TRUE(EditorClosed());
  EXPECT_EQ(Form().AtomText(0, 1), "Fe");

  // Losing the focus commits.
  editor = OpenEditor(0, 2);
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "0.5");
  Form().Box(FormBox::kA)->setFocus();
  EXPECT_TRUE(EditorClosed());
  EXPECT_EQ(Form().AtomText(0, 2), "0.5");

  // A scroll of the list carries an open editor with its cell.
  editor = OpenEditor(3, 4);
  ASSERT_NE(editor, nullptr);
  const int top = editor->geometry().top();
  Atoms()->verticalScrollBar()->setValue(2);
  QApplication::processEvents();
  EXPECT_EQ(editor->geometry().top(), top - 2 * Atoms()->rowHeight(0));
  QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(BraxelWindowTest, InsetAndDeleteButtonsWorkOnTheSelectedRow) {
  TypeNaCl();
  ASSERT_TRUE(frame->View().GatherCrystalData());
  Atoms()->selectRow(0);
  QTest::mouseClick(Form().InsertButton(), Qt::LeftButton);
  EXPECT_EQ(Form().AtomText(1, 1), "Na1/Na");
  EXPECT_EQ(Form().AtomText(2, 0), " 3");
  Atoms()->selectRow(0);
  QTest::mouseClick(Form().DeleteButton(), Qt::LeftButton);
  EXPECT_EQ(Form().AtomText(0, 1), "Na1/Na");
  EXPECT_EQ(Atoms()->rowCount(), 80);
}

TEST_F(BraxelWindowTest, BadInputIsReportedAndNeverCrashes) {
  TypeNaCl();
  for (FormBox box : {FormBox::kSgNumber, FormBox::kSetting, FormBox::kA, FormBox::kB, FormBox::kC,
                      FormBox::kAlpha, FormBox::kBeta, FormBox::kGamma}) {
    TypeBox(box, "x?");
  }
  TypeCell(0, 1, "Qq/??");
  TypeCell(0, 3, "many");
  frame->Action(Command::kCalculateProfile)->trigger();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(ui.messages[0].empty());
  EXPECT_FALSE(frame->View().Results().calculationDone);
  EXPECT_TRUE(Reflection(0, 0).isEmpty());
}

TEST_F(BraxelWindowTest, ProfileParametersCommandUsesTheDialogsValuesOnOk) {
  QTimer::singleShot(0, [] {
    auto* window = qobject_cast<ProfileParametersWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Profile Parameters");
    EXPECT_EQ(window->Box(CProfileParametersDlg::kEnd)->text(), "120.00");
    QTest::keyClick(window->Spin(CProfileParametersDlg::kEndSpin), Qt::Key_Down);
    window->accept();
  });
  frame->Action(Command::kEditProfileParameters)->trigger();
  EXPECT_DOUBLE_EQ(frame->View().Profile().twoThetaEnd, 110.0);

  QTimer::singleShot(0, [] {
    auto* window = qobject_cast<ProfileParametersWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    window->Box(CProfileParametersDlg::kU)->setText("zero");
    window->reject();
  });
  frame->Action(Command::kEditProfileParameters)->trigger();
  EXPECT_DOUBLE_EQ(frame->View().Profile().U, 0.01);
}

TEST_F(BraxelWindowTest, AboutBoxNamesTheVersion) {
  QStringList labels;
  QString title;
  QTimer::singleShot(0, [&] {
    QWidget* about = QApplication::activeModalWidget();
    ASSERT_NE(about, nullptr);
    title = about->windowTitle();
    for (const QLabel* label : about->findChildren<QLabel*>()) labels << label->text();
    qobject_cast<QDialog*>(about)->accept();
  });
  frame->Action(Command::kAbout)->trigger();
  EXPECT_EQ(title, "Braxel");
  EXPECT_TRUE(labels.contains("Braxel Version 1.0"));
}

}  // namespace
}  // namespace braxel
