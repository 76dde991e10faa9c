// The real window driven as a user drives it: typing, clicking and the menu commands; the
// windows and system services of the platform beside it.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyleHints>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/qt/BraxelForm.h"
#include "app/qt/MainFrame.h"
#include "pattern/qt/PatternPlot.h"
#include "platform/TextInput.h"
#include "platform/qt/QtSystemServices.h"
#include "platform/qt/QtUserInterface.h"
#include "settings/qt/ExternalFilesDialog.h"
#include "settings/qt/ProfileParametersWindow.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TempDir;

class BraxelWindowTest : public ::testing::Test {
 protected:
  BraxelWindowTest() {
    // A click on the selected row opens its editor after the double-click time; keep it short.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(60);
    system.currentDirectory = start.Path().string();
    OpenFrame();
  }

  void OpenFrame() {
    frame = std::make_unique<CMainFrame>(ui, system, BRAXEL_DATA_DIR, &store);
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

  // F2 on the cell; the mouse's gestures have a test of their own.
  void TypeCell(int row, int column, const QString& text) {
    Atoms()->setFocus();
    Atoms()->setCurrentIndex(Atoms()->model()->index(row, column));
    QTest::keyClick(Atoms(), Qt::Key_F2);
    QLineEdit* editor = CellEditor();
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
    return Form().Reflections()->model()->index(row, column).data().toString();
  }
  int ReflectionRows() { return Form().Reflections()->model()->rowCount(); }

  void Calculate() {
    QTest::keyClick(frame.get(), Qt::Key_F5);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();
    ASSERT_TRUE(frame->View().Results().calculationDone);
  }

  // What a file manager sends when a file is dropped on the window.
  void Drop(const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(frame.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(frame.get(), &drop);
  }

  TempDir start;
  QSettings store{QString::fromStdString(start.File("recent.ini")), QSettings::IniFormat};
  testing::RecordingUserInterface ui;
  testing::RecordingSystemServices system;
  std::unique_ptr<CMainFrame> frame;
};

// A 1024 x 768 screen holds the window; its lists and plot grow with it. The standard keys.
TEST_F(BraxelWindowTest, FitsA1024By768ScreenGrowsAndHasTheStandardKeys) {
  EXPECT_LE(frame->minimumSizeHint().width(), 1024);
  EXPECT_LE(frame->minimumSizeHint().height(), 768 - 40);  // the title bar and the panel
  const auto sizes = [this] {
    return std::vector<QSize>{Atoms()->size(), Form().Reflections()->size(), Form().Plot()->size()};
  };
  frame->resize(1024, 728);
  QApplication::processEvents();
  const std::vector<QSize> small = sizes();
  frame->resize(1400, 1000);
  QApplication::processEvents();
  for (std::size_t i = 0; i < small.size(); ++i) {
    EXPECT_GT(sizes()[i].height(), small[i].height()) << i;
  }
  const std::pair<Command, const char*> keys[] = {{Command::kFileOpen, "Ctrl+O"},
                                                  {Command::kSaveInputFile, "Ctrl+S"},
                                                  {Command::kExit, "Ctrl+Q"},
                                                  {Command::kHelpByHtml, "F1"}};
  for (const auto& [command, key] : keys) {
    EXPECT_EQ(frame->Action(command)->shortcut().toString(), key);
  }
}

// The window starts empty, on Cu; typed, it is calculated and shown with its plot.
TEST_F(BraxelWindowTest, TypedStructureIsCalculatedAndShownWithItsPlot) {
  EXPECT_EQ(Form().Target()->currentText(), "Cu");
  // Bearden's Cu Ka1 and the Kb line, as the target table holds them.
  EXPECT_EQ(Form().Wavelength()->text(), QString::fromUtf8("Ka1 1.540562 \u00c5"));
  Form().Target()->setCurrentIndex(6);
  EXPECT_EQ(Form().Wavelength()->text(), QString::fromUtf8("Kb 1.39222 \u00c5"));
  TypeNaCl();
  Form().Target()->setCurrentIndex(4);  // Mo
  Calculate();
  EXPECT_EQ(ui.waitCursorShown, 1);
  EXPECT_EQ(ui.waitCursorDepth, 0);
  // What the report says is read back into the form.
  QStringList info;
  for (InfoBox box : {InfoBox::kSgSymbol, InfoBox::kSystem, InfoBox::kLaueGroup,
                      InfoBox::kPointGroup, InfoBox::kCentro, InfoBox::kUniqueAxis}) {
    info << Form().Info(box)->text();
  }
  EXPECT_EQ(info, (QStringList{"F m -3 m", "cubic", "m3m", "m-3m", "yes", "no"}));
  EXPECT_EQ(Form().Lines(LineList::kSymmetryCodes)->count(), 24);
  EXPECT_EQ(Form().Lines(LineList::kConditions)->item(0)->text(), "1. hkl : h,k,l odd/even");
  EXPECT_EQ(Form().BoxText(FormBox::kA), "   5.64020");
  // 111 with Mo Ka1 comes first: 2theta = 2 asin(lambda sqrt(3) / 2a).
  const double twoTheta = 2.0 * std::asin(0.7093 * std::sqrt(3.0) / (2.0 * 5.6402)) * 180.0 / M_PI;
  EXPECT_EQ(ReflectionRows(), frame->View().Results().reflectionCount);
  EXPECT_EQ(Reflection(0, 1) + Reflection(0, 2) + Reflection(0, 3), "111");
  EXPECT_NEAR(Reflection(0, 5).toDouble(), twoTheta, 1e-4);
  EXPECT_NEAR(Reflection(0, 6).toDouble(), 5.6402 / std::sqrt(3.0), 1e-4);  // d = a / sqrt(3)
  EXPECT_EQ(Reflection(0, 9), "8");
  ASSERT_TRUE(Form().Plot()->HasPattern());
  EXPECT_EQ(Form().Plot()->CurrentPattern().intensities.size(), 5501u);  // 10 to 120 by 0.02
  EXPECT_NEAR(Form().Plot()->CurrentPattern().markers.front(), twoTheta, 1e-3);
  EXPECT_EQ(Form().AtomText(1, 6), " 0.70000");
  EXPECT_EQ(frame->View().Data().targetIndex, 5);

  frame->Action(Command::kClear)->trigger();
  EXPECT_EQ(ReflectionRows(), 0);
  EXPECT_FALSE(Form().Plot()->HasPattern());
  EXPECT_TRUE(Form().AtomText(0, 1).empty());
  EXPECT_EQ(Form().Target()->currentText(), "Mo");
}

TEST_F(BraxelWindowTest, EditsAfterARunEmptyTheResultsAndThePlot) {
  TypeNaCl();
  struct Case {
    const char* name;
    std::function<void()> edit;
    QString symbol;
  };
  const Case cases[] = {
      {"atom cell", [this] { TypeCell(1, 6, "0.9"); }, "F m -3 m"},
      {"cell box", [this] { QTest::keyClicks(Form().Box(FormBox::kA), "1"); }, "F m -3 m"},
      {"target", [this] { QTest::keyClick(Form().Target(), Qt::Key_Down); }, "F m -3 m"},
      {"space group", [this] { TypeBox(FormBox::kSgNumber, "225"); }, ""},
      {"Delete",
       [this] {
         Atoms()->selectRow(2);
         QTest::mouseClick(Form().DeleteButton(), Qt::LeftButton);
       },
       "F m -3 m"},
      {"Inset",
       [this] {
         Atoms()->selectRow(2);
         QTest::mouseClick(Form().InsertButton(), Qt::LeftButton);
       },
       "F m -3 m"},
  };
  for (const Case& c : cases) {
    Calculate();
    ASSERT_GT(ReflectionRows(), 0);
    c.edit();
    EXPECT_FALSE(frame->View().Results().calculationDone) << c.name;
    EXPECT_EQ(ReflectionRows(), 0) << c.name;
    EXPECT_EQ(Form().Lines(LineList::kSymmetryCodes)->count(), 0) << c.name;
    EXPECT_FALSE(Form().Plot()->HasPattern()) << c.name;
    EXPECT_EQ(Form().Info(InfoBox::kSgSymbol)->text(), c.symbol) << c.name;
  }
}

TEST_F(BraxelWindowTest, ACifDroppedAfterARunComesWithoutResultsAndIsRemembered) {
  TypeNaCl();
  Calculate();
  const std::string cif = BRAXEL_EXAMPLES_DIR "/rutile.cif";
  Drop(cif);
  EXPECT_EQ(frame->windowTitle().toStdString(), "Braxel --- [File Name : " + cif + " ]");
  EXPECT_EQ(Form().BoxText(FormBox::kSgNumber), "136");
  EXPECT_EQ(Form().Info(InfoBox::kSgSymbol)->text(), "P 42/m n m");
  EXPECT_TRUE(Form().Info(InfoBox::kSystem)->text().isEmpty());
  EXPECT_EQ(ReflectionRows(), 0);
  EXPECT_FALSE(Form().Plot()->HasPattern());
  EXPECT_TRUE(Form().AtomText(2, 1).empty());  // two atoms, none left of NaCl's rows

  // The File menu offers it, in this window and the next one.
  const std::string inp = BRAXEL_EXAMPLES_DIR "/NaCl.inp";
  Drop(inp);
  EXPECT_EQ(frame->RecentAction(0)->text().toStdString(), "&1 " + inp);
  EXPECT_EQ(frame->RecentAction(1)->text().toStdString(), "&2 " + cif);
  EXPECT_FALSE(frame->RecentAction(2)->isVisible());
  OpenFrame();
  frame->RecentAction(1)->trigger();
  EXPECT_EQ(frame->windowTitle().toStdString(), "Braxel --- [File Name : " + cif + " ]");
  EXPECT_EQ(frame->RecentAction(0)->text().toStdString(), "&1 " + cif);
}

TEST_F(BraxelWindowTest, CellEditorsOpenByClickOrKeyEscapeKeepsAndLeavingCommits) {
  TypeCell(0, 1, "Fe");
  EXPECT_EQ(Form().AtomText(0, 1), "Fe");
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

  // F2, Enter or typing on the row's number edit its label.
  struct Case {
    const char* name;
    int key;
    QString text;  // the editor's text once open
  };
  const Case cases[] = {
      {"F2", Qt::Key_F2, "Fe"}, {"Enter", Qt::Key_Return, "Fe"}, {"typing", Qt::Key_O, "o"}};
  for (const Case& c : cases) {
    Atoms()->setFocus();
    Atoms()->setCurrentIndex(Atoms()->model()->index(0, 0));
    QTest::keyClick(Atoms(), static_cast<Qt::Key>(c.key));
    editor = CellEditor();
    ASSERT_NE(editor, nullptr) << c.name;
    EXPECT_EQ(editor->text(), c.text) << c.name;
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(EditorClosed());
  }
  EXPECT_EQ(Form().AtomText(0, 1), "Fe");
}

TEST_F(BraxelWindowTest, RowsAreCopiedUnderTheirHeadingsAndFollowThePlot) {
  TypeNaCl();
  Calculate();
  QTableView* list = Form().Reflections();
  list->setFocus();
  list->selectRow(0);
  list->selectionModel()->select(list->model()->index(2, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  const QStringList copied = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(copied.size(), 4);
  EXPECT_EQ(copied[0], "No\th\tk\tl\tid\t2theta\td\tF\tI\tmult");
  EXPECT_EQ(copied[2].section('\t', 1, 3), "2\t0\t0");
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().count('\n'), ReflectionRows() + 1);

  // A row marks its 2theta in the plot; a click on a peak selects its row.
  qt::PatternPlot* plot = Form().Plot();
  list->setCurrentIndex(list->model()->index(2, 0));
  ASSERT_TRUE(plot->MarkedTwoTheta().has_value());
  EXPECT_NEAR(*plot->MarkedTwoTheta(), Reflection(2, 5).toDouble(), 1e-9);
  const qt::PlotLayout layout = qt::MakePlotLayout(plot->rect(), plot->fontMetrics());
  // 220 for Cu Ka1, from d = a / sqrt(8).
  const double angle220 = 2.0 * std::asin(1.540562 * std::sqrt(8.0) / (2.0 * 5.6402)) * 180 / M_PI;
  const QPoint at(static_cast<int>(std::lround(layout.XOf(angle220, plot->Range()))),
                  layout.profile.center().y());
  QTest::mouseClick(plot, Qt::LeftButton, {}, at);
  const QModelIndexList selected = list->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(Reflection(selected[0].row(), 1) + Reflection(selected[0].row(), 2) +
                Reflection(selected[0].row(), 3),
            "220");
}

using Dlg = CProfileParametersDlg;

ProfileParameters Range(double start, double end) {
  ProfileParameters p;
  p.U = 0.01;
  p.twoThetaStart = start;
  p.twoThetaEnd = end;
  p.twoThetaStep = 0.02;
  return p;
}

TEST(ProfileParametersWindowTest, SpinsShowTheirNewPositionAndTypingDoesNotMoveThem) {
  Dlg dialog(Range(10, 155));
  ProfileParametersWindow window(dialog);
  EXPECT_EQ(window.Box(Dlg::kU)->text(), "0.0100");
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "155.00");
  QTest::keyClick(window.Spin(Dlg::kEndSpin), Qt::Key_Up);  // already at the top
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "155.00");
  QTest::keyClick(window.Spin(Dlg::kEndSpin), Qt::Key_Down);
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "140.00");
  QTest::keyClick(window.Spin(Dlg::kStepSpin), Qt::Key_Up);
  EXPECT_EQ(window.Box(Dlg::kStep)->text(), "0.030");
  window.Box(Dlg::kStart)->setText("55");
  QTest::keyClick(window.Spin(Dlg::kStartSpin), Qt::Key_Up);
  EXPECT_EQ(window.Box(Dlg::kStart)->text(), "20.00");
}

