#include "pattern/PatternFile.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "platform/TextInput.h"

namespace braxel {
namespace {

// The words of the file one after another, with their place for the messages.
class Words {
 public:
  explicit Words(std::string text) : text_(std::move(text)) {}

  std::optional<std::string_view> Next() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == text_.size()) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    return std::string_view(text_).substr(start, pos_ - start);
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

// A whole word as an integer or a finite number; a partly numeric word is no number.
std::optional<long long> WholeInt(std::string_view word) {
  long long value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<double> WholeNumber(std::string_view word) {
  const std::optional<double> value = WholeDouble(word);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

class PatternParser {
 public:
  PatternParser(const std::string& path, std::string text, std::string& message)
      : path_(path), words_(std::move(text)), message_(message) {}

  bool Parse(Pattern& pattern) {
    const std::optional<long long> points = Int("number of points");
    if (!points) return false;
    const std::optional<double> first = Number("first 2theta");
    if (!first) return false;
    const std::optional<double> step = Number("2theta step");
    if (!step) return false;
    if (*points < 1) return Fail(FormatText("number of points %lld is not valid", *points));
    // The header shows four decimals: a smaller step is no grid the viewer can draw.
    if (*points > 1 && !(*step >= 1e-4)) {
      return Fail(FormatText("2theta step %g is not valid", *step));
    }
    if (!Angle("first 2theta", *first) ||
        !Angle("last 2theta", *first + *step * static_cast<double>(*points - 1))) {
      return false;
    }
    pattern.firstTwoTheta = *first;
    pattern.step = *step;
    for (long long i = 1; i <= *points; ++i) {
      const std::optional<long long> value = Int(FormatText("intensity %lld of %lld", i, *points));
      if (!value) return false;
      pattern.intensities.push_back(static_cast<int>(*value));
    }
    const std::optional<long long> markers = Int("number of reflections");
    if (!markers) return false;
    if (*markers < 0) return Fail(FormatText("number of reflections %lld is not valid", *markers));
    for (long long i = 1; i <= *markers; ++i) {
      const std::optional<double> angle =
          Number(FormatText("reflection %lld of %lld", i, *markers));
      if (!angle || !Angle(FormatText("reflection %lld of %lld", i, *markers), *angle)) {
        return false;
      }
      pattern.markers.push_back(*angle);
    }
    if (const std::optional<std::string_view> extra = words_.Next()) {
      return Fail(FormatText("\"%s\" after the last reflection", Shown(*extra).c_str()));
    }
    return true;
  }

 private:
  bool Fail(const std::string& what) {
    message_ = path_ + ": " + what + " !!!";
    return false;
  }

  // A word of the file as a message may show it.
  static std::string Shown(std::string_view word) { return PrintableText(word, 40); }

  // Angles far outside any 2theta range are refused: the plot could not tell its points apart.
  bool Angle(const std::string& what, double angle) {
    if (angle >= -kMaxAngle && angle <= kMaxAngle) return true;
    return Fail(FormatText("%s %g is outside %g to %g degrees", what.c_str(), angle, -kMaxAngle,
                           kMaxAngle));
  }

  static constexpr double kMaxAngle = 360.0;

  std::optional<std::string_view> Word(const std::string& what) {
    const std::optional<std::string_view> word = words_.Next();
    if (!word) Fail(what + " missing");
    return word;
  }

  bool NotANumber(const std::string& what, std::string_view word) {
    return Fail(FormatText("%s \"%s\" is not a number", what.c_str(), Shown(word).c_str()));
  }

  std::optional<long long> Int(const std::string& what) {
    const std::optional<std::string_view> word = Word(what);
    if (!word) return std::nullopt;
    // Intensities are scaled to at most 1000; anything beyond an int is no pattern value.
    const std::optional<long long> value = WholeInt(*word);
    if (!value || *value < -2147483647LL || *value > 2147483647LL) {
      NotANumber(what, *word);
      return std::nullopt;
    }
    return value;
  }

  std::optional<double> Number(const std::string& what) {
    const std::optional<std::string_view> word = Word(what);
    if (!word) return std::nullopt;
    const std::optional<double> value = WholeNumber(*word);
    if (!value) NotANumber(what, *word);
    return value;
  }

  const std::string& path_;
  Words words_;
  std::string& message_;
};

}  // namespace

bool ReadPatternFile(const std::string& path, Pattern& pattern, std::string& message) {
  std::string text;
  Pattern read;
  if (const TextFileProblem problem = ReadTextFile(path, text); problem != TextFileProblem::kNone) {
    message = TextFileMessage(problem, path, path + " file not found !!!");
  } else if (PatternParser(path, std::move(text), message).Parse(read)) {
    pattern = std::move(read);
    return true;
  }
  message = PrintableText(message);  // a file name may hold control characters too
  return false;
}

}  // namespace braxel
