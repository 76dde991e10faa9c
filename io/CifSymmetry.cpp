#include "io/CifSymmetry.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace braxel {
namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// One number of a term: digits with an optional decimal point.
bool ReadNumber(std::string_view text, std::size_t& pos, double& value) {
  const std::size_t start = pos;
  while (pos < text.size() && (IsDigit(text[pos]) || text[pos] == '.')) ++pos;
  if (pos == start) return false;
  value = std::strtod(std::string(text.substr(start, pos - start)).c_str(), nullptr);
  return true;
}

// One component such as -x+y+1/2: signed terms, each a number, a letter or number*letter.
bool ParseComponent(std::string_view text, double (&rotation)[3], double& translation) {
  std::size_t pos = 0;
  bool hasLetter = false;
  if (text.empty()) return false;
  while (pos < text.size()) {
    double sign = 1.0;
    if (text[pos] == '+' || text[pos] == '-') sign = text[pos++] == '-' ? -1.0 : 1.0;
    double factor = 1.0;
    bool hasNumber = ReadNumber(text, pos, factor);
    if (hasNumber && pos < text.size() && text[pos] == '/') {
      double denominator = 0.0;
      ++pos;
      if (!ReadNumber(text, pos, denominator) || denominator == 0.0) return false;
      factor /= denominator;
    }
    if (hasNumber && pos < text.size() && text[pos] == '*') ++pos;
    const char letter = pos < text.size() ? static_cast<char>(text[pos] | 0x20) : '\0';
    if (letter == 'x' || letter == 'y' || letter == 'z') {
      rotation[letter - 'x'] += sign * factor;
      hasLetter = true;
      ++pos;
    } else if (hasNumber) {
      translation += sign * factor;
    } else {
      return false;
    }
  }
  return hasLetter;
}

}  // namespace

bool ParseCifOperation(std::string_view text, SymmetryOperation& operation) {
  std::string compact;
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\'' && c != '"') compact += c;
  }
  operation = SymmetryOperation{};
  std::string_view rest = compact;
  for (int row = 0; row < 3; ++row) {
    const std::size_t comma = rest.find(',');
    if ((row < 2) == (comma == std::string_view::npos)) return false;
    if (!ParseComponent(rest.substr(0, comma), operation.R[row], operation.t[row])) return false;
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return true;
}

}  // namespace braxel
