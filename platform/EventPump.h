#pragma once

namespace orvendale::platform {

// Handles every pending event (timer ticks, clicks, menu choices, mouse presses, repaints)
// and returns.
void rtcDoEvents();

}  // namespace orvendale::platform
