#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QString>
#include <QTimer>

namespace braxel::qt {

class PatternPlot;

// The viewer's window: the plot, with File (Open, Export PNG, Quit) and View (Show All). The
// file shown is read again whenever it is replaced (a new calculation), so the window never
// shows an outdated pattern; a file removed or unreadable leaves the plot empty.
class PatternWindow : public QMainWindow {
  Q_OBJECT

 public:
  PatternWindow();

  // Shows the file's pattern; a bad file is reported in a message box and the window keeps
  // what it showed.
  bool OpenFile(const QString& path);

  const PatternPlot& Plot() const { return *plot_; }

 private:
  void Open();
  void ExportPng();
  void Watch();
  // The file again, if it changed since it was last read.
  void Reload();

  PatternPlot* plot_;
  QString path_;
  QFileSystemWatcher watcher_;
  QTimer settle_;  // a file being written changes many times; it is read once it is quiet
  QDateTime stamp_;
  qint64 size_ = -1;
};

}  // namespace braxel::qt
