#include "platform/ConsoleUserInterface.h"

#include <cstdio>

namespace braxel {

void PrintMessageLine(const std::string& text) {
  std::fprintf(stderr, "%s%s", text.c_str(), !text.empty() && text.back() == '\n' ? "" : "\n");
}

}  // namespace braxel
