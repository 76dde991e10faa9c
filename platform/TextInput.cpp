#include "platform/TextInput.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdlib>

namespace braxel {

LineReader::LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

bool LineReader::ReadLine(std::string& line) {
  line.clear();
  if (!file_) return false;
  for (;;) {
    const int c = std::fgetc(file_.get());
    if (c == EOF) break;
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !line.empty();
}

void LineReader::Rewind() {
  if (file_) std::rewind(file_.get());
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view Field(std::string_view line, std::size_t position, std::size_t length) {
  if (position >= line.size()) return {};
  return line.substr(position, length);
}

int SkipToKeyword(LineReader& reader, std::string_view keyword, std::string& line,
                  std::string& message) {
  while (reader.ReadLine(line)) {
    if (std::string_view(line).substr(0, keyword.size()) == keyword) return 0;
  }
  message = std::string(keyword) + " not found !!!\n";
  return -1;
}

namespace {

void SkipSpace(std::string_view& cursor) {
  while (!cursor.empty() && std::isspace(static_cast<unsigned char>(cursor.front()))) {
    cursor.remove_prefix(1);
  }
}

}  // namespace

bool ScanInt(std::string_view& cursor, int& value, int maxWidth) {
  SkipSpace(cursor);
  std::string_view field = cursor;
  if (maxWidth > 0 && static_cast<int>(field.size()) > maxWidth) field = field.substr(0, maxWidth);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < field.size() && (field[pos] == '+' || field[pos] == '-'))
    negative = field[pos++] == '-';
  const std::size_t firstDigit = pos;
  long long magnitude = 0;
  while (pos < field.size() && std::isdigit(static_cast<unsigned char>(field[pos]))) {
    // Saturate instead of overflowing on absurdly long digit strings.
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (field[pos] - '0');
    ++pos;
  }
  if (pos == firstDigit) return false;
  if (negative) magnitude = -magnitude;
  value =
      static_cast<int>(magnitude > INT_MAX ? INT_MAX : (magnitude < INT_MIN ? INT_MIN : magnitude));
  cursor.remove_prefix(pos);
  return true;
}

bool ScanDouble(std::string_view& cursor, double& value) {
  SkipSpace(cursor);
  const std::string text(cursor);  // strtod needs a terminated string
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return false;
  value = parsed;
  cursor.remove_prefix(static_cast<std::size_t>(end - text.c_str()));
  return true;
}

int ScanDoubles(std::string_view text, double* values, int count) {
  int read = 0;
  while (read < count && ScanDouble(text, values[read])) ++read;
  return read;
}

int LeadingInt(std::string_view text) {
  int value = 0;
  ScanInt(text, value);
  return value;
}

double LeadingDouble(std::string_view text) {
  double value = 0.0;
  ScanDouble(text, value);
  return value;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

}  // namespace braxel
