#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/ChoiceDialogs.h"
#include "platform/DialogPresenter.h"

namespace braxel {

// Answers a chooser without a window and without waiting: types the number and presses OK, or
// presses Cancel when there is no number. A number the chooser refuses (it has shown why) ends
// the chooser with Cancel and is remembered.
template <class Dialog>
class ScriptedChoice : public DialogPresenter<Dialog> {
 public:
  explicit ScriptedChoice(std::optional<std::string> number = std::nullopt)
      : number(std::move(number)) {}

  bool RunModal(Dialog& dialog) override {
    ++shownCount;
    shownRows = dialog.Rows();
    if (!number) return false;
    dialog.numberText = *number;
    refused = !dialog.OnOk();
    return !refused;
  }

  std::optional<std::string> number;
  int shownCount = 0;
  bool refused = false;
  std::vector<ChoiceRow> shownRows;
};

}  // namespace braxel
