#pragma once

#include <QApplication>
#include <string>

namespace braxel {

// The application: one main frame with one form, from start to exit.
class CBraxelApp : public QApplication {
  Q_OBJECT

 public:
  CBraxelApp(int& argc, char** argv);

  // Shows the window and runs it until it is closed. "braxel FILE" reads the structure file
  // and calculates it at start. The hidden "--screenshot DIR STRUCTURE CIF" instead saves
  // pictures of the window working on both files, and of its dialogs, into DIR and ends. The
  // result is the exit status.
  int Run(const std::string& dataDirectory);
};

}  // namespace braxel
