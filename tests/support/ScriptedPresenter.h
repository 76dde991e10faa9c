#pragma once

#include <functional>
#include <utility>

#include "platform/DialogPresenter.h"

namespace braxel::testing {

// Plays the user's part in a modal dialog: the script works the dialog's fields and handlers
// and answers whether the dialog closes with OK.
template <class Dialog>
class ScriptedPresenter : public DialogPresenter<Dialog> {
 public:
  explicit ScriptedPresenter(std::function<bool(Dialog&)> script) : script_(std::move(script)) {}
  bool RunModal(Dialog& dialog) override {
    ++shown;
    return script_(dialog);
  }

  int shown = 0;

 private:
  std::function<bool(Dialog&)> script_;
};

}  // namespace braxel::testing
