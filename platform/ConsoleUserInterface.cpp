#include "platform/ConsoleUserInterface.h"

#include <cstdio>

#include "platform/TextInput.h"

namespace braxel {

void PrintMessageLine(const std::string& text) {
  const std::string shown = PrintableText(text);
  std::fprintf(stderr, "%s%s", shown.c_str(), !shown.empty() && shown.back() == '\n' ? "" : "\n");
}

}  // namespace braxel
