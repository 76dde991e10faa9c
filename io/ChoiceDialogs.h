#pragma once

#include <array>
#include <string>
#include <vector>

namespace braxel {

class UserInterface;

// One row of a chooser's list: the number column and the text column.
struct ChoiceRow {
  std::string number;
  std::string text;
};

// Reads the "Which number ?" edit as a scan of "%d" would and keeps it only when it names one of
// the count listed items; otherwise shows why and returns false, and the dialog stays open.
bool TakeChosenNumber(const std::string& text, int count, UserInterface& ui, int& number);

// The entry chooser of an ICSD export holding several entries.
class CIcsdEntryDlg {
 public:
  static constexpr int kListRows = 35;
  static constexpr int kMaxEntries = kListRows - 1;  // formulas[0] is not used
  static constexpr const char* kCaption = "ﾀﾞｲｱﾛｸﾞ";

  explicit CIcsdEntryDlg(UserInterface& ui) : ui_(ui) {}

  // The list as it opens: kListRows rows, the first entryCount of them filled.
  std::vector<ChoiceRow> Rows() const;
  // A double click on list row index (0-based) puts its number into the edit.
  void OnDoubleClickRow(int index);
  // True when the dialog closes with OK; chosenEntry is then 1 to entryCount.
  bool OnOk();

  int entryCount = 0;
  int chosenEntry = 0;
  std::array<std::string, kListRows> formulas;  // [1..entryCount]
  std::string numberText;                       // the "Which number ?" edit

 private:
  UserInterface& ui_;
};

// The solution chooser of an EXPO listing.
class CExpoSolutionDlg {
 public:
  static constexpr int kListRows = 80;
  static constexpr const char* kCaption = "Solution from EXPO";

  explicit CExpoSolutionDlg(UserInterface& ui) : ui_(ui) {}

  std::vector<ChoiceRow> Rows() const;
  void OnDoubleClickRow(int index);
  // True when the dialog closes with OK; chosenSolution is then 0 to solutionCount - 1.
  bool OnOk();

  int solutionCount = 0;
  int chosenSolution = 0;  // 0-based
  std::array<std::string, kListRows> rwValues;
  std::string numberText;

 private:
  UserInterface& ui_;
};

}  // namespace braxel
