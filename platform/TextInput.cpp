#include "platform/TextInput.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>

namespace braxel {

namespace {

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 in the given byte order to UTF-8; false on an odd length or a broken surrogate pair.
bool FromUtf16(std::string_view bytes, bool bigEndian, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  const auto unit = [&](std::size_t i) {
    const unsigned first = static_cast<unsigned char>(bytes[i]);
    const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (first << 8) | second : (second << 8) | first;
  };
  out.clear();
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    unsigned code = unit(i);
    if (code == 0) return false;
    if (code >= 0xD800 && code < 0xDC00) {
      if (i + 2 >= bytes.size()) return false;
      const unsigned low = unit(i + 2);
      if (low < 0xDC00 || low >= 0xE000) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (code >= 0xDC00 && code < 0xE000) {
      return false;
    }
    AppendUtf8(out, code);
  }
  return true;
}

// Text saved as UTF-16 without a mark: ASCII characters with a NUL byte beside every one.
bool LooksLikeUtf16(std::string_view bytes, bool& bigEndian) {
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
  std::size_t evenNul = 0, oddNul = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    evenNul += bytes[i] == '\0';
    oddNul += bytes[i + 1] == '\0';
  }
  const std::size_t units = bytes.size() / 2;
  if (oddNul == units && evenNul == 0) {
    bigEndian = false;
    return true;
  }
  if (evenNul == units && oddNul == 0) {
    bigEndian = true;
    return true;
  }
  return false;
}

TextFileProblem Decode(std::string& text) {
  std::string_view bytes = text;
  std::string decoded;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    text.erase(0, 3);
  } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    if (!FromUtf16(bytes.substr(2), bytes[0] == '\xFE', decoded)) return TextFileProblem::kNotText;
    text = std::move(decoded);
  } else if (bool bigEndian = false; LooksLikeUtf16(bytes, bigEndian)) {
    if (!FromUtf16(bytes, bigEndian, decoded)) return TextFileProblem::kNotText;
    text = std::move(decoded);
  }
  return text.find('\0') == std::string::npos ? TextFileProblem::kNone : TextFileProblem::kNotText;
}

}  // namespace

TextFileProblem ReadTextFile(const std::string& path, std::string& text) {
  text.clear();
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? TextFileProblem::kMissing
                                               : TextFileProblem::kUnreadable;
  }
  if (S_ISDIR(status.st_mode)) return TextFileProblem::kFolder;
  if (!S_ISREG(status.st_mode)) return TextFileProblem::kNotRegular;
  if (status.st_size > kMaxTextFileBytes) return TextFileProblem::kTooLarge;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return TextFileProblem::kUnreadable;
  // The file may have been swapped since the check: test what was opened, and read no more
  // than the limit whatever it turns out to be.
  TextFileProblem problem = TextFileProblem::kNone;
  std::size_t room = 65536;
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = TextFileProblem::kNotRegular;
  } else if (status.st_size <= kMaxTextFileBytes) {
    room = static_cast<std::size_t>(status.st_size) + 1;  // the end is seen at once
  }
  // Read straight into the text: a buffer between would be as many more fresh pages to touch.
  std::size_t length = 0;
  while (problem == TextFileProblem::kNone) {
    if (length == text.size()) text.resize(length + room);
    const ssize_t got = ::read(descriptor, text.data() + length, text.size() - length);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) problem = TextFileProblem::kUnreadable;
    if (got <= 0) break;
    length += static_cast<std::size_t>(got);
    room = 65536;  // only a file that grew since it was measured needs more
    if (static_cast<long long>(length) > kMaxTextFileBytes) problem = TextFileProblem::kTooLarge;
  }
  text.resize(length);
  ::close(descriptor);
  if (problem == TextFileProblem::kNone) problem = Decode(text);
  if (problem != TextFileProblem::kNone) text.clear();
  return problem;
}

std::string TextFileBytes(std::string text) {
  const std::string_view bytes = text;
  if (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
      bytes.starts_with("\xFE\xFF")) {
    text.insert(0, "\xEF\xBB\xBF");
  }
  return text;
}

std::string TextFileMessage(TextFileProblem problem, const std::string& path,
                            const std::string& missingText) {
  switch (problem) {
    case TextFileProblem::kNone:
      return {};
    case TextFileProblem::kMissing:
      return missingText;
    case TextFileProblem::kUnreadable:
      return path + " cannot be read !!!";
    case TextFileProblem::kFolder:
      return path + " is a folder, not a file !!!";
    case TextFileProblem::kNotRegular:
      return path + " is not a regular file !!!";
    case TextFileProblem::kTooLarge:
      return FormatText("%s is larger than %lld MB, too large to read !!!", path.c_str(),
                        kMaxTextFileBytes >> 20);
    case TextFileProblem::kNotText:
      return path + " is not a text file !!!";
  }
  return {};
}

LineReader::LineReader(const std::string& path)
    : path_(path), problem_(ReadTextFile(path, text_)) {}

std::string LineReader::OpenMessage(const std::string& missingText) const {
  return TextFileMessage(problem_, path_, missingText);
}

bool LineReader::ReadLine(std::string& line) {
  line.clear();
  if (position_ >= text_.size()) return false;
  const std::size_t end = text_.find('\n', position_);
  const std::size_t next = end == std::string::npos ? text_.size() : end + 1;
  line.assign(text_, position_, next - position_);
  position_ = next;
  return true;
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

std::optional<double> WholeDouble(std::string_view text) {
  if (text.empty() || text.front() == '+' ||
      text.find_first_of(" \t\n\r\f\vxX") != std::string_view::npos) {
    return std::nullopt;
  }
  static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t{});
  const std::string terminated(text);
  char* end = nullptr;
  const double value = ::strtod_l(terminated.c_str(), &end, c);
  if (end != terminated.c_str() + terminated.size()) return std::nullopt;
  return value;
}

double LeadingDouble(std::string_view text) {
  double value = 0.0;
  ScanDouble(text, value);
  return value;
}

namespace {

// The length of the UTF-8 character at text[i] when it is a printable one, else 0. C1 control
// characters, surrogates and overlong forms are not printable.
std::size_t PrintableCharacterLength(std::string_view text, std::size_t i) {
  const unsigned lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  std::size_t length = 0;
  unsigned code = 0;
  unsigned minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, minimum = 0xA0;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  return length;
}

}  // namespace

std::string PrintableText(std::string_view text, std::size_t maxBytes) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r') {
      ++i;
      continue;
    }
    const std::size_t length =
        text[i] == '\n' || text[i] == '\t' ? 1 : PrintableCharacterLength(text, i);
    const std::string_view piece = length > 0 ? text.substr(i, length) : "?";
    if (shown.size() + piece.size() > maxBytes) {
      shown += "...";
      break;
    }
    shown += piece;
    i += std::max<std::size_t>(length, 1);
  }
  return shown;
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
