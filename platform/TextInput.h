#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace braxel {

// Why a text file could not be taken.
enum class TextFileProblem {
  kNone,
  kMissing,
  kUnreadable,
  kFolder,
  kNotRegular,
  kTooLarge,
  kNotText
};

// Files larger than this are no structure, settings or table file of the program.
inline constexpr long long kMaxTextFileBytes = 64LL << 20;

// The whole text of a file, refused at once when the path is no regular file (a folder, a FIFO,
// a device never hangs the reader) or is beyond kMaxTextFileBytes. A UTF-8 byte-order mark is
// dropped and UTF-16 (with its mark, or as Windows editors save "Unicode") is turned into UTF-8;
// other text with NUL bytes is binary and refused.
TextFileProblem ReadTextFile(const std::string& path, std::string& text);

// The bytes of a file that ReadTextFile gives back as exactly this text: a text that begins like
// a byte-order mark is written after a UTF-8 mark of its own.
std::string TextFileBytes(std::string text);

// The message for a problem, naming the file; a missing file gets the caller's own text.
std::string TextFileMessage(TextFileProblem problem, const std::string& path,
                            const std::string& missingText);

class LineReader {
 public:
  explicit LineReader(const std::string& path);

  bool IsOpen() const { return problem_ == TextFileProblem::kNone; }
  TextFileProblem Problem() const { return problem_; }
  // Why the file was not opened, in a message naming it; missingText when it does not exist.
  std::string OpenMessage(const std::string& missingText) const;
  // Reads the next line whole, whatever its length; the line break stays in the text. False at
  // end of file.
  bool ReadLine(std::string& line);
  void Rewind() { position_ = 0; }

 private:
  std::string path_;
  std::string text_;
  std::size_t position_ = 0;
  TextFileProblem problem_;
};

// The text of a line without its line break ("\n" or "\r\n").
std::string_view WithoutLineEnd(std::string_view line);

// The text without its trailing blanks (tabs and line ends stay).
std::string_view WithoutTrailingBlanks(std::string_view text);

// The text at [position, position + length) of a line, as much of it as the line has.
std::string_view Field(std::string_view line, std::size_t position, std::size_t length);

// Reads lines until one begins with keyword (case-sensitive, over the keyword's whole length,
// leading blanks included). Returns 0 with the reader just after that line, or -1 at end of
// file with "<keyword> not found !!!\n" in message.
int SkipToKeyword(LineReader& reader, std::string_view keyword, std::string& line,
                  std::string& message);

// Number conversions of a "%d" / "%lf" scan: leading white space skipped, the longest valid
// prefix taken. On failure the value is left as it was and false is returned. The cursor
// forms advance past what they took.
bool ScanInt(std::string_view& cursor, int& value, int maxWidth = 0);
bool ScanDouble(std::string_view& cursor, double& value);
// The same on a whole text, without a cursor.
inline bool ParseInt(std::string_view text, int& value) { return ScanInt(text, value); }
inline bool ParseDouble(std::string_view text, double& value) { return ScanDouble(text, value); }
// Scans up to count blank-separated doubles into values; returns how many were read.
int ScanDoubles(std::string_view text, double* values, int count);

// Lenient forms: a word without a numeric prefix gives 0.
int LeadingInt(std::string_view text);
double LeadingDouble(std::string_view text);

// The whole text as a number written the C way (sign, digits, point, exponent; "inf" and "nan"
// too), whatever the desktop's locale; nothing for anything else: "5.15x", " 1", "+1", "0x10".
std::optional<double> WholeDouble(std::string_view text);

// Text from a file as a message may show it: line breaks and tabs stay, carriage returns go,
// other control characters and bytes that are no UTF-8 become "?". A text longer than maxBytes
// is cut there (never inside a character) and ends in "...".
std::string PrintableText(std::string_view text, std::size_t maxBytes = std::string_view::npos);

// printf-style formatting into a string, for the program's messages.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace braxel
