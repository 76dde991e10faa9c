#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/TextInput.h"

namespace braxel::fuzz {
namespace {

namespace fs = std::filesystem;

void RemoveScratchFolder() {
  std::error_code error;
  fs::remove_all(ScratchFolder(), error);
}

}  // namespace

const std::string& ScratchFolder() {
  // Never destroyed, so that it is still there when the folder is removed at exit.
  static const std::string& folder = *new std::string([] {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "braxel-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Finding("no scratch folder in " + base.string());
    std::atexit(RemoveScratchFolder);
    return pattern;
  }());
  return folder;
}

std::string ScratchFile(const std::string& name) {
  return (fs::path(ScratchFolder()) / name).string();
}

void WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
    Finding("cannot write " + path);
  }
}

std::string DataFile(const std::string& name) {
  return (fs::path(BRAXEL_DATA_DIR) / name).string();
}

void Finding(const std::string& what) {
  std::fprintf(stderr, "FINDING: %s\n", PrintableText(what).c_str());
  std::abort();
}

ProfileParameters FuzzProfile() { return {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 60, 0.05}; }

void FuzzUserInterface::ShowMessage(const std::string& text) {
  const std::string shown = PrintableText(text);
  if (std::all_of(shown.begin(), shown.end(),
                  [](unsigned char c) { return std::isspace(c) != 0; })) {
    Finding("a message that shows nothing");
  }
}

bool FuzzUserInterface::AskYesNo(const std::string& text) {
  ShowMessage(text);
  return false;
}

}  // namespace braxel::fuzz