// OK reads the boxes, or says why not and stays open; Cancel leaves the parameters.
TEST(ProfileParametersWindowTest, OkReadsTheBoxesOrSaysWhyNotCancelLeavesTheParameters) {
  Dlg dialog(Range(10, 120));
  for (bool ok : {false, true}) {
    ProfileParametersWindow window(dialog);
    window.Box(Dlg::kU)->setText("letters");
    window.Box(Dlg::kEnd)->setText(" 90.5");
    ok ? window.accept() : window.reject();
    EXPECT_DOUBLE_EQ(dialog.parameters.U, ok ? 0.0 : 0.01);
    EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaEnd, ok ? 90.5 : 120.0);
  }
  ProfileParametersWindow window(dialog);
  window.Box(Dlg::kStep)->setText("1e-9");
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->accept();
  });
  window.accept();
  EXPECT_EQ(shown, "Step of 2theta (step) = 1e-09 is outside the accepted range 0.001 to 5 !!!");
  EXPECT_NE(window.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.02);
}

TEST(QtUserInterfaceTest, FileDialogTakesTitleFiltersFolderAndDefaultExtension) {
  testing::TempDir dir;
  FileDialogRequest request;
  request.title = "Save Input File";
  request.filters = {{"Braxel inp file (*.inp)", "*.inp"},
                     {"Pictures", "*.png *.gif"},
                     {"", "*.*"},
                     {"(*.*)", "*.*"}};
  request.defaultExtension = "inp";
  request.initialPath = dir.File("quartz.inp");
  QFileDialog dialog;
  ConfigureFileDialog(dialog, request);
  EXPECT_EQ(dialog.windowTitle(), "Save Input File");
  // A description without its patterns gets them in brackets.
  EXPECT_EQ(dialog.nameFilters(),
            (QStringList{"Braxel inp file (*.inp)", "Pictures (*.png *.gif)", "(*.*)", "(*.*)"}));
  EXPECT_EQ(dialog.defaultSuffix(), "inp");
  EXPECT_EQ(std::filesystem::path(dialog.directory().absolutePath().toStdString()), dir.Path());
}

