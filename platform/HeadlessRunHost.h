#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "benchmark/BenchmarkEngine.h"
#include "platform/Timer.h"

namespace orvendale::platform {

// Runs the benchmark without a window: the same engine, the same precise 100 ms timer and the
// same event pump as the main window, on Qt's core event loop. Nothing is shown: the engine's
// counters are read through engine().
class HeadlessRunHost : private RunHost {
 public:
  HeadlessRunHost();

  // One whole run; returns when it is over.
  void runOnce() { engine_.Command1_Click(); }

  // Calls `handler` with the tick count after every tick the engine has counted, from the
  // timer's own handler in the event pump, never from the work iteration. An empty handler
  // removes it.
  void setTickHandler(std::function<void(std::int16_t ticks)> handler) {
    tickHandler_ = std::move(handler);
  }

  // Disables the run's timer, as the 100th tick does: the run ends at the end of its current
  // iteration, with fewer than 100 ticks counted.
  void stopRun() { timer1_.setEnabled(false); }

  const BenchmarkEngine& engine() const { return engine_; }

 private:
  void setMousePointer(int) override {}
  void setTimer1Enabled(bool enabled) override { timer1_.setEnabled(enabled); }
  bool timer1Enabled() const override { return timer1_.isEnabled(); }
  void setTimer1Interval(int milliseconds) override { timer1_.setInterval(milliseconds); }
  void setText2(const std::string&) override {}
  void setLabel1Caption(const std::string&) override {}
  void doEvents() override;

  QObject timerOwner_;
  Timer timer1_{&timerOwner_};
  BenchmarkEngine engine_{*this};
  std::function<void(std::int16_t ticks)> tickHandler_;
};

}  // namespace orvendale::platform
