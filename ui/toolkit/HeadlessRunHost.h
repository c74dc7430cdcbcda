#pragma once

#include <QObject>
#include <string>

#include "benchmark/BenchmarkEngine.h"
#include "ui/toolkit/Controls.h"

namespace orvendale::ui {

// Runs the benchmark without a window: the same engine, the same precise 100 ms timer and the
// same event pump as the main window, on Qt's core event loop. The tick count and the result
// are kept as text instead of being shown.
class HeadlessRunHost : private RunHost {
 public:
  HeadlessRunHost();

  // One whole run; returns when it is over.
  void runOnce() { engine_.Command1_Click(); }

  const BenchmarkEngine& engine() const { return engine_; }
  const std::string& resultCaption() const { return label1_; }
  const std::string& tickText() const { return text2_; }

 private:
  void setMousePointer(int) override {}
  void setTimer1Enabled(bool enabled) override { timer1_.setEnabled(enabled); }
  bool timer1Enabled() const override { return timer1_.isEnabled(); }
  void setTimer1Interval(int milliseconds) override { timer1_.setInterval(milliseconds); }
  void setText2(const std::string& text) override { text2_ = text; }
  void setLabel1Caption(const std::string& caption) override { label1_ = caption; }
  void doEvents() override;

  QObject timerOwner_;
  Timer timer1_{&timerOwner_};
  std::string text2_;
  std::string label1_;
  BenchmarkEngine engine_{*this};
};

}  // namespace orvendale::ui
