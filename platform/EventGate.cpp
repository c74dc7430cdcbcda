// The only file that reads Qt's private state; it is built against the private headers of the
// exact Qt it runs on (see platform/CMakeLists.txt) and checks both at run time.
#include "platform/EventGate.h"

#include <QAbstractEventDispatcher>
#include <QByteArrayView>
#include <QCoreApplication>

#if ORVENDALE_GATED_PUMP
#include <QtCore/private/qeventdispatcher_unix_p.h>
#include <QtCore/private/qobject_p.h>

#include <ctime>
#endif

namespace orvendale::platform {

#if ORVENDALE_GATED_PUMP
namespace {

// The dispatchers whose processEvents() is Qt's Unix one followed by work that a wake-up
// announces: the core one, the one of the offscreen and other QPA platforms, and xcb's.
bool isKnownUnixDispatcher(QAbstractEventDispatcher* dispatcher) {
  const QByteArrayView name = dispatcher->metaObject()->className();
  return qobject_cast<QEventDispatcherUNIX*>(dispatcher) != nullptr &&
         (name == "QEventDispatcherUNIX" || name == "QUnixEventDispatcherQPA" ||
          name == "QXcbUnixEventDispatcher");
}

// What the gate knows of this thread's dispatcher; reset when the dispatcher goes away.
struct Gate {
  bool decided = false;
  QEventDispatcherUNIXPrivate* dispatcher = nullptr;  // null: every pump is a full one
  bool lastPumpHandledEvents = false;
};
Gate g_gate;

void decide() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) {
    return;  // no event loop yet: the plain pump does nothing, and the next call asks again
  }
  g_gate.decided = true;
  QObject::connect(dispatcher, &QObject::destroyed, [] { g_gate = Gate{}; });
  const bool sameQt = QByteArrayView(qVersion()) == QByteArrayView(QT_VERSION_STR);
  if (sameQt && isKnownUnixDispatcher(dispatcher) &&
      qEnvironmentVariable("ORVENDALE_EVENT_PUMP") != QLatin1String("plain")) {
    g_gate.dispatcher = static_cast<QEventDispatcherUNIXPrivate*>(QObjectPrivate::get(dispatcher));
  }
}

}  // namespace

bool pumpNeeded() {
  if (!g_gate.decided) {
    decide();
  }
  QEventDispatcherUNIXPrivate* const dispatcher = g_gate.dispatcher;
  if (dispatcher == nullptr) {
    return true;
  }
  // Posted events, interrupt() and the window system's reader thread all wake the dispatcher. A
  // wake-up that a full pump's own poll consumed made that pump report handled events, so the
  // events posted during its delivery are delivered by the next one.
  if (g_gate.lastPumpHandledEvents || dispatcher->threadPipe.wakeUps.loadAcquire() != 0 ||
      !dispatcher->socketNotifiers.isEmpty() || !dispatcher->pendingNotifiers.isEmpty()) {
    return true;
  }
  timespec wait{};
  return dispatcher->timerList.timerWait(wait) && wait.tv_sec == 0 && wait.tv_nsec == 0;
}

void notePumpResult(bool handledEvents) {
  g_gate.lastPumpHandledEvents = handledEvents;
}

const char* eventPumpKind() {
  if (!g_gate.decided) {
    decide();
  }
  return g_gate.dispatcher != nullptr ? "gated" : "plain";
}

#else  // built without Qt's private headers: every pump is a full one

bool pumpNeeded() {
  return true;
}

void notePumpResult(bool) {}

const char* eventPumpKind() {
  return "plain";
}

#endif

}  // namespace orvendale::platform
