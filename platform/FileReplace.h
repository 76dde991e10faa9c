#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace braxel {

// Writes a file so that it is either wholly new or untouched: write fills a file beside the
// target (returning false on its own failure), which is renamed over the target only when
// everything reached the disk. False when the file could not be made, written or renamed.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The same for a text held in memory, written byte for byte.
bool ReplaceFileWithText(const std::string& path, const std::string& text);

}  // namespace braxel
