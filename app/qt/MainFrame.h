#pragma once

#include <QDialog>
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/BraxelView.h"
#include "axes/qt/AxisConversionWindow.h"
#include "io/qt/ChoiceDialogViews.h"
#include "settings/qt/ExternalFilesDialog.h"
#include "settings/qt/ProfileParametersWindow.h"

class QAction;

namespace braxel {

class CBraxelForm;
class SystemServices;
class UserInterface;

// The commands of the menus and the tool bar.
enum class Command {
  kFileOpen,
  kSaveInputFile,
  kSaveOutputFile,
  kClear,
  kExit,
  kFindSgNumber,
  kEditFile,
  kEditProfileParameters,
  kSetExternalFiles,
  kCalculateProfile,
  kShowPattern,
  kShowStructure,
  kShowOutput,
  kToolBar,
  kStatusBar,
  kHelpByHtml,
  kAbout,
};

// The "Braxel" box with the program's icon and version.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

// The main window: menu bar, tool bar, status bar and the form with its view.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(UserInterface& ui, SystemServices& system, const std::string& dataDirectory,
             QWidget* parent = nullptr);
  ~CMainFrame() override;

  CBraxelForm& Form() const { return *form_; }
  CBraxelView& View() const { return *view_; }
  QAction* Action(Command command) const { return actions_.at(command); }

  void OnAppAbout();

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();

  CBraxelForm* form_;
  QtProfileParametersPresenter profileDialog_;
  QtAxisConversionPresenter axisDialog_{this};
  QtExternalFilesPresenter externalFilesDialog_{this};
  IcsdEntryDialogView icsdEntryDialog_{this};
  ExpoSolutionDialogView expoSolutionDialog_{this};
  std::unique_ptr<CBraxelView> view_;
  std::map<Command, QAction*> actions_;
};

}  // namespace braxel
