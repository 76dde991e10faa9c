#pragma once

#include "platform/SystemServices.h"

namespace braxel {

// Processes, the current directory and files through Qt.
class QtSystemServices : public SystemServices {
 public:
  bool LaunchProcess(const std::string& program,
                     const std::vector<std::string>& arguments) override;
  // The desktop's opener xdg-open, which hands any document to the program the user chose for
  // its kind; nothing when it is not installed.
  std::optional<std::string> FindAssociatedProgram(const std::string& documentPath) override;
  std::string CurrentDirectory() override;
  bool ChangeDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
};

}  // namespace braxel
