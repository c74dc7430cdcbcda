#pragma once

#include "ui/toolkit/Form.h"

namespace orvendale::ui {

// The About window: product name, version, comments and description from the version record.
// Modeless and independent of the main window; "Close" (also Esc) unloads it.
class frmAbout final : public Form {
 public:
  frmAbout();

  static frmAbout& defaultInstance() { return ui::defaultInstance<frmAbout>(); }
  static const WindowDescription& description();

 private:
  void Command1_Click() { Unload(); }
};

}  // namespace orvendale::ui