// The top-level window of that name, if one is shown.
template <class Window>
Window* Shown(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == name && widget->isVisible()) return qobject_cast<Window*>(widget);
  }
  return nullptr;
}

TEST(QtUserInterfaceTest, TextAndHelpOpenInWindowsOfTheirOwn) {
  {
    QtUserInterface ui;
    ui.ShowText("/work/Braxel.out", "first");
    ui.ShowText("/work/Braxel.out", "report\n  1  1  1\n");
    auto* text = Shown<QPlainTextEdit>("textWindow");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->toPlainText(), "report\n  1  1  1\n");
    EXPECT_TRUE(text->windowTitle().endsWith("/work/Braxel.out"));

    ui.ShowHelp(BRAXEL_DATA_DIR "/BraxelHelp.html");
    auto* help = Shown<QTextBrowser>("helpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Braxel Help");
    EXPECT_TRUE(help->toPlainText().contains("Calculate Profile"));
  }
  // They go with the interface that made them.
  EXPECT_EQ(Shown<QWidget>("textWindow"), nullptr);
  EXPECT_EQ(Shown<QWidget>("helpWindow"), nullptr);
}

TEST(QtSystemServicesTest, TheBrowserIsTheDesktopsOpenerWhenItKnowsOneElseXWwwBrowser) {
  struct Case {
    const char* name;
    std::vector<std::string> programs;  // on PATH
    const char* htmlDefault;            // what xdg-mime names for text/html
    const char* document;
    std::string expected;  // the program's name, or nothing
  };
  const Case cases[] = {
      {"desktop", {"xdg-open", "xdg-mime", "x-www-browser"}, "web.desktop", "h.html", "xdg-open"},
      {"no handler", {"xdg-open", "xdg-mime", "x-www-browser"}, "", "h.html", "x-www-browser"},
      {"no handler, no browser", {"xdg-open", "xdg-mime"}, "", "h.html", ""},
      {"browser only", {"x-www-browser"}, "", "h.html", "x-www-browser"},
      {"browser, not html", {"x-www-browser"}, "", "notes.txt", ""},
  };
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  for (const Case& c : cases) {
    testing::TempDir bin;
    for (const std::string& program : c.programs) {
      const std::string script =
          program == "xdg-mime"
              ? std::string("#!/bin/sh\n[ \"$2\" = filetype ] && echo text/html || echo '") +
                    c.htmlDefault + "'\n"
              : std::string("#!/bin/sh\n");
      testing::WriteFile(bin.File(program), script);
      std::filesystem::permissions(bin.File(program), std::filesystem::perms::owner_all);
    }
    ::setenv("PATH", bin.Path().string().c_str(), 1);
    QtSystemServices system;
    const std::optional<std::string> found = system.FindAssociatedProgram(c.document);
    EXPECT_EQ(found.value_or(""), c.expected.empty() ? "" : bin.File(c.expected)) << c.name;
  }
  ::setenv("PATH", savedPath.c_str(), 1);
}

