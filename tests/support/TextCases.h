#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace braxel::testing {

// One case of a case file: "== NAME", input lines up to "--", then the expected lines up to the
// next case. Lines before the first case are the file's comment. In every line \r, \n, \t and \s
// stand for a carriage return, a line end, a tab and a blank, and {KEY} for fields.at(KEY).
struct TextCase {
  std::string name;
  std::vector<std::string> input;
  std::vector<std::string> expected;
};

inline std::vector<TextCase> ReadCases(const std::string& path,
                                       const std::map<std::string, std::string>& fields = {}) {
  const auto unescaped = [&fields](const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const std::size_t close = line.find('}', i);
      if (line[i] == '{' && close != std::string::npos) {
        text += fields.at(line.substr(i + 1, close - i - 1));
        i = close;
      } else if (line[i] == '\\' && i + 1 < line.size()) {
        text += "\r\n\t "[std::string("rnts").find(line[++i])];
      } else {
        text += line[i];
      }
    }
    return text;
  };
  std::vector<TextCase> cases;
  bool input = false;
  std::istringstream lines(ReadFile(path));
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("== ")) {
      cases.push_back({line.substr(3), {}, {}});
      input = true;
    } else if (input && line == "--") {
      input = false;
    } else if (!cases.empty()) {
      (input ? cases.back().input : cases.back().expected).push_back(unescaped(line));
    }
  }
  EXPECT_FALSE(cases.empty()) << path;
  return cases;
}

}  // namespace braxel::testing
