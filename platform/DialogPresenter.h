#pragma once

namespace braxel {

// Shows a modal dialog for a dialog object. The object holds the fields and the handlers
// (plain C++, driven by tests without a window); the presenter is the window that shows the
// fields, calls the handlers on clicks and returns when the dialog closes.
template <class Dialog>
class DialogPresenter {
 public:
  virtual ~DialogPresenter() = default;
  // True when the dialog was closed with OK.
  virtual bool RunModal(Dialog& dialog) = 0;
};

}  // namespace braxel
