// The parts of a run that involve Qt: the event pump alone with the main window shown, and whole
// ten-second runs, in the main window (as a click on "Run Benchmark" starts one) and without a
// window (the engine on Qt's event loop with the real timer, as orvendale-cli runs it).
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "platform/EventGate.h"
#include "platform/EventPump.h"
#include "platform/HeadlessRunHost.h"
#include "runtime/loopstate.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace {

using namespace orvendale::ui;
using namespace orvendale::platform;

// The pump with the main window shown, the run's 100 ms timer running and nothing pending.
template <void (*Pump)()>
void BM_EventPump(benchmark::State& state) {
  frmMain& window = frmMain::defaultInstance();
  window.Show();
  QTimer runTimer;
  runTimer.setTimerType(Qt::PreciseTimer);
  runTimer.start(100);
  for (int i = 0; i < 100; ++i) {
    rtcDoEvents();  // let the window settle
  }
  for (auto _ : state) {
    Pump();
  }
  window.Unload();
}
// As the work loop calls it: the gate, then the guard of its CPU state around Qt's pump.
BENCHMARK(BM_EventPump<rtcDoEvents>)->Name("BM_EventPump");
// Qt's plain pump in the guard, as every pump was before the gate.
void plainPump() {
  const orvendale::LoopStateGuard guard;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
BENCHMARK(BM_EventPump<plainPump>)->Name("BM_EventPump/plain");

// The guard's cost is hidden in the pump's own spread, so it is also timed around a fixed
// stand-in for the pump's work (integer only, some 80 ns), against that work alone. Back to back
// with nothing between, each guard would wait for the last one's MXCSR write, which a real pump
// never does.
void standInPumpWork() {
  unsigned hash = 2166136261u;
  for (unsigned i = 0; i < 100; ++i) {
    hash = (hash ^ i) * 16777619u;
  }
  benchmark::DoNotOptimize(hash);
}
void guardedStandInPumpWork() {
  const orvendale::LoopStateGuard guard;
  standInPumpWork();
}
BENCHMARK(BM_EventPump<standInPumpWork>)->Name("BM_EventPump/stand_in_work");
BENCHMARK(BM_EventPump<guardedStandInPumpWork>)->Name("BM_EventPump/stand_in_work_guarded");

// One whole run per iteration: about ten seconds of wall time each.
void BM_HeadlessRun(benchmark::State& state) {
  HeadlessRunHost host;
  for (auto _ : state) {
    QElapsedTimer wall;
    wall.start();
    host.runOnce();
    state.SetIterationTime(static_cast<double>(wall.nsecsElapsed()) / 1e9);
    state.counters["iterations"] = host.engine().dblLoops();
    state.counters["score"] = orvendale::BenchmarkEngine::score(host.engine().dblLoops());
    state.counters["ns_per_iteration"] =
        static_cast<double>(wall.nsecsElapsed()) / host.engine().dblLoops();
  }
}
BENCHMARK(BM_HeadlessRun)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the user does three seconds into a window run.
enum MidRunAction { kNothing, kPopupDismissed, kAboutOpenedAndClosed };

// A right press on the window's surface; once the popup is open (in the pump's nested loop), it
// is dismissed, or its "About..." is chosen with the keyboard.
void openPopup(frmMain& window, bool chooseAbout) {
  QTimer::singleShot(50, [chooseAbout] {
    if (auto* popup = QApplication::activePopupWidget()) {
      if (chooseAbout) {
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
      } else {
        popup->close();
      }
    }
  });
  QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(10, 150));
}

// One whole run per iteration in the shown main window, started by a click on "Run Benchmark".
template <MidRunAction Action>
void BM_WindowRun(benchmark::State& state) {
  frmMain& window = frmMain::defaultInstance();
  window.Show();
  auto* runButton = window.findChild<QAbstractButton*>("Command1");
  for (auto _ : state) {
    if (Action != kNothing) {
      QTimer::singleShot(3000, &window,
                         [&] { openPopup(window, Action == kAboutOpenedAndClosed); });
    }
    if (Action == kAboutOpenedAndClosed) {
      QTimer::singleShot(6000, &window, [] { frmAbout::defaultInstance().Unload(); });
    }
    QElapsedTimer wall;
    wall.start();
    runButton->click();  // returns when the run is over
    state.SetIterationTime(static_cast<double>(wall.nsecsElapsed()) / 1e9);
    state.counters["iterations"] = window.engine().dblLoops();
    state.counters["score"] = orvendale::BenchmarkEngine::score(window.engine().dblLoops());
  }
  window.Unload();
}
BENCHMARK(BM_WindowRun<kNothing>)
    ->Name("BM_WindowRun")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRun<kPopupDismissed>)
    ->Name("BM_WindowRun/popup_dismissed")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRun<kAboutOpenedAndClosed>)
    ->Name("BM_WindowRun/about_opened_and_closed")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  preferUnixEventDispatcher();  // as the programs do
  QApplication app(argc, argv);
  std::fprintf(stderr, "platform %s, event dispatcher %s, %s event pump\n",
               qPrintable(QGuiApplication::platformName()),
               QAbstractEventDispatcher::instance()->metaObject()->className(), eventPumpKind());
  Form::setProgramEndHandler([] {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
