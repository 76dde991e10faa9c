#include "io/ImportText.h"

#include "io/ImportContext.h"
#include "platform/TextInput.h"
#include "spacegroup/SymbolLookup.h"

namespace braxel {
namespace {

bool IsWordBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsWordBreak(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsWordBreak(text[pos])) ++pos;
    if (pos > start) words.push_back(text.substr(start, pos - start));
  }
  return words;
}

std::string_view WordAt(const std::vector<std::string_view>& words, std::size_t index) {
  return index < words.size() ? words[index] : std::string_view();
}

std::string Printable(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (IsWordBreak(c)) c = ' ';
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) c = '?';
  }
  return shown;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsWordBreak(text.back())) text.remove_suffix(1);
  return text;
}

double ValueBeforeUncertainty(std::string_view word) {
  const std::size_t open = word.find('(', 1);
  return LeadingDouble(open == std::string_view::npos ? word : word.substr(0, open));
}

double CoordinateValue(std::string_view word) {
  if (word.find('(', 1) != std::string_view::npos) return ValueBeforeUncertainty(word);
  const std::size_t slash = word.find('/', 1);
  if (slash == std::string_view::npos) return LeadingDouble(word);
  const double numerator = LeadingDouble(word.substr(0, slash));
  const double denominator = LeadingDouble(word.substr(slash + 1));
  // A zero denominator is no fraction; the numerator alone is the nearest reading.
  return denominator != 0.0 ? numerator / denominator : numerator;
}

ImportContext WithStorage(const ImportContext& context, CrystalData& data,
                          CalculationResults& results, UserInterface& ui) {
  return {data,
          results,
          ui,
          context.icsdEntryPresenter,
          context.expoSolutionPresenter,
          context.tabsgPath,
          context.settingTablePath,
          context.convertAxisSetting};
}

void OfferAxisConversion(const ImportContext& context) {
  if (!context.convertAxisSetting) return;
  if (const int mode = AxisConversionModeOf(context.data.sgNumber); mode >= 0) {
    context.convertAxisSetting(mode);
  }
}

}  // namespace braxel
