#include "platform/FileReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>
#include <system_error>
#include <vector>

namespace braxel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPartSuffix = ".part";

// The file a path finally names: links are followed one by one, so that a dangling link still
// names the place its file belongs. A loop of links is left as it is.
std::string FollowLinks(const std::string& path) {
  fs::path current = path;
  std::error_code error;
  for (int hop = 0; hop < 40 && fs::is_symlink(current, error); ++hop) {
    const fs::path link = fs::read_symlink(current, error);
    if (error) break;
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  return current.string();
}

// The process that wrote a part file of target, or 0 when the name is no such file.
pid_t PartWriter(std::string_view name, std::string_view targetName) {
  if (name.size() <= targetName.size() + 1 + kPartSuffix.size() || !name.starts_with(targetName) ||
      name[targetName.size()] != '.' || !name.ends_with(kPartSuffix)) {
    return 0;
  }
  const std::string_view digits =
      name.substr(targetName.size() + 1, name.size() - targetName.size() - 1 - kPartSuffix.size());
  if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(std::string(digits)));
}

// Part files of processes that no longer run were cut short by a crash or a kill. A folder is
// read once per process and what it held is remembered: a batch writes thousands of files into
// one folder, and reading it again for each would cost time that grows with their square.
void RemoveStaleParts(const std::string& target) {
  static std::mutex mutex;
  static std::map<fs::path, std::vector<fs::path>> partsOfFolder;
  const fs::path path(target);
  const std::string targetName = path.filename().string();
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::lock_guard<std::mutex> lock(mutex);
  const auto [found, added] = partsOfFolder.try_emplace(folder);
  std::vector<fs::path>& parts = found->second;
  if (added) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
      if (entry->path().extension() == kPartSuffix) parts.push_back(entry->path());
    }
  }
  std::erase_if(parts, [&](const fs::path& part) {
    const pid_t writer = PartWriter(part.filename().string(), targetName);
    if (writer <= 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) {
      return false;
    }
    std::error_code ignored;
    fs::remove(part, ignored);
    return true;
  });
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path)
    : path_(path), target_(FollowLinks(path)) {}

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::Discard() {
  if (!partial_.empty()) ::unlink(partial_.c_str());
  partial_.clear();
}

bool FileReplacement::Write(const std::function<bool(std::FILE*)>& write) {
  Discard();
  RemoveStaleParts(target_);
  const std::string partial = target_ + "." + std::to_string(::getpid()) + std::string(kPartSuffix);
  const int descriptor =
      ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (descriptor < 0) return false;
  partial_ = partial;
  struct stat old;
  if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
      ::fchmod(descriptor, old.st_mode & 07777) != 0) {
    ::close(descriptor);
    Discard();
    return false;
  }
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) {
    ::close(descriptor);
    Discard();
    return false;
  }
  bool written = write(file);
  written = std::fflush(file) == 0 && std::ferror(file) == 0 && written;
  // On the disk before the rename, so a crash of the machine never leaves an empty file.
  written = ::fsync(descriptor) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (!written) Discard();
  return written;
}

bool FileReplacement::Commit() {
  if (partial_.empty()) return false;
  if (::rename(partial_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  partial_.clear();
  return true;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(FollowLinks(path).c_str()) == 0 || errno == ENOENT;
}

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  FileReplacement replacement(path);
  return replacement.Write(write) && replacement.Commit();
}

bool ReplaceFileWithText(const std::string& path, const std::string& text) {
  return ReplaceFile(path, [&text](std::FILE* file) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
  });
}

}  // namespace braxel
