#pragma once

namespace orvendale::ui {

// Routes rtcMsgBox to an application-modal Qt message box (OK only, no icon, titled with the
// application's name).
void installMessageBox();

}  // namespace orvendale::ui