TEST(QtSystemServicesTest, DirectoryFilesAndPrograms) {
  testing::TempDir dir;
  QtSystemServices system;
  const std::string before = system.CurrentDirectory();
  ASSERT_TRUE(system.ChangeDirectory(dir.Path().string()));
  EXPECT_EQ(std::filesystem::path(system.CurrentDirectory()), dir.Path());
  EXPECT_FALSE(system.ChangeDirectory(dir.File("missing")));
  EXPECT_FALSE(system.ChangeDirectory(""));
  ASSERT_TRUE(system.ChangeDirectory(before));

  testing::WriteFile(dir.File("old.$$$"), "x");
  EXPECT_TRUE(system.DeleteFile(dir.File("old.$$$")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.$$$")));
  EXPECT_FALSE(system.DeleteFile(dir.File("old.$$$")));

  EXPECT_FALSE(system.LaunchProcess("", {}));
  EXPECT_FALSE(system.LaunchProcess(dir.File("no-such-program"), {"a b"}));
  EXPECT_TRUE(system.LaunchProcess("true", {"with blanks", "x"}));
}

const ExternalPaths kPaths{"/e", "/g", "/k", "/t", "/f"};

// Works the dialog once it is up, then closes it with OK or Cancel.
bool RunScripted(ExternalFilesDialog& dialog, bool ok) {
  QTimer::singleShot(0, [ok] {
    auto* view = qobject_cast<ExternalFilesView*>(QApplication::activeModalWidget());
    ASSERT_NE(view, nullptr);
    view->Edit(ExternalFilesDialog::kEditor)->setText("/typed/editor");
    ok ? view->accept() : view->reject();
  });
  QtExternalFilesPresenter presenter(nullptr);
  return presenter.RunModal(dialog);
}

TEST(ExternalFilesViewTest, ShowsTheTextsBrowsesFromWhatIsTypedAndOkHandsThemBack) {
  testing::RecordingUserInterface ui;
  ExternalFilesDialog dialog(kPaths, ui);
  ExternalFilesView view(dialog, nullptr);
  EXPECT_EQ(view.Edit(ExternalFilesDialog::kFscat)->text(), "/f");

  view.Edit(ExternalFilesDialog::kTabsg)->setText("/typed/tabsg");
  ui.fileAnswers = {"/chosen/tabsg"};
  view.BrowseButton(ExternalFilesDialog::kTabsg)->click();
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].initialPath, "/typed/tabsg");
  EXPECT_EQ(view.Edit(ExternalFilesDialog::kTabsg)->text(), "/chosen/tabsg");

  // OK hands the texts back, Cancel does not.
  ExternalFilesDialog accepted(kPaths, ui);
  EXPECT_TRUE(RunScripted(accepted, true));
  EXPECT_EQ(accepted.Paths().editorPath, "/typed/editor");
  EXPECT_EQ(accepted.Paths().tabsgPath, "/t");

  ExternalFilesDialog cancelled(kPaths, ui);
  EXPECT_FALSE(RunScripted(cancelled, false));
  EXPECT_EQ(cancelled.Paths().editorPath, "/e");
}

}  // namespace
}  // namespace braxel
