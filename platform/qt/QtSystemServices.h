#pragma once

#include "platform/SystemServices.h"

namespace braxel {

// Processes, the current directory and files through Qt.
class QtSystemServices : public SystemServices {
 public:
  bool LaunchProcess(const std::string& program,
                     const std::vector<std::string>& arguments) override;
  // The desktop's opener xdg-open when the desktop names a program for the document's kind, else
  // for an HTML document the browser x-www-browser; nothing when neither is there.
  std::optional<std::string> FindAssociatedProgram(const std::string& documentPath) override;
  std::string CurrentDirectory() override;
  bool ChangeDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
};

}  // namespace braxel
