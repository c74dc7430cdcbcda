#include "platform/EventPump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include "platform/EventGate.h"
#include "runtime/loopstate.h"

namespace orvendale::platform {

void rtcDoEvents() {
  if (!pumpNeeded()) {
    return;  // nothing to handle: no system call, nothing run
  }
  // Every handler and nested event loop (popup, message box) runs inside this call, so this
  // one guard keeps them all from changing what the next work iteration costs or whether it
  // fails.
  const LoopStateGuard loopState;
  if (QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance()) {
    notePumpResult(dispatcher->processEvents(QEventLoop::AllEvents));
  }
}

void preferUnixEventDispatcher() {
  // The work loop pumps once per iteration, and an empty pump costs less with Qt's own
  // dispatcher.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
    qputenv("QT_NO_GLIB", "1");
  }
}

}  // namespace orvendale::platform
