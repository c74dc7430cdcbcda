// The event pump in orvendale-cli's setting: Qt's core event loop, the run's 100 ms timer
// running and nothing pending. The gated pump, as the work loop calls it, against Qt's plain
// pump in the same guard, in one binary.
#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "platform/EventGate.h"
#include "platform/EventPump.h"
#include "runtime/loopstate.h"

namespace {

using namespace orvendale::platform;

template <void (*Pump)()>
void BM_CliEventPump(benchmark::State& state) {
  QTimer runTimer;
  runTimer.setTimerType(Qt::PreciseTimer);
  runTimer.start(100);
  for (auto _ : state) {
    Pump();
  }
}
BENCHMARK(BM_CliEventPump<rtcDoEvents>)->Name("BM_CliEventPump");

void plainPump() {
  const orvendale::LoopStateGuard guard;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
BENCHMARK(BM_CliEventPump<plainPump>)->Name("BM_CliEventPump/plain");

}  // namespace

int main(int argc, char* argv[]) {
  preferUnixEventDispatcher();  // as orvendale-cli does
  QCoreApplication app(argc, argv);
  std::fprintf(stderr, "event dispatcher %s, %s event pump\n",
               QAbstractEventDispatcher::instance()->metaObject()->className(), eventPumpKind());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
