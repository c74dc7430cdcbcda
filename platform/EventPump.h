#pragma once

namespace orvendale::platform {

// Handles every pending event (timer ticks, clicks, menu choices, mouse presses, repaints)
// and returns with the caller's floating-point environment and clean vector registers.
void rtcDoEvents();

// Makes the application object that is created next use Qt's own Unix event dispatcher rather
// than GLib's, unless the environment sets QT_NO_GLIB itself (an empty value keeps GLib).
void preferUnixEventDispatcher();

}  // namespace orvendale::platform
