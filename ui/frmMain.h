#pragma once

#include <string>

#include "benchmark/BenchmarkEngine.h"
#include "ui/toolkit/Form.h"

namespace orvendale::ui {

// The main window: "Run Benchmark" runs the benchmark, "Exit" unloads the window, and a right
// press on the window's surface opens the popup menu with "About...".
class frmMain final : public Form, private RunHost {
 public:
  frmMain();

  // The one instance the program uses, created on first use (again after an Unload).
  static frmMain& defaultInstance() { return ui::defaultInstance<frmMain>(); }
  static const WindowDescription& description();

  void ShowAbout();

  const BenchmarkEngine& engine() const { return engine_; }

 private:
  void Command1_Click() { engine_.Command1_Click(); }
  void Command2_Click() { Unload(); }
  void Timer1_Timer() { engine_.Timer1_Timer(); }
  void mnuAbout_Click() { ShowAbout(); }
  void Form_MouseDown(int Button, int Shift, float X, float Y) override;

  // RunHost: the run reaches the window's controls through these.
  void setMousePointer(int pointer) override { Form::setMousePointer(pointer); }
  void setTimer1Enabled(bool enabled) override { Timer1_.setEnabled(enabled); }
  bool timer1Enabled() const override { return Timer1_.isEnabled(); }
  void setTimer1Interval(int milliseconds) override { Timer1_.setInterval(milliseconds); }
  void setText2(const std::string& text) override;
  void setLabel1Caption(const std::string& caption) override;
  void doEvents() override;

  Timer& Timer1_;
  TextBox& Text2_;
  Label& Label1_;
  BenchmarkEngine engine_{*this};
};

}  // namespace orvendale::ui
