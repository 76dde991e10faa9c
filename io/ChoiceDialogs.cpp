#include "io/ChoiceDialogs.h"

#include <string_view>

#include "platform/TextInput.h"
#include "platform/UserInterface.h"

namespace braxel {

bool TakeChosenNumber(const std::string& text, int count, UserInterface& ui, int& number) {
  if (text.empty()) {
    ui.ShowMessage("Number not selected !!!");
    return false;
  }
  // Only a listed item can be read; any other number would search past the file's items.
  int value = 0;
  if (!ParseInt(text, value) || value < 1 || value > count) {
    ui.ShowMessage(FormatText("Number must be from 1 to %d !!!", count));
    return false;
  }
  number = value;
  return true;
}

std::vector<ChoiceRow> CIcsdEntryDlg::Rows() const {
  std::vector<ChoiceRow> rows(kListRows);
  for (int i = 0; i < entryCount && i < kMaxEntries; ++i) {
    rows[static_cast<std::size_t>(i)] = {FormatText("%2d", i + 1),
                                         formulas[static_cast<std::size_t>(i + 1)]};
  }
  return rows;
}

void CIcsdEntryDlg::OnDoubleClickRow(int index) { numberText = FormatText("%2d", index + 1); }

bool CIcsdEntryDlg::OnOk() { return TakeChosenNumber(numberText, entryCount, ui_, chosenEntry); }

std::vector<ChoiceRow> CExpoSolutionDlg::Rows() const {
  std::vector<ChoiceRow> rows(kListRows);
  for (int i = 0; i < solutionCount && i < kListRows; ++i) {
    rows[static_cast<std::size_t>(i)] = {FormatText("%2d", i + 1),
                                         rwValues[static_cast<std::size_t>(i)]};
  }
  return rows;
}

void CExpoSolutionDlg::OnDoubleClickRow(int index) { numberText = FormatText("%2d", index + 1); }

bool CExpoSolutionDlg::OnOk() {
  int number = 0;
  if (!TakeChosenNumber(numberText, solutionCount, ui_, number)) return false;
  chosenSolution = number - 1;
  return true;
}

}  // namespace braxel
