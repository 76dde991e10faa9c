#include "app/qt/BraxelApp.h"

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QStyle>
#include <clocale>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>

#include "app/qt/BraxelForm.h"
#include "app/qt/MainFrame.h"
#include "pattern/qt/PatternPlot.h"
#include "platform/ConsoleUserInterface.h"
#include "platform/TextInput.h"
#include "platform/qt/QtSystemServices.h"
#include "platform/qt/QtUserInterface.h"

namespace braxel {
namespace {

constexpr const char* kUsage =
    "usage: braxel [STRUCTURE.inp]\n"
    "\n"
    "Opens the window with the settings file Braxel.ini of the current directory (else the\n"
    "bundled one); the report and pattern files are written there. A structure file given\n"
    "here is read and calculated at start.\n";

// Pictures are taken with nobody at the screen: messages go to standard error and are kept for
// the picture, questions are answered No, and Save dialogs take the files given in advance.
class UnattendedUserInterface : public QtUserInterface {
 public:
  void ShowMessage(const std::string& text) override {
    PrintMessageLine(text);
    lastMessage = text;
  }
  bool AskYesNo(const std::string& text) override {
    PrintMessageLine(text);
    return false;
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override {
    if (saveAnswers.empty()) return std::nullopt;
    std::string answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  std::string lastMessage;
  std::deque<std::string> saveAnswers;
};

bool SaveImage(const QPixmap& picture, const QString& directory, const char* name) {
  const QString path = QDir(directory).filePath(name);
  if (picture.save(path)) return true;
  std::fprintf(stderr, "%s file not create !!!\n", path.toLocal8Bit().constData());
  return false;
}

bool SavePicture(QWidget& widget, const QString& directory, const char* name) {
  widget.show();
  QApplication::processEvents();
  return SaveImage(widget.grab(), directory, name);
}

// The window with the message box of the last message over its middle, as the user sees it.
bool SaveWindowWithMessage(QWidget& window, const std::string& message, const QString& directory,
                           const char* name) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                  QString::fromStdString(message), QMessageBox::Ok, &window);
  box.show();
  QApplication::processEvents();
  QPixmap picture = window.grab();
  const QPixmap over = box.grab();
  QPainter(&picture).drawPixmap((picture.width() - over.width()) / 2,
                                (picture.height() - over.height()) / 2, over);
  return SaveImage(picture, directory, name);
}

// The top-level window the interface opened under that name.
QWidget* OpenedWindow(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == name && widget->isVisible()) return widget;
  }
  return nullptr;
}

// The window at its first start, with a calculated structure and its plot, with a CIF file
// read after the calculation, refusing a cell edge, the exported files (written into the folder
// too), the help window and the dialogs.
bool SaveScreenshots(CMainFrame& frame, UnattendedUserInterface& ui, const QString& directory,
                     const std::string& structure, const std::string& cif) {
  if (!QDir().mkpath(directory)) {
    std::fprintf(stderr, "%s folder not create !!!\n", directory.toLocal8Bit().constData());
    return false;
  }
  CBraxelView& view = frame.View();
  frame.resize(1016, 728);  // a 1024 x 768 screen less the window's border and title
  bool saved = SavePicture(frame, directory, "first-start.png");
  view.OpenStructureFile(structure);
  view.OnCalculateProfile();
  frame.Form().SelectReflectionNear(frame.Form().Plot()->CurrentPattern().markers.at(2), 0.01);
  saved = SavePicture(frame, directory, "calculated.png") && saved;
  view.OpenStructureFile(cif);
  saved = SavePicture(frame, directory, "cif-after-calculation.png") && saved;
  frame.Form().SetBoxText(FormBox::kA, "5.15x");
  view.OnCalculateProfile();
  saved = SaveWindowWithMessage(frame, ui.lastMessage, directory, "refused-input.png") && saved;

  view.OpenStructureFile(structure);
  view.OnCalculateProfile();
  const std::string csv = QDir(directory).filePath("reflections.csv").toStdString();
  ui.saveAnswers = {csv, QDir(directory).filePath("pattern.xy").toStdString()};
  view.OnExportReflections();
  view.OnExportPattern();
  std::string text;
  ReadTextFile(csv, text);
  ui.ShowText(csv, text);
  if (QWidget* window = OpenedWindow("textWindow")) {
    saved = SavePicture(*window, directory, "exported-reflections.png") && saved;
  }
  ui.ShowHelp(view.Fixed().helpPath);
  if (QWidget* window = OpenedWindow("helpWindow")) {
    saved = SavePicture(*window, directory, "help.png") && saved;
  }
  ExternalFilesDialog external(view.External(), ui);
  ExternalFilesView externalView(external, &frame);
  saved = SavePicture(externalView, directory, "external-files.png") && saved;
  CProfileParametersDlg dialog(view.Profile());
  ProfileParametersWindow profile(dialog, &frame);
  saved = SavePicture(profile, directory, "profile-parameters.png") && saved;
  CAboutDlg about(&frame);
  saved = SavePicture(about, directory, "about.png") && saved;
  return saved;
}

}  // namespace

CBraxelApp::CBraxelApp(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt takes the user's locale for the C library too; files and boxes hold numbers with a
  // decimal point whatever the language of the desktop.
  std::setlocale(LC_NUMERIC, "C");
  setApplicationName("Braxel");
  setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
}

int CBraxelApp::Run(const std::string& dataDirectory) {
  std::optional<QString> structurePath;
  std::optional<QStringList> screenshots;  // folder, structure file, CIF file
  const QStringList arguments = QApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--screenshot" && i + 3 < arguments.size()) {
      screenshots = arguments.mid(i + 1, 3);
      i += 3;
    } else if (!argument.startsWith('-') && !structurePath) {
      structurePath = argument;
    } else {
      std::fputs(kUsage, stderr);
      return 1;
    }
  }

  QtSystemServices system;
  if (screenshots) {
    UnattendedUserInterface ui;
    CMainFrame frame(ui, system, dataDirectory);
    return SaveScreenshots(frame, ui, (*screenshots)[0], (*screenshots)[1].toStdString(),
                           (*screenshots)[2].toStdString())
               ? 0
               : 1;
  }
  QtUserInterface ui;
  // The desktop's per-user store keeps the recent files.
  QSettings store("Local AppWizard-Generated Applications", "Braxel");
  CMainFrame frame(ui, system, dataDirectory, &store);
  frame.show();
  if (structurePath && frame.View().OpenStructureFile(structurePath->toStdString())) {
    frame.View().OnCalculateProfile();
  }
  return exec();
}

}  // namespace braxel
