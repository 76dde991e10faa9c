#include "platform/ConsoleUserInterface.h"

#include <cstdio>

#include "platform/TextInput.h"

namespace braxel {

void PrintMessageLine(const std::string& text) {
  const std::string shown = PrintableText(text);
  std::fprintf(stderr, "%s%s", shown.c_str(), !shown.empty() && shown.back() == '\n' ? "" : "\n");
}

void ConsoleUserInterface::ShowText(const std::string&, const std::string& text) {
  std::fputs(text.c_str(), stdout);
}

void ConsoleUserInterface::ShowHelp(const std::string& htmlPath) { std::puts(htmlPath.c_str()); }

}  // namespace braxel
