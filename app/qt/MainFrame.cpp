#include "app/qt/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/qt/BraxelForm.h"

namespace braxel {
namespace {

struct CommandText {
  Command command;
  const char* name;  // object name, for finding the action
  const char* text;
  const char* prompt;           // status-bar prompt, a line break, tool tip
  QStyle::StandardPixmap icon;  // on the tool bar only
};

constexpr QStyle::StandardPixmap kNoIcon = QStyle::SP_CustomBase;

constexpr CommandText kCommands[] = {
    {Command::kFileOpen, "fileOpen", "File Open (&O)...", "Crystal data file open\nFile Open",
     QStyle::SP_DialogOpenButton},
    {Command::kSaveInputFile, "saveInputFile", "Save Input File (&I)...",
     "Save input data as Braxel file\nSave Input File", kNoIcon},
    {Command::kSaveOutputFile, "saveOutputFile", "Save Output File (&O)...",
     "Save output data\nSave Output File ", kNoIcon},
    {Command::kExportReflections, "exportReflections", "Export Reflection List (&R)...",
     "Save the reflection list as a CSV file\nExport Reflection List", kNoIcon},
    {Command::kExportPattern, "exportPattern", "Export Pattern (&T)...",
     "Save the pattern as 2theta and intensity columns\nExport Pattern", kNoIcon},
    {Command::kClear, "clear", "Clear (&C)", "Clear all data\nClear", QStyle::SP_DialogResetButton},
    {Command::kExit, "exit", "Exit (&X)", "Application quit\nExit", QStyle::SP_DialogCloseButton},
    {Command::kFindSgNumber, "findSgNumber", "Find SG Number (&S)",
     "Find space group number by tabsg file\nFind SG Number", kNoIcon},
    {Command::kEditFile, "editFile", "Edit File (&E)...", "Edit/show file\nEdit File", kNoIcon},
    {Command::kEditProfileParameters, "editProfileParameters", "Edit Profile Parameters (&P)...",
     "Change profile parameters\nChange Parameters ", kNoIcon},
    {Command::kSetExternalFiles, "setExternalFiles", "Set External Files (&X)...",
     "Set external programs and files\nSetting of External", kNoIcon},
    {Command::kCalculateProfile, "calculateProfile", "Calculate Profile (&P)",
     "Calculate profile pattern\nMake Profile", QStyle::SP_MediaPlay},
    {Command::kShowPattern, "showPattern", "Show Pattern (&P)...",
     "Show calculate powder pattern\nShow Pattern", QStyle::SP_FileDialogContentsView},
    {Command::kShowStructure, "showStructure", "Show Structure (&S)...",
     "Show crystal structure\nShow Structure", kNoIcon},
    {Command::kShowOutput, "showOutput", "Show Output (&O)...", "Show output file\nShow Output",
     kNoIcon},
    {Command::kToolBar, "toolBar", "Tool Bar (&T)", "Tool bar on/off\nTool bar on/off", kNoIcon},
    {Command::kStatusBar, "statusBar", "Status Bar (&S)", "Status bar on/off\nStatus bar on/off",
     kNoIcon},
    {Command::kHelpByHtml, "helpByHtml", "Help by HTML (&H)",
     "Show help document by HTML\nHelp by HTML", kNoIcon},
    {Command::kAbout, "about", "Braxel Version (&V)",
     "Show version information\nVersion Information", QStyle::SP_MessageBoxInformation},
};

// The one local file a drag carries, or an empty text.
QString DraggedFile(const QMimeData* data) {
  const QList<QUrl> urls = data->urls();
  return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Braxel");
  setMinimumWidth(260);
  auto* layout = new QVBoxLayout(this);
  auto* line = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  line->addWidget(icon);
  line->addSpacing(12);
  line->addWidget(new QLabel("Braxel Version 1.0", this), 1);
  layout->addLayout(line);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

CMainFrame::CMainFrame(UserInterface& ui, SystemServices& system, const std::string& dataDirectory,
                       QSettings* recentStore, QWidget* parent)
    : QMainWindow(parent), form_(new CBraxelForm(this)), recentStore_(recentStore) {
  setCentralWidget(form_);
  // Menu and tool bar are fixed; no context menu offers to hide parts of them.
  setContextMenuPolicy(Qt::NoContextMenu);
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  view_ = std::make_unique<CBraxelView>(
      *form_, ui, system,
      ViewDialogs{profileDialog_, axisDialog_, externalFilesDialog_, icsdEntryDialog_,
                  expoSolutionDialog_},
      dataDirectory, QCoreApplication::applicationDirPath().toStdString());
  view_->OnInitialUpdate();

  connect(form_->InsertButton(), &QPushButton::clicked, this, [this] { view_->OnInsertAtom(); });
  connect(form_->DeleteButton(), &QPushButton::clicked, this, [this] { view_->OnDeleteAtom(); });
  const std::pair<Command, void (CBraxelView::*)()> handlers[] = {
      {Command::kFileOpen, &CBraxelView::OnFileOpenStructure},
      {Command::kSaveInputFile, &CBraxelView::OnSaveInputFile},
      {Command::kExportReflections, &CBraxelView::OnExportReflections},
      {Command::kExportPattern, &CBraxelView::OnExportPattern},
      {Command::kClear, &CBraxelView::ClearForm},
      {Command::kEditProfileParameters, &CBraxelView::OnEditProfileParameters},
      {Command::kCalculateProfile, &CBraxelView::OnCalculateProfile},
      {Command::kSaveOutputFile, &CBraxelView::OnSaveOutputFile},
      {Command::kFindSgNumber, &CBraxelView::OnFindSgNumber},
      {Command::kEditFile, &CBraxelView::OnEditFile},
      {Command::kSetExternalFiles, &CBraxelView::OnSetExternalFiles},
      {Command::kShowPattern, &CBraxelView::OnShowPattern},
      {Command::kShowStructure, &CBraxelView::OnShowStructure},
      {Command::kShowOutput, &CBraxelView::OnShowOutput},
      {Command::kHelpByHtml, &CBraxelView::OnHelpByHtml},
  };
  for (const auto& [command, handler] : handlers) {
    connect(Action(command), &QAction::triggered, this, [this, handler] { (*view_.*handler)(); });
  }
  connect(Action(Command::kExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(Command::kAbout), &QAction::triggered, this, &CMainFrame::OnAppAbout);
  connect(form_, &CBraxelForm::StructureEdited, this,
          [this](bool spaceGroupEdited) { view_->OnStructureEdited(spaceGroupEdited); });
  connect(form_, &CBraxelForm::RecentFileUsed, this, &CMainFrame::AddRecentFile);
  connect(form_->CopyAction(), &QAction::triggered, this, &CMainFrame::CopyReflections);
  setAcceptDrops(true);

  // The frame is made to fit the form, never smaller than its first size nor larger than the
  // screen with room for the window's border and title.
  const QSize screen = this->screen()->availableGeometry().size() - QSize(8, 40);
  resize(QSize(720, 600).expandedTo(sizeHint()).boundedTo(screen));
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::OnAppAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  view_->OpenStructureFile(path.toStdString());
}

void CMainFrame::CopyReflections() {
  const std::vector<int> rows = form_->SelectedReflectionRows();
  if (rows.empty()) return;
  QApplication::clipboard()->setText(
      QString::fromStdString(view_->ReflectionTableText(rows, '\t')));
}

void CMainFrame::AddRecentFile(const QString& path) {
  recentFiles_.removeAll(path);
  recentFiles_.prepend(path);
  while (recentFiles_.size() > kRecentFiles) recentFiles_.removeLast();
  if (recentStore_) recentStore_->setValue("Recent File List", recentFiles_);
  ShowRecentFiles();
}

void CMainFrame::ShowRecentFiles() {
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* action = RecentAction(i);
    action->setVisible(i < recentFiles_.size());
    if (i < recentFiles_.size()) {
      // An "&" of the path is no mnemonic.
      const QString shown = QDir::toNativeSeparators(recentFiles_[i]).replace('&', "&&");
      action->setText(QString("&%1 %2").arg(i + 1).arg(shown));
      action->setData(recentFiles_[i]);
    }
  }
  recentSeparator_->setVisible(!recentFiles_.isEmpty());
}

void CMainFrame::CreateActions() {
  for (const CommandText& entry : kCommands) {
    auto* action = new QAction(entry.text, this);
    action->setObjectName(entry.name);
    const QStringList prompt = QString(entry.prompt).split('\n');
    action->setStatusTip(prompt.value(0));
    action->setToolTip(prompt.value(1));
    if (entry.icon != kNoIcon) {
      action->setIcon(style()->standardIcon(entry.icon));
      action->setIconVisibleInMenu(false);
    }
    actions_[entry.command] = action;
  }
  // The desktop's keys for the commands that have one.
  Action(Command::kFileOpen)->setShortcut(QKeySequence::Open);
  Action(Command::kSaveInputFile)->setShortcut(QKeySequence::Save);
  Action(Command::kCalculateProfile)->setShortcut(Qt::Key_F5);
  Action(Command::kExit)->setShortcut(Qt::CTRL | Qt::Key_Q);
  Action(Command::kHelpByHtml)->setShortcut(Qt::Key_F1);
  for (QAction*& action : recentActions_) {
    action = new QAction(this);
    connect(action, &QAction::triggered, this,
            [this, action] { view_->OpenStructureFile(action->data().toString().toStdString()); });
  }
}

void CMainFrame::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction(Action(Command::kFileOpen));
  QMenu* save = file->addMenu("File Save (&S)");
  save->addAction(Action(Command::kSaveInputFile));
  save->addAction(Action(Command::kSaveOutputFile));
  file->addAction(Action(Command::kExportReflections));
  file->addAction(Action(Command::kExportPattern));
  file->addAction(Action(Command::kClear));
  file->addSeparator();
  for (QAction* action : recentActions_) file->addAction(action);
  recentSeparator_ = file->addSeparator();
  file->addAction(Action(Command::kExit));
  if (recentStore_) recentFiles_ = recentStore_->value("Recent File List").toStringList();
  while (recentFiles_.size() > kRecentFiles) recentFiles_.removeLast();
  ShowRecentFiles();

  QMenu* edit = menuBar()->addMenu("&Edit");
  for (Command command : {Command::kFindSgNumber, Command::kEditFile,
                          Command::kEditProfileParameters, Command::kSetExternalFiles}) {
    edit->addAction(Action(command));
  }
  QMenu* execute = menuBar()->addMenu("E&xecute");
  for (Command command : {Command::kCalculateProfile, Command::kShowPattern,
                          Command::kShowStructure, Command::kShowOutput}) {
    execute->addAction(Action(command));
  }
  QMenu* option = menuBar()->addMenu("&Option");
  option->addAction(Action(Command::kToolBar));
  option->addAction(Action(Command::kStatusBar));
  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(Action(Command::kHelpByHtml));
  help->addAction(Action(Command::kAbout));
}

void CMainFrame::CreateToolBar() {
  QToolBar* toolBar = addToolBar("Tool Bar");
  toolBar->setObjectName("mainToolBar");
  toolBar->addAction(Action(Command::kFileOpen));
  toolBar->addAction(Action(Command::kClear));
  toolBar->addSeparator();
  toolBar->addAction(Action(Command::kCalculateProfile));
  toolBar->addAction(Action(Command::kShowPattern));
  toolBar->addSeparator();
  toolBar->addAction(Action(Command::kAbout));
  toolBar->addSeparator();
  toolBar->addAction(Action(Command::kExit));

  QAction* shown = Action(Command::kToolBar);
  shown->setCheckable(true);
  shown->setChecked(true);
  connect(shown, &QAction::toggled, toolBar, &QWidget::setVisible);
}

void CMainFrame::CreateStatusBar() {
  // The message pane shows "Ready" whenever no command prompt covers it.
  statusBar()->addWidget(new QLabel("Ready", this), 1);
  for (const char* indicator : {"KANA", "CAP", "NUM", "SCRL"}) {
    auto* pane = new QLabel(indicator, this);
    pane->setObjectName(indicator);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    // Qt does not tell the state of the lock keys; the panes stay greyed like released keys.
    pane->setEnabled(false);
    statusBar()->addPermanentWidget(pane);
  }
  QAction* shown = Action(Command::kStatusBar);
  shown->setCheckable(true);
  shown->setChecked(true);
  connect(shown, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

}  // namespace braxel
