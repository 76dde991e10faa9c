#include "platform/FileReplace.h"

#include <filesystem>
#include <system_error>

namespace braxel {

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  namespace fs = std::filesystem;
  std::error_code error;
  // A name of its own, so a stray file of that name from an earlier crash is never reused.
  std::string partial = path + ".part";
  for (int n = 1; fs::exists(partial, error); ++n) partial = path + ".part" + std::to_string(n);
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = write(file);
  written = std::ferror(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (written) fs::rename(partial, path, error);
  if (written && !error) return true;
  fs::remove(partial, error);
  return false;
}

bool ReplaceFileWithText(const std::string& path, const std::string& text) {
  return ReplaceFile(path, [&text](std::FILE* file) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
  });
}

}  // namespace braxel
