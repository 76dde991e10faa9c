#include "app/qt/BraxelApp.h"

#include <QDir>
#include <QStyle>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/qt/MainFrame.h"
#include "platform/ConsoleUserInterface.h"
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

// Pictures are taken with nobody at the screen: messages go to standard error, questions are
// answered No.
class UnattendedUserInterface : public QtUserInterface {
 public:
  void ShowMessage(const std::string& text) override { PrintMessageLine(text); }
  bool AskYesNo(const std::string& text) override {
    PrintMessageLine(text);
    return false;
  }
};

bool SavePicture(QWidget& widget, const QString& directory, const char* name) {
  widget.show();
  QApplication::processEvents();
  const QString path = QDir(directory).filePath(name);
  if (widget.grab().save(path)) return true;
  std::fprintf(stderr, "%s file not create !!!\n", path.toLocal8Bit().constData());
  return false;
}

bool SaveScreenshots(CMainFrame& frame, const QString& directory) {
  if (!QDir().mkpath(directory)) {
    std::fprintf(stderr, "%s folder not create !!!\n", directory.toLocal8Bit().constData());
    return false;
  }
  bool saved = SavePicture(frame, directory, "main-window.png");
  CProfileParametersDlg dialog(frame.View().Profile());
  ProfileParametersWindow profile(dialog, &frame);
  saved = SavePicture(profile, directory, "profile-parameters.png") && saved;
  CAboutDlg about(&frame);
  saved = SavePicture(about, directory, "about.png") && saved;
  return saved;
}

}  // namespace

CBraxelApp::CBraxelApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Braxel");
  setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
}

int CBraxelApp::Run(const std::string& dataDirectory) {
  std::optional<QString> structurePath;
  std::optional<QString> screenshotDirectory;
  const QStringList arguments = QApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--screenshot" && i + 1 < arguments.size()) {
      screenshotDirectory = arguments[++i];
    } else if (!argument.startsWith('-') && !structurePath) {
      structurePath = argument;
    } else {
      std::fputs(kUsage, stderr);
      return 1;
    }
  }

  const std::unique_ptr<UserInterface> ui = screenshotDirectory
                                                ? std::make_unique<UnattendedUserInterface>()
                                                : std::make_unique<QtUserInterface>();
  QtSystemServices system;
  CMainFrame frame(*ui, system, dataDirectory);
  frame.show();
  if (structurePath && frame.View().OpenStructureFile(structurePath->toStdString())) {
    frame.View().OnCalculateProfile();
  }
  if (screenshotDirectory) return SaveScreenshots(frame, *screenshotDirectory) ? 0 : 1;
  return exec();
}

}  // namespace braxel
