#pragma once

#include <QMainWindow>
#include <QString>

namespace braxel::qt {

class PatternPlot;

// The viewer's window: the plot, with File (Open, Export PNG, Quit) and View (Show All).
class PatternWindow : public QMainWindow {
  Q_OBJECT

 public:
  PatternWindow();

  // Shows the file's pattern; a bad file is reported in a message box and the window keeps
  // what it showed.
  bool OpenFile(const QString& path);

 private:
  void Open();
  void ExportPng();

  PatternPlot* plot_;
  QString path_;
};

}  // namespace braxel::qt
