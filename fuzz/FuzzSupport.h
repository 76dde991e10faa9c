#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/ProfileParameters.h"
#include "platform/ConsoleUserInterface.h"

namespace braxel::fuzz {

// The folder this process writes its files into (under /dev/shm when there is one), made at the
// first call and removed at exit.
const std::string& ScratchFolder();
std::string ScratchFile(const std::string& name);

// Writes the fuzzer's input as the file.
void WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// The bundled data file of that name.
std::string DataFile(const std::string& name);

// Ends the run with a finding that libFuzzer reports and keeps the input of.
[[noreturn]] void Finding(const std::string& what);

// The profile of the harnesses' runs: a narrow range keeps each input quick.
ProfileParameters FuzzProfile();

// Nobody at the screen: the console's answers (No, no file chosen). A message that shows nothing
// is a finding, since the program must always say what happened.
class FuzzUserInterface : public ConsoleUserInterface {
 public:
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
};

}  // namespace braxel::fuzz
