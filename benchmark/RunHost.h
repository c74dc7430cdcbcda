#pragma once

#include <string>

namespace orvendale {

// What a benchmark run needs of the main window: its mouse pointer, the run timer, the tick
// and result controls and the event pump. The window implements it; tests and benchmarks
// drive the engine through their own hosts.
class RunHost {
 public:
  static constexpr int kDefaultPointer = 0;
  static constexpr int kBusyPointer = 11;

  virtual void setMousePointer(int pointer) = 0;
  virtual void setTimer1Enabled(bool enabled) = 0;
  virtual bool timer1Enabled() const = 0;
  virtual void setTimer1Interval(int milliseconds) = 0;
  virtual void setText2(const std::string& text) = 0;
  virtual void setLabel1Caption(const std::string& caption) = 0;
  // Handles every pending event (ticks reach Timer1_Timer here) and returns.
  virtual void doEvents() = 0;

 protected:
  ~RunHost() = default;
};

}  // namespace orvendale
