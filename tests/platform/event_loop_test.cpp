// The event pump (its gate and its floating-point guard) and the run timer on Qt's core event
// loop. Each row names the fault it catches.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QtCore/qtestsupport_core.h>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cfenv>
#include <functional>
#include <thread>

#include "platform/EventGate.h"
#include "platform/EventPump.h"
#include "platform/Timer.h"
#include "support/scripted_host.h"

namespace orvendale::platform {
namespace {

// One core application for the suite, on the event dispatcher the programs select.
class EventLoop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    preferUnixEventDispatcher();
    application = new QCoreApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete application;
    application = nullptr;
  }
  static inline QCoreApplication* application = nullptr;
};

// Counts what reaches it; post(), from any thread, posts it an event that counts one.
struct Counter : QObject {
  int count = 0;
  void post() {
    QMetaObject::invokeMethod(
        this, [this] { ++count; }, Qt::QueuedConnection);
  }
};

struct PendingCase {
  const char* what;
  std::function<void(Counter&)> makePending;
  int pumps;  // after makePending
  int count;  // the counter's count by then
};

TEST_F(EventLoop, WhatIsPendingIsHandledByTheNextPumpAndNothingElseEntersTheDispatcher) {
  ASSERT_STREQ(eventPumpKind(), "gated");
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const PendingCase cases[] = {
      {.what = "nothing pending: the dispatcher is not entered (a gate that always opens)",
       .makePending =
           [dispatcher](Counter& counter) {
             QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &counter,
                              [&counter] { ++counter.count; });
           },
       .pumps = 1000,
       .count = 0},
      {.what = "posted from another thread (no wake-up check)",
       .makePending = [](Counter& counter) { std::thread([&counter] { counter.post(); }).join(); },
       .pumps = 1,
       .count = 1},
      {.what = "posted by a handler in the pump, its wake-up taken by that pump's own poll (no "
               "pump after a pump that handled events)",
       .makePending =
           [](Counter& counter) {
             QTimer::singleShot(0, &counter, [&counter] { counter.post(); });
           },
       .pumps = 2,
       .count = 1},
      {.what = "a timer whose deadline has passed (no timer check)",
       .makePending =
           [](Counter& counter) {
             QTimer::singleShot(1, Qt::PreciseTimer, &counter, [&counter] { ++counter.count; });
             std::this_thread::sleep_for(std::chrono::milliseconds(3));
           },
       .pumps = 1,
       .count = 1},
      {.what = "a socket notifier's activation (no notifier check)",
       .makePending =
           [&pipeEnds](Counter& counter) {
             auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, &counter);
             QObject::connect(notifier, &QSocketNotifier::activated, &counter,
                              [&counter, notifier] {
                                notifier->setEnabled(false);
                                ++counter.count;
                              });
             ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
           },
       .pumps = 1,
       .count = 1},
  };
  for (const PendingCase& pending : cases) {
    for (int settle = 0; settle < 100 && pumpNeeded(); ++settle) {
      rtcDoEvents();
    }
    ASSERT_FALSE(pumpNeeded()) << pending.what;
    Counter counter;
    pending.makePending(counter);
    for (int pump = 0; pump < pending.pumps; ++pump) {
      rtcDoEvents();
    }
    EXPECT_EQ(counter.count, pending.count) << pending.what;
  }
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

// A handler in the pump changes the floating-point state: the run goes on to its score, in the
// rounding mode it had. Each row names the fault it catches.
struct HandlerCase {
  const char* what;
  void (*handler)();
};

TEST_F(EventLoop, PumpGivesTheRunBackItsFloatingPointState) {
  const HandlerCase cases[] = {
    {.what = "a zero-divide flag left: a pump without its guard, or a guard that keeps less "
             "than the status flags (MXCSR's, FPSR)",
     .handler =
         [] {
           volatile double zero = 0;
           zero = 1 / zero;
         }},
    {.what = "the rounding mode changed: a guard that keeps the flags but not the control "
             "(MXCSR's and the x87 control word, FPCR)",
     .handler = [] { std::fesetround(FE_UPWARD); }},
#if defined(__x86_64__)
    {.what = "an x87 invalid flag left: a guard that keeps SSE's state alone",
     .handler =
         [] {
           volatile long double zero = 0;
           zero = zero / zero;
         }},
#endif
  };
  for (const HandlerCase& c : cases) {
    testing::ScriptedHost host;
    host.onPump = [&host, &c](int pump) {
      QTimer::singleShot(0, c.handler);
      rtcDoEvents();
      if (pump == 5) {
        host.deliverTicks(100);
      }
    };
    host.engine.Command1_Click();
    EXPECT_EQ(host.label1, "Result: 8") << c.what;
    EXPECT_EQ(std::fegetround(), FE_TONEAREST) << c.what;
    std::fesetround(FE_TONEAREST);
  }
}

// Catches a timer that goes on ticking once disabled.
TEST_F(EventLoop, RunTimerTicksWhileEnabledOnly) {
  QObject owner;
  Timer timer(&owner);
  int ticks = 0;
  QObject::connect(&timer.qtimer(), &QTimer::timeout, [&ticks] { ++ticks; });
  timer.setInterval(20);
  timer.setEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 3; }))
      << "enabled with an interval, the timer does not tick";
  timer.setEnabled(false);
  const int stoppedAt = ticks;
  QTest::qWait(60);
  EXPECT_EQ(ticks, stoppedAt) << "disabled, the timer goes on ticking";
}

}  // namespace
}  // namespace orvendale::platform
