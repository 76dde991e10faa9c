#include "pattern/qt/PatternWindow.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <string>

#include "pattern/PatternFile.h"
#include "pattern/qt/PatternPlot.h"
#include "pattern/qt/PngFile.h"

namespace braxel::qt {

PatternWindow::PatternWindow() : plot_(new PatternPlot(this)) {
  setCentralWidget(plot_);
  setWindowTitle(QStringLiteral("braxel-pattern"));

  auto* open = new QAction(tr("&Open..."), this);
  open->setShortcut(QKeySequence::Open);
  connect(open, &QAction::triggered, this, &PatternWindow::Open);
  auto* exportPng = new QAction(tr("&Export PNG..."), this);
  exportPng->setShortcut(QKeySequence(tr("Ctrl+E")));
  connect(exportPng, &QAction::triggered, this, &PatternWindow::ExportPng);
  auto* quit = new QAction(tr("&Quit"), this);
  quit->setShortcut(QKeySequence::Quit);
  connect(quit, &QAction::triggered, this, &QWidget::close);
  auto* showAll = new QAction(tr("Show &All"), this);
  showAll->setShortcut(QKeySequence(tr("Ctrl+0")));
  showAll->setStatusTip(tr("The whole 2theta range (also a double-click or a right-click)"));
  connect(showAll, &QAction::triggered, plot_, &PatternPlot::ShowAll);

  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(open);
  file->addAction(exportPng);
  file->addSeparator();
  file->addAction(quit);
  menuBar()->addMenu(tr("&View"))->addAction(showAll);
  QToolBar* tools = addToolBar(tr("Tools"));
  tools->setMovable(false);
  tools->addAction(open);
  tools->addAction(exportPng);
  tools->addAction(showAll);

  statusBar()->showMessage(tr("Drag across the plot to zoom; double-click to show all"));
  connect(plot_, &PatternPlot::PointerMoved, this, [this](const QString& where) {
    if (!where.isEmpty()) statusBar()->showMessage(where);
  });

  settle_.setSingleShot(true);
  settle_.setInterval(300);
  connect(&settle_, &QTimer::timeout, this, &PatternWindow::Reload);
  const auto changed = [this] { settle_.start(); };
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
}

void PatternWindow::Watch() {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  // The folder tells when a file replaced by renaming, or removed, comes back.
  watcher_.addPath(QFileInfo(path_).absolutePath());
  watcher_.addPath(path_);
  const QFileInfo info(path_);
  stamp_ = info.lastModified();
  size_ = info.size();
}

void PatternWindow::Reload() {
  const QFileInfo info(path_);
  if (info.exists() && !watcher_.files().contains(path_)) watcher_.addPath(path_);
  const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
  const qint64 size = info.exists() ? info.size() : -1;
  if (stamp == stamp_ && size == size_) return;
  stamp_ = stamp;
  size_ = size;
  Pattern pattern;
  std::string message = QStringLiteral("%1 was removed").arg(path_).toStdString();
  if (info.exists() && ReadPatternFile(path_.toStdString(), pattern, message)) {
    plot_->SetPattern(pattern, info.fileName());
    statusBar()->showMessage(tr("Read again: %1").arg(info.fileName()));
  } else {
    plot_->Clear();
    statusBar()->showMessage(QString::fromStdString(message));
  }
}

bool PatternWindow::OpenFile(const QString& path) {
  Pattern pattern;
  std::string message;
  if (!ReadPatternFile(path.toStdString(), pattern, message)) {
    QMessageBox::warning(this, QStringLiteral("braxel-pattern"), QString::fromStdString(message));
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  Watch();
  plot_->SetPattern(pattern, QFileInfo(path).fileName());
  setWindowTitle(QStringLiteral("braxel-pattern - %1").arg(QFileInfo(path).absoluteFilePath()));
  return true;
}

void PatternWindow::Open() {
  const QString path = QFileDialog::getOpenFileName(this, tr("Open Pattern"), path_,
                                                    tr("Pattern file (*.prf);;All files (*)"));
  if (!path.isEmpty()) OpenFile(path);
}

void PatternWindow::ExportPng() {
  if (!plot_->HasPattern()) return;
  const QString suggested =
      QFileInfo(path_).dir().filePath(QFileInfo(path_).completeBaseName() + QStringLiteral(".png"));
  QString path =
      QFileDialog::getSaveFileName(this, tr("Export PNG"), suggested, tr("PNG image (*.png)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const QImage image =
      RenderPattern(plot_->CurrentPattern(), plot_->Range(), plot_->Title(), plot_->size());
  if (!SavePng(image, path)) {
    QMessageBox::warning(this, QStringLiteral("braxel-pattern"),
                         QStringLiteral("%1 file not create !!!").arg(path));
  }
}

}  // namespace braxel::qt
