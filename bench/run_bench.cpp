// The parts of a run that involve Qt: the event pump alone with the main window shown, and whole
// ten-second runs, in the main window (as a click on "Run Benchmark" starts one) and without a
// window (the engine on Qt's event loop with the real timer, as orvendale-cli runs it).
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>

#include "platform/EventPump.h"
#include "platform/HeadlessRunHost.h"
#include "ui/frmMain.h"

namespace {

using namespace orvendale::ui;
using namespace orvendale::platform;

// The pump as the work loop calls it, with the main window shown and nothing pending.
void BM_EventPump(benchmark::State& state) {
  frmMain& window = frmMain::defaultInstance();
  window.Show();
  for (int i = 0; i < 100; ++i) {
    rtcDoEvents();  // let the window settle
  }
  for (auto _ : state) {
    rtcDoEvents();
  }
  window.Unload();
}
BENCHMARK(BM_EventPump);

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

// One whole run per iteration in the shown main window, started by a click on "Run Benchmark".
void BM_WindowRun(benchmark::State& state) {
  frmMain& window = frmMain::defaultInstance();
  window.Show();
  auto* runButton = window.findChild<QAbstractButton*>("Command1");
  for (auto _ : state) {
    QElapsedTimer wall;
    wall.start();
    runButton->click();  // returns when the run is over
    state.SetIterationTime(static_cast<double>(wall.nsecsElapsed()) / 1e9);
    state.counters["iterations"] = window.engine().dblLoops();
    state.counters["score"] = orvendale::BenchmarkEngine::score(window.engine().dblLoops());
  }
  window.Unload();
}
BENCHMARK(BM_WindowRun)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Form::setProgramEndHandler([] {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
