#include "io/InpFile.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/Capacity.h"
#include "platform/FileReplace.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool IsControlOrSpace(char c) {
  return IsSpace(c) || std::iscntrl(static_cast<unsigned char>(c)) != 0;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !IsSpace(text[pos])) ++pos;
    if (pos > start) words.push_back(text.substr(start, pos - start));
  }
  return words;
}

bool IsBlank(std::string_view line) { return std::all_of(line.begin(), line.end(), IsSpace); }

// A file written by Save Input File starts with a title; older files start with the space-group
// line. A title such as "9008567" (a numbered CIF) also starts with a number, so the next line
// decides: a space-group line holds two words, a cell line six.
bool IsTitle(std::string_view first, std::string_view second) {
  int number = 0;
  return !ParseInt(first, number) || Words(second).size() <= 2;
}

std::string_view WordOr(const std::vector<std::string_view>& words, std::size_t index,
                        std::string_view fallback) {
  return index < words.size() ? words[index] : fallback;
}

}  // namespace

bool ReadInpFile(const std::string& path, CrystalData& data, UserInterface& ui) {
  LineReader reader(path);
  if (!reader.IsOpen()) {
    ui.ShowMessage(reader.OpenMessage(FormatText("%s file not found !!!", path.c_str())));
    return false;
  }
  std::string first, second, third;
  reader.ReadLine(first);
  reader.ReadLine(second);
  const bool titled = IsTitle(WithoutLineEnd(first), WithoutLineEnd(second));
  if (titled) reader.ReadLine(third);
  const std::string& sgLine = titled ? second : first;
  const std::string& cellLine = titled ? third : second;
  if (cellLine.empty()) {
    ui.ShowMessage(FormatText("%s ends before its cell line !!!", path.c_str()));
    return false;
  }

  const std::vector<std::string_view> sgWords = Words(WithoutLineEnd(sgLine));
  data.sgNumber = LeadingInt(WordOr(sgWords, 0, ""));
  // Most groups have only the first setting, so a line without one means it.
  data.settingNumber = LeadingInt(WordOr(sgWords, 1, "1"));
  const std::vector<std::string_view> cellWords = Words(WithoutLineEnd(cellLine));
  double* cell[] = {&data.a, &data.b, &data.c, &data.alpha, &data.beta, &data.gamma};
  for (std::size_t i = 0; i < 6; ++i) *cell[i] = LeadingDouble(WordOr(cellWords, i, ""));

  data.atomCount = 0;
  std::string line;
  while (reader.ReadLine(line)) {
    if (IsBlank(line)) continue;
    if (data.atomCount == kMaxAtoms) {
      ui.ShowMessage(FormatText("Number of species exceeds over %d !!!", kMaxAtoms));
      return false;
    }
    const std::vector<std::string_view> words = Words(WithoutLineEnd(line));
    const std::size_t i = static_cast<std::size_t>(data.atomCount);
    data.atomLabels[i] = words[0];
    double* values[] = {&data.g[i], &data.x[i], &data.y[i], &data.z[i], &data.B[i]};
    for (std::size_t k = 0; k < 5; ++k) *values[k] = LeadingDouble(WordOr(words, k + 1, ""));
    ++data.atomCount;
  }
  return true;
}

std::string InpTitle(const std::string& currentFilePath) {
  std::string title = currentFilePath;
  if (const std::size_t dot = title.find('.'); dot != std::string::npos) title.resize(dot);
  if (const std::size_t separator = title.find_last_of("\\/"); separator != std::string::npos) {
    title.erase(0, separator + 1);
  }
  if (const std::size_t colon = title.find(':'); colon != std::string::npos) title.resize(colon);
  // A file name may hold a line break, which would make the title two lines.
  std::replace_if(
      title.begin(), title.end(),
      [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); }, ' ');
  return title;
}

std::string InpFileText(const std::string& title, const CrystalData& data) {
  std::string text = title + "\n";
  text += FormatText("%3d   %d\n", data.sgNumber, data.settingNumber);
  text += FormatText("%10.5f %10.5f %10.5f %10.5f %10.5f %10.5f\n", data.a, data.b, data.c,
                     data.alpha, data.beta, data.gamma);
  const std::size_t count = static_cast<std::size_t>(std::clamp(data.atomCount, 0, kMaxAtoms));
  for (std::size_t i = 0; i < count; ++i) {
    text += FormatText("%10s %10.5f %10.5f %10.5f %10.5f %10.5f\n", data.atomLabels[i].c_str(),
                       data.g[i], data.x[i], data.y[i], data.z[i], data.B[i]);
  }
  return text;
}

bool WriteInpFile(const std::string& path, const std::string& title, const CrystalData& data,
                  UserInterface& ui) {
  for (int i = 0; i < std::clamp(data.atomCount, 0, kMaxAtoms); ++i) {
    const std::string& label = data.atomLabels[static_cast<std::size_t>(i)];
    // A blank would split the label in two when it is read back, and a control character (a
    // NUL above all) would cut or break the line.
    if (label.empty() || std::any_of(label.begin(), label.end(), IsControlOrSpace)) {
      ui.ShowMessage(FormatText(
          "Atom %d label \"%s\" must be one word without blanks or control characters !!!", i + 1,
          PrintableText(label).c_str()));
      return false;
    }
  }
  if (!ReplaceFileWithText(path, InpFileText(title, data))) {
    ui.ShowMessage(FormatText("%s file cannot be created !!!", path.c_str()));
    return false;
  }
  return true;
}

FileDialogRequest InpSaveRequest() {
  FileDialogRequest request;
  request.title = "Save Input File";
  request.filters = {{"Braxel inp file (*.inp)", "*.inp"}, {"Other Files (*.*)", "*.*"}};
  request.defaultExtension = "inp";
  return request;
}

std::optional<std::string> SaveInputFile(UserInterface& ui, const std::string& currentFilePath,
                                         CrystalData& data,
                                         const std::function<bool(CrystalData&)>& gather) {
  const std::optional<std::string> path = ui.ChooseFileToSave(InpSaveRequest());
  if (!path || !gather(data) || !WriteInpFile(*path, InpTitle(currentFilePath), data, ui)) {
    return std::nullopt;
  }
  return path;
}

}  // namespace braxel
