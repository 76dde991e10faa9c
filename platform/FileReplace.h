#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace braxel {

// A new version of a file, written beside it as "<name>.<process id>.part" and put in its place
// only by Commit, so that the file is either wholly new or untouched: a full disk, a size limit
// or a folder that refuses writing never leaves it truncated. A symbolic link is followed (its
// target is replaced, the link stays) and the new file keeps the mode of the one it replaces. A
// part file that a killed process left beside the file is removed by the next write. One
// replacement of a file at a time per process.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& path);
  // A file written and not committed is removed.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Fills the new file; write returns false on its own failure. False when the file could not be
  // made or not everything reached the disk; the old file is untouched then.
  bool Write(const std::function<bool(std::FILE*)>& write);
  // Puts the written file in place of the old one; false when nothing was written or the rename
  // failed.
  bool Commit();

  const std::string& Path() const { return path_; }

 private:
  void Discard();

  std::string path_;
  std::string target_;   // the path with its symbolic links followed
  std::string partial_;  // the file being written; empty when there is none
};

// Removes the file a path names; a symbolic link stays, to be written through again. True when
// there is no such file afterwards.
bool RemoveFile(const std::string& path);

// Write and Commit in one.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The same for a text held in memory, written byte for byte.
bool ReplaceFileWithText(const std::string& path, const std::string& text);

}  // namespace braxel
