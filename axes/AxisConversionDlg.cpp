#include "axes/AxisConversionDlg.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

namespace {

constexpr std::size_t kFieldWidth = 10;
constexpr double kToDegrees = 57.29577957855229;

constexpr const char* kMonoclinicRowLabel = " #1      #2      #3      #4      #5      #6";
constexpr const char* kOrthorhombicRowLabel = "abc     ba-c    cab     -cba    bca     a-cb";

// The 10-character field at position, trailing blanks included.
std::string RawField(std::string_view line, std::size_t position) {
  return std::string(Field(WithoutLineEnd(line), position, kFieldWidth));
}

// The field's first characters, as many as the symbol has, equal the symbol.
bool FieldBegins(std::string_view field, std::string_view symbol) {
  return field.size() >= symbol.size() && field.substr(0, symbol.size()) == symbol;
}

// Reads lines up to one that begins with prefix; false at the end of the file.
bool ReadToLineBeginning(LineReader& reader, std::string_view prefix, std::string& line) {
  while (reader.ReadLine(line)) {
    if (FieldBegins(line, prefix)) return true;
  }
  return false;
}

bool HasThreeCellChoices(int group) {
  return group == 5 || group == 7 || group == 8 || group == 9 || (group >= 12 && group <= 15);
}

// The orthorhombic groups whose space-group table records are origin choice 1 and 2.
bool HasTwoOriginChoices(int group) {
  return group == 48 || group == 50 || group == 59 || group == 68 || group == 70;
}

std::string FormatTrimmed(double value) {
  const std::string text = FormatText("%8.5lf", value);
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

}  // namespace

bool CAxisConversionDlg::IsMonoclinicOneLineGroup() const {
  return systemMode == kMonoclinicMode && !HasThreeCellChoices(LeadingInt(sgNumberText));
}

void CAxisConversionDlg::OnInitDialog() {
  originalSetting = LeadingInt(settingText);
  // The space-group table holds a one-line group as setting 1, unique axis b, and setting 2,
  // unique axis c: the dialog's settings 1 and 4.
  if (IsMonoclinicOneLineGroup() && originalSetting == 2) originalSetting = 4;
  convertedSetting = 1;
  originalSymbol = symbolIn;
  view_.originalRowEnabled = false;
  view_.groupCaption = systemMode == kMonoclinicMode ? "Monoclinic System" : "Orthorhombic System";
  ReadSettingTable();
  RefreshControls();
}

void CAxisConversionDlg::ReadSettingTable() {
  LineReader reader(tablePath);
  if (!reader.IsOpen()) {
    ui_.ShowMessage(reader.OpenMessage("Table cannot open !!!"));
    return;
  }
  const std::string keyword = systemMode == kMonoclinicMode ? "Monoclinic" : "Orthorhombic";
  std::string line;
  if (!ReadToLineBeginning(reader, keyword, line)) {
    ui_.ShowMessage(keyword + " not found !!!\n");
    return;
  }
  if (!ReadToLineBeginning(reader, sgNumberText, line)) {
    ui_.ShowMessage("EOF found !!!");
    return;
  }
  if (systemMode != kMonoclinicMode) {
    for (int k = 1; k <= kAxisSettingCount; ++k) {
      if (FieldBegins(RawField(line, static_cast<std::size_t>(10 + 11 * (k - 1))), symbolIn)) {
        standardSymbol = RawField(line, 10);
        originalSetting = k;
        return;
      }
    }
    return;
  }
  standardSymbol = RawField(line, 10);
  if (HasThreeCellChoices(LeadingInt(sgNumberText))) {
    const std::size_t position = uniqueAxis == "b"   ? 21
                                 : uniqueAxis == "c" ? 43
                                 : uniqueAxis == "a" ? 65
                                                     : 0;
    int cellChoice = 0;
    for (int k = 1; k <= 3; ++k) {
      if (k > 1 && !reader.ReadLine(line)) break;
      if (FieldBegins(RawField(line, position), symbolIn)) cellChoice = k;
    }
    // None of the six settings has unique axis a.
    if (cellChoice != 0) originalSetting = uniqueAxis == "a" ? 0 : cellChoice;
  } else if (WithoutTrailingBlanks(RawField(line, 10)) != symbolIn) {
    // The standard symbol is a leading part of the unique-axis-a fields and tells no more than
    // the setting number; the others name their unique axis.
    for (int k = 1; k <= kAxisSettingCount; ++k) {
      if (!FieldBegins(RawField(line, static_cast<std::size_t>(21 + 11 * (k - 1))), symbolIn)) {
        continue;
      }
      originalSetting = k == 3 ? 6 : k >= 5 ? 0 : k;
      break;
    }
  }
  if (uniqueAxis == "c" && originalSetting >= 1 && originalSetting <= 3) originalSetting += 3;
}

void CAxisConversionDlg::RefreshControls() {
  view_.rowLabel = systemMode != kMonoclinicMode ? kOrthorhombicRowLabel : kMonoclinicRowLabel;
  for (int k = 1; k <= kAxisSettingCount; ++k) {
    view_.originalMarks[k - 1] = k == originalSetting;
    view_.convertedMarks[k - 1] = k == convertedSetting;
  }
  view_.originalCell = originalCell;
  view_.convertedCell = convertedCell;
  view_.originalSymbol = originalSymbol;
  view_.convertedSymbol = convertedSymbol;
  view_.standardSymbol = standardSymbol;
}

void CAxisConversionDlg::OnConvertedSettingClicked(int k, bool marked) {
  if (marked) convertedSetting = k;
  RefreshControls();
}

void CAxisConversionDlg::ClearConversion() {
  convertedCell = {};
  convertedSymbol.clear();
  axisMatrix = {};
  coordMatrix = {};
  convertedFor_ = 0;
}

void CAxisConversionDlg::OnConversion() {
  if (originalSetting < 1 || originalSetting > kAxisSettingCount) {
    ui_.ShowMessage("Original setting not available !!!");
    return;
  }
  if (systemMode != kMonoclinicMode) convertedSetting = 1;
  std::array<double, 6> cell{};
  for (std::size_t i = 0; i < cell.size(); ++i) ParseDouble(originalCell[i], cell[i]);
  const Matrix3 g = MetricTensor(cell[0], cell[1], cell[2], cell[3], cell[4], cell[5]);
  Matrix3 t = SettingMatrix(systemMode, originalSetting);
  double determinant = 0.0;
  if (!InvertMatrix(t, kPivotThreshold, determinant)) {
    ui_.ShowMessage("Matrix not positive defined !!!");
    return;
  }
  const Matrix3 r = Multiply(SettingMatrix(systemMode, convertedSetting), t);
  std::array<double, 3> edge{};
  for (int i = 0; i < 3; ++i) {
    const double square = BilinearForm(r[i], g, r[i]);
    // A cell with an edge of 0 or a metric that is not positive has no converted cell.
    if (!(square > 0.0)) {
      ui_.ShowMessage("Matrix not positive defined !!!");
      return;
    }
    edge[i] = std::sqrt(square);
  }
  const auto angle = [&](int i, int j) {
    const double cosine = BilinearForm(r[i], g, r[j]) / (edge[i] * edge[j]);
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * kToDegrees;
  };
  const std::array<double, 6> converted = {edge[0],     edge[1],     edge[2],
                                           angle(1, 2), angle(2, 0), angle(0, 1)};
  Matrix3 q = Transpose(r);
  InvertMatrix(q, kPivotThreshold, determinant);

  // The target's symbol; a stopped search leaves the dialog unconverted, so OK cannot take a
  // cell without its symbol.
  LineReader reader(tablePath);
  std::string line;
  std::array<std::string, kAxisSettingCount + 1> slots;  // [1..6]
  if (!reader.IsOpen()) {
    ui_.ShowMessage(reader.OpenMessage("Cannot Open !"));
  } else if (!ReadToLineBeginning(reader, sgNumberText, line)) {
    ui_.ShowMessage("EOF found !!!");
  } else {
    if (systemMode != kMonoclinicMode) {
      for (int k = 1; k <= kAxisSettingCount; ++k) {
        slots[k] = RawField(line, static_cast<std::size_t>(10 + 11 * (k - 1)));
      }
    } else if (HasThreeCellChoices(LeadingInt(sgNumberText))) {
      for (int k = 1; k <= 3; ++k) {
        if (k > 1 && !reader.ReadLine(line)) line.clear();
        slots[k] = RawField(line, 21);
        slots[k + 3] = RawField(line, 43);
      }
    } else {
      slots[1] = RawField(line, 21);
      slots[2] = RawField(line, 43);
    }
    const std::string& symbol =
        slots[IsMonoclinicOneLineGroup() ? RecordSetting() : convertedSetting];
    if (!WithoutTrailingBlanks(symbol).empty()) {
      for (std::size_t i = 0; i < converted.size(); ++i)
        convertedCell[i] = FormatTrimmed(converted[i]);
      axisMatrix = r;
      coordMatrix = q;
      convertedSymbol = symbol;
      convertedFor_ = convertedSetting;
      RefreshControls();
      return;
    }
    ui_.ShowMessage(FormatText("Setting %d of space group %s not found in Table !!!",
                               convertedSetting, sgNumberText.c_str()));
  }
  ClearConversion();
  RefreshControls();
}

bool CAxisConversionDlg::OnOK() {
  if (systemMode != kMonoclinicMode && convertedSetting != 1) {
    ui_.ShowMessage("#1 setting only available !!!");
    return false;
  }
  // A box chosen after the last Conversion has no converted data yet.
  if (convertedCell[0].empty() || convertedFor_ != convertedSetting) {
    ui_.ShowMessage("Convert Axis, please !!!");
    return false;
  }
  ConvertCoordinates();
  return true;
}

void CAxisConversionDlg::ConvertCoordinates() {
  for (int i = 0; i < atomCount; ++i) {
    Vector3 in{};
    ParseDouble(xIn[i], in[0]);
    ParseDouble(yIn[i], in[1]);
    ParseDouble(zIn[i], in[2]);
    Vector3 out = Multiply(coordMatrix, in);
    for (double& value : out) {
      if (value < 0.0) value += 1.0;
    }
    xOut[i] = FormatText("%8.5lf", out[0]);
    yOut[i] = FormatText("%8.5lf", out[1]);
    zOut[i] = FormatText("%8.5lf", out[2]);
  }
}

int CAxisConversionDlg::RecordSetting() const {
  if (systemMode == kMonoclinicMode) {
    if (IsMonoclinicOneLineGroup()) return convertedSetting <= 3 ? 1 : 2;
    return convertedSetting;
  }
  // The axes are only permuted, so the origin stays: data already in abc keeps origin choice 2.
  if (HasTwoOriginChoices(LeadingInt(sgNumberText)) && originalSetting == 1 &&
      LeadingInt(settingText) == 2) {
    return 2;
  }
  return convertedSetting;
}

}  // namespace braxel
