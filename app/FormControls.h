#pragma once

#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "pattern/PatternFile.h"

namespace braxel {

// The "SG Information" edits.
enum class InfoBox { kSgSymbol, kSystem, kLaueGroup, kPointGroup, kCentro, kUniqueAxis };

// The two list boxes.
enum class LineList { kSymmetryCodes, kConditions };

// Everything the form view does with its controls. The atom list has AtomRowCount() rows of 7
// columns (0 the number, 1 the label, 2 to 6 g, x, y, z, B); the reflection list shows the rows
// it is given, of kReflectionColumns columns, and the plot the pattern it is given.
class FormControls : public CrystalFormFields {
 public:
  virtual void SetBoxText(FormBox box, const std::string& text) = 0;
  virtual void SelectTargetPosition(int position) = 0;
  virtual std::string InfoText(InfoBox box) const = 0;
  virtual void SetInfoText(InfoBox box, const std::string& text) = 0;
  virtual void SetLines(LineList list, const std::vector<std::string>& lines) = 0;

  virtual void SetAtomText(int row, int column, const std::string& text) = 0;
  // The selected atom row, or -1.
  virtual int SelectedAtomRow() const = 0;
  // An empty row before row; the last row drops off, so the list keeps its rows.
  virtual void InsertAtomRow(int row) = 0;
  // Removes the row; an empty row comes in at the end, so the list keeps its rows.
  virtual void DeleteAtomRow(int row) = 0;

  // Replaces every row of the reflection list.
  virtual void SetReflectionRows(const std::vector<ReflectionRow>& rows) = 0;
  // The plot shows the pattern; nullptr empties it.
  virtual void ShowPattern(const Pattern* pattern) = 0;

  // The title of the window the form is in.
  virtual void SetWindowTitle(const std::string& title) = 0;
  // A structure file was read or written; it heads the list of recent files.
  virtual void AddRecentFile(const std::string& path) = 0;
};

}  // namespace braxel
