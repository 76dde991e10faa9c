#pragma once

#include <functional>
#include <utility>

#include "platform/DialogPresenter.h"

namespace braxel::testing {

// Plays the user of a dialog: the script calls the handlers as clicks would and returns true
// for OK. A dialog's OnInitDialog runs first, as when a window shows the dialog.
template <class Dialog>
class ScriptedPresenter : public DialogPresenter<Dialog> {
 public:
  explicit ScriptedPresenter(std::function<bool(Dialog&)> script) : script_(std::move(script)) {}
  bool RunModal(Dialog& dialog) override {
    ++shown;
    if constexpr (requires { dialog.OnInitDialog(); }) dialog.OnInitDialog();
    return script_(dialog);
  }
  int shown = 0;

 private:
  std::function<bool(Dialog&)> script_;
};

}  // namespace braxel::testing
