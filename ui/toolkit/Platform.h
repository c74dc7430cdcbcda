#pragma once

namespace orvendale::ui {

// Handles every pending event (timer ticks, clicks, menu choices, mouse presses, repaints)
// and returns with the caller's floating-point environment and clean vector registers.
void rtcDoEvents();

// Makes the application object that is created next use Qt's own Unix event dispatcher rather
// than GLib's, unless the environment sets QT_NO_GLIB itself (an empty value keeps GLib).
void preferUnixEventDispatcher();

// Routes rtcMsgBox to an application-modal Qt message box (OK only, no icon, titled with the
// application's name).
void installMessageBox();

}  // namespace orvendale::ui
