#include "platform/EventPump.h"

#include <QCoreApplication>

#include "runtime/loopstate.h"

namespace orvendale::platform {

void rtcDoEvents() {
  // Every handler and nested event loop (popup, message box) runs inside this call, so this
  // one guard keeps them all from changing what the next work iteration costs or whether it
  // fails.
  const LoopStateGuard loopState;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void preferUnixEventDispatcher() {
  // The work loop pumps once per iteration, and an empty pump costs less with Qt's own
  // dispatcher.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
    qputenv("QT_NO_GLIB", "1");
  }
}

}  // namespace orvendale::platform
