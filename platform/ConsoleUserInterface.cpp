#include "platform/ConsoleUserInterface.h"

#include <cstdio>

namespace braxel {

void PrintMessageLine(const std::string& text) {
  std::fprintf(stderr, "%s%s", text.c_str(), !text.empty() && text.back() == '\n' ? "" : "\n");
}

void ConsoleUserInterface::ShowText(const std::string&, const std::string& text) {
  std::fputs(text.c_str(), stdout);
}

void ConsoleUserInterface::ShowHelp(const std::string& htmlPath) { std::puts(htmlPath.c_str()); }

}  // namespace braxel
