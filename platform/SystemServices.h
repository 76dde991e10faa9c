#pragma once

#include <optional>
#include <string>
#include <vector>

namespace braxel {

// What the program asks of the operating system besides plain file reading and writing.
class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // Starts a program and returns at once, without waiting for it; each argument reaches the
  // program whole, blanks included. False when it cannot start.
  virtual bool LaunchProcess(const std::string& program,
                             const std::vector<std::string>& arguments) = 0;
  // The program that opens documents of this file's kind, or nothing when none is known.
  virtual std::optional<std::string> FindAssociatedProgram(const std::string& documentPath) = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual bool ChangeDirectory(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
};

}  // namespace braxel
