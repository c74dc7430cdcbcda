#pragma once

namespace orvendale::platform {

// Whether the event pump has anything to handle, answered without a system call.
//
// Qt's Unix event dispatcher polls its descriptors in every processEvents(), even when nothing
// is pending; in the work loop that one system call per iteration would make the score measure
// the kernel. The gate reads the dispatcher's own state instead: a wake-up (every event posted
// from any thread, window-system events and interrupt() make one), a timer whose deadline has
// passed (the monotonic clock is read through the vDSO), and socket notifiers, whose readiness
// only the kernel knows. The pump after one that handled events is a full one as well: it
// delivers what was posted during the last one's delivery (whose wake-up that pump's own poll
// consumed) and, on X11, sends the requests its handlers made (a repaint, a window shown) to
// the X server.
//
// It knows the dispatchers of the Qt it was built against; with any other dispatcher, another
// Qt, or ORVENDALE_EVENT_PUMP=plain in the environment, every pump is a full one.
bool pumpNeeded();

// Tells the gate whether the full pump that pumpNeeded() let through handled any events.
void notePumpResult(bool handledEvents);

// "gated" when pumpNeeded() reads the current dispatcher's state, "plain" when every pump is a
// full one.
const char* eventPumpKind();

}  // namespace orvendale::platform
