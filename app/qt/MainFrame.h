#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "app/BraxelView.h"
#include "axes/qt/AxisConversionWindow.h"
#include "io/qt/ChoiceDialogViews.h"
#include "settings/qt/ExternalFilesDialog.h"
#include "settings/qt/ProfileParametersWindow.h"

class QAction;
class QSettings;

namespace braxel {

class CBraxelForm;
class SystemServices;
class UserInterface;

// The commands of the menus and the tool bar.
enum class Command {
  kFileOpen,
  kSaveInputFile,
  kSaveOutputFile,
  kExportReflections,
  kExportPattern,
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

// The main window: menu bar, tool bar, status bar and the form with its view. A structure file
// dropped on it is opened as File Open opens it.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kRecentFiles = 4;

  // The recent files are kept in recentStore, or only while the window lives when it is null.
  CMainFrame(UserInterface& ui, SystemServices& system, const std::string& dataDirectory,
             QSettings* recentStore = nullptr, QWidget* parent = nullptr);
  ~CMainFrame() override;

  CBraxelForm& Form() const { return *form_; }
  CBraxelView& View() const { return *view_; }
  QAction* Action(Command command) const { return actions_.at(command); }
  // The File menu's entries of the recent files, newest first; hidden when unused.
  QAction* RecentAction(int index) const {
    return recentActions_.at(static_cast<std::size_t>(index));
  }

  void OnAppAbout();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void AddRecentFile(const QString& path);
  void ShowRecentFiles();
  void CopyReflections();

  CBraxelForm* form_;
  QtProfileParametersPresenter profileDialog_;
  QtAxisConversionPresenter axisDialog_{this};
  QtExternalFilesPresenter externalFilesDialog_{this};
  IcsdEntryDialogView icsdEntryDialog_{this};
  ExpoSolutionDialogView expoSolutionDialog_{this};
  std::unique_ptr<CBraxelView> view_;
  std::map<Command, QAction*> actions_;
  QSettings* recentStore_;
  QStringList recentFiles_;
  std::array<QAction*, kRecentFiles> recentActions_{};
  QAction* recentSeparator_ = nullptr;
};

}  // namespace braxel
