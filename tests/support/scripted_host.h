#pragma once

#include <functional>
#include <string>
#include <vector>

#include "benchmark/BenchmarkEngine.h"

namespace orvendale::testing {

// A RunHost without a window: it records what the engine does to the controls, and its event
// pump runs a script (for example "deliver the 100 ticks on the third pump").
class ScriptedHost : public RunHost {
 public:
  ScriptedHost() : engine(*this) {}

  void setMousePointer(int pointer) override { pointers.push_back(pointer); }
  void setTimer1Enabled(bool enabled) override {
    timerEnabled = enabled;
    log.push_back(enabled ? "enable" : "disable");
  }
  bool timer1Enabled() const override {
    if (onTimerRead) {
      onTimerRead();
    }
    return timerEnabled;
  }
  void setTimer1Interval(int milliseconds) override {
    log.push_back("interval " + std::to_string(milliseconds));
  }
  void setText2(const std::string& text) override { log.push_back("text2 " + text); }
  void setLabel1Caption(const std::string& caption) override { label1 = caption; }
  void doEvents() override {
    ++pumps;
    if (onPump) {
      onPump(pumps);
    }
  }

  // Makes the run end after `iterations` iterations: all 100 ticks arrive on that pump.
  void endAfter(int iterations) {
    onPump = [this, iterations](int pump) {
      if (pump == iterations) {
        deliverTicks(BenchmarkEngine::kTickLimit);
      }
    };
  }
  void deliverTicks(int count) {
    for (int i = 0; i < count; ++i) {
      engine.Timer1_Timer();
    }
  }

  BenchmarkEngine engine;
  bool timerEnabled = false;
  int pumps = 0;
  std::string label1 = "Result: (not run)";
  std::vector<int> pointers;
  std::vector<std::string> log;
  std::function<void(int pump)> onPump;
  std::function<void()> onTimerRead;
};

}  // namespace orvendale::testing
